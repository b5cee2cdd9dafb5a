#include "processing/RecoveryReport.h"

#include "model/Measurements.h"

QStringList RecoveryReport::lines(const Measurements &data) const
{
    QStringList texts;
    for (const Pair &pair : outside) {
        const QString value = pair.measured
            ? QString::number(pair.percent, 'f', 1) + QStringLiteral(" %")
            : QStringLiteral("not measured");
        texts.append(QStringLiteral("%1 : %2 (%3)")
                         .arg(data.solution(pair.solution).name(),
                             data.isotope(pair.isotope).typedName(), value));
    }
    return texts;
}
