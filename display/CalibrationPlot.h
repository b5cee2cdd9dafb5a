#ifndef KETRION_CALIBRATIONPLOT_H
#define KETRION_CALIBRATIONPLOT_H

#include <QPointer>
#include <QVector>
#include <qwt_samples.h>

struct CalibrationLine;
struct RunOutcome;
class QwtPlot;
class QwtPlotCurve;
class QwtPlotIntervalCurve;

// An isotope's calibration drawn into a plot: the line's points, the standards
// it left out (hollow), the QC solutions in red, with error bars, and the
// fitted line with its figures in the legend. The window's plot and ketrion-batch's images both
// come from here.
class CalibrationPlot
{
public:
    explicit CalibrationPlot(QwtPlot *plot);
    ~CalibrationPlot();

    CalibrationPlot(const CalibrationPlot &) = delete;
    CalibrationPlot &operator=(const CalibrationPlot &) = delete;

    // Nothing changes for iso -1. A rejected line's plot says so in its title.
    void draw(const RunOutcome &outcome, int iso);
    // The figures as a printed report gives them: in its unit, on more lines.
    void setPrinted(bool printed) { m_printed = printed; }
    // Empties the plot, legend included; its frame and title stay.
    void clear();

private:
    // Every point drawn, and the error bars of the standards and QC solutions.
    struct Points
    {
        QVector<double> x;
        QVector<double> y;
        QVector<QwtIntervalSample> intensityBars;
        QVector<QwtIntervalSample> concentrationBars;
    };

    void drawStandards(const RunOutcome &outcome, int iso, Points *all);
    void drawLeftOut(const CalibrationLine &fitted, Points *all);
    void drawQualityControl(const RunOutcome &outcome, int iso, Points *all);
    void drawLine(const CalibrationLine &fitted, const Points &all);

    // A plot deletes its attached items when it goes; then they are not ours to delete.
    QPointer<QwtPlot> m_plot;
    QwtPlotCurve *m_standards;
    QwtPlotCurve *m_leftOut;
    QwtPlotCurve *m_line;
    QwtPlotCurve *m_qc;
    QwtPlotIntervalCurve *m_intensityBars;
    QwtPlotIntervalCurve *m_concentrationBars;
    bool m_printed = false;
};

#endif
