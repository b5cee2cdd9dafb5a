#ifndef KETRION_INTERNALSTANDARDPLOT_H
#define KETRION_INTERNALSTANDARDPLOT_H

#include <QPointer>

class Measurements;
class QwtPlot;
class QwtPlotCurve;

// An internal standard's intensity along the running order, with its
// statistics in the legend and, against a reference solution, the recovery
// bounds as dashed lines and the solutions outside them in red. The window's
// plot and ketrion-batch's images both come from here.
class InternalStandardPlot
{
public:
    explicit InternalStandardPlot(QwtPlot *plot);
    ~InternalStandardPlot();

    InternalStandardPlot(const InternalStandardPlot &) = delete;
    InternalStandardPlot &operator=(const InternalStandardPlot &) = delete;

    // With a reference solution (not -1), also the recovery bounds low and
    // high, in whole percents of its value. Nothing changes for iso -1.
    void draw(const Measurements &data, int iso, int reference = -1, int low = 0, int high = 0);
    // Empties the plot and its legend; the frame and the title stay.
    void clear();

private:
    // A plot deletes its attached items when it goes; then they are not ours to delete.
    QPointer<QwtPlot> m_plot;
    QwtPlotCurve *m_intensities;
    QwtPlotCurve *m_outside;
    QwtPlotCurve *m_lowBound;
    QwtPlotCurve *m_highBound;
};

#endif
