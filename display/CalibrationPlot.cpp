#include "display/CalibrationPlot.h"

#include "display/PlotStyle.h"
#include "processing/RunOutcome.h"
#include "processing/Statistics.h"

#include <algorithm>

#include <qwt_interval.h>
#include <qwt_interval_symbol.h>
#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_intervalcurve.h>
#include <qwt_samples.h>
#include <qwt_symbol.h>
#include <qwt_text.h>

namespace {

void styleErrorBars(QwtPlotIntervalCurve *curve)
{
    curve->setSymbol(new QwtIntervalSymbol(QwtIntervalSymbol::Bar));
    curve->setStyle(QwtPlotIntervalCurve::NoCurve);
    curve->setRenderHint(QwtPlotItem::RenderAntialiased, true);
}

// value ± value·rsd/100; bounds kept in ascending order (negative intensities
// after blank subtraction would otherwise swap them).
QwtIntervalSample errorSample(double position, double value, double rsd)
{
    const double delta = value * rsd / 100.0;
    return QwtIntervalSample(position, QwtInterval(value - delta, value + delta).normalized());
}

// On two lines for the window's width; on three, in the report's unit, for
// its narrower plot.
QString equationText(const CalibrationLine &line, Calibration::Weighting weighting, bool printed)
{
    const QString unit = printed ? QStringLiteral(" \u00b5g/L") : QStringLiteral(" ppb");
    const QString weighted = weighting == Calibration::Weighting::None
        ? QString()
        : QStringLiteral(" | weighted ") + Calibration::weightingName(weighting);
    const QString limits = QStringLiteral("LOD = ") + QString::number(line.lod, 'f', 6) + unit
        + QStringLiteral(" | LOQ = ") + QString::number(line.loq, 'f', 6) + unit;
    const QString r2 = QStringLiteral("R%1").arg(QChar(0x00B2)) + QStringLiteral(" = ")
        + QString::number(line.r2, 'f', 5);
    return QStringLiteral("y = ") + QString::number(line.slope, 'f', 1) + QStringLiteral(" x + (")
        + QString::number(line.intercept, 'f', 1) + QStringLiteral(")\n")
        + (printed ? r2 + weighted + QLatin1Char('\n') + limits
                   : r2 + QStringLiteral(" | ") + limits + weighted)
        + (line.isRejected() ? QStringLiteral("\nrejected: ") + line.rejection : QString());
}

// The line's figures; an isotope without a line has none to show.
QString lineText(const RunOutcome &outcome, int iso, bool printed)
{
    const CalibrationLine &line = outcome.calibration.lines.at(iso);
    if (line.isUsable())
        return equationText(line, outcome.calibration.weighting, printed);
    const auto &standards = outcome.corrected;
    return std::find(standards.cbegin(), standards.cend(), iso) != standards.cend()
        ? QStringLiteral("internal standard: not calibrated")
        : QStringLiteral("no calibration line");
}

} // namespace

CalibrationPlot::CalibrationPlot(QwtPlot *plot) : m_plot(plot)
{
    m_standards = new QwtPlotCurve(QString());
    m_standards->attach(plot);
    m_leftOut = new QwtPlotCurve(QString());
    m_leftOut->attach(plot);
    m_qc = new QwtPlotCurve(QString());
    m_qc->attach(plot);
    m_line = new QwtPlotCurve(QString());
    m_line->attach(plot);

    // Error bars must never widen an automatically scaled axis.
    m_intensityBars = new QwtPlotIntervalCurve(QString());
    m_intensityBars->setItemAttribute(QwtPlotItem::AutoScale, false);
    // Untitled: "Error Bars" labels both kinds of bar in the legend.
    m_intensityBars->setItemAttribute(QwtPlotItem::Legend, false);
    m_intensityBars->attach(plot);
    m_concentrationBars = new QwtPlotIntervalCurve(QString());
    m_concentrationBars->setItemAttribute(QwtPlotItem::AutoScale, false);
    m_concentrationBars->attach(plot);
    m_concentrationBars->setOrientation(Qt::Horizontal);
}

CalibrationPlot::~CalibrationPlot()
{
    if (!m_plot)
        return;
    delete m_standards;
    delete m_leftOut;
    delete m_line;
    delete m_qc;
    delete m_intensityBars;
    delete m_concentrationBars;
}

void CalibrationPlot::draw(const RunOutcome &outcome, int iso)
{
    if (iso == -1)
        return;

    m_plot->setAutoDelete(true);
    m_plot->setAutoReplot(true);
    m_plot->setAxisAutoScale(QwtPlot::xBottom, true);
    m_plot->setAxisAutoScale(QwtPlot::yLeft, true);
    const CalibrationLine &fitted = outcome.calibration.lines.at(iso);
    const QString isoName = outcome.working.isotope(iso).name();
    QwtText title(QStringLiteral("Calibration ") + isoName);
    if (fitted.isRejected()) {
        title.setText(QStringLiteral("Calibration %1: rejected")
                          .arg(outcome.working.isotope(iso).typedName()));
        title.setColor(Qt::red);
    }
    m_plot->setTitle(title);

    Points all;
    drawStandards(outcome, iso, &all);
    drawLeftOut(fitted, &all);
    drawQualityControl(outcome, iso, &all);
    m_intensityBars->setSamples(all.intensityBars);
    m_concentrationBars->setSamples(all.concentrationBars);
    drawLine(fitted, all);

    // On lines of their own, and as tall as they need: a legend that scrolls hides the figures.
    m_plot->insertLegend(new QwtLegend(), QwtPlot::BottomLegend, 1.0);
    m_line->setTitle(QwtText(lineText(outcome, iso, m_printed)));
    m_qc->setTitle(QwtText(QStringLiteral("QC")));
    m_standards->setTitle(QwtText(QStringLiteral("STD ") + isoName));
    m_leftOut->setTitle(QwtText(QStringLiteral("not in the fit")));
    m_concentrationBars->setTitle(QwtText(QStringLiteral("Error Bars")));
    m_plot->replot();
}

