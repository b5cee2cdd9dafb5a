#ifndef KETRION_CALIBRATIONTAB_H
#define KETRION_CALIBRATIONTAB_H

#include <QWidget>

#include <memory>

class CalibrationPlot;
class Measurements;
class QStandardItemModel;
class QwtPlot;
class QwtPlotZoomer;
struct RunOutcome;

namespace Ui {
class CalibrationTab;
}

// The last run's calibration line of the isotope picked, the isotopes whose
// line the run rejected marked in the list.
class CalibrationTab : public QWidget
{
    Q_OBJECT

public:
    explicit CalibrationTab(QWidget *parent = nullptr);
    ~CalibrationTab() override;

    CalibrationTab(const CalibrationTab &) = delete;
    CalibrationTab &operator=(const CalibrationTab &) = delete;

    // Nothing of the earlier file shown.
    void clear();
    // The isotopes of an export just read; the window keeps data and
    // outcome, which this tab shows as they are when it draws.
    void showExport(const Measurements &data, const RunOutcome &outcome);
    void showOutcome();
    QwtPlot *plot() const;

private:
    void listIsotopes();
    void showIsotope(int row);

    Ui::CalibrationTab *ui;
    QStandardItemModel *m_isotopes;
    std::unique_ptr<CalibrationPlot> m_plot;
    QwtPlotZoomer *m_zoomer;
    const Measurements *m_data = nullptr;
    const RunOutcome *m_outcome = nullptr;
};

#endif
