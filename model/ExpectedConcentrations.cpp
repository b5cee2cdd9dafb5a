#include "model/ExpectedConcentrations.h"

ExpectedConcentrations::ExpectedConcentrations(int solutionCount, int isotopeCount)
    : m_solutionCount(solutionCount), m_isotopeCount(isotopeCount), m_rows(solutionCount, -1)
{ }

double ExpectedConcentrations::value(int solution, int isotope) const
{
    const int row = m_rows.value(solution, -1);
    return row < 0 ? 0.0 : m_values.at(row * m_isotopeCount + isotope);
}

double ExpectedConcentrations::error(int solution, int isotope) const
{
    const int row = m_rows.value(solution, -1);
    return row < 0 ? 0.0 : m_errors.at(row * m_isotopeCount + isotope);
}

void ExpectedConcentrations::set(int solution, int isotope, double value, double error)
{
    int &row = m_rows[solution];
    if (row < 0) {
        row = m_values.size() / qMax(1, m_isotopeCount);
        m_values.resize(m_values.size() + m_isotopeCount);
        m_errors.resize(m_errors.size() + m_isotopeCount);
    }
    m_values[row * m_isotopeCount + isotope] = value;
    m_errors[row * m_isotopeCount + isotope] = error;
}

double ExpectedConcentrations::spike(int solution, int isotope) const
{
    return m_spikes.value(solution).value(isotope, 0.0);
}

void ExpectedConcentrations::setSpikes(int solution, const QVector<double> &spikes)
{
    m_spikes.insert(solution, spikes);
}
