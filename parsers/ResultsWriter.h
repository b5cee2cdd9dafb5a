#ifndef KETRION_RESULTSWRITER_H
#define KETRION_RESULTSWRITER_H

#include <QByteArray>

struct Calibration;
class Measurements;
class Results;

// The results file: semicolon-separated, a header block with each isotope's
// limits, then per solution three columns per isotope.
class ResultsWriter
{
public:
    // working: the run's working set, whose rows results follows.
    static QByteArray format(
        const Measurements &working, const Calibration &calibration, const Results &results);
};

#endif
