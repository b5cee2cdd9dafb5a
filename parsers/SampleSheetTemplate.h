#ifndef KETRION_SAMPLESHEETTEMPLATE_H
#define KETRION_SAMPLESHEETTEMPLATE_H

#include <QByteArray>

class Measurements;

// A sample sheet ready to fill in: every sample and QC solution of an
// export, diluted 1, without mass, volume, role, parent or spike.
class SampleSheetTemplate
{
public:
    static QByteArray format(const Measurements &data);
};

#endif
