#include "app/Application.h"

#include "app/QCDialog.h"
#include "app/Ui_Application.h"
#include "display/Displaying.h"
#include "display/PlotStyle.h"
#include "model/Data.h"
#include "parsers/OutputFile.h"
#include "parsers/ParserInAgilentCSV.h"
#include "parsers/ParserInHRElementCSV.h"
#include "parsers/ParserInSTDQC.h"
#include "processing/Processing.h"
#include "processing/Trace.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QImageWriter>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QStringListModel>
#include <QTabWidget>
#include <QToolBar>
#include <qwt_plot.h>

// The images live in a static library: without this call the linker would drop them.
static void registerResources()
{
    Q_INIT_RESOURCE(res);
}

Application::Application(QWidget *parent) : QMainWindow(parent), ui(new Ui::Application)
{
    registerResources();
    ui->setupUi(this);
    QIcon icon;
    for (const int side : { 48, 128, 256 })
        icon.addFile(QStringLiteral(":/res/icon-%1.png").arg(side));
    setWindowIcon(icon);
    setMinimumSize(820, 500);
    createActions();
    createWorkingObjects();
    initIHM();
    selectRememberedOptions();
    fitConfigurationPage();
}

Application::~Application()
{
    // The display detaches its curves from plots that still exist at this point.
    delete display;
    delete inputData;
    delete outputData;
    delete inputParser;
    delete stdqcParser;
    delete processing;
    delete ui;
}

// Tool buttons place their text under the icon's actual height: a wide image
// would lift its label above its neighbours', so it is centred on a square.
static QIcon squareIcon(const QString &path)
{
    const QPixmap image(path);
    const int side = qMax(image.width(), image.height());
    if (image.isNull() || image.width() == image.height())
        return QIcon(image);
    QPixmap square(side, side);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawPixmap((side - image.width()) / 2, (side - image.height()) / 2, image);
    return QIcon(square);
}

void Application::createActions()
{
    const auto makeAction = [this](const char *icon, const QString &text, const QString &tip) {
        auto *action = new QAction(squareIcon(QString::fromLatin1(icon)), text, this);
        action->setStatusTip(tip);
        return action;
    };
    quitAct = makeAction(":/res/close.png", tr("&Quit"), tr("Quit the application"));
    aboutAct
        = makeAction(":/res/ketrion.png", tr("&About"), tr("Show the application's About box"));
    aboutQtAct = makeAction(":/res/qt.png", tr("About &Qt"), tr("Show the Qt library's About box"));
    openSTDQCAct = makeAction(":/res/config.png", tr("&STD-QC File"), tr("Open STD-QC file"));
    openFileAct = makeAction(":/res/open.png", tr("&Data File"), tr("Open input Data file"));
    plotSaveAct = makeAction(":/res/plot.png", tr("&Save Plot"), tr("Save the plotted Graph"));
    plotSaveAct->setEnabled(false);
    saveFileAct = makeAction(":/res/save.png", tr("&Save Output"), tr("Save Output Data"));
    saveFileAct->setEnabled(false);
    runAct = makeAction(":/res/run.png", tr("&Process"), tr("Run the processing"));
    runAct->setEnabled(false);

    connect(quitAct, &QAction::triggered, this, &QWidget::close);
    connect(aboutAct, &QAction::triggered, this, &Application::about);
    connect(aboutQtAct, &QAction::triggered, qApp, &QApplication::aboutQt);
    connect(openSTDQCAct, &QAction::triggered, this, &Application::openSTDQC);
    connect(openFileAct, &QAction::triggered, this, &Application::openFile);
    connect(plotSaveAct, &QAction::triggered, this, &Application::plotSave);
    connect(saveFileAct, &QAction::triggered, this, &Application::saveFile);
    connect(runAct, &QAction::triggered, this, &Application::run);

    QToolBar *bar = ui->toolBar;
    bar->addAction(openFileAct);
    bar->addAction(openSTDQCAct);
    bar->addSeparator();
    bar->addAction(plotSaveAct);
    bar->addAction(saveFileAct);
    bar->addSeparator();
    bar->addAction(aboutAct);
    bar->addAction(aboutQtAct);
    bar->addSeparator();
    bar->addAction(quitAct);
    bar->addSeparator();
    // Pushes "&Process" to the right edge whatever the window width.
    auto *spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    bar->addWidget(spacer);
    bar->addSeparator();
    bar->addAction(runAct);

    connect(
        ui->listViewInput, &QListWidget::currentRowChanged, this, &Application::onListViewInput);
    connect(
        ui->listViewOutput, &QListWidget::currentRowChanged, this, &Application::onListViewOutput);
    connect(ui->listCurves, &QListWidget::currentRowChanged, this, &Application::onListCurves);
    connect(ui->listEvol, &QListWidget::currentRowChanged, this, &Application::onListEvol);
    connect(ui->tabs, &QTabWidget::currentChanged, this, &Application::tab);
    const auto indexChanged = QOverload<int>::of(&QComboBox::currentIndexChanged);
    connect(ui->plotISchoice, indexChanged, this, &Application::onISChoice);
    for (QComboBox *combo : { ui->comboISLR, ui->comboISMR, ui->comboISHR })
        connect(combo, indexChanged, this, &Application::listISChange);
    connect(ui->evolChoice, indexChanged, this, &Application::listEvolChoice);
    // The recovery bounds on the IS plot follow the panel.
    connect(ui->correctionIS, &QGroupBox::toggled, this, &Application::onISChoice);
    connect(ui->echantIS, indexChanged, this, &Application::onISChoice);
    for (QSpinBox *bound : { ui->recoveryLow, ui->recoveryHigh }) {
        connect(bound, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &Application::keepRecoveryBoundsApart);
        connect(bound, QOverload<int>::of(&QSpinBox::valueChanged), this, &Application::onISChoice);
    }
}

