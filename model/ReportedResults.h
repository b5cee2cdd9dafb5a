#ifndef KETRION_REPORTEDRESULTS_H
#define KETRION_REPORTEDRESULTS_H

#include "model/SampleSheet.h"

#include <QString>
#include <QVector>

#include <functional>

class Measurements;

// The results as a lab reports them: per solution of the working set and
// isotope, the concentration in the sample given (the measured one times the
// solution's factor), its SD, the limits scaled alike, the one qualifier a
// reader must see beside the value, and what the run's own QC found against
// it.
class ReportedResults
{
public:
    // In the order they are decided: the first that applies wins.
    enum class Qualifier {
        None,
        NoValue, // a standard without a given value, an average blank, no finite number
        NoCalibration,
        NotMeasured,
        CalibrationRejected,
        // The run QC's findings, in the order they qualify a value.
        IcvFailed,
        IcbFailed,
        LlccvFailed,
        CcvFailed,
        CcbFailed,
        NotBracketed,
        // The batch QC's, in the order they qualify a value.
        LcsFailed,
        BlankContamination,
        SpikeRecovery,
        DuplicateRpd,
        BelowDetection,
        BelowQuantification,
        OverRange, // above the highest standard: dilute and measure again
    };
    static QString qualifierText(Qualifier qualifier);

    // One reported value; value and sd are NaN where there is no concentration.
    struct Value
    {
        double value;
        double sd;
        double lod;
        double loq;
        Qualifier qualifier;
    };

    // One finding of the run's or the batch's QC against a value: a
    // qualifier from IcvFailed to DuplicateRpd, and the failing check solution
    // or QC preparation (-1 for NotBracketed).
    struct Finding
    {
        Qualifier kind;
        int check;
    };
    // A finding of the run QC's checks, which asks for the result to be run
    // again.
    static bool asksRerun(Qualifier kind)
    {
        return kind >= Qualifier::IcvFailed && kind <= Qualifier::NotBracketed;
    }
    using Findings = QVector<Finding>;
    // "CCV failed (QC_CCV_2); not bracketed"; data names the checks.
    static QString findingsText(const Findings &findings, const Measurements &data);

    // Works a value out from a solution and an isotope.
    using Decide = std::function<Value(int solution, int isotope)>;

    ReportedResults() = default;
    // Nothing is stored but what decide holds: each value is worked out when
    // it is read, so that a large run never keeps its results twice.
    ReportedResults(int solutionCount, int isotopeCount, Decide decide);

    int solutionCount() const { return m_solutionCount; }
    Value at(int solution, int isotope) const { return m_decide(solution, isotope); }
    double factor(int solution) const { return m_sheet.factor(solution); }
    SampleSheet::Unit unit(int solution) const { return m_sheet.unit(solution); }
    const SampleSheet &sheet() const { return m_sheet; }
    void setSheet(const SampleSheet &sheet) { m_sheet = sheet; }

    // Whether the run QC or the batch QC applied: then every value has its
    // findings, none for most.
    bool hasFindings() const { return !m_findings.isEmpty(); }
    const Findings &findings(int solution, int isotope) const;
    // Per value, solutions then isotopes; empty when neither QC applied.
    void setFindings(const QVector<Findings> &findings) { m_findings = findings; }

private:
    int m_solutionCount = 0;
    int m_isotopeCount = 0;
    Decide m_decide;
    SampleSheet m_sheet;
    QVector<Findings> m_findings;
};

#endif
