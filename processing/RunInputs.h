#ifndef KETRION_RUNINPUTS_H
#define KETRION_RUNINPUTS_H

#include <QString>

// The files a run reads besides the export: the standards file, and the lab's
// sample sheet (empty: none, every solution keeps factor 1).
struct RunInputs
{
    QString standardsFile;
    QString sampleSheet;
};

#endif