void Application::createWorkingObjects()
{
    processing = new Processing;
    inputParser = new ParserInHRElementCSV;
    stdqcParser = new ParserInSTDQC;
    inputData = new Data(inputParser);
    outputData = new Data;
    display = new Displaying(ui);
}

void Application::initIHM()
{
    ui->tabs->setCurrentIndex(0);

    setPlotTitles();
    PlotStyle::frameCalibration(ui->graphElement);
    PlotStyle::frameRunningOrder(ui->graphIS);
    PlotStyle::frameRunningOrder(ui->graphEvol);

    ui->icpmsModel->addItem(ParserInHRElementCSV::ICP_MS_NAME);
    ui->icpmsModel->addItem(ParserInAgilentCSV::ICP_MS_NAME);
    ui->icpmsModel->setCurrentIndex(0);

    // In the order of Processing::Weighting: the row is the weighting.
    for (const Processing::Weighting weighting : { Processing::Weighting::None,
             Processing::Weighting::InverseX, Processing::Weighting::InverseXSquared })
        ui->weighting->addItem(Processing::weightingName(weighting));
    ui->recoveryLow->setValue(RunOptions::DEFAULT_RECOVERY_LOW);
    ui->recoveryHigh->setValue(RunOptions::DEFAULT_RECOVERY_HIGH);
    keepRecoveryBoundsApart();
}

void Application::keepRecoveryBoundsApart()
{
    ui->recoveryHigh->setMinimum(ui->recoveryLow->value() + 1);
    ui->recoveryLow->setMaximum(ui->recoveryHigh->value() - 1);
}

void Application::setPlotTitles()
{
    ui->graphElement->setTitle(tr("Calibration"));
    ui->graphIS->setTitle(tr("Internal Standard"));
    ui->graphEvol->setTitle(tr("Evolution"));
}

void Application::fitConfigurationPage()
{
    // Styles that draw group titles above their frames make the configuration
    // page taller than the form's default size: grow once so it shows whole,
    // as far as the screen allows.
    QScrollArea *area = ui->scrollArea;
    area->setMinimumHeight(
        ui->scrollAreaWidgetContents->sizeHint().height() + 2 * area->frameWidth());
    const int wanted = minimumSizeHint().height();
    area->setMinimumHeight(0);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int available = screen ? screen->availableGeometry().height() - 60 : wanted;
    const int h = qMin(wanted, available);
    if (h > height())
        resize(width(), h);
}

void Application::onListViewInput(int index)
{
    if (index != -1)
        display->dispTableInput(inputData, index);
}

void Application::onListViewOutput(int index)
{
    if (index != -1)
        display->dispTableOutput(outputData, index, processing);
}

void Application::onListCurves(int index)
{
    if (index != -1)
        display->plotElement(outputData, inputData, index, processing);
}

void Application::onListEvol(int index)
{
    if (index != -1)
        display->plotEvol(inputData, index, ui->evolChoice->currentText());
}

