#include "model/SampleSheet.h"

QString SampleSheet::unitName(Unit unit)
{
    return unit == Unit::MilligramsPerKilogram ? QStringLiteral("mg/kg")
                                               : QStringLiteral("\u00b5g/L");
}

SampleSheet::SampleSheet(int solutionCount)
    : m_factors(solutionCount, 1.0)
    , m_units(solutionCount, Unit::MicrogramsPerLitre)
    , m_amounts(solutionCount)
    , m_roles(solutionCount, QcRole::None)
    , m_parents(solutionCount, -1)
    , m_spikes(solutionCount)
{ }

double SampleSheet::factor(int solution) const
{
    return m_factors.value(solution, 1.0);
}

SampleSheet::Unit SampleSheet::unit(int solution) const
{
    return m_units.value(solution, Unit::MicrogramsPerLitre);
}

SampleSheet::Amounts SampleSheet::amounts(int solution) const
{
    return m_amounts.value(solution);
}

void SampleSheet::set(int solution, double factor, Unit unit, const Amounts &amounts)
{
    m_factors[solution] = factor;
    m_units[solution] = unit;
    m_amounts[solution] = amounts;
}

QcRole::Role SampleSheet::role(int solution) const
{
    return m_roles.value(solution, QcRole::None);
}

void SampleSheet::setRole(int solution, QcRole::Role role)
{
    m_roles[solution] = role;
}

bool SampleSheet::hasRunQc() const
{
    for (const QcRole::Role role : m_roles) {
        if (QcRole::isCheck(role))
            return true;
    }
    return false;
}

bool SampleSheet::hasBatchQc() const
{
    for (const QcRole::Role role : m_roles) {
        if (QcRole::kind(role) == QcRole::Kind::Preparation)
            return true;
    }
    return false;
}

int SampleSheet::parent(int solution) const
{
    return m_parents.value(solution, -1);
}

QString SampleSheet::spike(int solution) const
{
    return m_spikes.value(solution);
}

void SampleSheet::setPreparation(int solution, int parent, const QString &spike)
{
    m_parents[solution] = parent;
    m_spikes[solution] = spike;
}
