#include "display/RunReport.h"

#include "display/CalibrationPlot.h"
#include "display/PlotStyle.h"
#include "display/ReportPages.h"
#include "display/ResultsSection.h"
#include "display/RunQcSection.h"
#include "model/Measurements.h"
#include "parsers/MethodFile.h"
#include "parsers/NumberFormat.h"
#include "parsers/RoundedValue.h"
#include "processing/CalibrationAcceptance.h"
#include "processing/RunMethod.h"
#include "processing/RunOutcome.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>

#include <qwt_plot.h>
#include <qwt_plot_renderer.h>

#include <cmath>
#include <functional>

namespace {

constexpr double MM = ReportPages::MM;
constexpr int PLOT_COLUMNS = 2;
constexpr int PLOT_ROWS = 3;

QString number(double value)
{
    QByteArray text;
    NumberFormat::append(text, value);
    return QString::fromLatin1(text);
}

// "2026-12-06 19:20:01 +01:00"
QString dateText(const QDateTime &time)
{
    const int offset = time.offsetFromUtc() / 60;
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss "))
        + (offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        + QStringLiteral("%1:%2")
              .arg(std::abs(offset) / 60, 2, 10, QLatin1Char('0'))
              .arg(std::abs(offset) % 60, 2, 10, QLatin1Char('0'));
}

// Laid out as a plot of PLOT_WIDTH pixels on screen would be, then shrunk
// into the area: at the page's own size its fonts would crowd it, at the
// window's width they would print too small to read.
void drawPlot(QwtPlot *plot, QPainter *painter, const QRectF &area)
{
    constexpr double PLOT_WIDTH = 520.0;
    constexpr double SCREEN_DPI = 96.0;
    const double scale = area.width() / (PLOT_WIDTH * ReportPages::RESOLUTION / SCREEN_DPI);
    plot->resize(QSize(int(PLOT_WIDTH), int(PLOT_WIDTH * area.height() / area.width())));
    plot->replot();
    painter->save();
    painter->translate(area.topLeft());
    painter->scale(scale, scale);
    QwtPlotRenderer().render(plot, painter, QRectF(QPointF(), area.size() / scale));
    painter->restore();
}

} // namespace

RunReport::RunReport(const QVector<Input> &inputs, const RunOptions &options,
    const Measurements &data, const RunOutcome &outcome)
    : m_inputs(inputs)
    , m_method(RunMethod::of(options, data, outcome))
    , m_data(data)
    , m_outcome(outcome)
{
    // Each input's digest and size in turn: the bytes of two files one
    // after the other do not say where one ends.
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const Input &input : m_inputs) {
        hash.addData(input.sha256);
        hash.addData(QByteArray::number(input.size) + '\n');
    }
    hash.addData(MethodFile::write(m_method));
    m_identifier = QString::fromLatin1(hash.result().toHex().left(12));
}

QByteArray RunReport::pdf(const ReportPages::Progress &progress) const
{
    // The plots' scales write numbers in the default locale, which the
    // readers set by the numbers they met last: a report must not depend on
    // which file was read before it.
    const QLocale previous;
    QLocale::setDefault(QLocale::c());
    int pageCount = 0;
    {
        QBuffer unused;
        QPdfWriter layout(&unused);
        ReportPages::setUp(&layout, m_identifier);
        ReportPages pages(&layout, nullptr, 0, m_identifier);
        pages.setProgress(progress);
        draw(pages);
        pageCount = pages.cancelled() ? 0 : pages.page();
    }
    if (pageCount == 0) {
        QLocale::setDefault(previous);
        return QByteArray();
    }
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&document);
        ReportPages::setUp(&writer, m_identifier);
        QPainter painter(&writer);
        ReportPages pages(&writer, &painter, pageCount, m_identifier);
        pages.setProgress(progress);
        draw(pages);
        pages.finish();
        pageCount = pages.cancelled() ? 0 : pageCount;
    }
    QLocale::setDefault(previous);
    return pageCount == 0 ? QByteArray() : document.data();
}

