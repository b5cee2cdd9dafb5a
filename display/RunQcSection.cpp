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
    using Verdict = RunQcReport::Verdict;
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
        check.verdict == Verdict::Pass       ? QStringLiteral("pass")
            : check.verdict == Verdict::Fail ? QStringLiteral("fail")
                                             : QStringLiteral("no verdict") };
}

} // namespace

void RunQcSection::draw(ReportPages &pages, const RunQcReport &runQc, const Measurements &data)
{
    drawChecks(pages, runQc, data);
    drawReruns(pages, runQc, data);
}

void RunQcSection::drawChecks(
    ReportPages &pages, const RunQcReport &runQc, const Measurements &data)
{
    pages.section(QStringLiteral("Run QC"));
    QVector<QStringList> rows;
    for (const RunQcReport::Check &check : runQc.checks)
        rows << checkRow(runQc, check, data);
    pages.table({ QStringLiteral("Check"), QStringLiteral("Role"), QStringLiteral("Isotope"),
                    QStringLiteral("Found (ppb)"), QStringLiteral("Expected or limit (ppb)"),
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
    const QVector<double> x { 0.0, nameWidth + 3.0 * ReportPages::MM };
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
