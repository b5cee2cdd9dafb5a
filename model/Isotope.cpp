#include "model/Isotope.h"

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

QString Isotope::baseName() const
{
    return QString::number(m_mass) + m_element + QLatin1Char(' ') + resolutionName(m_resolution);
}

QString Isotope::name() const
{
    if (m_occurrence == 1)
        return baseName();
    return withoutTrailingBlanks(baseName()) + QStringLiteral(" (%1)").arg(m_occurrence);
}

QString Isotope::withoutTrailingBlanks(QString name)
{
    int end = name.size();
    while (end > 0 && name.at(end - 1).isSpace())
        --end;
    name.truncate(end);
    return name;
}

void Isotope::setPlace(int line, int occurrence)
{
    m_line = line;
    m_occurrence = occurrence;
}
