#ifndef KETRION_QUALITYCONTROLCHECK_H
#define KETRION_QUALITYCONTROLCHECK_H

#include "processing/QcReport.h"

struct Calibration;
class ExpectedConcentrations;
class Measurements;
class Results;

// The QC solutions' concentrations with their uncertainty against the
// expected values with their accepted error: a value passes when the two
// intervals meet.
class QualityControlCheck
{
public:
    static QcReport check(const Measurements &working, const ExpectedConcentrations &expected,
        const Results &results, const Calibration &calibration);

    // Whether [found ± found·rsd%] and [expected ± expected·error%] meet;
    // not-a-number never does.
    static bool intervalsMeet(double found, double rsd, double expected, double error);
};

#endif
