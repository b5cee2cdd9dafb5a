#ifndef KETRION_APPLICATION_H
#define KETRION_APPLICATION_H

#include "processing/RunOptions.h"

#include <QMainWindow>
#include <QString>

class Data;
class Displaying;
class Parser;
class ParserInSTDQC;
class ParserOutCSV;
class Processing;
class QAction;
class QCloseEvent;

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
    bool saveResults(const QString &fileName);
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
    void enableBlankSelection();
    RunOptions runOptions() const;
    void selectRememberedIsotopes();
    void selectRememberedOptions();
    void keepRecoveryBoundsApart();
    void showZeroStandard();

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
    ParserOutCSV *outputParser = nullptr;
    QString stdqcFileName;

    friend class TestApplication;
};

#endif