void RunReport::draw(ReportPages &pages) const
{
    pages.text(QStringLiteral("Ketrion run report"), pages.title);
    pages.skip(pages.lineHeight(pages.body));
    pages.lines({ QStringLiteral("Report identifier: %1").arg(m_identifier),
        QStringLiteral("Run started: %1").arg(dateText(m_outcome.started)),
        QStringLiteral("Program: Ketrion %1").arg(QStringLiteral(KETRION_VERSION)),
        QStringLiteral("Concentrations in \u00b5g/L (= ppb); a weighed sample's results in "
                       "mg/kg.") });
    drawInputs(pages);
    pages.section(QStringLiteral("Method"));
    pages.lines(methodLines());
    drawCalibration(pages);
    drawQualityControl(pages);
    drawChecks(pages);
    if (m_outcome.runQc.anyApplies())
        RunQcSection::draw(pages, m_outcome.runQc, m_data);
    ResultsSection(m_data, m_outcome).draw(pages);
    drawPlots(pages);
    drawClosing(pages);
}

void RunReport::drawInputs(ReportPages &pages) const
{
    pages.section(QStringLiteral("Inputs"));
    for (const Input &input : m_inputs) {
        pages.text(
            QStringLiteral("%1: %2, %3 bytes").arg(input.role, input.fileName()).arg(input.size),
            pages.body);
        pages.text(QStringLiteral("SHA-256 %1").arg(QString::fromLatin1(input.sha256.toHex())),
            pages.small, 4.0 * MM);
    }
}

QStringList RunReport::methodLines() const
{
    return RunMethod::lines(m_method, m_outcome);
}

void RunReport::drawCalibration(ReportPages &pages) const
{
    pages.section(QStringLiteral("Calibration"));
    pages.text(QStringLiteral("Slope in cps per \u00b5g/L, intercept in cps, LOD and LOQ in "
                              "\u00b5g/L."),
        pages.body);
    QStringList header { QStringLiteral("Isotope"), QStringLiteral("Points"),
        QStringLiteral("Slope"), QStringLiteral("Intercept"), QStringLiteral("R²"),
        QStringLiteral("Weighting"), QStringLiteral("LOD"), QStringLiteral("LOQ") };
    if (m_outcome.acceptanceChecked)
        header << QStringLiteral("Acceptance");
    const QString weighting = Calibration::weightingName(m_outcome.calibration.weighting);
    QVector<QStringList> rows;
    for (int iso = 0; iso < m_outcome.working.isotopeCount(); ++iso) {
        const CalibrationLine &line = m_outcome.calibration.lines.at(iso);
        QStringList row { m_data.isotope(iso).typedName(), QString::number(line.points.size()) };
        if (line.isUsable())
            row << number(line.slope) << number(line.intercept) << number(line.r2) << weighting
                << number(line.lod) << number(line.loq);
        else
            row << QStringLiteral("no calibration line") << QString() << QString() << QString()
                << QString() << QString();
        if (m_outcome.acceptanceChecked && line.isUsable())
            row << (line.isRejected() ? QStringLiteral("rejected") : QStringLiteral("accepted"));
        rows << row;
    }
    pages.table(header, rows);
}

void RunReport::drawQualityControl(ReportPages &pages) const
{
    pages.section(QStringLiteral("Quality control"));
    if (!m_outcome.qcChecked) {
        pages.text(QStringLiteral("QC validation off: nothing checked."), pages.body);
        return;
    }
    QVector<QStringList> rows;
    for (const QcReport::Check &check : m_outcome.qc.checks) {
        const QString found = check.found == 0.0
            ? QStringLiteral("-")
            : RoundedValue::of(check.found, std::abs(check.found) * check.foundRsd / 100.0).text();
        rows << QStringList { m_data.solution(check.solution).name(),
            m_data.isotope(check.isotope).typedName(),
            QStringLiteral("%1 ± %2").arg(
                number(check.expected), number(check.expected * check.expectedError / 100.0)),
            found, QcReport::verdictText(check.verdict) };
    }
    pages.table({ QStringLiteral("Solution"), QStringLiteral("Isotope"),
                    QStringLiteral("Expected (\u00b5g/L)"), QStringLiteral("Found (\u00b5g/L)"),
                    QStringLiteral("Verdict") },
        rows);
    pages.text(QStringLiteral("QC not valid: %1 / %2")
                   .arg(m_outcome.qc.failureCount())
                   .arg(m_outcome.qc.checks.size()),
        pages.bold);
}

