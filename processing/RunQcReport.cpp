#include "processing/RunQcReport.h"

#include "model/Measurements.h"
#include "parsers/NumberFormat.h"

#include <cmath>

int RunQcReport::verdictCount() const
{
    int count = 0;
    for (const Check &check : checks)
        count += check.verdict != Verdict::None;
    return count;
}

int RunQcReport::failureCount() const
{
    int count = 0;
    for (const Check &check : checks)
        count += check.verdict == Verdict::Fail;
    return count;
}

int RunQcReport::rerunCount() const
{
    int count = 0;
    for (const ReportedResults::Findings &found : findings)
        count += !found.isEmpty();
    return count;
}

QVector<RunQcReport::Rerun> RunQcReport::reruns() const
{
    QVector<Rerun> list;
    for (int k = 0; k < findings.size(); ++k) {
        if (findings.at(k).isEmpty())
            continue;
        const int solution = k / isotopeCount;
        if (list.isEmpty() || list.last().solution != solution)
            list.append(Rerun { solution, {} });
        list.last().isotopes.append(k % isotopeCount);
    }
    return list;
}

QStringList RunQcReport::failureLines(const Measurements &data) const
{
    QStringList lines;
    for (const Check &check : checks) {
        if (check.verdict != Verdict::Fail)
            continue;
        const QString head = QStringLiteral("%1 : %2 ")
                                 .arg(data.solution(check.solution).name(),
                                     data.isotope(check.isotope).typedName());
        if (QcRole::kind(check.role) == QcRole::Kind::Verification) {
            const QcLimits::Range range = limits.recovery(check.role);
            lines << head
                    + QStringLiteral("%1 % (%2-%3 %)")
                          .arg(QString::number(check.recovery, 'f', 1),
                              NumberFormat::text(range.low), NumberFormat::text(range.high));
        } else {
            lines << head
                    + QStringLiteral("%1 > %2 (%3 x LOQ)")
                          .arg(NumberFormat::text(std::abs(check.found)),
                              NumberFormat::text(check.limit),
                              NumberFormat::text(limits.blankFactor(check.role)));
        }
    }
    return lines;
}

QStringList RunQcReport::gapLines(const Measurements &data) const
{
    QStringList lines;
    for (const Gap &gap : gaps)
        lines << QStringLiteral("%1 solutions between %2 and %3 (more than %4)")
                     .arg(QString::number(gap.count), data.solution(gap.first).name(),
                         data.solution(gap.second).name(), QString::number(limits.every));
    return lines;
}

QStringList RunQcReport::rerunLines(const Measurements &data) const
{
    QStringList lines;
    for (const Rerun &rerun : reruns()) {
        QStringList isotopes;
        for (const int isotope : rerun.isotopes)
            isotopes << data.isotope(isotope).typedName();
        lines << QStringLiteral("%1 : %2").arg(
            data.solution(rerun.solution).name(), isotopes.join(QStringLiteral(", ")));
    }
    return lines;
}

QStringList RunQcReport::traceLines(const Measurements &data, bool listed) const
{
    const QString mark = QStringLiteral("# run QC: ");
    QStringList lines { mark
        + QStringLiteral("%1 / %2 checks failed").arg(failureCount()).arg(verdictCount()) };
    if (listed)
        lines << failureLines(data);
    for (const QString &gap : gapLines(data))
        lines << mark + gap;
    lines << mark + QStringLiteral("%1 results to rerun").arg(rerunCount());
    return lines;
}
