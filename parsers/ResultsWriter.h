#ifndef KETRION_RESULTSWRITER_H
#define KETRION_RESULTSWRITER_H

#include <QByteArray>

struct Calibration;
class Measurements;
class QIODevice;
class Results;

// The results file: semicolon-separated, a header block with each isotope's
// limits, then per solution three columns per isotope.
class ResultsWriter
{
public:
    // working: the run's working set, whose rows results follows.
    static QByteArray format(
        const Measurements &working, const Calibration &calibration, const Results &results);
    // The same, a block of rows at a time into the device; false when a block
    // could not be written.
    static bool write(QIODevice *device, const Measurements &working,
        const Calibration &calibration, const Results &results);
};

#endif
