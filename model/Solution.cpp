#include "model/Solution.h"

const QString Solution::ZERO_STANDARD_NAME = QStringLiteral("STD_ZERO_STD");

Solution::Solution(const QString &name, Type type, int isotopeCount)
    : m_name(name)
    , m_type(type)
    , m_intensities(qMax(isotopeCount, 0), 0.0)
    , m_deviations(qMax(isotopeCount, 0), 0.0)
    , m_measured(qMax(isotopeCount, 0), false)
{ }

void Solution::setReading(int i, double intensity, double deviation)
{
    m_intensities[i] = intensity;
    m_deviations[i] = deviation;
    m_measured.setBit(i, intensity != 0.0);
}

Solution Solution::renamed(const QString &name, Type type) const
{
    Solution other(*this);
    other.m_name = name;
    other.m_type = type;
    return other;
}

bool Solution::isReplicate(const QString &name, const QString &family)
{
    if (!name.startsWith(family))
        return false;
    int i = family.size();
    if (i == name.size())
        return true;
    if (name.at(i) == QLatin1Char('_'))
        ++i;
    if (i == name.size())
        return false;
    for (; i < name.size(); ++i) {
        if (name.at(i) < QLatin1Char('0') || name.at(i) > QLatin1Char('9'))
            return false;
    }
    return true;
}

QStringList Solution::replicateFamilies(const QString &name)
{
    QStringList families { name };
    for (int length = name.size() - 1; length >= 0; --length) {
        if (isReplicate(name, name.left(length)))
            families.append(name.left(length));
    }
    return families;
}

QString Solution::withoutReplicateNumber(const QString &name)
{
    const int underscore = int(name.lastIndexOf(QLatin1Char('_')));
    if (underscore <= 0 || underscore == name.size() - 1)
        return QString();
    const QString family = name.left(underscore);
    return isReplicate(name, family) ? family : QString();
}

QString Solution::typeWord(Type type)
{
    switch (type) {
    case Standard:
        return QStringLiteral("standard");
    case Blank:
        return QStringLiteral("blank");
    case QualityControl:
        return QStringLiteral("QC");
    case Sample:
        break;
    }
    return QStringLiteral("sample");
}
