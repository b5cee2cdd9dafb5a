#ifndef KETRION_SETTINGS_H
#define KETRION_SETTINGS_H

#include "model/RunOptions.h"

#include <QString>

// What the window remembers from one session to the next: the files last
// chosen and some of the run's choices. Every key is read and written here
// and nowhere else.
class Settings
{
public:
    // The standards file, absolute; empty until one is chosen.
    static QString standardsFile();
    static void setStandardsFile(const QString &fileName);
    // The sample sheet, absolute; empty: none, every solution keeps factor 1.
    static QString sampleSheet();
    // An empty name forgets the sheet.
    static void setSampleSheet(const QString &fileName);

    // The options with the remembered choices laid over them: the IS
    // isotopes and the drift monitor (names a file may lack), the weighting,
    // the drift correction, the recovery bounds, the calibration acceptance,
    // the interference equations (checked against each export read) and the
    // QC's limits. A choice never stored, or stored out of the range a run
    // accepts, keeps the value given.
    static RunOptions recall(const RunOptions &options);
    // Stores those choices. One that did not change is not rewritten, nor is
    // a default never changed written.
    static void remember(const RunOptions &options);

private:
    static RunOptions read(RunOptions options);
};

#endif
