#ifndef KETRION_RUNQCREPORT_H
#define KETRION_RUNQCREPORT_H

#include "model/QcLimits.h"
#include "model/QcRole.h"
#include "model/ReportedResults.h"

#include <QStringList>
#include <QVector>

class Measurements;

// What the run's own QC found: each check solution's verdict per isotope,
// the gaps between checks, and the findings against each result. The trace,
// the window's QC report and the run report all take their lines from here.
struct RunQcReport
{
    enum class Verdict { Pass, Fail, None };

    // One check solution and isotope with a calibration line.
    struct Check
    {
        int solution; // position in the export
        int isotope;
        QcRole::Role role;
        double found; // c in the measured solution; 0.0 for none
        // A verification's expected value, or a blank's factor × LOQ; NaN
        // when there is none.
        double limit;
        double recovery; // percent; NaN for a blank and without a verdict
        Verdict verdict;
    };

    // More bracketed solutions than the limits allow between two consecutive
    // checks of one kind.
    struct Gap
    {
        int first; // positions in the export
        int second;
        int count;
    };

    // A solution with findings and the isotopes they are against.
    struct Rerun
    {
        int solution;
        QVector<int> isotopes;
    };

    bool applies = false; // some solution of the sheet has a check role
    QcLimits limits;
    QVector<Check> checks; // run order of the check solutions, then isotopes
    QVector<Gap> gaps; // verification gaps, then blank gaps, each in run order
    // Per solution of the working set and isotope.
    QVector<ReportedResults::Findings> findings;
    int isotopeCount = 0;

    int verdictCount() const;
    int failureCount() const;
    // The (solution, isotope) results with a finding.
    int rerunCount() const;
    QVector<Rerun> reruns() const;

    // Per failing check and isotope: "QC_CCV_2 : 59Co MR 88.2 % (90-110 %)",
    // "BLK_CCB_1 : 75As HR 0.0412 > 0.0137 (1 x LOQ)".
    QStringList failureLines(const Measurements &data) const;
    // "12 solutions between QC_CCV_2 and QC_CCV_3 (more than 10)"
    QStringList gapLines(const Measurements &data) const;
    // "River_01 : 59Co MR, 75As HR"
    QStringList rerunLines(const Measurements &data) const;
    // The trace's block; the failing checks only when listed.
    QStringList traceLines(const Measurements &data, bool listed) const;
};

#endif
