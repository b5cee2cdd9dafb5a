#ifndef KETRION_RESULTSSECTION_H
#define KETRION_RESULTSSECTION_H

#include <QString>
#include <QStringList>
#include <QVector>

class Measurements;
class ReportPages;
struct RunOutcome;

// The run report's results, each value rounded to its SD. Up to LIST_MOST
// solutions, each has a heading with its name, type, amounts, factor and
// unit, then a row per isotope with the value, limits, qualifier and
// findings; a larger run is a matrix, solutions down and isotopes across, a
// page per block of isotopes. The internal standards, which have no line,
// are left out.
class ResultsSection
{
public:
    static constexpr int LIST_MOST = 40;

    ResultsSection(const Measurements &data, const RunOutcome &outcome);

    void draw(ReportPages &pages) const;

private:
    void drawList(ReportPages &pages) const;
    void drawMatrix(ReportPages &pages) const;
    void drawPreparations(ReportPages &pages) const;
    // "River_01 — sample; dilution 10, F 10; µg/L"
    QString heading(int solution) const;
    // The value ± SD and what qualifies it, "given" for a standard's.
    QString value(int solution, int isotope) const;
    QString qualifier(int solution, int isotope) const;
    QStringList listRow(int solution, int isotope) const;
    // A matrix's column title and cell: a rejected line is said in the title.
    QString columnTitle(int isotope) const;
    QString matrixCell(int solution, int isotope) const;

    const Measurements &m_data;
    const RunOutcome &m_outcome;
    QVector<int> m_shown; // the isotopes in the table
    QStringList m_left; // the internal standards left out
};

#endif