void Application::listEvolChoice()
{
    display->plotEvol(inputData, ui->listEvol->currentRow(), ui->evolChoice->currentText());
}

void Application::onISChoice()
{
    int iso = -1;
    switch (ui->plotISchoice->currentIndex()) {
    case 0:
        iso = inputData->mapLR(ui->comboISLR->currentIndex());
        break;
    case 1:
        iso = inputData->mapMR(ui->comboISMR->currentIndex());
        break;
    case 2:
        iso = inputData->mapHR(ui->comboISHR->currentIndex());
        break;
    default:
        break;
    }
    // The bounds as the panel sets them now, whatever the last run used.
    const int reference = ui->correctionIS->isChecked() ? ui->echantIS->currentIndex() : -1;
    display->plotIS(
        inputData, iso, processing, reference, ui->recoveryLow->value(), ui->recoveryHigh->value());
}

void Application::tab(int currentTab)
{
    const QTabWidget *tabs = ui->tabs;
    plotSaveAct->setEnabled(currentTab == tabs->indexOf(ui->tabElmnt)
        || currentTab == tabs->indexOf(ui->tabIS) || currentTab == tabs->indexOf(ui->tabEvol));
    saveFileAct->setEnabled(currentTab == tabs->indexOf(ui->tab_output));
}

void Application::listISChange()
{
    const QStringList entries {
        tr("LR Internal Standard : ") + ui->comboISLR->currentText(),
        tr("MR Internal Standard : ") + ui->comboISMR->currentText(),
        tr("HR Internal Standard : ") + ui->comboISHR->currentText(),
    };
    // The combo box deletes the model it replaces when it is that model's parent.
    ui->plotISchoice->setModel(new QStringListModel(entries, ui->plotISchoice));
}

void Application::on_yIntercept_clicked()
{
    ui->subBlank->setChecked(false);
    enableBlankSelection();
}

void Application::on_subBlank_clicked()
{
    ui->yIntercept->setChecked(false);
    enableBlankSelection();
}

void Application::enableBlankSelection()
{
    ui->blankSelection->setEnabled(ui->yIntercept->isChecked() || ui->subBlank->isChecked());
}

void Application::on_correctionIS_clicked()
{
    ui->groupBox->setEnabled(ui->correctionIS->isChecked());
}

void Application::on_icpmsModel_currentIndexChanged(const QString &selection)
{
    Parser *reader = nullptr;
    if (selection == ParserInHRElementCSV::ICP_MS_NAME)
        reader = new ParserInHRElementCSV;
    else if (selection == ParserInAgilentCSV::ICP_MS_NAME)
        reader = new ParserInAgilentCSV;
    else
        return;
    delete inputParser;
    inputParser = reader;
    inputData->loadParser(inputParser);
}

void Application::openFile()
{
    runAct->setEnabled(false);
    const QString fileName
        = QFileDialog::getOpenFileName(this, tr("Choose a Data file"), ".", tr("CSV File (*.csv)"));
    if (!fileName.isEmpty())
        loadDataFile(fileName);
}

bool Application::loadDataFile(const QString &fileName)
{
    runAct->setEnabled(false);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        QMessageBox::warning(this, tr("Read File"),
            tr("Cannot read file %1:\n%2.").arg(fileName, file.errorString()));
        return false;
    }
    inputData->clear();
    inputData->loadParser(inputParser);
    const ParseResult read = inputData->executeParsing(&file, processing);
    file.close();
    QMessageBox::information(this, tr("Parsing CSV"), read.message);
    // Nothing of the previous file may stay drawn, nor be saved as this one's.
    display->clearPlots();
    setPlotTitles();

    const bool accepted = read.code == 0;
    ProcessingRun::prepareWorkingSet(inputData, outputData, processing, accepted);
    display->dispTableInput();
    display->dispTableOutput();
    display->displayLists(outputData);
    display->displaySolutions(inputData, outputData);
    if (!accepted) {
        ui->plotISchoice->clear();
        ui->evolChoice->clear();
        return false;
    }
    runAct->setEnabled(true);
    selectRememberedIsotopes();
    listISChange();
    onISChoice();
    ui->evolChoice->clear();
    ui->evolChoice->addItems({ QStringLiteral("BLK"), QStringLiteral("VS") });
    return true;
}

