#include "processing/Statistics.h"

#include <cmath>

double Statistics::mean(const QVector<double> &values)
{
    double sum = 0.0;
    for (const double x : values)
        sum += x;
    return sum / values.size();
}

double Statistics::minimum(const QVector<double> &values)
{
    if (values.isEmpty())
        return 0.0;
    double result = values.first();
    for (const double x : values)
        result = x < result ? x : result;
    return result;
}

double Statistics::positiveMaximum(const QVector<double> &values)
{
    double result = 0.0;
    for (const double x : values)
        result = x > result ? x : result;
    return result;
}

QPair<double, double> Statistics::meanAndDeviation(const QVector<double> &values)
{
    const double average = mean(values);
    double sum = 0.0;
    for (const double x : values)
        sum += (x - average) * (x - average);
    return qMakePair(average, std::sqrt(sum / values.size()));
}

bool Statistics::isFinite(double x)
{
    return std::isfinite(x);
}
