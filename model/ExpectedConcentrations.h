#ifndef KETRION_EXPECTEDCONCENTRATIONS_H
#define KETRION_EXPECTEDCONCENTRATIONS_H

#include <QVector>

// The concentrations the standards file gives the standards and QC solutions
// of an export (ppb), each with its accepted error in percent; 0.0 where it
// gives none. Solutions are addressed by their position in the export;
// solutions beyond it (the average blanks, the zero standard) have none.
class ExpectedConcentrations
{
public:
    ExpectedConcentrations() = default;
    ExpectedConcentrations(int solutionCount, int isotopeCount);

    int solutionCount() const { return m_solutionCount; }
    double value(int solution, int isotope) const;
    double error(int solution, int isotope) const;
    void set(int solution, int isotope, double value, double error);

private:
    int m_solutionCount = 0;
    int m_isotopeCount = 0;
    // Only the standards and QC solutions have values: a row each, in the
    // order they were given; -1 for every other solution.
    QVector<int> m_rows;
    QVector<double> m_values;
    QVector<double> m_errors;
};

#endif
