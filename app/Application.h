#ifndef KETRION_APPLICATION_H
#define KETRION_APPLICATION_H

#include "display/RunReport.h"
#include "model/Measurements.h"
#include "model/Status.h"
#include "processing/ProcessingRun.h"
#include "processing/RunOutcome.h"

#include <QMainWindow>
#include <QString>

#include <memory>

class CalibrationPlot;
class DriftPlot;
class EvolutionPlot;
class InternalStandardPlot;
class QAction;
class QCloseEvent;
class QFileDialog;
class QSettings;
class QStandardItemModel;
class QStringListModel;
class QwtPlotZoomer;
class SolutionTableModel;

namespace Ui {
class Application;
}

// The single main window: the export as read, the last run's outcome, the
// views of both, and the commands.
class Application : public QMainWindow
{
    Q_OBJECT

public:
    explicit Application(QWidget *parent = nullptr);
    ~Application() override;

    // What the file commands do once their dialog has a name. Each reports a
    // failure in a box too; the tests call them directly.
    Status loadDataFile(const QString &fileName);
    Status chooseStandardsFile(const QString &fileName);
    // An empty name: no sample sheet, every solution keeps factor 1.
    Status chooseSampleSheet(const QString &fileName);
    Status saveSampleSheetTemplate(const QString &fileName);
    Status saveResults(
        const QString &fileName, ProcessingRun::Layout layout = ProcessingRun::Layout::Wide);
    Status savePlot(const QString &fileName);
    // Sets every option the method file holds; names the data file lacks are
    // listed in one box and those settings stay. A refused file changes nothing.
    Status openMethod(const QString &fileName);
    Status saveMethod(const QString &fileName);
    // The last run's report as a PDF file.
    Status saveReport(const QString &fileName);

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void openDataFile();
    void openStandardsFile();
    void openSampleSheet();
    void saveTemplate();
    void run();
    void saveOutput();
    void saveCurrentPlot();
    void chooseMethod();
    void saveMethodAs();
    void saveReportAs();
    void about();

    void showInputSolution(int row);
    void showOutputSolution(int row);
    void showCalibration(int row);
    void showEvolution();
    void showInternalStandard();
    void refreshInternalStandardChoices();
    void followTab(int index);
    void chooseZeroStandard();
    void chooseSubtraction();
    void enableInternalStandardIsotopes();
    void keepRecoveryBoundsApart();
    void rereadDataFile();

private:
    void createActions();
    void connectWidgets();
    void setUpPlots();
    void setPlotTitles();
    // Large enough for every control of every tab, as far as the screen allows.
    void fitToControls();
    void enableBlankSelection();
    // The isotopes and the drift monitor, offered only once a file is read.
    void selectRememberedChoices();
    // The IS isotopes and reference of texts, where the new file has them;
    // "name (box)" for each it lacks.
    QStringList keepChoices(const QStringList &texts);
    void selectRememberedOptions();
    void showSolutionLists();
    // The Calibration tab's isotopes, those whose line the run rejected marked.
    void showCalibrationIsotopes();
    void showSampleSheetChoice();
    void setRecoveryBounds(int low, int high);
    void setMethodFlags(const RunOptions &method);
    // The method's names in their boxes; "name (box)" for each the data file lacks.
    QStringList selectMethodNames(const RunOptions &method);
    RunOptions runOptions() const;
    const Measurements &workingSet() const;
    // Save Output's and Save Plot's dialogs, not yet shown. A name typed
    // without a suffix gets the offered one before the dialog asks whether to
    // replace an existing file.
    std::unique_ptr<QFileDialog> saveOutputDialog();
    std::unique_ptr<QFileDialog> savePlotDialog();
    // Saves under the name, and in the layout of the file type, the Save
    // Output dialog was answered with.
    Status saveAnsweredOutput(const QFileDialog &dialog);

    Ui::Application *ui;
    QAction *m_openDataAct = nullptr;
    QAction *m_openStandardsAct = nullptr;
    QAction *m_openSampleSheetAct = nullptr;
    QAction *m_sampleTemplateAct = nullptr;
    QAction *m_noSampleSheetAct = nullptr;
    QAction *m_savePlotAct = nullptr;
    QAction *m_saveOutputAct = nullptr;
    QAction *m_methodAct = nullptr;
    QAction *m_openMethodAct = nullptr;
    QAction *m_saveMethodAct = nullptr;
    QAction *m_saveReportAct = nullptr;
    QAction *m_aboutAct = nullptr;
    QAction *m_aboutQtAct = nullptr;
    QAction *m_quitAct = nullptr;
    QAction *m_runAct = nullptr;

    QString m_dataFile;
    QByteArray m_dataBytes; // the data file's bytes as read
    Measurements m_data; // the export as read
    Measurements m_preview; // its working set before a run
    bool m_processed = false; // whether m_outcome belongs to m_data
    RunOutcome m_outcome;
    // What the last run's report names: its files as read and its options.
    QVector<RunReport::Input> m_reportInputs;
    RunOptions m_runOptions;

    QStringListModel *m_inputNames;
    QStringListModel *m_outputNames;
    QStringListModel *m_isotopeNames;
    QStandardItemModel *m_calibrationIsotopes;
    SolutionTableModel *m_inputTable;
    SolutionTableModel *m_outputTable;
    std::unique_ptr<CalibrationPlot> m_calibrationPlot;
    std::unique_ptr<InternalStandardPlot> m_internalStandardPlot;
    std::unique_ptr<EvolutionPlot> m_evolutionPlot;
    std::unique_ptr<DriftPlot> m_driftPlot;
    QwtPlotZoomer *m_zoomer;

    friend class TestApplication;
};

#endif
