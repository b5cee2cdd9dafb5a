#ifndef KETRION_APPLICATION_H
#define KETRION_APPLICATION_H

#include "processing/ProcessingRun.h"
#include "processing/RunOptions.h"

#include <QMainWindow>
#include <QString>

#include <memory>

class Data;
class Displaying;
class Parser;
class ParserInSTDQC;
class Processing;
class QAction;
class QCloseEvent;
class QFileDialog;

namespace Ui {
class Application;
}

// The single main window. Owns the data sets, the engine, the readers and the
// display object for its whole life and hands them to every call.
class Application : public QMainWindow
{
    Q_OBJECT

public:
    explicit Application(QWidget *parent = nullptr);
    ~Application() override;

    // What the file commands do once their dialog has a name. Each reports
    // failures in a box and returns false; the tests call them directly.
    bool loadDataFile(const QString &fileName);
    bool chooseStdqcFile(const QString &fileName);
    bool saveResults(
        const QString &fileName, ProcessingRun::Layout layout = ProcessingRun::Layout::Wide);
    bool savePlot(const QString &fileName);

private slots:
    void onListViewInput(int index);
    void onListViewOutput(int index);
    void onListCurves(int index);
    void onListEvol(int index);
    void tab(int currentTab);
    void onISChoice();
    void listISChange();
    void listEvolChoice();
    void saveFile();
    void openFile();
    void run();
    void openSTDQC();
    void plotSave();
    void about();
    void on_yIntercept_clicked();
    void on_subBlank_clicked();
    void on_correctionIS_clicked();
    void on_icpmsModel_currentIndexChanged(const QString &selection);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void createWorkingObjects();
    void initIHM();
    void fitConfigurationPage();
    void setPlotTitles();
    void enableBlankSelection();
    RunOptions runOptions() const;
    void selectRememberedIsotopes();
    void selectRememberedOptions();
    void keepRecoveryBoundsApart();
    void showZeroStandard();
    // Save Output's and Save Plot's dialogs, not yet shown. A name typed
    // without a suffix gets the offered one before the dialog asks whether to
    // replace an existing file.
    std::unique_ptr<QFileDialog> saveOutputDialog();
    std::unique_ptr<QFileDialog> savePlotDialog();
    // Saves under the name, and in the layout of the file type, the Save
    // Output dialog was answered with.
    bool saveAnsweredOutput(const QFileDialog &dialog);

    Ui::Application *ui;
    Data *inputData = nullptr;
    Data *outputData = nullptr;
    Displaying *display = nullptr;
    Processing *processing = nullptr;

    QAction *aboutAct = nullptr;
    QAction *aboutQtAct = nullptr;
    QAction *quitAct = nullptr;
    QAction *openSTDQCAct = nullptr;
    QAction *openFileAct = nullptr;
    QAction *plotSaveAct = nullptr;
    QAction *saveFileAct = nullptr;
    QAction *runAct = nullptr;

    Parser *inputParser = nullptr;
    ParserInSTDQC *stdqcParser = nullptr;
    QString stdqcFileName;

    friend class TestApplication;
};

#endif
