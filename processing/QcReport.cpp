#include "processing/QcReport.h"

#include "model/Measurements.h"

QString QcReport::verdictText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Pass:
        break;
    case Verdict::Outside:
        return QStringLiteral("outside");
    case Verdict::NotMeasured:
        return QStringLiteral("not measured");
    case Verdict::NoCalibration:
        return QStringLiteral("no calibration");
    }
    return QStringLiteral("pass");
}

int QcReport::failureCount() const
{
    int count = 0;
    for (const Check &check : checks)
        count += check.verdict != Verdict::Pass;
    return count;
}

QStringList QcReport::failureLines(const Measurements &data) const
{
    QStringList lines;
    for (const Check &check : checks) {
        const QString solution = data.solution(check.solution).name();
        const Isotope &isotope = data.isotope(check.isotope);
        switch (check.verdict) {
        case Verdict::Pass:
            break;
        case Verdict::Outside:
            lines.append(QStringLiteral("%1 : %2").arg(solution, isotope.name()));
            break;
        case Verdict::NotMeasured:
            lines.append(
                QStringLiteral("%1 : %2 (not measured)").arg(solution, isotope.typedName()));
            break;
        case Verdict::NoCalibration:
            lines.append(
                QStringLiteral("%1 : %2 (no calibration)").arg(solution, isotope.typedName()));
            break;
        }
    }
    return lines;
}
