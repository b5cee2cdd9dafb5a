#ifndef KETRION_CALIBRATIONPLOT_H
#define KETRION_CALIBRATIONPLOT_H

#include <QPointer>

class Data;
class Processing;
class QwtPlot;
class QwtPlotCurve;
class QwtPlotIntervalCurve;

// An isotope's calibration drawn into a plot: the standards, the QC solutions
// in red, both with error bars, and the fitted line with its figures in the
// legend. The window's plot and ketrion-batch's images both come from here.
class CalibrationPlot
{
public:
    explicit CalibrationPlot(QwtPlot *plot);
    ~CalibrationPlot();

    CalibrationPlot(const CalibrationPlot &) = delete;
    CalibrationPlot &operator=(const CalibrationPlot &) = delete;

    // work holds the run's results, raw the data set as read, whose QC
    // solutions carry their expected values. Nothing changes for iso -1.
    void draw(const Data *work, const Data *raw, int iso, const Processing *processing);
    // Empties the plot, legend included; its frame and title stay.
    void clear();

private:
    // A plot deletes its attached items when it goes; then they are not ours to delete.
    QPointer<QwtPlot> plot;
    QwtPlotCurve *standards;
    QwtPlotCurve *line;
    QwtPlotCurve *qc;
    QwtPlotIntervalCurve *cpsBars;
    QwtPlotIntervalCurve *concentBars;
};

#endif
