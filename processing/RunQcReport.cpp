#include "processing/RunQcReport.h"

#include "model/Measurements.h"
#include "parsers/NumberFormat.h"

#include <cmath>

QString RunQcReport::verdictText(Verdict verdict)
{
    return verdict == Verdict::Pass ? QStringLiteral("pass")
        : verdict == Verdict::Fail  ? QStringLiteral("fail")
        : verdict == Verdict::None  ? QStringLiteral("no verdict")
                                    : QStringLiteral("not evaluated");
}

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

namespace {

// The run QC's findings come first.
bool asksRerun(const ReportedResults::Findings &found)
{
    return !found.isEmpty() && ReportedResults::asksRerun(found.first().kind);
}

// As the trace writes a percentage.
QString percent(double value)
{
    return QString::number(value, 'f', 1) + QStringLiteral(" %");
}

QString range(const QcLimits::Range &range)
{
    return QStringLiteral("%1-%2 %").arg(
        NumberFormat::text(range.low), NumberFormat::text(range.high));
}

} // namespace

int RunQcReport::rerunCount() const
{
    int count = 0;
    for (const ReportedResults::Findings &found : findings)
        count += asksRerun(found);
    return count;
}

QVector<RunQcReport::Rerun> RunQcReport::reruns() const
{
    QVector<Rerun> list;
    for (int k = 0; k < findings.size(); ++k) {
        if (!asksRerun(findings.at(k)))
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

int RunQcReport::comparisonVerdictCount() const
{
    int count = 0;
    for (const Comparison &comparison : comparisons)
        count += comparison.verdict == Verdict::Pass || comparison.verdict == Verdict::Fail;
    return count;
}

int RunQcReport::comparisonFailureCount() const
{
    int count = 0;
    for (const Comparison &comparison : comparisons)
        count += comparison.verdict == Verdict::Fail;
    return count;
}

int RunQcReport::notEvaluatedCount() const
{
    int count = 0;
    for (const Comparison &comparison : comparisons)
        count += comparison.verdict == Verdict::NotEvaluated;
    return count;
}

QStringList RunQcReport::comparisonFailureLines(const Measurements &data) const
{
    using Figure = Comparison::Figure;
    QStringList lines;
    for (const Comparison &c : comparisons) {
        if (c.verdict != Verdict::Fail)
            continue;
        QString line
            = QStringLiteral("%1 : %2 ")
                  .arg(data.solution(c.solution).name(), data.isotope(c.isotope).typedName());
        const QString rpd = NumberFormat::text(limits.rpd) + QStringLiteral(" %");
        if (c.figure == Figure::Rpd && c.role == QcRole::MSD)
            line += QStringLiteral("RPD to %1 %2 (%3)")
                        .arg(data.solution(c.against).name(), percent(c.result), rpd);
        else if (c.figure == Figure::Rpd)
            line += QStringLiteral("RPD %1 (%2)").arg(percent(c.result), rpd);
        else if (c.figure == Figure::Difference)
            line += QStringLiteral("difference %1 > %2 (LOQ)")
                        .arg(NumberFormat::text(c.result), NumberFormat::text(c.limit));
        else if (c.figure == Figure::Recovery)
            line += (c.role == QcRole::LCS ? QString() : QStringLiteral("recovery "))
                + QStringLiteral("%1 (%2)").arg(percent(c.result), range(limits.recovery(c.role)));
        else
            line += QStringLiteral("%1 > %2 (%3 x LOQ)")
                        .arg(NumberFormat::text(c.result), NumberFormat::text(c.limit),
                            NumberFormat::text(limits.mb));
        lines << line;
    }
    return lines;
}

QStringList RunQcReport::notEvaluatedLines(const Measurements &data) const
{
    QStringList lines;
    for (const Comparison &c : comparisons) {
        if (c.verdict == Verdict::NotEvaluated)
            lines << QStringLiteral("%1 : %2 spike %3 < 30 % of %4")
                         .arg(data.solution(c.solution).name(), data.isotope(c.isotope).typedName(),
                             NumberFormat::text(c.spike), NumberFormat::text(c.other));
    }
    return lines;
}

QStringList RunQcReport::batchTraceLines(const Measurements &data, bool listed) const
{
    const QString mark = QStringLiteral("# sample QC: ");
    QStringList lines { mark
        + QStringLiteral("%1 / %2 failed")
              .arg(comparisonFailureCount())
              .arg(comparisonVerdictCount()) };
    if (listed)
        lines << comparisonFailureLines(data);
    if (notEvaluatedCount() > 0)
        lines << mark
                + QStringLiteral("%1 not evaluated (spike below 30 % of the sample)")
                      .arg(notEvaluatedCount());
    return lines;
}