void Application::selectRememberedIsotopes()
{
    const QSettings settings(QStringLiteral("Ostrel"), QStringLiteral("Ketrion"));
    const struct
    {
        QComboBox *combo;
        const char *key;
    } choices[] = { { ui->comboISLR, "LR" }, { ui->comboISMR, "MR" }, { ui->comboISHR, "HR" } };
    for (const auto &choice : choices) {
        const QString stored = settings.value(QString::fromLatin1(choice.key)).toString();
        if (stored.isEmpty())
            continue;
        const int found = choice.combo->findText(stored, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (found != -1)
            choice.combo->setCurrentIndex(found);
    }
}

// Unlike the isotopes, these choices exist before any file is read.
void Application::selectRememberedOptions()
{
    const QSettings settings(QStringLiteral("Ostrel"), QStringLiteral("Ketrion"));
    const int weighting
        = ui->weighting->findText(settings.value(QStringLiteral("Weighting")).toString(),
            Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (weighting != -1)
        ui->weighting->setCurrentIndex(weighting);

    const int low
        = settings.value(QStringLiteral("RecoveryLow"), RunOptions::DEFAULT_RECOVERY_LOW).toInt();
    const int high
        = settings.value(QStringLiteral("RecoveryHigh"), RunOptions::DEFAULT_RECOVERY_HIGH).toInt();
    if (low < 0 || low >= high || high > ui->recoveryHigh->maximum())
        return;
    // Each box's range hangs on the other's value: both are set before the ranges.
    const QSignalBlocker lowBlocker(ui->recoveryLow);
    const QSignalBlocker highBlocker(ui->recoveryHigh);
    ui->recoveryLow->setMaximum(ui->recoveryHigh->maximum() - 1);
    ui->recoveryHigh->setMinimum(1);
    ui->recoveryLow->setValue(low);
    ui->recoveryHigh->setValue(high);
    keepRecoveryBoundsApart();
}

void Application::openSTDQC()
{
    const QString fileName = QFileDialog::getOpenFileName(
        this, tr("Choose a file - QC & STD"), ".", tr("CSV File (*.csv)"));
    if (!fileName.isEmpty())
        chooseStdqcFile(fileName);
}

bool Application::chooseStdqcFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QMessageBox::warning(this, tr("Read File"),
            tr("Cannot read file %1:\n%2.").arg(fileName, file.errorString()));
        return false;
    }
    file.close();
    // Absolute, so that a run started from another working directory finds it.
    QSettings(QStringLiteral("Ostrel"), QStringLiteral("Ketrion"))
        .setValue(QStringLiteral("File"), QFileInfo(fileName).absoluteFilePath());
    return true;
}

RunOptions Application::runOptions() const
{
    RunOptions options;
    options.instrument = ui->icpmsModel->currentText();
    options.isCorrection = ui->correctionIS->isChecked();
    options.isReference = ui->echantIS->currentIndex();
    options.isReferenceName = ui->echantIS->currentText();
    options.correctLR = ui->correctISLR->isChecked();
    options.correctMR = ui->correctISMR->isChecked();
    options.correctHR = ui->correctISHR->isChecked();
    options.isLR = ui->comboISLR->currentIndex();
    options.isMR = ui->comboISMR->currentIndex();
    options.isHR = ui->comboISHR->currentIndex();
    options.isLRName = ui->comboISLR->currentText();
    options.isMRName = ui->comboISMR->currentText();
    options.isHRName = ui->comboISHR->currentText();
    options.recoveryLow = ui->recoveryLow->value();
    options.recoveryHigh = ui->recoveryHigh->value();
    options.yIntercept = ui->yIntercept->isChecked();
    options.subBlank = ui->subBlank->isChecked();
    options.blankSelection = ui->blankSelection->currentIndex();
    options.blankSelectionName = ui->blankSelection->currentText();
    options.weighting = Processing::Weighting(qMax(0, ui->weighting->currentIndex()));
    options.qcValidation = ui->controlQC->isChecked();
    return options;
}

