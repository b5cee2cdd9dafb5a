#include "display/PlotStyle.h"

#include "display/RunningOrderScaleDraw.h"

#include <QBrush>
#include <QPen>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_seriesitem.h>
#include <qwt_scale_div.h>
#include <qwt_symbol.h>

namespace {

void addGrid(QwtPlot *plot)
{
    auto *grid = new QwtPlotGrid;
    grid->setPen(Qt::gray, 0.0, Qt::DotLine);
    grid->enableX(true);
    grid->enableY(true);
    grid->enableXMin(true);
    grid->enableYMin(true);
    grid->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    grid->attach(plot);
}

} // namespace

void PlotStyle::frameCalibration(QwtPlot *plot)
{
    addGrid(plot);
    plot->setAxisTitle(QwtPlot::xBottom, QStringLiteral("Concentration (ppb)"));
    plot->setAxisTitle(QwtPlot::yLeft, QStringLiteral("Intensity (cps)"));
    plot->replot();
}

void PlotStyle::frameRunningOrder(QwtPlot *plot)
{
    addGrid(plot);
    plot->setAxisTitle(QwtPlot::xBottom, QStringLiteral("Samples running order"));
    plot->setAxisLabelRotation(QwtPlot::xBottom, 270);
    // Hang the turned labels below their ticks instead of across the axis.
    plot->setAxisLabelAlignment(QwtPlot::xBottom, Qt::AlignLeft | Qt::AlignVCenter);
    plot->setAxisMaxMinor(QwtPlot::xBottom, 0);
    plot->setAxisTitle(QwtPlot::yLeft, QStringLiteral("Intensity (cps)"));
    plot->replot();
}

void PlotStyle::useRunningOrderAxis(QwtPlot *plot)
{
    const QwtScaleDraw *current = plot->axisScaleDraw(QwtPlot::xBottom);
    auto *draw = new RunningOrderScaleDraw;
    draw->setLabelRotation(current->labelRotation());
    draw->setLabelAlignment(current->labelAlignment());
    plot->setAxisScaleDraw(QwtPlot::xBottom, draw);
}

void PlotStyle::styleRunningOrderCurve(QwtPlotCurve *curve)
{
    curve->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    curve->setSymbol(dot(Qt::black, 5));
    curve->setPen(QPen(Qt::blue, 1.0));
    curve->setStyle(QwtPlotCurve::Lines);
}

void PlotStyle::scaleRunningOrder(QwtPlot *plot, int n)
{
    // More ticks than this make a solid band; the labels are thinned further by the draw.
    constexpr int MOST_TICKS = 60;
    int step = 1;
    for (int decade = 1; n / step > MOST_TICKS; decade *= 10) {
        for (const int factor : { 1, 2, 5 }) {
            step = factor * decade;
            if (n / step <= MOST_TICKS)
                break;
        }
    }
    QList<double> ticks;
    for (int position = step == 1 ? 1 : step; position <= n; position += step)
        ticks.append(position);
    plot->setAxisScaleDiv(
        QwtPlot::xBottom, QwtScaleDiv(1.0, qMax(1, n), QList<double>(), QList<double>(), ticks));
}

QwtSymbol *PlotStyle::dot(Qt::GlobalColor colour, int size)
{
    return new QwtSymbol(QwtSymbol::Ellipse, QBrush(colour), QPen(colour, 1.0), QSize(size, size));
}

bool PlotStyle::hasPoints(const QwtPlot *plot)
{
    for (const QwtPlotItem *item : plot->itemList()) {
        // Qwt bounds an empty series by a rectangle of negative width.
        const auto *series = dynamic_cast<const QwtPlotSeriesItem *>(item);
        if (series && series->boundingRect().width() >= 0.0)
            return true;
    }
    return false;
}

void PlotStyle::empty(QwtPlot *plot)
{
    plot->insertLegend(nullptr);
    plot->setAxisAutoScale(QwtPlot::xBottom, true);
    plot->setAxisAutoScale(QwtPlot::yLeft, true);
    plot->replot();
}
