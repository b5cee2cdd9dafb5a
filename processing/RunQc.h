#ifndef KETRION_RUNQC_H
#define KETRION_RUNQC_H

#include "processing/RunQcReport.h"

struct Calibration;
class ExpectedConcentrations;
class Measurements;
class Results;
class SampleSheet;
class Solution;

// The run's own QC, from the roles of the sample sheet: each check solution
// judged per isotope, then every bracketed result held to the checks before
// and after it, and the run to how often it checks; then the batch's QC
// preparations (BatchQc).
class RunQc
{
public:
    // The samples and QC solutions without a check role: the results the
    // checks vouch for.
    static bool isBracketed(const Solution &solution, QcRole::Role role);
    // Empty when the value has no line, was not measured or is no finite
    // number.
    static bool hasConcentration(double c);

    // Checks are judged on the concentration in the measured solution, with
    // the LOQ of the line, whatever the sheet's factor and the line's
    // acceptance.
    static RunQcReport check(const Measurements &working, const ExpectedConcentrations &expected,
        const Results &results, const Calibration &calibration, const SampleSheet &sheet,
        const QcLimits &limits);
};

#endif
