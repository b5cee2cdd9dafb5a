#include "processing/RecoveryCheck.h"

#include "model/Measurements.h"

#include <QString>

bool RecoveryCheck::inside(double percent, double low, double high)
{
    bool read = false;
    const double shown = QString::number(percent, 'f', 1).toDouble(&read);
    return read && low <= shown && shown <= high;
}

RecoveryReport RecoveryCheck::check(
    const Measurements &data, int reference, const QVector<int> &isotopes, int low, int high)
{
    RecoveryReport report;
    report.low = low;
    report.high = high;
    const Solution &referenceSolution = data.solution(reference);
    QVector<int> checked;
    for (const int iso : isotopes) {
        if (referenceSolution.isMeasured(iso))
            checked.append(iso);
    }
    for (int s = 0; s < data.solutionCount(); ++s) {
        if (s == reference)
            continue;
        const Solution &solution = data.solution(s);
        for (const int iso : qAsConst(checked)) {
            ++report.checked;
            if (!solution.isMeasured(iso)) {
                report.outside.append({ s, iso, false, 0.0 });
                continue;
            }
            const double percent
                = recovery(solution.intensity(iso), referenceSolution.intensity(iso));
            if (!inside(percent, low, high))
                report.outside.append({ s, iso, true, percent });
        }
    }
    return report;
}
