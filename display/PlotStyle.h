#ifndef KETRION_PLOTSTYLE_H
#define KETRION_PLOTSTYLE_H

#include <Qt>

class QwtPlot;
class QwtPlotCurve;
class QwtSymbol;

// The look the plots share, on screen and in saved images alike.
class PlotStyle
{
public:
    // Dotted grid and axis titles: concentration against intensity.
    static void frameCalibration(QwtPlot *plot);
    // Dotted grid and axis titles, the solutions' numbers turned under their ticks.
    static void frameRunningOrder(QwtPlot *plot);
    // A running-order draw on the bottom axis, keeping the rotation and
    // alignment its labels had.
    static void useRunningOrderAxis(QwtPlot *plot);
    static void styleRunningOrderCurve(QwtPlotCurve *curve);
    // The bottom axis from the first to the last of n solutions: a tick for
    // each on a short run, on round positions (10, 20, …) on a long one.
    static void scaleRunningOrder(QwtPlot *plot, int n);
    static QwtSymbol *dot(Qt::GlobalColor colour, int size);
    // No legend, both axes scaled to the items again.
    static void empty(QwtPlot *plot);
    // Whether any curve of the plot holds a point.
    static bool hasPoints(const QwtPlot *plot);
};

#endif
