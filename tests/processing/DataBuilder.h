#ifndef KETRION_TESTS_DATABUILDER_H
#define KETRION_TESTS_DATABUILDER_H

#include "model/Data.h"

#include <QVector>

#include <cmath>

// Small helpers that build data sets by hand for the engine tests.
namespace DataBuilder {

// Isotopes named 1X, 2X, ... with the given resolutions.
inline void addIsotopes(Data &data, const QVector<Element::Resolution> &resolutions)
{
    for (int i = 0; i < resolutions.size(); ++i)
        data.addIso(Element(QStringLiteral("X"), i + 1, resolutions.at(i)));
}

// A solution with one entry per isotope in each given list; missing lists stay 0.0.
inline int addSolution(Data &data, const QString &name, Solution::Type type,
    const QVector<double> &cps, const QVector<double> &cpsSD = {},
    const QVector<double> &concent = {}, const QVector<double> &rsd = {})
{
    Solution s(name, data.isoSize(), type);
    for (int i = 0; i < cps.size(); ++i)
        s.setCps(i, cps.at(i));
    for (int i = 0; i < cpsSD.size(); ++i)
        s.setCpsSD(i, cpsSD.at(i));
    for (int i = 0; i < concent.size(); ++i)
        s.setConcent(i, concent.at(i));
    for (int i = 0; i < rsd.size(); ++i)
        s.setConcentRSD(i, rsd.at(i));
    return data.addSolution(s);
}

inline QVector<double> cpsOf(const Data &data, int solution)
{
    QVector<double> values;
    for (int i = 0; i < data.isoSize(); ++i)
        values.append(data.getSolution(solution)->getCps(i));
    return values;
}

// Equal within a relative 1e-9; a not-a-number expectation takes any undefined
// result (not a number or infinite).
inline bool close(double actual, double expected)
{
    if (std::isnan(expected))
        return !std::isfinite(actual);
    return std::fabs(actual - expected) <= 1e-9 * qMax(1.0, std::fabs(expected));
}

} // namespace DataBuilder

#endif
