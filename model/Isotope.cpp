#include "model/Isotope.h"

constexpr Isotope::Resolution Isotope::GROUPS_SHOWN[];

Isotope::Isotope(const QString &element, int mass, Resolution resolution)
    : m_element(element), m_mass(mass), m_resolution(resolution)
{ }

QString Isotope::resolutionName(Resolution resolution)
{
    switch (resolution) {
    case HR:
        return QStringLiteral("HR");
    case MR:
        return QStringLiteral("MR");
    case LR:
        return QStringLiteral("LR");
    case Undefined:
        break;
    }
    return QString();
}

QString Isotope::name() const
{
    return QString::number(m_mass) + m_element + QLatin1Char(' ') + resolutionName(m_resolution);
}