void Application::run()
{
    const RunOptions options = runOptions();
    ProcessingRun::traceConfiguration(options);
    const QString refused = ProcessingRun::checkReference(options, inputData);
    if (!refused.isEmpty()) {
        QMessageBox::warning(this, tr("Process"), refused);
        return;
    }

    const QString fileName = QSettings(QStringLiteral("Ostrel"), QStringLiteral("Ketrion"))
                                 .value(QStringLiteral("File"))
                                 .toString();
    if (fileName.isEmpty()) {
        QMessageBox::warning(
            this, tr("Read QC-STD File"), tr("You have to load a QC-STD Concentrations File"));
        return;
    }
    stdqcFileName = fileName;
    QFile file(stdqcFileName);
    if (!file.open(QIODevice::ReadOnly)) {
        QMessageBox::warning(this, tr("Read File"),
            tr("Cannot read STD QC Concentration file %1:\n%2.")
                .arg(stdqcFileName, file.errorString()));
        return;
    }
    Trace::line(QStringLiteral("# parse QC-STD file"));
    // A rejected file, or a run that cannot calibrate, leaves the expected
    // values, results and views of the earlier run.
    Data earlierInput;
    earlierInput.copyData(inputData);
    Parser *earlierReader = inputData->getParser();
    const ParseResult read
        = ProcessingRun::readStandards(&file, stdqcParser, inputData, processing);
    file.close();
    if (read.code != 0) {
        QMessageBox::information(this, tr("Parsing CSV"), read.message);
        return;
    }

    Data work;
    Processing engine;
    RunResult result = ProcessingRun::run(options, inputData, &work, &engine);
    if (!result.calibrated) {
        inputData->copyData(&earlierInput);
        inputData->loadParser(earlierReader);
        QMessageBox::warning(
            this, tr("Process"), ProcessingRun::noCalibrationMessage(stdqcFileName));
        return;
    }
    outputData->copyData(&work);
    *processing = engine;
    ProcessingRun::traceRecovery(result);
    showZeroStandard();
    if (result.status.isEmpty())
        ui->statusBar->clearMessage();
    else
        ui->statusBar->showMessage(result.status);
    const QStringList outside = ProcessingRun::recoveryLines(result, inputData);
    // Without QC validation the recovery report opens only when it has something to say.
    if (result.qcChecked || !outside.isEmpty()) {
        QCDialog report(
            result.qcChecked ? &result.qc.messages : nullptr, result.qcValueCount, this);
        if (result.recoveryChecked)
            report.showRecovery(
                outside, result.recovery.checked, result.recovery.low, result.recovery.high);
        report.exec();
    }

    Trace::line(QStringLiteral("*** refreshing plots and tables ***"));
    onISChoice();
    if (ui->listCurves->currentRow() != -1)
        display->plotElement(outputData, inputData, ui->listCurves->currentRow(), processing);
    if (ui->listViewOutput->currentRow() != -1)
        display->dispTableOutput(outputData, ui->listViewOutput->currentRow(), processing);
    if (ui->listViewInput->currentRow() != -1)
        display->dispTableInput(inputData, ui->listViewInput->currentRow());
    Trace::line(QStringLiteral("*** end of processing ***"));
}

void Application::showZeroStandard()
{
    // The list rows are positions in the working set: the zero standard's row
    // appears with it, once, and goes when a run without it rebuilt the set.
    QListWidget *list = ui->listViewOutput;
    const int count = list->count();
    const bool listed = count > 0 && list->item(count - 1)->text() == Solution::ZERO_STD_NAME;
    const bool present = outputData->containsSolution(Solution::ZERO_STD_NAME) != -1;
    if (present && !listed)
        list->addItem(Solution::ZERO_STD_NAME);
    else if (!present && listed)
        delete list->takeItem(count - 1);
}

namespace {

const char *const RESULTS_TYPE = QT_TRANSLATE_NOOP("Application", "CSV File (*.csv)");
const char *const LONG_TABLE_TYPE = QT_TRANSLATE_NOOP("Application", "Long table (*.csv)");

std::unique_ptr<QFileDialog> saveDialog(QWidget *parent, const QString &title,
    const QString &folder, const QStringList &types, const QString &suffix)
{
    auto dialog = std::make_unique<QFileDialog>(parent, title, folder);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilters(types);
    dialog->setDefaultSuffix(suffix);
    return dialog;
}

} // namespace

std::unique_ptr<QFileDialog> Application::saveOutputDialog()
{
    return saveDialog(this, tr("Choose a file name"), QStringLiteral("."),
        { tr(RESULTS_TYPE), tr(LONG_TABLE_TYPE) }, QStringLiteral("csv"));
}

std::unique_ptr<QFileDialog> Application::savePlotDialog()
{
    return saveDialog(this, QStringLiteral("Save Current Plot"), QString(),
        { QStringLiteral("JPG File (*.jpg)") }, QStringLiteral("jpg"));
}

