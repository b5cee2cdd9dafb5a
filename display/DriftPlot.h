#ifndef KETRION_DRIFTPLOT_H
#define KETRION_DRIFTPLOT_H

#include <QPointer>

class Measurements;
class QwtPlot;
class QwtPlotCurve;
struct RunOutcome;

// An isotope's drift factor m1 / m(p) along the running order, the factor a
// drift-corrected run multiplied each solution by, with the monitor's
// readings it came from in red. The window's evolution plot and
// ketrion-batch's images both come from here.
class DriftPlot
{
public:
    explicit DriftPlot(QwtPlot *plot);
    ~DriftPlot();

    DriftPlot(const DriftPlot &) = delete;
    DriftPlot &operator=(const DriftPlot &) = delete;

    // data is the export the run was given. Nothing changes for iso -1; an
    // isotope the run did not correct is drawn empty, its title saying so.
    void draw(const Measurements &data, const RunOutcome &outcome, int iso);
    // Empties the plot, legend included, and gives the intensity axis its
    // title back; the plot's title stays.
    void clear();

private:
    // A plot deletes its attached items when it goes; then they are not ours to delete.
    QPointer<QwtPlot> m_plot;
    QwtPlotCurve *m_factors;
    QwtPlotCurve *m_readings;
};

#endif
