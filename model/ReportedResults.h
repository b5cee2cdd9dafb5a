#ifndef KETRION_REPORTEDRESULTS_H
#define KETRION_REPORTEDRESULTS_H

#include "model/SampleSheet.h"

#include <QString>
#include <QVector>

// The results as a lab reports them: per solution of the working set and
// isotope, the concentration in the sample given (the measured one times the
// solution's factor), its SD, the limits scaled alike, and the one qualifier
// a reader must see beside the value.
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

    ReportedResults() = default;
    ReportedResults(int solutionCount, int isotopeCount);

    int solutionCount() const { return m_solutionCount; }
    const Value &at(int solution, int isotope) const
    {
        return m_values.at(solution * m_isotopeCount + isotope);
    }
    void set(int solution, int isotope, const Value &value)
    {
        m_values[solution * m_isotopeCount + isotope] = value;
    }
    double factor(int solution) const { return m_sheet.factor(solution); }
    SampleSheet::Unit unit(int solution) const { return m_sheet.unit(solution); }
    void setSheet(const SampleSheet &sheet) { m_sheet = sheet; }

private:
    int m_solutionCount = 0;
    int m_isotopeCount = 0;
    QVector<Value> m_values;
    SampleSheet m_sheet;
};

#endif
