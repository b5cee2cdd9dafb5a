#include "display/EvolutionPlot.h"

#include "display/PlotStyle.h"
#include "model/Measurements.h"

#include <QRegularExpression>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_text.h>

EvolutionPlot::EvolutionPlot(QwtPlot *plot) : m_plot(plot)
{
    PlotStyle::useRunningOrderAxis(m_plot);
    m_intensities = new QwtPlotCurve(QString());
    // Untitled: out of the legend that the drift factor, drawn on the same plot, shows.
    m_intensities->setItemAttribute(QwtPlotItem::Legend, false);
    m_intensities->attach(m_plot);
}

EvolutionPlot::~EvolutionPlot()
{
    if (m_plot)
        delete m_intensities;
}

void EvolutionPlot::draw(const Measurements &data, int iso, const QString &choice)
{
    if (choice.isEmpty() || iso == -1)
        return;

    m_plot->setTitle(QwtText(
        QStringLiteral("Evolution ") + choice + QStringLiteral(" - ") + data.isotope(iso).name()));
    PlotStyle::styleRunningOrderCurve(m_intensities);

    const int n = data.solutionCount();
    PlotStyle::scaleRunningOrder(m_plot, n);

    const QRegularExpression pattern(choice);
    QVector<double> x;
    QVector<double> y;
    if (pattern.isValid()) {
        for (int k = 1; k <= n; ++k) {
            const Solution &solution = data.solution(k - 1);
            if (pattern.match(solution.name()).hasMatch()) {
                x.append(k);
                y.append(solution.intensity(iso));
            }
        }
    }
    m_intensities->setSamples(x, y);
    m_plot->replot();
}

void EvolutionPlot::clear()
{
    m_intensities->setSamples(QVector<double>(), QVector<double>());
    m_intensities->setTitle(QString());
    PlotStyle::empty(m_plot);
}
