#ifndef KETRION_DISPLAYING_H
#define KETRION_DISPLAYING_H

#include <QPointer>
#include <QString>

#include <memory>

class CalibrationPlot;
class Data;
class EvolutionPlot;
class InternalStandardPlot;
class Processing;
class QStandardItemModel;
class QTableView;
class QwtPlotZoomer;

namespace Ui {
class Application;
}

// Fills the window's tables, lists and combo boxes from the data sets and the
// engine, and draws the three plots. Reads the data, never changes it.
class Displaying
{
public:
    explicit Displaying(Ui::Application *ui);
    ~Displaying();

    Displaying(const Displaying &) = delete;
    Displaying &operator=(const Displaying &) = delete;

    void initModeleTable(QStandardItemModel *model);
    void dispTableInput();
    void dispTableOutput();
    void dispTableInput(Data *data, int solution);
    void dispTableOutput(Data *data, int solution, Processing *processing);
    void displayLists(Data *data);
    void displaySolutions(Data *input, Data *output);
    void plotElement(Data *work, Data *raw, int iso, Processing *processing);
    void plotEvol(Data *data, int iso, const QString &choice);
    // With a reference solution (not -1), also the IS recovery bounds low and
    // high, in whole percents of its value, and the solutions outside them.
    void plotIS(
        Data *data, int iso, Processing *processing, int reference = -1, int low = 0, int high = 0);
    // Empties the three plots, legends included; their frames and titles stay
    // for the caller to set.
    void clearPlots();

private:
    void showTable(QTableView *view, Data *data, int solution, Processing *limits);

    Ui::Application *ui;
    std::unique_ptr<CalibrationPlot> calibration;
    std::unique_ptr<InternalStandardPlot> internalStandard;
    std::unique_ptr<EvolutionPlot> evolution;
    // The calibration plot's canvas deletes it when it goes first.
    QPointer<QwtPlotZoomer> zoomer;
};

#endif
