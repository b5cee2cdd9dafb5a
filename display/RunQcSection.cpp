#include "display/RunQcSection.h"

#include "display/ReportPages.h"
#include "model/Measurements.h"
#include "parsers/NumberFormat.h"
#include "processing/RunQcReport.h"

#include <cmath>

namespace {

// The trace's line without its mark: "Run QC: 2 / 40 checks failed".
QString withoutMark(const QString &line)
{
    const QString text = line.mid(2);
    return text.left(1).toUpper() + text.mid(1);
}

QStringList checkRow(
    const RunQcReport &runQc, const RunQcReport::Check &check, const Measurements &data)
{
    const bool verification = QcRole::kind(check.role) == QcRole::Kind::Verification;
    const bool found = check.found != 0.0 && std::isfinite(check.found);
    QString limit
        = std::isfinite(check.limit) ? NumberFormat::text(check.limit) : QStringLiteral("-");
    if (!verification && std::isfinite(check.limit))
        limit += QStringLiteral(" (%1 x LOQ)")
                     .arg(NumberFormat::text(runQc.limits.blankFactor(check.role)));
    return { data.solution(check.solution).name(), QcRole::word(check.role),
        data.isotope(check.isotope).typedName(),
        found ? NumberFormat::text(check.found) : QStringLiteral("-"), limit,
        std::isfinite(check.recovery)
            ? QString::number(check.recovery, 'f', 1) + QStringLiteral(" %")
            : QString(),
        RunQcReport::verdictText(check.verdict) };
}

// A number as the trace writes it; "-" for none.
QString number(double value)
{
    return std::isfinite(value) ? NumberFormat::text(value) : QStringLiteral("-");
}

// The values compared, the figure and the limit of one comparison; the
// figure "-" without a verdict.
QStringList comparisonCells(const QcLimits &limits, const RunQcReport::Comparison &c)
{
    using Figure = RunQcReport::Comparison::Figure;
    const auto figure = [&c](const QString &name, const QString &value) {
        return std::isfinite(c.result) ? name + value : QStringLiteral("-");
    };
    const QString percent = QString::number(c.result, 'f', 1) + QStringLiteral(" %");
    const QString reported = QStringLiteral("R %1 / %2").arg(number(c.value), number(c.other));
    const QcLimits::Range range = limits.recovery(c.role);
    switch (c.figure) {
    case Figure::Rpd:
        return { reported, figure(QStringLiteral("RPD "), percent),
            NumberFormat::text(limits.rpd) + QStringLiteral(" %") };
    case Figure::Difference:
        return { reported, figure(QStringLiteral("difference "), number(c.result)),
            number(c.limit) + QStringLiteral(" (LOQ)") };
    case Figure::Recovery:
        return { c.role == QcRole::LCS
                ? QStringLiteral("c %1, e %2").arg(number(c.value), number(c.other))
                : QStringLiteral("c %1, u %2, s %3")
                      .arg(number(c.value), number(c.other), number(c.spike)),
            figure(QStringLiteral("recovery "), percent),
            QStringLiteral("%1-%2 %").arg(
                NumberFormat::text(range.low), NumberFormat::text(range.high)) };
    case Figure::Contamination:
        break;
    }
    // The blank's own concentration is its figure.
    return { QStringLiteral("c %1").arg(number(c.value)), QString(),
        std::isfinite(c.limit)
            ? QStringLiteral("%1 (%2 x LOQ)").arg(number(c.limit), NumberFormat::text(limits.mb))
            : QStringLiteral("-") };
}

} // namespace

void RunQcSection::draw(ReportPages &pages, const RunQcReport &runQc, const Measurements &data)
{
    if (runQc.applies) {
        drawChecks(pages, runQc, data);
        drawReruns(pages, runQc, data);
    }
    if (runQc.batchApplies)
        drawBatch(pages, runQc, data);
}

