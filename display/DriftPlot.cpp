#include "display/DriftPlot.h"

#include "display/PlotStyle.h"
#include "model/Measurements.h"
#include "processing/RunOutcome.h"

#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_text.h>

DriftPlot::DriftPlot(QwtPlot *plot) : m_plot(plot)
{
    PlotStyle::useRunningOrderAxis(plot);
    m_factors = new QwtPlotCurve(QString());
    m_factors->attach(plot);
    m_readings = new QwtPlotCurve(QString());
    m_readings->setStyle(QwtPlotCurve::NoCurve);
    m_readings->setSymbol(PlotStyle::dot(Qt::red, 7));
    m_readings->setZ(m_factors->z() + 1.0); // over the black dots
    m_readings->attach(plot);
}

DriftPlot::~DriftPlot()
{
    if (!m_plot)
        return;
    delete m_factors;
    delete m_readings;
}

void DriftPlot::draw(const Measurements &data, const RunOutcome &outcome, int iso)
{
    if (iso == -1)
        return;
    const bool corrected = outcome.driftCorrected && iso < outcome.drift.isotopes.size()
        && outcome.drift.isotopes.at(iso).corrected();
    m_plot->setTitle(QwtText(QStringLiteral("Drift factor - ") + data.isotope(iso).name()
        + (corrected ? QString() : QStringLiteral(" (not corrected)"))));
    m_plot->setAxisTitle(QwtPlot::yLeft, QStringLiteral("Drift factor m1 / m"));
    const int n = data.solutionCount();
    m_plot->setAxisScale(QwtPlot::xBottom, 1.0, n, 1.0);
    PlotStyle::styleRunningOrderCurve(m_factors);

    QVector<double> x;
    QVector<double> y;
    QVector<double> readingX;
    QVector<double> readingY;
    m_factors->setTitle(QString());
    m_readings->setTitle(QString());
    if (corrected) {
        const DriftReport::IsotopeDrift &drift = outcome.drift.isotopes.at(iso);
        for (int k = 0; k < drift.factors.size(); ++k) {
            x.append(k + 1);
            y.append(drift.factors.at(k));
        }
        for (const int check : drift.checks) {
            readingX.append(check + 1);
            readingY.append(drift.factors.at(check));
        }
        m_factors->setTitle(QwtText(QStringLiteral("Drift factor m1 / m | largest drift %1 % at %2")
                                        .arg(QString::number(drift.largest * 100.0, 'f', 1),
                                            data.solution(drift.largestAt).name().trimmed())));
        m_readings->setTitle(QwtText(outcome.drift.monitor + QStringLiteral(" readings used")));
    }
    m_factors->setSamples(x, y);
    m_readings->setSamples(readingX, readingY);
    m_plot->insertLegend(corrected ? new QwtLegend() : nullptr, QwtPlot::BottomLegend, -1.0);
    m_plot->replot();
}

void DriftPlot::clear()
{
    for (QwtPlotCurve *curve : { m_factors, m_readings }) {
        curve->setSamples(QVector<double>(), QVector<double>());
        curve->setTitle(QString());
    }
    m_plot->setAxisTitle(QwtPlot::yLeft, QStringLiteral("Intensity (cps)"));
    PlotStyle::empty(m_plot);
}
