#include "processing/CalibrationAcceptance.h"

#include "model/Calibration.h"
#include "model/Measurements.h"

#include <QLocale>

#include <cmath>

namespace {

QString readBackReason(const CalibrationLine &line, const Measurements &working, double tolerance)
{
    double lowest = 0.0;
    for (const CalibrationLine::Point &point : line.points) {
        if (point.concentration != 0.0 && (lowest == 0.0 || point.concentration < lowest))
            lowest = point.concentration;
    }
    for (const CalibrationLine::Point &point : line.points) {
        const QString &name = working.solution(point.solution).name();
        if (name == Solution::ZERO_STANDARD_NAME)
            continue;
        const double read = (point.intensity - line.intercept) / line.slope;
        const double off = std::abs(read - point.concentration) / point.concentration * 100.0;
        const double limit = point.concentration == lowest ? 2.0 * tolerance : tolerance;
        if (off > limit)
            return QStringLiteral("%1 reads %2 % off").arg(name, QString::number(off, 'f', 1));
    }
    return QString();
}

QString reason(
    const CalibrationLine &line, const Measurements &working, double minimumR2, double tolerance)
{
    if (line.points.size() < CalibrationAcceptance::MINIMUM_POINTS)
        return QStringLiteral("%1 points").arg(line.points.size());
    if (line.r2 < minimumR2) {
        // The criterion as given; r² with the digits that show it below.
        QString r2 = QString::number(line.r2, 'f', 5);
        for (int decimals = 6; decimals <= 17 && r2.toDouble() >= minimumR2; ++decimals)
            r2 = QString::number(line.r2, 'f', decimals);
        return QStringLiteral("R\u00b2 %1 < %2")
            .arg(r2, QString::number(minimumR2, 'g', QLocale::FloatingPointShortest));
    }
    return readBackReason(line, working, tolerance);
}

} // namespace

void CalibrationAcceptance::check(
    Calibration *calibration, const Measurements &working, double minimumR2, double tolerance)
{
    for (CalibrationLine &line : calibration->lines) {
        if (line.isUsable())
            line.rejection = reason(line, working, minimumR2, tolerance);
    }
}

int CalibrationAcceptance::checkedCount(const Calibration &calibration)
{
    int count = 0;
    for (const CalibrationLine &line : calibration.lines)
        count += line.isUsable() ? 1 : 0;
    return count;
}

QStringList CalibrationAcceptance::rejectionLines(
    const Calibration &calibration, const Measurements &data)
{
    QStringList lines;
    for (int i = 0; i < calibration.lines.size(); ++i) {
        if (calibration.lines.at(i).isRejected())
            lines.append(QStringLiteral("%1 : %2").arg(
                data.isotope(i).typedName(), calibration.lines.at(i).rejection));
    }
    return lines;
}
