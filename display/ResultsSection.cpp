#include "display/ResultsSection.h"

#include "display/ReportPages.h"
#include "model/Measurements.h"
#include "parsers/NumberFormat.h"
#include "parsers/RoundedValue.h"
#include "processing/RunOutcome.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

constexpr double NAME_COLUMN = 40.0 * ReportPages::MM;

QString number(double value)
{
    return std::isfinite(value) ? NumberFormat::text(value) : QString();
}

} // namespace

ResultsSection::ResultsSection(const Measurements &data, const RunOutcome &outcome)
    : m_data(data), m_outcome(outcome)
{
    const auto &corrected = outcome.corrected;
    for (int i = 0; i < outcome.working.isotopeCount(); ++i) {
        const bool internalStandard
            = std::find(corrected.cbegin(), corrected.cend(), i) != corrected.cend();
        if (internalStandard && !outcome.calibration.hasLine(i))
            m_left << data.isotope(i).typedName();
        else
            m_shown << i;
    }
}

void ResultsSection::draw(ReportPages &pages) const
{
    const bool matrix = m_outcome.working.solutionCount() > LIST_MOST;
    if (matrix)
        pages.newPage();
    pages.section(QStringLiteral("Results"));
    QStringList notes { QStringLiteral("Values in the sample as given, in the unit %1.")
                            .arg(matrix ? QStringLiteral("of their row")
                                        : QStringLiteral("of their solution's heading")),
        QStringLiteral("Values are rounded to two significant digits of their standard deviation "
                       "(value ± SD); a value without SD keeps six significant digits."),
        QStringLiteral("Standards show the concentration given in the standards file, marked "
                       "\"given\"; they are not measured results.") };
    if (!m_left.isEmpty())
        notes << QStringLiteral("Internal standards, without a calibration line, left out: %1.")
                     .arg(m_left.join(QStringLiteral(", ")));
    if (matrix)
        notes << QStringLiteral("More than %1 solutions: solutions down, isotopes across, a page "
                                "per block of isotopes.")
                     .arg(LIST_MOST);
    pages.lines(notes);
    if (matrix)
        drawMatrix(pages);
    else
        drawList(pages);
}

QString ResultsSection::heading(int solution) const
{
    const SampleSheet &sheet = m_outcome.reported.sheet();
    const SampleSheet::Amounts amounts = sheet.amounts(solution);
    QString factor = QStringLiteral("dilution ") + NumberFormat::text(amounts.dilution);
    if (amounts.mass > 0.0)
        factor += QStringLiteral(", mass %1 g, volume %2 mL")
                      .arg(NumberFormat::text(amounts.mass), NumberFormat::text(amounts.volume));
    const Solution &measured = m_outcome.working.solution(solution);
    return QStringLiteral("%1 \u2014 %2; %3, F %4; %5")
        .arg(measured.name(), Solution::typeWord(measured.type()), factor,
            NumberFormat::text(m_outcome.reported.factor(solution)),
            SampleSheet::unitName(m_outcome.reported.unit(solution)));
}

QString ResultsSection::value(int solution, int isotope) const
{
    const ReportedResults::Value &reported = m_outcome.reported.at(solution, isotope);
    return RoundedValue::of(reported.value, reported.sd).text();
}

QString ResultsSection::qualifier(int solution, int isotope) const
{
    const ReportedResults::Value &reported = m_outcome.reported.at(solution, isotope);
    QStringList words;
    if (m_outcome.working.solution(solution).type() == Solution::Standard
        && std::isfinite(reported.value))
        words << QStringLiteral("given");
    const QString qualifier = ReportedResults::qualifierText(reported.qualifier);
    if (!qualifier.isEmpty())
        words << qualifier;
    return words.join(QStringLiteral(", "));
}

QStringList ResultsSection::listRow(int solution, int isotope) const
{
    const ReportedResults::Value &reported = m_outcome.reported.at(solution, isotope);
    return { m_data.isotope(isotope).typedName(), value(solution, isotope), number(reported.lod),
        number(reported.loq), qualifier(solution, isotope) };
}

// A heading per solution, its name never cut: the rows under it, their
// findings wrapped in the last column.
void ResultsSection::drawList(ReportPages &pages) const
{
    const Measurements &working = m_outcome.working;
    const bool findings = m_outcome.reported.hasFindings();
    QStringList header { QStringLiteral("Isotope"), QStringLiteral("Value \u00b1 SD"),
        QStringLiteral("LOD"), QStringLiteral("LOQ"), QStringLiteral("Qualifier") };
    QVector<QStringList> every;
    for (int s = 0; s < working.solutionCount(); ++s) {
        for (const int i : m_shown)
            every << listRow(s, i);
    }
    if (findings)
        header << QStringLiteral("Findings");
    QVector<double> x = pages.columns(header, every, pages.body);
    const double room = pages.width() - x.last();
    for (int s = 0; s < working.solutionCount(); ++s) {
        QVector<QStringList> rows;
        for (const int i : m_shown) {
            rows << listRow(s, i);
            if (!findings)
                continue;
            const QString text = ReportedResults::findingsText(
                m_outcome.reported.findings(s, i), m_outcome.working);
            const QStringList lines = pages.wrapped(text, pages.body, room);
            rows.last() << lines.first();
            for (int k = 1; k < lines.size(); ++k)
                rows << QStringList { QString(), QString(), QString(), QString(), QString(),
                    lines.at(k) };
        }
        pages.need(3.0 * pages.lineHeight(pages.body) + pages.lineHeight(pages.bold));
        pages.skip(0.5 * pages.lineHeight(pages.body));
        pages.text(heading(s), pages.bold);
        pages.table(
            header, x, int(rows.size()), [&rows](int r) { return rows.at(r); }, pages.body,
            pages.bold);
    }
}

