#ifndef KETRION_STATISTICS_H
#define KETRION_STATISTICS_H

#include <QPair>
#include <QVector>

// The few statistics the run and the plots share.
class Statistics
{
public:
    static double mean(const QVector<double> &values);
    // 0.0 for no value.
    static double minimum(const QVector<double> &values);
    // The largest value above 0.0, or 0.0.
    static double positiveMaximum(const QVector<double> &values);
    // Mean and population standard deviation (divided by the count).
    static QPair<double, double> meanAndDeviation(const QVector<double> &values);
    // Neither not-a-number nor infinite.
    static bool isFinite(double x);
};

#endif
