#ifndef KETRION_RESULTSMATRIX_H
#define KETRION_RESULTSMATRIX_H

#include "model/Calibration.h"
#include "model/Measurements.h"
#include "model/ReportedResults.h"
#include "model/Results.h"

#include <QString>

// A run's results as a lab reads them: its solutions down in run order, its
// isotopes across, in each cell a value and that value's qualifier. The
// values are either those reported for the sample given, in the solution's
// unit, or those in the measured solution (µg/L); the qualifier holds for
// both. Nothing is worked out beforehand: the window shows a run of any size
// at once, and the workbook writes it row by row.
class ResultsMatrix
{
public:
    using Qualifier = ReportedResults::Qualifier;
    enum class Values { Reported, Measured };

    ResultsMatrix() = default;
    // The run's working set and what it found, shared: Qt's containers are
    // copied only when written to, and a view may outlive the run it shows.
    ResultsMatrix(const Measurements &working, const Calibration &calibration,
        const Results &results, const ReportedResults &reported, Values values = Values::Reported);

    Values values() const { return m_values; }
    int rowCount() const;
    // The solution's name, its unit when the rows' units differ, then one
    // column per isotope; the unit is else in the isotopes' headers.
    int columnCount() const;
    bool hasUnitColumn() const { return m_mixedUnits; }
    // The isotope of a column, or -1 for the name and unit columns.
    int isotopeAt(int column) const;
    QString header(int column) const;

    const Solution &solution(int row) const;
    QString isotopeName(int isotope) const;
    QString unit(int row) const;
    // NaN where there is no value: the qualifier says why.
    double value(int row, int isotope) const;
    // Its SD and the limits, alike in the sample given or the measured solution.
    double sd(int row, int isotope) const;
    double lod(int row, int isotope) const;
    double loq(int row, int isotope) const;
    Qualifier qualifier(int row, int isotope) const;
    // The run and batch QC's findings against the value, as the long table's
    // qc_findings column gives them; empty without.
    QString findings(int row, int isotope) const;

    // One colour per qualifier of a value (0xRRGGBB); -1 for none and for
    // the qualifiers of an empty value, which shows its qualifier instead.
    static int colour(Qualifier qualifier);
    // "<LOQ: below the limit of quantification", for tool tips and comments.
    static QString qualifierMeaning(Qualifier qualifier);
    // Every qualifier but None, in the order they are decided.
    static const QVector<Qualifier> &qualifiers();

private:
    Measurements m_working;
    Calibration m_calibration;
    Results m_results;
    ReportedResults m_reported;
    Values m_values = Values::Reported;
    bool m_mixedUnits = false;
};

#endif
