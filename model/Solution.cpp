#include "model/Solution.h"

const QString Solution::ZERO_STD_NAME = QStringLiteral("STD_ZERO_STD");

static QSharedPointer<QVector<double>> zeros(int n)
{
    return QSharedPointer<QVector<double>>::create(qMax(n, 0), 0.0);
}

Solution::Solution(const QString &name, int nbrElement, Type type)
    : cps(zeros(nbrElement))
    , cpsSD(zeros(nbrElement))
    , concent(zeros(nbrElement))
    , concentRSD(zeros(nbrElement))
    , name(name)
    , nbrElement(nbrElement)
    , type(type)
{
}

double Solution::getCpsRSD(int i) const
{
    return 100.0 * cpsSD->at(i) / cps->at(i);
}

Solution Solution::copy(const QString &name, Type type) const
{
    Solution other(*this);
    other.name = name;
    other.type = type;
    return other;
}
