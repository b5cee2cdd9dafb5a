#include "model/Results.h"

Results::Results(int solutionCount, int isotopeCount)
    : m_solutionCount(solutionCount)
    , m_isotopeCount(isotopeCount)
    , m_concentrations(solutionCount * isotopeCount, 0.0)
    , m_rsds(solutionCount * isotopeCount, 0.0)
{ }

void Results::set(int solution, int isotope, double concentration, double rsd)
{
    m_concentrations[solution * m_isotopeCount + isotope] = concentration;
    m_rsds[solution * m_isotopeCount + isotope] = rsd;
}

void Results::copyRow(int from, int to)
{
    for (int i = 0; i < m_isotopeCount; ++i)
        set(to, i, concentration(from, i), rsd(from, i));
}
