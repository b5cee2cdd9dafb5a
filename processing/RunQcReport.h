#ifndef KETRION_RUNQCREPORT_H
#define KETRION_RUNQCREPORT_H

#include "model/QcLimits.h"
#include "model/QcRole.h"
#include "model/ReportedResults.h"

#include <QStringList>
#include <QVector>

class Measurements;

// What the run's own QC found: each check solution's verdict per isotope,
// the gaps between checks, each QC preparation's verdicts per isotope, and the
// findings of both against each result. The trace, the window's QC report and
// the run report all take their lines from here.
struct RunQcReport
{
    // NotEvaluated: a spike below 30 % of what the sample holds.
    enum class Verdict { Pass, Fail, None, NotEvaluated };

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

    // One verdict of a QC preparation and isotope with a calibration line.
    struct Comparison
    {
        // RPD and Difference compare reported values R = c × F, Recovery and
        // Contamination concentrations c in the measured solution.
        enum class Figure { Rpd, Difference, Recovery, Contamination };

        int solution; // the preparation, by position in the export
        int isotope;
        QcRole::Role role;
        Figure figure;
        // The parent, or for an MSD's RPD the MS it is compared with; -1 for
        // an LCS or MB.
        int against;
        double value; // R of the preparation, or its c
        // R of the one against, u (the parent in the MS's measured
        // solution), or e (the LCS's expected value); NaN for an MB
        double other;
        double spike; // s; NaN but for a spike's recovery
        // The RPD or recovery in percent, or |R − R_against|, or the MB's c;
        // NaN without a verdict.
        double result;
        // LOQ × F of the parent, or k × LOQ; NaN where the limits give a
        // percentage.
        double limit;
        Verdict verdict;
    };

    // A solution with findings and the isotopes they are against.
    struct Rerun
    {
        int solution;
        QVector<int> isotopes;
    };

    bool applies = false; // some solution of the sheet has a check role
    bool batchApplies = false; // some solution of the sheet is a QC preparation
    QcLimits limits;
    QVector<Check> checks; // run order of the check solutions, then isotopes
    QVector<Gap> gaps; // verification gaps, then blank gaps, each in run order
    // Run order of the preparations, then isotopes, an MSD's recovery before
    // its RPD.
    QVector<Comparison> comparisons;
    // Per solution of the working set and isotope: the run QC's findings,
    // then the batch QC's.
    QVector<ReportedResults::Findings> findings;
    int isotopeCount = 0;

    bool anyApplies() const { return applies || batchApplies; }
    // "pass", "fail", "no verdict", "not evaluated".
    static QString verdictText(Verdict verdict);

    int verdictCount() const;
    int failureCount() const;
    // The (solution, isotope) results with a run QC finding: the batch QC's
    // ask for no rerun.
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

    int comparisonVerdictCount() const;
    int comparisonFailureCount() const;
    int notEvaluatedCount() const;
    // Per failing comparison: "River_01_D : 59Co MR RPD 24.3 % (20 %)",
    // "River_01_MS : 66Zn MR recovery 68.1 % (75-125 %)", "River_01_MSD :
    // 66Zn MR RPD to River_01_MS 22.0 % (20 %)", "QC_LCS_1 : 59Co MR 78.0 %
    // (80-120 %)", "BLK_MB_1 : 56Fe MR 0.912 > 0.428 (0.5 x LOQ)",
    // "River_05_D : 7Li LR difference 0.0611 > 0.0297 (LOQ)".
    QStringList comparisonFailureLines(const Measurements &data) const;
    // Per spike recovery not evaluated: "River_02_MS : 66Zn MR spike 2 < 30 %
    // of 8.1".
    QStringList notEvaluatedLines(const Measurements &data) const;
    // The trace's block of the batch QC; the failures only when listed.
    QStringList batchTraceLines(const Measurements &data, bool listed) const;
};

#endif
