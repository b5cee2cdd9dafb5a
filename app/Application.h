#ifndef KETRION_APPLICATION_H
#define KETRION_APPLICATION_H

#include "display/RunReport.h"
#include "model/Measurements.h"
#include "model/Status.h"
#include "processing/ProcessingRun.h"
#include "processing/RunInputs.h"
#include "processing/RunOutcome.h"

#include <QMainWindow>
#include <QString>

#include <memory>

class CalibrationTab;
class Commands;
class ConfigurationTab;
class EvolutionTab;
class InputTab;
class InputsInUse;
class InternalStandardTab;
class OutputTab;
class ResultsTab;
class WarningBar;
class QCloseEvent;
class QFile;
class QFileDialog;

namespace Ui {
class Application;
}

// The main window: the commands, their dialogs and boxes, the export as read
// and the last run's outcome, which its tabs show.
class Application : public QMainWindow
{
    Q_OBJECT

public:
    explicit Application(QWidget *parent = nullptr);
    ~Application() override;

    Application(const Application &) = delete;
    Application &operator=(const Application &) = delete;

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
    // The last run's report as a PDF file, its progress shown.
    Status saveReport(const QString &fileName);
    // The same, told each page; a progress that says stop leaves the file
    // as it was and shows nothing.
    Status writeReport(const QString &fileName, const ReportPages::Progress &progress);
    // The last run as a workbook for spreadsheet programs.
    Status saveWorkbook(const QString &fileName);

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void openDataFile();
    void openStandardsFile();
    void openSampleSheet();
    void run();
    void saveOutput();
    void saveCurrentPlot();
    void chooseMethod();
    void followTab(int index);
    void rereadDataFile();

private:
    void connectActions();
    void placeTabs();
    void connectTabs();
    // Large enough for every control of every tab, as far as the screen allows.
    void fitToControls();
    // The export just read in every view; nothing of the earlier file shown,
    // nor saved as this one's.
    void showExport();
    // The files and method in use, and whether the results follow from them.
    void sayInUse();
    // Says why a data file was refused, and that the one loaded stays.
    void keepExport(const Status &refused);
    void unloadExport();
    // Another instrument reads the open export again: refused, the export
    // is closed; any other refusal keeps the export loaded.
    Status readDataFile(const QString &fileName, bool rereading);
    // Saves under the name, and in the layout of the file type, the Save
    // Output dialog was answered with.
    Status saveAnsweredOutput(const QFileDialog &dialog);
    // Asks for a file name in a save dialog, then saves under it.
    void askToSave(const QString &title, const QString &type, const QString &suffix,
        Status (Application::*save)(const QString &));
    // A file that cannot be opened, in a box.
    Status warnUnreadable(const QFile &file);
    // A failure to write a file in a box, under the title given.
    // A failure, whose message names the file, shown in a box titled so.
    Status warnUnwritten(const Status &saved, const QString &title);
    // Saving before Process: limits of 0 and no concentration would pass for results.
    static Status noResults(const QString &fileName);

    Ui::Application *ui;
    std::unique_ptr<Commands> m_commands;
    InputTab *m_input = nullptr;
    ConfigurationTab *m_configuration = nullptr;
    CalibrationTab *m_calibration = nullptr;
    InternalStandardTab *m_internalStandard = nullptr;
    EvolutionTab *m_evolution = nullptr;
    OutputTab *m_output = nullptr;
    ResultsTab *m_results = nullptr;
    WarningBar *m_warnings = nullptr;
    std::unique_ptr<InputsInUse> m_inUse;

    RunInputs m_inputs; // the export as read, and the files of the last run
    QString m_exportPath; // the data file open, also when the last reader refused it
    QString m_exportInstrument; // whose reader read it
    bool m_processed = false; // whether m_outcome belongs to the export
    RunOutcome m_outcome;
    // What the last run's report names: its files as read and its options.
    QVector<RunInputs::File> m_reportInputs;
    RunOptions m_runOptions;

    friend class TestApplication;
};

#endif
