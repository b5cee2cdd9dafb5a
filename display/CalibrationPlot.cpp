#include "display/CalibrationPlot.h"

#include "display/PlotStyle.h"
#include "model/Data.h"
#include "processing/Processing.h"

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

QString equationText(const Processing *processing, int iso)
{
    const Regline line = processing->getLine(iso);
    return QStringLiteral("y = ") + QString::number(line.slope, 'f', 1) + QStringLiteral(" x + (")
        + QString::number(line.yIntercept, 'f', 1) + QStringLiteral(")") + QStringLiteral(" | ")
        + QStringLiteral("R%1").arg(QChar(0x00B2)) + QStringLiteral(" = ")
        + QString::number(processing->getSquareR(iso), 'f', 5) + QStringLiteral(" | LOD = ")
        + QString::number(processing->getLOD(iso), 'f', 6) + QStringLiteral(" ppb")
        + QStringLiteral(" | LOQ = ") + QString::number(processing->getLOQ(iso), 'f', 6)
        + QStringLiteral(" ppb")
        + (processing->getWeighting() == Processing::Weighting::None
                ? QString()
                : QStringLiteral(" | weighted ")
                    + Processing::weightingName(processing->getWeighting()));
}

} // namespace

CalibrationPlot::CalibrationPlot(QwtPlot *plot) : plot(plot)
{
    standards = new QwtPlotCurve(QString());
    standards->attach(plot);
    qc = new QwtPlotCurve(QString());
    qc->attach(plot);
    line = new QwtPlotCurve(QString());
    line->attach(plot);

    // Error bars must never widen an automatically scaled axis.
    cpsBars = new QwtPlotIntervalCurve(QString());
    cpsBars->setItemAttribute(QwtPlotItem::AutoScale, false);
    // Untitled: "Error Bars" labels both kinds of bar in the legend.
    cpsBars->setItemAttribute(QwtPlotItem::Legend, false);
    cpsBars->attach(plot);
    concentBars = new QwtPlotIntervalCurve(QString());
    concentBars->setItemAttribute(QwtPlotItem::AutoScale, false);
    concentBars->attach(plot);
    concentBars->setOrientation(Qt::Horizontal);
}

CalibrationPlot::~CalibrationPlot()
{
    if (!plot)
        return;
    delete standards;
    delete line;
    delete qc;
    delete cpsBars;
    delete concentBars;
}

void CalibrationPlot::draw(const Data *work, const Data *raw, int iso, const Processing *processing)
{
    if (iso == -1)
        return;

    plot->setAutoDelete(true);
    plot->setAutoReplot(true);
    plot->setAxisAutoScale(QwtPlot::xBottom, true);
    plot->setAxisAutoScale(QwtPlot::yLeft, true);

    const QString isoName = work->getIso(iso).getName();
    plot->setTitle(QwtText(QStringLiteral("Calibration ") + isoName));

    standards->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    standards->setSymbol(PlotStyle::dot(Qt::black, 2));
    standards->setStyle(QwtPlotCurve::NoCurve);
    styleErrorBars(cpsBars);
    styleErrorBars(concentBars);

    QVector<double> stdX;
    QVector<double> stdY;
    QVector<QwtIntervalSample> cpsSamples;
    QVector<QwtIntervalSample> concentSamples;
    for (int s = 0; s < work->solutionSize(); ++s) {
        const Solution *solution = work->getSolution(s);
        if (solution->getType() != Solution::STD)
            continue;
        const double c = solution->getCps(iso);
        const double x = solution->getConcent(iso);
        // the zero standard belongs to the fit even at (0, 0)
        if ((c == 0.0 || x == 0.0) && solution->getName() != Solution::ZERO_STD_NAME)
            continue;
        stdX.append(x);
        stdY.append(c);
        cpsSamples.append(errorSample(x, c, solution->getCpsRSD(iso)));
        concentSamples.append(errorSample(c, x, solution->getConcentRSD(iso)));
    }
    standards->setSamples(stdX, stdY);

    qc->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    qc->setSymbol(PlotStyle::dot(Qt::red, 3));
    qc->setStyle(QwtPlotCurve::NoCurve);

    QVector<double> qcX;
    QVector<double> qcY;
    for (int s = 0; s < work->solutionSize(); ++s) {
        const Solution *measured = work->getSolution(s);
        if (measured->getType() != Solution::QC)
            continue;
        // the expected value and its accepted error come from the standards file
        const Solution *expected = raw->getSolution(s);
        const double c = measured->getCps(iso);
        const double x = expected->getConcent(iso);
        if (c == 0.0 || x == 0.0)
            continue;
        qcX.append(x);
        qcY.append(c);
        cpsSamples.append(errorSample(x, c, measured->getCpsRSD(iso)));
        concentSamples.append(errorSample(c, x, expected->getConcentRSD(iso)));
    }
    qc->setSamples(qcX, qcY);
    cpsBars->setSamples(cpsSamples);
    concentBars->setSamples(concentSamples);

    line->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    line->setPen(QPen(Qt::blue, 1.0));

    const QVector<double> allX = stdX + qcX;
    const QVector<double> allY = stdY + qcY;
    const double xmin = Processing::min(allX) * 0.9;
    const double xmax = Processing::max(allX) * 1.1;
    const double ymin = Processing::min(allY) * 0.9;
    const double ymax = Processing::max(allY) * 1.1;

    const Regline fitted = processing->getLine(iso);
    const QVector<double> lineX { xmin, xmax };
    const QVector<double> lineY { fitted.slope * xmin + fitted.yIntercept,
        fitted.slope * xmax + fitted.yIntercept };
    line->setSamples(lineX, lineY);

    plot->insertLegend(new QwtLegend(), QwtPlot::BottomLegend, -1.0);

    line->setTitle(QwtText(equationText(processing, iso)));
    qc->setTitle(QwtText(QStringLiteral("QC")));
    standards->setTitle(QwtText(QStringLiteral("STD ") + isoName));
    concentBars->setTitle(QwtText(QStringLiteral("Error Bars")));

    // A single point (or none) leaves nothing to frame: the axes choose.
    if (ymin != ymax && xmin != xmax) {
        plot->setAxisScale(QwtPlot::yLeft, ymin, ymax, 0.0);
        plot->setAxisScale(QwtPlot::xBottom, xmin, xmax, 0.0);
    }

    plot->replot();
}

void CalibrationPlot::clear()
{
    for (QwtPlotCurve *curve : { standards, line, qc }) {
        curve->setSamples(QVector<double>(), QVector<double>());
        curve->setTitle(QString());
    }
    cpsBars->setSamples(QVector<QwtIntervalSample>());
    concentBars->setSamples(QVector<QwtIntervalSample>());
    concentBars->setTitle(QString());
    PlotStyle::empty(plot);
}
