#ifndef KETRION_RESULTS_H
#define KETRION_RESULTS_H

#include <QVector>

// What a run found: per solution of the working set and isotope, the
// concentration (ppb) and its relative standard deviation (percent). A
// concentration of exactly 0.0 is no result.
class Results
{
public:
    Results() = default;
    Results(int solutionCount, int isotopeCount);

    int solutionCount() const { return m_solutionCount; }
    double concentration(int solution, int isotope) const
    {
        return m_concentrations.at(solution * m_isotopeCount + isotope);
    }
    double rsd(int solution, int isotope) const
    {
        return m_rsds.at(solution * m_isotopeCount + isotope);
    }
    void set(int solution, int isotope, double concentration, double rsd);
    // Solution `to` reports what solution `from` found.
    void copyRow(int from, int to);

private:
    int m_solutionCount = 0;
    int m_isotopeCount = 0;
    QVector<double> m_concentrations;
    QVector<double> m_rsds;
};

#endif
