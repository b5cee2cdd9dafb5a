#ifndef KETRION_EVOLUTIONPLOT_H
#define KETRION_EVOLUTIONPLOT_H

#include <QPointer>
#include <QString>

class Measurements;
class QwtPlot;
class QwtPlotCurve;

// An isotope's intensity along the running order in the solutions whose names
// match a pattern, drawn into a plot.
class EvolutionPlot
{
public:
    explicit EvolutionPlot(QwtPlot *plot);
    ~EvolutionPlot();

    EvolutionPlot(const EvolutionPlot &) = delete;
    EvolutionPlot &operator=(const EvolutionPlot &) = delete;

    // choice is a regular expression; an invalid one matches no solution.
    // Nothing changes for iso -1 or an empty choice.
    void draw(const Measurements &data, int iso, const QString &choice);
    // Empties the plot, legend included; its frame and title stay.
    void clear();

private:
    // A plot deletes its attached items when it goes; then it is not ours to delete.
    QPointer<QwtPlot> m_plot;
    QwtPlotCurve *m_intensities;
};

#endif
