#include "processing/DriftReport.h"

#include "model/Measurements.h"

namespace {

QString checks(int count)
{
    return count == 1 ? QStringLiteral("1 check") : QStringLiteral("%1 checks").arg(count);
}

} // namespace

QStringList DriftReport::lines(const Measurements &data) const
{
    QStringList texts { QStringLiteral("# drift correction with %1: %2")
                            .arg(monitor, checks(int(occurrences.size()))) };
    for (int i = 0; i < isotopes.size(); ++i) {
        const IsotopeDrift &drift = isotopes.at(i);
        if (drift.skipped)
            continue;
        const QString isotope = data.isotope(i).typedName();
        if (drift.corrected())
            texts.append(
                QStringLiteral("%1: largest drift %2 % at %3")
                    .arg(isotope, QString::number(drift.largest * 100.0, 'f', 1),
                        Isotope::withoutTrailingBlanks(data.solution(drift.largestAt).name())));
        else
            texts.append(QStringLiteral("%1: not corrected (%2)")
                             .arg(isotope, checks(int(drift.checks.size()))));
    }
    return texts;
}
