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
    , measured(QSharedPointer<QBitArray>::create())
    , name(name)
    , nbrElement(nbrElement)
    , type(type)
{ }

double Solution::getCpsRSD(int i) const
{
    return 100.0 * cpsSD->at(i) / cps->at(i);
}

void Solution::setMeasured(int i, bool on)
{
    if (measured->isEmpty()) {
        measured->resize(nbrElement);
        for (int k = 0; k < nbrElement; ++k)
            measured->setBit(k, cps->at(k) != 0.0);
    }
    measured->setBit(i, on);
}

Solution Solution::copy(const QString &name, Type type) const
{
    Solution other(*this);
    other.name = name;
    other.type = type;
    return other;
}
