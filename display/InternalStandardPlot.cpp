#include "display/InternalStandardPlot.h"

#include "display/PlotStyle.h"
#include "model/Measurements.h"
#include "processing/RecoveryCheck.h"
#include "processing/Statistics.h"

#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_text.h>

InternalStandardPlot::InternalStandardPlot(QwtPlot *plot) : m_plot(plot)
{
    PlotStyle::useRunningOrderAxis(plot);

    m_intensities = new QwtPlotCurve(QString());
    m_intensities->attach(plot);
    // Empty, and out of the legend, until a recovery check is shown.
    m_lowBound = new QwtPlotCurve(QString());
    m_highBound = new QwtPlotCurve(QString());
    for (QwtPlotCurve *bound : { m_lowBound, m_highBound }) {
        bound->setPen(QPen(Qt::red, 1.0, Qt::DashLine));
        bound->setLegendAttribute(QwtPlotCurve::LegendShowLine, true);
        bound->setItemAttribute(QwtPlotItem::Legend, false);
        bound->attach(plot);
    }
    m_outside = new QwtPlotCurve(QString());
    m_outside->setStyle(QwtPlotCurve::NoCurve);
    m_outside->setSymbol(PlotStyle::dot(Qt::red, 5));
    m_outside->setItemAttribute(QwtPlotItem::Legend, false);
    m_outside->setZ(m_intensities->z() + 1.0); // over the black dots
    m_outside->attach(plot);
}

InternalStandardPlot::~InternalStandardPlot()
{
    if (!m_plot)
        return;
    delete m_intensities;
    delete m_outside;
    delete m_lowBound;
    delete m_highBound;
}

// The statistics and the value test need no results of a run.
void InternalStandardPlot::draw(const Measurements &data, int iso, int reference, int low, int high)
{
    if (iso == -1)
        return;

    m_plot->setTitle(QwtText(QStringLiteral("Internal Standard ") + data.isotope(iso).name()));
    const int n = data.solutionCount();
    PlotStyle::scaleRunningOrder(m_plot, n);
    PlotStyle::styleRunningOrderCurve(m_intensities);

    // A reference without the IS value has no recovery to show.
    const bool bounds = reference >= 0 && reference < n && data.solution(reference).isMeasured(iso);
    const double referenceValue = bounds ? data.solution(reference).intensity(iso) : 0.0;
    QVector<double> x;
    QVector<double> y;
    QVector<double> outsideX;
    QVector<double> outsideY;
    for (int k = 1; k <= n; ++k) {
        const Solution &solution = data.solution(k - 1);
        const double v = solution.intensity(iso);
        // A value the instrument did not give is no point, nor part of the statistics.
        if (!solution.isMeasured(iso) || !Statistics::isFinite(v))
            continue;
        x.append(k);
        y.append(v);
        // The same test as the run's check, so both name the same solutions.
        if (bounds && k - 1 != reference
            && !RecoveryCheck::inside(RecoveryCheck::recovery(v, referenceValue), low, high)) {
            outsideX.append(k);
            outsideY.append(v);
        }
    }
    m_intensities->setSamples(x, y);
    m_outside->setSamples(outsideX, outsideY);
    const auto boundAt = [&](QwtPlotCurve *curve, int percent) {
        const double level = referenceValue * percent / 100.0;
        curve->setSamples(bounds ? QVector<double> { 1.0, double(n) } : QVector<double>(),
            bounds ? QVector<double> { level, level } : QVector<double>());
    };
    boundAt(m_lowBound, low);
    boundAt(m_highBound, high);
    m_lowBound->setTitle(QwtText(QStringLiteral("IS recovery %1-%2 % of %3")
                                     .arg(low)
                                     .arg(high)
                                     .arg(bounds ? data.solution(reference).name() : QString())));
    m_lowBound->setItemAttribute(QwtPlotItem::Legend, bounds);
    m_plot->replot();

    const QPair<double, double> meanSd = Statistics::meanAndDeviation(y);
    const double rsd = meanSd.second * 100.0 / meanSd.first;
    m_plot->insertLegend(new QwtLegend(), QwtPlot::BottomLegend, -1.0);
    m_intensities->setTitle(QwtText(QStringLiteral("Average intensity (cps) =  ")
        + QString::number(meanSd.first, 'f', 1) + QStringLiteral(" | SD (cps) = ")
        + QString::number(meanSd.second, 'f', 1) + QStringLiteral(" | RSD (%) = ")
        + QString::number(rsd, 'f', 1)));
}

void InternalStandardPlot::clear()
{
    for (QwtPlotCurve *curve : { m_intensities, m_outside, m_lowBound, m_highBound })
        curve->setSamples(QVector<double>(), QVector<double>());
    m_intensities->setTitle(QString());
    m_lowBound->setItemAttribute(QwtPlotItem::Legend, false);
    PlotStyle::empty(m_plot);
}