// Each solution the sheet dilutes or weighs, with what it gives.
void ResultsSection::drawPreparations(ReportPages &pages) const
{
    const SampleSheet &sheet = m_outcome.reported.sheet();
    QVector<QStringList> rows;
    for (int s = 0; s < m_outcome.working.solutionCount(); ++s) {
        const SampleSheet::Amounts amounts = sheet.amounts(s);
        if (amounts.dilution == 1.0 && amounts.mass == 0.0)
            continue;
        const bool weighed = amounts.mass > 0.0;
        rows << QStringList { m_outcome.working.solution(s).name(),
            NumberFormat::text(amounts.dilution),
            weighed ? NumberFormat::text(amounts.mass) : QString(),
            weighed ? NumberFormat::text(amounts.volume) : QString(),
            NumberFormat::text(m_outcome.reported.factor(s)),
            SampleSheet::unitName(m_outcome.reported.unit(s)) };
    }
    if (rows.isEmpty())
        return;
    pages.skip(0.5 * pages.lineHeight(pages.body));
    pages.text(QStringLiteral("Solutions diluted or weighed (F: their factor):"), pages.body);
    pages.table(
        { QStringLiteral("Solution"), QStringLiteral("Dilution"), QStringLiteral("Mass (g)"),
            QStringLiteral("Volume (mL)"), QStringLiteral("F"), QStringLiteral("Unit") },
        rows);
}

// A rejected line's isotope says so once, above its column.
QString ResultsSection::columnTitle(int isotope) const
{
    return m_data.isotope(isotope).typedName()
        + (m_outcome.calibration.lines.at(isotope).isRejected() ? QStringLiteral(" rejected")
                                                                : QString());
}

QString ResultsSection::matrixCell(int solution, int isotope) const
{
    QString qualified = qualifier(solution, isotope);
    if (m_outcome.reported.at(solution, isotope).qualifier
        == ReportedResults::Qualifier::CalibrationRejected)
        qualified.remove(QRegularExpression(QStringLiteral("(, )?calibration rejected$")));
    const QString cell
        = QStringList { value(solution, isotope), qualified }.join(QLatin1Char(' ')).trimmed();
    return cell.isEmpty() ? QStringLiteral("-") : cell;
}

// Every block of isotopes as wide as the page on pages of its own, each
// solution's name (shortened in its middle when too long), factor and unit
// before its values.
void ResultsSection::drawMatrix(ReportPages &pages) const
{
    drawPreparations(pages);
    const Measurements &working = m_outcome.working;
    const int solutionCount = working.solutionCount();
    const QFontMetricsF plain = pages.metrics(pages.small);
    const QFontMetricsF strong = pages.metrics(pages.smallBold);
    QVector<QString> cells(solutionCount * m_shown.size());
    QVector<double> widths(m_shown.size(), 0.0);
    double lead[3] = { strong.horizontalAdvance(QStringLiteral("Solution")),
        strong.horizontalAdvance(QStringLiteral("F")),
        strong.horizontalAdvance(QStringLiteral("Unit")) };
    for (int s = 0; s < solutionCount; ++s) {
        lead[0] = qMax(lead[0], plain.horizontalAdvance(working.solution(s).name()));
        lead[1] = qMax(lead[1], plain.horizontalAdvance(number(m_outcome.reported.factor(s))));
        lead[2] = qMax(
            lead[2], plain.horizontalAdvance(SampleSheet::unitName(m_outcome.reported.unit(s))));
        for (int k = 0; k < m_shown.size(); ++k) {
            const QString &cell = cells[s * m_shown.size() + k] = matrixCell(s, m_shown.at(k));
            widths[k] = qMax(widths[k],
                qMax(plain.horizontalAdvance(cell),
                    strong.horizontalAdvance(columnTitle(m_shown.at(k)))));
        }
    }
    const QVector<double> leadX { 0.0, qMin(lead[0], NAME_COLUMN) + ReportPages::GAP,
        qMin(lead[0], NAME_COLUMN) + lead[1] + 2.0 * ReportPages::GAP };
    const double start = leadX.last() + lead[2] + ReportPages::GAP;
    for (int first = 0; first < m_shown.size();) {
        QStringList header { QStringLiteral("Solution"), QStringLiteral("F"),
            QStringLiteral("Unit") };
        QVector<double> x = leadX;
        int end = first;
        for (double left = start; end < m_shown.size(); ++end) {
            if (end > first && left + widths.at(end) > pages.width())
                break;
            header << columnTitle(m_shown.at(end));
            x << left;
            left += widths.at(end) + ReportPages::GAP;
        }
        if (first > 0)
            pages.newPage();
        pages.skip(0.5 * pages.lineHeight(pages.small));
        pages.table(
            header, x, solutionCount,
            [&](int s) {
                QStringList row { working.solution(s).name(), number(m_outcome.reported.factor(s)),
                    SampleSheet::unitName(m_outcome.reported.unit(s)) };
                for (int k = first; k < end; ++k)
                    row << cells.at(s * m_shown.size() + k);
                return row;
            },
            pages.small, pages.smallBold);
        first = end;
    }
}