void Application::saveFile()
{
    const std::unique_ptr<QFileDialog> dialog = saveOutputDialog();
    if (dialog->exec() == QDialog::Accepted)
        saveAnsweredOutput(*dialog);
}

bool Application::saveAnsweredOutput(const QFileDialog &dialog)
{
    const ProcessingRun::Layout layout = dialog.selectedNameFilter() == tr(LONG_TABLE_TYPE)
        ? ProcessingRun::Layout::Long
        : ProcessingRun::Layout::Wide;
    return saveResults(dialog.selectedFiles().value(0), layout);
}

bool Application::saveResults(const QString &fileName, ProcessingRun::Layout layout)
{
    const QString problem = ProcessingRun::saveResults(fileName, outputData, processing, layout);
    if (problem.isEmpty())
        return true;
    QMessageBox::warning(
        this, tr("Save File"), tr("Cannot write file %1:\n%2.").arg(fileName, problem));
    return false;
}

void Application::plotSave()
{
    const std::unique_ptr<QFileDialog> dialog = savePlotDialog();
    if (dialog->exec() == QDialog::Accepted)
        savePlot(dialog->selectedFiles().value(0));
}

bool Application::savePlot(const QString &fileName)
{
    QWidget *page = ui->tabs->currentWidget();
    QwtPlot *plot = nullptr;
    if (page == ui->tabIS)
        plot = ui->graphIS;
    else if (page == ui->tabElmnt)
        plot = ui->graphElement;
    else if (page == ui->tabEvol)
        plot = ui->graphEvol;
    if (!plot)
        return false;

    // The dialog offers JPEG only: a name it left without a suffix means that.
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    const QByteArray format = suffix.isEmpty() ? QByteArray("jpg") : suffix.toLatin1();
    const QImage image = plot->grab().toImage();
    // Replaces an earlier image only once the new one is complete.
    const QString problem
        = OutputFile::write(fileName, QIODevice::WriteOnly, [&](QIODevice *device) {
              QImageWriter writer(device, format);
              return writer.write(image) ? QString() : writer.errorString();
          });
    if (problem.isEmpty())
        return true;
    QMessageBox::warning(
        this, tr("Save Plot"), tr("Cannot write file %1:\n%2.").arg(fileName, problem));
    return false;
}

void Application::about()
{
    QMessageBox::about(this, tr("About Ketrion Application"),
        tr("<p>Ketrion: <b>ICP-MS Data Processing v1.31</b></p>"
           "<p>Application to process ICP-MS data.</p>"
           "<p><b>Designed by :</b></p>"
           "<p>The Ketrion developers - Ostrel</p>"
           "<p><b>Maintain by :</b></p>"
           "<p>The Ketrion developers - Ostrel</p>"));
}

void Application::closeEvent(QCloseEvent *event)
{
    const QMessageBox::StandardButton answer = QMessageBox::question(this, tr("Close"),
        tr("Do you really want to close this application ?"), QMessageBox::Yes | QMessageBox::No,
        QMessageBox::Yes);
    if (answer != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    QSettings settings(QStringLiteral("Ostrel"), QStringLiteral("Ketrion"));
    const struct
    {
        const QComboBox *combo;
        const char *key;
    } choices[] = { { ui->comboISLR, "LR" }, { ui->comboISMR, "MR" }, { ui->comboISHR, "HR" } };
    for (const auto &choice : choices) {
        const QString key = QString::fromLatin1(choice.key);
        const QString current = choice.combo->currentText();
        // Unchanged choices are not rewritten.
        if (!current.isEmpty() && current != settings.value(key).toString())
            settings.setValue(key, current);
    }
    // Nor is a default never changed written.
    const QString weightingKey = QStringLiteral("Weighting");
    const QString weighting = ui->weighting->currentText();
    if (weighting
        != settings.value(weightingKey, Processing::weightingName(Processing::Weighting::None))
               .toString())
        settings.setValue(weightingKey, weighting);
    const struct
    {
        const QSpinBox *box;
        const char *key;
        int unset;
    } bounds[] = { { ui->recoveryLow, "RecoveryLow", RunOptions::DEFAULT_RECOVERY_LOW },
        { ui->recoveryHigh, "RecoveryHigh", RunOptions::DEFAULT_RECOVERY_HIGH } };
    for (const auto &bound : bounds) {
        const QString key = QString::fromLatin1(bound.key);
        if (bound.box->value() != settings.value(key, bound.unset).toInt())
            settings.setValue(key, bound.box->value());
    }
    event->accept();
}
