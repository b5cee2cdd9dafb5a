#include "display/EvolutionPlot.h"

#include "display/PlotStyle.h"
#include "model/Data.h"

#include <QRegularExpression>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_text.h>

EvolutionPlot::EvolutionPlot(QwtPlot *plot) : plot(plot)
{
    PlotStyle::useRunningOrderAxis(plot);
    intensities = new QwtPlotCurve(QString());
    intensities->attach(plot);
}

EvolutionPlot::~EvolutionPlot()
{
    if (plot)
        delete intensities;
}

void EvolutionPlot::draw(const Data *data, int iso, const QString &choice)
{
    if (choice.isEmpty() || iso == -1)
        return;

    plot->setTitle(QwtText(QStringLiteral("Evolution ") + choice + QStringLiteral(" - ")
        + data->getIso(iso).getName()));
    PlotStyle::styleRunningOrderCurve(intensities);

    const int n = data->solutionSize();
    plot->setAxisScale(QwtPlot::xBottom, 1.0, n, 1.0);

    const QRegularExpression pattern(choice);
    QVector<double> x;
    QVector<double> y;
    if (pattern.isValid()) {
        for (int k = 1; k <= n; ++k) {
            const Solution *solution = data->getSolution(k - 1);
            if (pattern.match(solution->getName()).hasMatch()) {
                x.append(k);
                y.append(solution->getCps(iso));
            }
        }
    }
    intensities->setSamples(x, y);
    plot->replot();
}

void EvolutionPlot::clear()
{
    intensities->setSamples(QVector<double>(), QVector<double>());
    intensities->setTitle(QString());
    PlotStyle::empty(plot);
}
