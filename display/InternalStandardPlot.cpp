#include "display/InternalStandardPlot.h"

#include "display/PlotStyle.h"
#include "model/Data.h"
#include "processing/Processing.h"

#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_text.h>

InternalStandardPlot::InternalStandardPlot(QwtPlot *plot) : plot(plot)
{
    PlotStyle::useRunningOrderAxis(plot);

    intensities = new QwtPlotCurve(QString());
    intensities->attach(plot);
    // Empty, and out of the legend, until a recovery check is shown.
    lowBound = new QwtPlotCurve(QString());
    highBound = new QwtPlotCurve(QString());
    for (QwtPlotCurve *bound : { lowBound, highBound }) {
        bound->setPen(QPen(Qt::red, 1.0, Qt::DashLine));
        bound->setLegendAttribute(QwtPlotCurve::LegendShowLine, true);
        bound->setItemAttribute(QwtPlotItem::Legend, false);
        bound->attach(plot);
    }
    outside = new QwtPlotCurve(QString());
    outside->setStyle(QwtPlotCurve::NoCurve);
    outside->setSymbol(PlotStyle::dot(Qt::red, 5));
    outside->setItemAttribute(QwtPlotItem::Legend, false);
    outside->setZ(intensities->z() + 1.0); // over the black dots
    outside->attach(plot);
}

InternalStandardPlot::~InternalStandardPlot()
{
    if (!plot)
        return;
    delete intensities;
    delete outside;
    delete lowBound;
    delete highBound;
}

// The statistics and the value test need no results of a run.
void InternalStandardPlot::draw(const Data *data, int iso, int reference, int low, int high)
{
    if (iso == -1)
        return;

    plot->setTitle(QwtText(QStringLiteral("Internal Standard ") + data->getIso(iso).getName()));
    const int n = data->solutionSize();
    plot->setAxisScale(QwtPlot::xBottom, 1.0, n, 1.0);
    PlotStyle::styleRunningOrderCurve(intensities);

    // A reference without the IS value has no recovery to show.
    const bool bounds
        = reference >= 0 && reference < n && data->getSolution(reference)->isMeasured(iso);
    const double referenceValue = bounds ? data->getSolution(reference)->getCps(iso) : 0.0;
    QVector<double> x;
    QVector<double> y;
    QVector<double> outsideX;
    QVector<double> outsideY;
    for (int k = 1; k <= n; ++k) {
        const Solution *solution = data->getSolution(k - 1);
        const double v = solution->getCps(iso);
        if (!Processing::isValid(v))
            continue;
        x.append(k);
        y.append(v);
        // The same test as the run's check, so both name the same solutions.
        if (bounds && k - 1 != reference
            && (!solution->isMeasured(iso)
                || !Processing::recoveryInside(
                    Processing::recovery(v, referenceValue), low, high))) {
            outsideX.append(k);
            outsideY.append(v);
        }
    }
    intensities->setSamples(x, y);
    outside->setSamples(outsideX, outsideY);
    const auto boundAt = [&](QwtPlotCurve *curve, int percent) {
        const double level = referenceValue * percent / 100.0;
        curve->setSamples(bounds ? QVector<double> { 1.0, double(n) } : QVector<double>(),
            bounds ? QVector<double> { level, level } : QVector<double>());
    };
    boundAt(lowBound, low);
    boundAt(highBound, high);
    lowBound->setTitle(
        QwtText(QStringLiteral("IS recovery %1-%2 % of %3")
                    .arg(low)
                    .arg(high)
                    .arg(bounds ? data->getSolution(reference)->getName() : QString())));
    lowBound->setItemAttribute(QwtPlotItem::Legend, bounds);
    plot->replot();

    const QPair<double, double> meanSd = Processing::stat(y);
    const double rsd = meanSd.second * 100.0 / meanSd.first;
    plot->insertLegend(new QwtLegend(), QwtPlot::BottomLegend, -1.0);
    intensities->setTitle(QwtText(QStringLiteral("Average intensity (cps) =  ")
        + QString::number(meanSd.first, 'f', 1) + QStringLiteral(" | SD (cps) = ")
        + QString::number(meanSd.second, 'f', 1) + QStringLiteral(" | RSD (%) = ")
        + QString::number(rsd, 'f', 1)));
}

void InternalStandardPlot::clear()
{
    for (QwtPlotCurve *curve : { intensities, outside, lowBound, highBound })
        curve->setSamples(QVector<double>(), QVector<double>());
    intensities->setTitle(QString());
    lowBound->setItemAttribute(QwtPlotItem::Legend, false);
    PlotStyle::empty(plot);
}