void RunQcSection::drawBatch(ReportPages &pages, const RunQcReport &runQc, const Measurements &data)
{
    pages.section(QStringLiteral("Batch QC"));
    QVector<QStringList> rows;
    for (const RunQcReport::Comparison &c : runQc.comparisons)
        rows << QStringList { data.solution(c.solution).name(), QcRole::word(c.role),
            c.against == -1 ? QString() : data.solution(c.against).name(),
            data.isotope(c.isotope).typedName() }
                + comparisonCells(runQc.limits, c)
                + QStringList(RunQcReport::verdictText(c.verdict));
    pages.table({ QStringLiteral("Preparation"), QStringLiteral("Role"), QStringLiteral("Against"),
                    QStringLiteral("Isotope"), QStringLiteral("Values"), QStringLiteral("Figure"),
                    QStringLiteral("Limit"), QStringLiteral("Verdict") },
        rows);
    pages.text(QStringLiteral("R: reported value (c x F), in its sample's unit; c: in the measured "
                              "solution; u: the parent in the spiked solution; s: the spike; e: "
                              "expected; c, u, s and e in \u00b5g/L."),
        pages.small);
    const QStringList lines = runQc.batchTraceLines(data, false);
    pages.text(withoutMark(lines.first()), pages.bold);
    for (int k = 1; k < lines.size(); ++k)
        pages.text(withoutMark(lines.at(k)), pages.body);
}

void RunQcSection::drawChecks(
    ReportPages &pages, const RunQcReport &runQc, const Measurements &data)
{
    pages.section(QStringLiteral("Run QC"));
    QVector<QStringList> rows;
    for (const RunQcReport::Check &check : runQc.checks)
        rows << checkRow(runQc, check, data);
    pages.table(
        { QStringLiteral("Check"), QStringLiteral("Role"), QStringLiteral("Isotope"),
            QStringLiteral("Found (\u00b5g/L)"), QStringLiteral("Expected or limit (\u00b5g/L)"),
            QStringLiteral("Recovery"), QStringLiteral("Verdict") },
        rows);
    const QStringList lines = runQc.traceLines(data, false);
    pages.text(withoutMark(lines.first()), pages.bold);
    for (int k = 1; k + 1 < lines.size(); ++k)
        pages.text(withoutMark(lines.at(k)), pages.body);
}

// Each solution's isotopes on as many lines as the page needs.
void RunQcSection::drawReruns(
    ReportPages &pages, const RunQcReport &runQc, const Measurements &data)
{
    pages.section(QStringLiteral("To rerun"));
    pages.text(withoutMark(runQc.traceLines(data, false).last()), pages.bold);
    const QVector<RunQcReport::Rerun> reruns = runQc.reruns();
    if (reruns.isEmpty())
        return;
    const QFontMetricsF metrics = pages.metrics(pages.body);
    double nameWidth = pages.metrics(pages.bold).horizontalAdvance(QStringLiteral("Solution"));
    for (const RunQcReport::Rerun &rerun : reruns)
        nameWidth
            = qMax(nameWidth, metrics.horizontalAdvance(data.solution(rerun.solution).name()));
    const QVector<double> x { 0.0, qMin(nameWidth, ReportPages::WIDEST_COLUMN) + ReportPages::GAP };
    const double room = pages.width() - x.at(1);
    QVector<QStringList> rows;
    for (const RunQcReport::Rerun &rerun : reruns) {
        QString line;
        QString name = data.solution(rerun.solution).name();
        for (const int isotope : rerun.isotopes) {
            const QString next = line.isEmpty()
                ? data.isotope(isotope).typedName()
                : line + QStringLiteral(", ") + data.isotope(isotope).typedName();
            if (!line.isEmpty() && metrics.horizontalAdvance(next + QLatin1Char(',')) > room) {
                rows << QStringList { name, line + QLatin1Char(',') };
                name.clear();
                line = data.isotope(isotope).typedName();
            } else {
                line = next;
            }
        }
        rows << QStringList { name, line };
    }
    pages.table(
        { QStringLiteral("Solution"), QStringLiteral("Isotopes") }, x, int(rows.size()),
        [&rows](int r) { return rows.at(r); }, pages.body, pages.bold);
}
