#ifndef KETRION_REPORTING_H
#define KETRION_REPORTING_H

#include "model/ReportedResults.h"

struct Calibration;
class Measurements;
class Results;
class SampleSheet;

// The results as a lab reports them, decided once for the long table, the
// window and any report: values times the sheet's factor, and per value the
// first qualifier that applies.
class Reporting
{
public:
    // The sheet covers the export's solutions; those the run added (average
    // blanks, zero standard) keep factor 1. findings: the run and batch QC's
    // per value, empty when neither applied.
    static ReportedResults report(const Measurements &working, const Calibration &calibration,
        const Results &results, const SampleSheet &sheet,
        const QVector<ReportedResults::Findings> &findings);
};

#endif
