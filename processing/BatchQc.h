#ifndef KETRION_BATCHQC_H
#define KETRION_BATCHQC_H

struct Calibration;
class ExpectedConcentrations;
class Measurements;
class Results;
class SampleSheet;
struct QcLimits;
struct RunQcReport;

// The batch's own QC preparations, from the roles of the sample sheet: each
// duplicate, spike, laboratory control sample and method blank judged per
// isotope, then the findings of the failures against the results they
// qualify, after the run QC's.
class BatchQc
{
public:
    // Fills the report's comparisons and appends to its findings, which
    // cover the working set.
    static void check(const Measurements &working, const ExpectedConcentrations &expected,
        const Results &results, const Calibration &calibration, const SampleSheet &sheet,
        const QcLimits &limits, RunQcReport *report);
};

#endif