// The standards are the line's own points.
void CalibrationPlot::drawStandards(const RunOutcome &outcome, int iso, Points *all)
{
    m_standards->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    m_standards->setSymbol(PlotStyle::dot(Qt::black, 2));
    m_standards->setStyle(QwtPlotCurve::NoCurve);
    styleErrorBars(m_intensityBars);
    styleErrorBars(m_concentrationBars);
    QVector<double> x;
    QVector<double> y;
    for (const CalibrationLine::Point &point : outcome.calibration.lines.at(iso).points) {
        x.append(point.concentration);
        y.append(point.intensity);
        all->intensityBars.append(errorSample(point.concentration, point.intensity,
            outcome.working.solution(point.solution).intensityRSD(iso)));
        all->concentrationBars.append(errorSample(
            point.intensity, point.concentration, outcome.expected.error(point.solution, iso)));
    }
    m_standards->setSamples(x, y);
    all->x << x;
    all->y << y;
}

// Left out of the fit: drawn hollow where they have an intensity at all.
void CalibrationPlot::drawLeftOut(const CalibrationLine &fitted, Points *all)
{
    QVector<double> x;
    QVector<double> y;
    for (const CalibrationLine::Point &point : fitted.leftOut) {
        if (point.intensity == 0.0 || !Statistics::isFinite(point.intensity))
            continue;
        x.append(point.concentration);
        y.append(point.intensity);
    }
    m_leftOut->setStyle(QwtPlotCurve::NoCurve);
    m_leftOut->setSymbol(
        new QwtSymbol(QwtSymbol::Ellipse, QBrush(Qt::NoBrush), QPen(Qt::black, 1.0), QSize(7, 7)));
    m_leftOut->setSamples(x, y);
    m_leftOut->setItemAttribute(QwtPlotItem::Legend, !x.isEmpty());
    all->x << x;
    all->y << y;
}

void CalibrationPlot::drawQualityControl(const RunOutcome &outcome, int iso, Points *all)
{
    m_qc->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    m_qc->setSymbol(PlotStyle::dot(Qt::red, 3));
    m_qc->setStyle(QwtPlotCurve::NoCurve);
    const Measurements &working = outcome.working;
    QVector<double> x;
    QVector<double> y;
    for (int s = 0; s < working.solutionCount(); ++s) {
        const Solution &measured = working.solution(s);
        if (measured.type() != Solution::QualityControl)
            continue;
        // The expected value and its accepted error come from the standards file.
        const double c = measured.intensity(iso);
        const double expected = outcome.expected.value(s, iso);
        if (c == 0.0 || expected == 0.0)
            continue;
        x.append(expected);
        y.append(c);
        all->intensityBars.append(errorSample(expected, c, measured.intensityRSD(iso)));
        all->concentrationBars.append(errorSample(c, expected, outcome.expected.error(s, iso)));
    }
    m_qc->setSamples(x, y);
    all->x << x;
    all->y << y;
}

// Across every point drawn, which frame the plot; none without a line.
void CalibrationPlot::drawLine(const CalibrationLine &fitted, const Points &all)
{
    m_line->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    m_line->setPen(QPen(Qt::blue, 1.0));
    if (!fitted.isUsable()) {
        m_line->setSamples(QVector<double>(), QVector<double>());
        return;
    }
    const double xmin = Statistics::minimum(all.x) * 0.9;
    const double xmax = Statistics::positiveMaximum(all.x) * 1.1;
    const double ymin = Statistics::minimum(all.y) * 0.9;
    const double ymax = Statistics::positiveMaximum(all.y) * 1.1;
    m_line->setSamples(QVector<double> { xmin, xmax },
        QVector<double> {
            fitted.slope * xmin + fitted.intercept, fitted.slope * xmax + fitted.intercept });
    // A single point (or none) leaves nothing to frame: the axes choose.
    if (ymin != ymax && xmin != xmax) {
        m_plot->setAxisScale(QwtPlot::yLeft, ymin, ymax, 0.0);
        m_plot->setAxisScale(QwtPlot::xBottom, xmin, xmax, 0.0);
    }
}

void CalibrationPlot::clear()
{
    for (QwtPlotCurve *curve : { m_standards, m_leftOut, m_line, m_qc }) {
        curve->setSamples(QVector<double>(), QVector<double>());
        curve->setTitle(QString());
    }
    m_leftOut->setItemAttribute(QwtPlotItem::Legend, false);
    m_intensityBars->setSamples(QVector<QwtIntervalSample>());
    m_concentrationBars->setSamples(QVector<QwtIntervalSample>());
    m_concentrationBars->setTitle(QString());
    PlotStyle::empty(m_plot);
}
