#include "model/ExpectedConcentrations.h"

ExpectedConcentrations::ExpectedConcentrations(int solutionCount, int isotopeCount)
    : m_solutionCount(solutionCount)
    , m_isotopeCount(isotopeCount)
    , m_values(solutionCount * isotopeCount, 0.0)
    , m_errors(solutionCount * isotopeCount, 0.0)
{ }

double ExpectedConcentrations::value(int solution, int isotope) const
{
    return solution < m_solutionCount ? m_values.at(solution * m_isotopeCount + isotope) : 0.0;
}

double ExpectedConcentrations::error(int solution, int isotope) const
{
    return solution < m_solutionCount ? m_errors.at(solution * m_isotopeCount + isotope) : 0.0;
}

void ExpectedConcentrations::set(int solution, int isotope, double value, double error)
{
    m_values[solution * m_isotopeCount + isotope] = value;
    m_errors[solution * m_isotopeCount + isotope] = error;
}