// The checks a run makes only when asked.
void RunReport::drawChecks(ReportPages &pages) const
{
    if (m_outcome.recoveryChecked) {
        pages.section(QStringLiteral("IS recovery"));
        pages.text(QStringLiteral("IS recovery outside %1-%2 %: %3 / %4")
                       .arg(m_outcome.recovery.low)
                       .arg(m_outcome.recovery.high)
                       .arg(m_outcome.recovery.outside.size())
                       .arg(m_outcome.recovery.checked),
            pages.bold);
        pages.lines(m_outcome.recovery.lines(m_data));
    }
    if (m_outcome.driftCorrected) {
        pages.section(QStringLiteral("Drift correction"));
        QStringList lines = m_outcome.drift.lines(m_data);
        // The trace's count line, without the trace's mark.
        if (!lines.isEmpty() && lines.first().startsWith(QLatin1String("# ")))
            lines.first().remove(0, 2);
        pages.lines(lines);
    }
    // The equations are the method's; here what they did.
    if (!m_outcome.interference.effects.isEmpty()) {
        pages.section(QStringLiteral("Interference correction"));
        const QStringList lines = m_outcome.interference.effectLines(m_data);
        pages.lines(
            lines.isEmpty() ? QStringList { QStringLiteral("No sample corrected.") } : lines);
    }
    if (m_outcome.acceptanceChecked) {
        pages.section(QStringLiteral("Rejected calibrations"));
        const QStringList rejected
            = CalibrationAcceptance::rejectionLines(m_outcome.calibration, m_data);
        pages.text(QStringLiteral("Calibration rejected: %1 / %2")
                       .arg(rejected.size())
                       .arg(CalibrationAcceptance::checkedCount(m_outcome.calibration)),
            pages.bold);
        pages.lines(rejected);
    }
}

// Six to a page, as the window draws them.
void RunReport::drawPlots(ReportPages &pages) const
{
    QVector<int> drawn;
    for (int iso = 0; iso < m_outcome.working.isotopeCount(); ++iso) {
        if (m_outcome.calibration.hasLine(iso))
            drawn << iso;
    }
    pages.newPage();
    pages.section(QStringLiteral("Calibration plots"));
    const double top = pages.top();
    const QSizeF cell(pages.width() / PLOT_COLUMNS, (pages.bottom() - top) / PLOT_ROWS);
    for (int k = 0; k < drawn.size(); ++k) {
        const int place = k % (PLOT_COLUMNS * PLOT_ROWS);
        if (k > 0 && place == 0)
            pages.newPage();
        if (!pages.painter())
            continue;
        QwtPlot plot;
        CalibrationPlot calibration(&plot);
        calibration.setPrinted(true);
        PlotStyle::frameCalibration(&plot);
        plot.setAxisTitle(QwtPlot::xBottom, QStringLiteral("Concentration (\u00b5g/L)"));
        calibration.draw(m_outcome, drawn.at(k));
        const int row = place / PLOT_COLUMNS;
        const QRectF area(
            QPointF((place % PLOT_COLUMNS) * cell.width(), top + row * cell.height()), cell);
        drawPlot(&plot, pages.painter(), area.adjusted(MM, MM, -MM, -MM));
    }
    pages.newPage();
}

void RunReport::drawClosing(ReportPages &pages) const
{
    pages.section(QStringLiteral("Warnings"));
    pages.lines(m_outcome.warnings.isEmpty() ? QStringList { QStringLiteral("None.") }
                                             : m_outcome.warnings);
    pages.section(QStringLiteral("Review"));
    const double room = 10.0 * MM;
    for (const QString &field :
        { QStringLiteral("Reviewed by"), QStringLiteral("Date"), QStringLiteral("Signature") }) {
        pages.need(room + pages.lineHeight(pages.body));
        pages.skip(room - pages.lineHeight(pages.body));
        pages.text(field + QLatin1Char(':'), pages.body);
        if (pages.painter())
            pages.painter()->drawLine(
                QPointF(30.0 * MM, pages.top() - 0.3 * pages.lineHeight(pages.body)),
                QPointF(120.0 * MM, pages.top() - 0.3 * pages.lineHeight(pages.body)));
    }
    pages.skip(room);
    pages.text(QStringLiteral("End of report"), pages.bold);
}
