#include "processing/CalibrationFit.h"

#include "model/ExpectedConcentrations.h"
#include "model/Measurements.h"
#include "processing/Statistics.h"
#include "processing/Trace.h"

#include <QTextStream>

CalibrationLine CalibrationFit::fit(const Measurements &working,
    const ExpectedConcentrations &expected, int isotope, Calibration::Weighting weighting)
{
    CalibrationLine line;
    QVector<double> x;
    QVector<double> y;
    for (int s = 0; s < working.solutionCount(); ++s) {
        const Solution &solution = working.solution(s);
        if (solution.type() != Solution::Standard)
            continue;
        const double c = expected.value(s, isotope);
        // The zero standard's concentration is 0.0 by definition.
        if (c == 0.0 && solution.name() != Solution::ZERO_STANDARD_NAME)
            continue;
        const CalibrationLine::Point point { s, c, solution.intensity(isotope) };
        if (!solution.isMeasured(isotope)) {
            line.leftOut.append(point);
            continue;
        }
        line.points.append(point);
        x.append(c);
        y.append(point.intensity);
    }
    const QVector<double> w = weights(x, weighting);
    if (store(&line, x, y, w, sums(x, y, w))) {
        QTextStream &out = Trace::stream();
        out.setRealNumberNotation(QTextStream::FixedNotation);
        out.setRealNumberPrecision(8);
        out << working.isotope(isotope).name() << ": slope = " << line.slope
            << ", y-intercept =  " << line.intercept << ", r2 = " << line.r2 << '\n';
        out.flush();
    }
    return line;
}

QString CalibrationFit::whyNotFitted(const CalibrationLine &line, const Measurements &working)
{
    if (line.isUsable())
        return {};
    int given = line.leftOut.size();
    bool oneConcentration = true;
    for (const CalibrationLine::Point &point : line.points) {
        given += working.solution(point.solution).name() != Solution::ZERO_STANDARD_NAME;
        oneConcentration
            = oneConcentration && point.concentration == line.points.first().concentration;
    }
    if (given == 0)
        return {};
    if (line.points.size() < 2)
        return line.points.isEmpty() ? QStringLiteral("no standard measured")
                                     : QStringLiteral("one point only");
    if (oneConcentration)
        return QStringLiteral("every standard at %1 ppb")
            .arg(QString::number(line.points.first().concentration, 'g', 6));
    return QStringLiteral("slope %1 not above 0").arg(QString::number(line.slope, 'g', 6));
}

QVector<double> CalibrationFit::weights(const QVector<double> &x, Calibration::Weighting weighting)
{
    if (weighting == Calibration::Weighting::None)
        return {};
    const int n = x.size();
    // The zero standard would weigh infinitely: it counts as much as the
    // lowest standard.
    double lowest = 0.0;
    for (const double c : x) {
        if (c != 0.0 && (lowest == 0.0 || c < lowest))
            lowest = c;
    }
    QVector<double> w(n);
    double total = 0.0;
    for (int k = 0; k < n; ++k) {
        const double c = x.at(k) != 0.0 ? x.at(k) : lowest;
        w[k] = weighting == Calibration::Weighting::InverseX ? 1.0 / c : 1.0 / (c * c);
        total += w.at(k);
    }
    // Scaled to sum to n, so that n - 2 stays the degrees of freedom.
    for (int k = 0; k < n; ++k)
        w[k] *= n / total;
    return w;
}

CalibrationFit::Sums CalibrationFit::sums(
    const QVector<double> &x, const QVector<double> &y, const QVector<double> &w)
{
    const int n = x.size();
    Sums sums;
    if (w.isEmpty()) {
        sums.xMean = Statistics::mean(x);
        sums.yMean = Statistics::mean(y);
    } else {
        for (int k = 0; k < n; ++k) {
            sums.xMean += w.at(k) * x.at(k);
            sums.yMean += w.at(k) * y.at(k);
        }
        sums.xMean /= n;
        sums.yMean /= n;
    }
    for (int k = 0; k < n; ++k) {
        const double dx = x.at(k) - sums.xMean;
        const double dy = y.at(k) - sums.yMean;
        if (w.isEmpty()) {
            sums.sxy += dy * dx;
            sums.sxx += dx * dx;
            sums.syy += dy * dy;
        } else {
            sums.sxy += w.at(k) * dx * dy;
            sums.sxx += w.at(k) * dx * dx;
            sums.syy += w.at(k) * dy * dy;
        }
    }
    return sums;
}

bool CalibrationFit::store(CalibrationLine *line, const QVector<double> &x,
    const QVector<double> &y, const QVector<double> &w, const Sums &sums)
{
    const double slope = sums.sxy / sums.sxx;
    if (!Statistics::isFinite(slope))
        return false;
    line->slope = slope;
    line->intercept = sums.yMean - sums.xMean * slope;

    const int n = x.size();
    double ssRes = 0.0;
    for (int k = 0; k < n; ++k) {
        const double residual = y.at(k) - (line->slope * x.at(k) + line->intercept);
        ssRes += w.isEmpty() ? residual * residual : w.at(k) * residual * residual;
    }
    if (!Statistics::isFinite(ssRes / sums.syy))
        return false;

    line->r2 = 1.0 - ssRes / sums.syy;
    const double s2 = (sums.syy - slope * slope * sums.sxx) / (n - 2.0);
    line->slopeVariance = s2 / sums.sxx;
    line->interceptVariance = (1.0 / n + sums.xMean * sums.xMean / sums.sxx) * s2;
    return true;
}
