#include "app/Application.h"

#include "app/QCDialog.h"
#include "display/CalibrationPlot.h"
#include "display/DriftPlot.h"
#include "display/EvolutionPlot.h"
#include "display/InternalStandardPlot.h"
#include "display/PlotStyle.h"
#include "display/SolutionTableModel.h"
#include "parsers/InstrumentReader.h"
#include "parsers/MethodFile.h"
#include "parsers/OutputFile.h"
#include "parsers/SampleSheetTemplate.h"
#include "processing/CalibrationAcceptance.h"
#include "processing/Trace.h"
#include "ui_Application.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QToolButton>
#include <qwt_plot_zoomer.h>

namespace {

const QString ORGANISATION = QStringLiteral("Ostrel");
const QString APPLICATION = QStringLiteral("Ketrion");
const QString DRIFT_KEY = QStringLiteral("DriftCorrection");
const QString MONITOR_KEY = QStringLiteral("DriftMonitor");

QSettings settings()
{
    return QSettings(ORGANISATION, APPLICATION);
}

// Writes a choice to the settings when it differs from what they hold, or
// from what their absence stands for.
template<typename T>
void storeIfChanged(QSettings &stored, const QString &key, const T &value, const T &unset = T())
{
    if (stored.value(key, QVariant::fromValue(unset)).template value<T>() != value)
        stored.setValue(key, value);
}

// Tool buttons place their text under the icon's actual height: a wide image
// would lift its label above its neighbours', so it is centred on a square.
QIcon squareIcon(const QString &path)
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

// The combo box owns the model; it deletes the one it replaces.
void setEntries(QComboBox *combo, const QStringList &entries)
{
    combo->setModel(new QStringListModel(entries, combo));
}

// The row of a list's current item, -1 for none.
int currentRow(const QAbstractItemView *view)
{
    return view->currentIndex().isValid() ? view->currentIndex().row() : -1;
}

// Keeps the current row across a new string list, as far as it still exists.
void setNames(QStringListModel *model, QAbstractItemView *view, const QStringList &names)
{
    const int row = currentRow(view);
    model->setStringList(names);
    if (row >= 0 && row < names.size())
        view->setCurrentIndex(model->index(row));
}

} // namespace

// The images live in a static library: without this call the linker would drop them.
static void registerResources()
{
    Q_INIT_RESOURCE(res);
}

Application::Application(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::Application)
    , m_inputNames(new QStringListModel(this))
    , m_outputNames(new QStringListModel(this))
    , m_isotopeNames(new QStringListModel(this))
    , m_calibrationIsotopes(new QStandardItemModel(this))
    , m_inputTable(new SolutionTableModel(this))
    , m_outputTable(new SolutionTableModel(this))
{
    registerResources();
    ui->setupUi(this);
    QIcon icon;
    for (const int side : { 48, 128, 256 })
        icon.addFile(QStringLiteral(":/res/icon-%1.png").arg(side));
    setWindowIcon(icon);
    setMinimumSize(820, 500);

    ui->inputSolutions->setModel(m_inputNames);
    ui->outputSolutions->setModel(m_outputNames);
    ui->calibrationIsotopes->setModel(m_calibrationIsotopes);
    // The rejected isotopes' marks at the size of the text beside them.
    ui->calibrationIsotopes->setIconSize(QSize(16, 16));
    ui->evolutionIsotopes->setModel(m_isotopeNames);
    ui->inputTable->setModel(m_inputTable);
    ui->outputTable->setModel(m_outputTable);
    for (QTableView *table : { ui->inputTable, ui->outputTable })
        table->resizeColumnsToContents();
    m_calibrationPlot = std::make_unique<CalibrationPlot>(ui->calibrationPlot);
    m_internalStandardPlot = std::make_unique<InternalStandardPlot>(ui->internalStandardPlot);
    m_evolutionPlot = std::make_unique<EvolutionPlot>(ui->evolutionPlot);
    m_driftPlot = std::make_unique<DriftPlot>(ui->evolutionPlot);
    m_zoomer = new QwtPlotZoomer(ui->calibrationPlot->canvas(), true);

    createActions();
    connectWidgets();
    setUpPlots();
    selectRememberedOptions();
    fitToControls();
}

Application::~Application()
{
    // The plots detach their curves from plot widgets that still exist here.
    m_calibrationPlot.reset();
    m_internalStandardPlot.reset();
    m_evolutionPlot.reset();
    m_driftPlot.reset();
    delete ui;
}

void Application::createActions()
{
    const auto makeAction = [this](const char *icon, const QString &text, const QString &tip) {
        auto *action = new QAction(squareIcon(QString::fromLatin1(icon)), text, this);
        action->setStatusTip(tip);
        return action;
    };
    m_quitAct = makeAction(":/res/close.png", tr("&Quit"), tr("Quit the application"));
    m_aboutAct
        = makeAction(":/res/ketrion.png", tr("&About"), tr("Show the application's About box"));
    m_aboutQtAct
        = makeAction(":/res/qt.png", tr("About &Qt"), tr("Show the Qt library's About box"));
    m_openStandardsAct = makeAction(":/res/config.png", tr("&STD-QC File"), tr("Open STD-QC file"));
    m_openSampleSheetAct = makeAction(":/res/open.png", tr("Sample Sheet"),
        tr("Choose the sample sheet: dilutions, masses and volumes of the samples"));
    m_sampleTemplateAct = new QAction(tr("Save Sample Sheet Template..."), this);
    m_sampleTemplateAct->setStatusTip(
        tr("Save a sample sheet listing the samples and QC solutions of the data file"));
    m_sampleTemplateAct->setEnabled(false);
    m_noSampleSheetAct = new QAction(tr("No Sample Sheet"), this);
    m_noSampleSheetAct->setStatusTip(tr("Report every value as measured, with factor 1"));
    auto *sheetMenu = new QMenu(this);
    sheetMenu->addAction(m_sampleTemplateAct);
    sheetMenu->addAction(m_noSampleSheetAct);
    m_openSampleSheetAct->setMenu(sheetMenu);
    m_openDataAct = makeAction(":/res/open.png", tr("&Data File"), tr("Open input Data file"));
    m_savePlotAct = makeAction(":/res/plot.png", tr("&Save Plot"), tr("Save the plotted Graph"));
    m_savePlotAct->setEnabled(false);
    m_saveOutputAct = makeAction(":/res/save.png", tr("&Save Output"), tr("Save Output Data"));
    m_saveOutputAct->setEnabled(false);
    m_runAct = makeAction(":/res/run.png", tr("&Process"), tr("Run the processing"));
    m_runAct->setEnabled(false);
    m_methodAct = makeAction(":/res/config.png", tr("Method"),
        tr("Open or save every processing option as a method file"));
    m_openMethodAct = new QAction(tr("Open Method..."), this);
    m_openMethodAct->setStatusTip(tr("Set the processing options from a method file"));
    m_saveMethodAct = new QAction(tr("Save Method..."), this);
    m_saveMethodAct->setStatusTip(tr("Save the processing options as a method file"));
    auto *methodMenu = new QMenu(this);
    methodMenu->addAction(m_openMethodAct);
    methodMenu->addAction(m_saveMethodAct);
    m_methodAct->setMenu(methodMenu);
    m_saveReportAct = makeAction(
        ":/res/save.png", tr("Save Report..."), tr("Save the run's report as a PDF file to sign"));
    m_saveReportAct->setEnabled(false);

    connect(m_quitAct, &QAction::triggered, this, &QWidget::close);
    connect(m_aboutAct, &QAction::triggered, this, &Application::about);
    connect(m_aboutQtAct, &QAction::triggered, qApp, &QApplication::aboutQt);
    connect(m_openStandardsAct, &QAction::triggered, this, &Application::openStandardsFile);
    connect(m_openSampleSheetAct, &QAction::triggered, this, &Application::openSampleSheet);
    connect(m_sampleTemplateAct, &QAction::triggered, this, &Application::saveTemplate);
    connect(m_noSampleSheetAct, &QAction::triggered, this, [this] { chooseSampleSheet({}); });
    connect(m_openDataAct, &QAction::triggered, this, &Application::openDataFile);
    connect(m_savePlotAct, &QAction::triggered, this, &Application::saveCurrentPlot);
    connect(m_saveOutputAct, &QAction::triggered, this, &Application::saveOutput);
    connect(m_runAct, &QAction::triggered, this, &Application::run);
    connect(m_openMethodAct, &QAction::triggered, this, &Application::chooseMethod);
    connect(m_saveMethodAct, &QAction::triggered, this, &Application::saveMethodAs);
    connect(m_saveReportAct, &QAction::triggered, this, &Application::saveReportAs);

    QToolBar *bar = ui->toolBar;
    bar->addAction(m_openDataAct);
    bar->addAction(m_openStandardsAct);
    bar->addAction(m_openSampleSheetAct);
    // The menu holds the template and the way back to no sheet.
    if (auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(m_openSampleSheetAct)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    showSampleSheetChoice();
    bar->addAction(m_methodAct);
    // Its menu alone: a method is opened or saved, never both.
    if (auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(m_methodAct)))
        button->setPopupMode(QToolButton::InstantPopup);
    bar->addSeparator();
    bar->addAction(m_savePlotAct);
    bar->addAction(m_saveOutputAct);
    bar->addAction(m_saveReportAct);
    bar->addSeparator();
    bar->addAction(m_aboutAct);
    bar->addAction(m_aboutQtAct);
    bar->addSeparator();
    bar->addAction(m_quitAct);
    bar->addSeparator();
    // Pushes "&Process" to the right edge whatever the window width.
    auto *spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    bar->addWidget(spacer);
    bar->addSeparator();
    bar->addAction(m_runAct);
}

void Application::connectWidgets()
{
    const auto onRow = [this](QAbstractItemView *view, void (Application::*slot)(int)) {
        connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, slot](const QModelIndex &current) {
                (this->*slot)(current.isValid() ? current.row() : -1);
            });
    };
    onRow(ui->inputSolutions, &Application::showInputSolution);
    onRow(ui->outputSolutions, &Application::showOutputSolution);
    onRow(ui->calibrationIsotopes, &Application::showCalibration);
    connect(ui->evolutionIsotopes->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        &Application::showEvolution);
    connect(ui->tabs, &QTabWidget::currentChanged, this, &Application::followTab);
    // The trace must never name one instrument while the data came from the other.
    connect(ui->instrument, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        &Application::rereadDataFile);

    const auto indexChanged = QOverload<int>::of(&QComboBox::currentIndexChanged);
    connect(ui->internalStandardPlotChoice, indexChanged, this, &Application::showInternalStandard);
    for (QComboBox *combo : { ui->isotopeLR, ui->isotopeMR, ui->isotopeHR })
        connect(combo, indexChanged, this, &Application::refreshInternalStandardChoices);
    connect(ui->evolutionPattern, indexChanged, this, &Application::showEvolution);
    connect(ui->yIntercept, &QCheckBox::clicked, this, &Application::chooseZeroStandard);
    connect(ui->subtractBlank, &QCheckBox::clicked, this, &Application::chooseSubtraction);
    connect(ui->internalStandardGroup, &QGroupBox::clicked, this,
        &Application::enableInternalStandardIsotopes);
    // The recovery bounds on the IS plot follow the panel.
    connect(
        ui->internalStandardGroup, &QGroupBox::toggled, this, &Application::showInternalStandard);
    connect(ui->referenceSolution, indexChanged, this, &Application::showInternalStandard);
    for (QSpinBox *bound : { ui->recoveryLow, ui->recoveryHigh }) {
        connect(bound, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &Application::keepRecoveryBoundsApart);
        connect(bound, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &Application::showInternalStandard);
    }
}

void Application::setUpPlots()
{
    ui->tabs->setCurrentWidget(ui->inputTab);
    followTab(ui->tabs->currentIndex());

    setPlotTitles();
    PlotStyle::frameCalibration(ui->calibrationPlot);
    PlotStyle::frameRunningOrder(ui->internalStandardPlot);
    PlotStyle::frameRunningOrder(ui->evolutionPlot);

    ui->instrument->addItems(InstrumentReader::instruments());
    ui->instrument->setCurrentIndex(0);

    // In the order of Calibration::Weighting: the row is the weighting.
    for (const Calibration::Weighting weighting : { Calibration::Weighting::None,
             Calibration::Weighting::InverseX, Calibration::Weighting::InverseXSquared })
        ui->weighting->addItem(Calibration::weightingName(weighting));
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
    ui->calibrationPlot->setTitle(tr("Calibration"));
    ui->internalStandardPlot->setTitle(tr("Internal Standard"));
    ui->evolutionPlot->setTitle(tr("Evolution"));
}

void Application::fitToControls()
{
    // The configuration page scrolls: asked for its whole size once, it makes
    // the window's minimum the size at which nothing of any tab is hidden.
    QScrollArea *area = ui->configurationScroll;
    area->setMinimumSize(
        ui->configurationPage->sizeHint() + QSize(2 * area->frameWidth(), 2 * area->frameWidth()));
    // The tool bar too, so that no command hides behind its extension arrow.
    const QSize wanted = minimumSizeHint().expandedTo(QSize(ui->toolBar->sizeHint().width(), 0));
    area->setMinimumSize(0, 0);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->availableGeometry().size() - QSize(40, 60) : wanted;
    resize(size().expandedTo(wanted).boundedTo(available.expandedTo(minimumSize())));
}

const Measurements &Application::workingSet() const
{
    return m_outcome.working;
}

void Application::showInputSolution(int row)
{
    if (row == -1)
        return;
    m_inputTable->showInput(m_data, m_outcome.expected, row);
    // The headers are longer than most values and must stay readable.
    ui->inputTable->resizeColumnsToContents();
}

void Application::showOutputSolution(int row)
{
    if (row == -1)
        return;
    m_outputTable->showOutput(workingSet(), m_processed ? &m_outcome.results : nullptr,
        &m_outcome.calibration, m_processed ? &m_outcome.reported : nullptr, row);
    ui->outputTable->resizeColumnsToContents();
}

void Application::showCalibration(int row)
{
    if (row == -1)
        return;
    m_calibrationPlot->draw(m_outcome, row);
    m_zoomer->setZoomBase(true);
}

void Application::showEvolution()
{
    const int iso = currentRow(ui->evolutionIsotopes);
    // Both share the plot: the one not shown is emptied first.
    if (ui->evolutionPattern->currentData().toBool()) {
        m_evolutionPlot->clear();
        m_driftPlot->draw(m_data, m_outcome, iso);
    } else {
        m_driftPlot->clear();
        m_evolutionPlot->draw(m_data, iso, ui->evolutionPattern->currentText());
    }
}

void Application::showInternalStandard()
{
    const QComboBox *boxes[] = { ui->isotopeLR, ui->isotopeMR, ui->isotopeHR };
    const int choice = ui->internalStandardPlotChoice->currentIndex();
    int iso = -1;
    if (choice >= 0 && choice < Isotope::GROUP_COUNT) {
        const int index = boxes[choice]->currentIndex();
        const QVector<int> &group = m_data.group(Isotope::GROUPS_SHOWN[choice]);
        iso = index >= 0 && index < group.size() ? group.at(index) : -1;
    }
    // The bounds as the panel sets them now, whatever the last run used.
    const int reference
        = ui->internalStandardGroup->isChecked() ? ui->referenceSolution->currentIndex() : -1;
    m_internalStandardPlot->draw(
        m_data, iso, reference, ui->recoveryLow->value(), ui->recoveryHigh->value());
}

void Application::followTab(int index)
{
    const QWidget *page = ui->tabs->widget(index);
    m_savePlotAct->setEnabled(
        page == ui->calibrationTab || page == ui->internalStandardTab || page == ui->evolutionTab);
    m_saveOutputAct->setEnabled(page == ui->outputTab);
}

void Application::refreshInternalStandardChoices()
{
    const QStringList entries {
        tr("LR Internal Standard : ") + ui->isotopeLR->currentText(),
        tr("MR Internal Standard : ") + ui->isotopeMR->currentText(),
        tr("HR Internal Standard : ") + ui->isotopeHR->currentText(),
    };
    setEntries(ui->internalStandardPlotChoice, entries);
}

void Application::chooseZeroStandard()
{
    ui->subtractBlank->setChecked(false);
    enableBlankSelection();
}

void Application::chooseSubtraction()
{
    ui->yIntercept->setChecked(false);
    enableBlankSelection();
}

void Application::enableBlankSelection()
{
    ui->blank->setEnabled(ui->yIntercept->isChecked() || ui->subtractBlank->isChecked());
}

void Application::enableInternalStandardIsotopes()
{
    ui->internalStandardIsotopes->setEnabled(ui->internalStandardGroup->isChecked());
}

void Application::openDataFile()
{
    m_runAct->setEnabled(false);
    const QString fileName
        = QFileDialog::getOpenFileName(this, tr("Choose a Data file"), ".", tr("CSV File (*.csv)"));
    if (!fileName.isEmpty())
        loadDataFile(fileName);
}

Status Application::loadDataFile(const QString &fileName)
{
    m_runAct->setEnabled(false);
    m_sampleTemplateAct->setEnabled(false);
    m_saveReportAct->setEnabled(false);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString message = tr("Cannot read file %1:\n%2.").arg(fileName, file.errorString());
        QMessageBox::warning(this, tr("Read File"), message);
        return Status::failure(message);
    }
    m_dataFile = fileName;
    // The choices made for the earlier file stay where this one allows.
    const QStringList chosen { ui->isotopeLR->currentText(), ui->isotopeMR->currentText(),
        ui->isotopeHR->currentText(), ui->referenceSolution->currentText() };
    const std::unique_ptr<InstrumentReader> reader
        = InstrumentReader::create(ui->instrument->currentText());
    // Kept for the report, which names the bytes the run read.
    m_dataBytes = file.readAll();
    file.close();
    QBuffer bytes(&m_dataBytes);
    bytes.open(QIODevice::ReadOnly);
    Status read = reader->read(&bytes, &m_data);
    QMessageBox::information(this, tr("Parsing CSV"), read.message());
    // Nothing of the previous file may stay drawn, nor be saved as this one's.
    m_calibrationPlot->clear();
    m_internalStandardPlot->clear();
    m_evolutionPlot->clear();
    m_driftPlot->clear();
    setPlotTitles();

    m_outcome = RunOutcome();
    m_outcome.working = read.ok() ? ProcessingRun::workingSet(m_data) : m_data;
    m_outcome.calibration.lines = QVector<CalibrationLine>(m_data.isotopeCount());
    m_processed = false;
    m_inputTable->clear();
    m_outputTable->clear();
    m_inputNames->setStringList(m_data.solutionNames());
    m_isotopeNames->setStringList(m_data.isotopeNames());
    m_calibrationIsotopes->clear();
    showCalibrationIsotopes();
    showSolutionLists();
    setEntries(ui->blank, workingSet().blankNames());
    setEntries(ui->referenceSolution, workingSet().referenceNames());
    setEntries(ui->isotopeLR, m_data.isotopeNames(m_data.group(Isotope::LR)));
    setEntries(ui->isotopeMR, m_data.isotopeNames(m_data.group(Isotope::MR)));
    setEntries(ui->isotopeHR, m_data.isotopeNames(m_data.group(Isotope::HR)));
    setEntries(ui->driftMonitor, ProcessingRun::monitorChoices(m_data));
    if (!read.ok()) {
        ui->internalStandardPlotChoice->clear();
        ui->evolutionPattern->clear();
        return read;
    }
    m_runAct->setEnabled(true);
    ui->startHint->hide();
    m_sampleTemplateAct->setEnabled(true);
    selectRememberedChoices();
    QStringList said = m_data.repeatedIsotopes();
    const QStringList lost = keepChoices(chosen);
    if (!lost.isEmpty())
        said.append(tr("Not in this file: %1.").arg(lost.join(QStringLiteral(", "))));
    ui->statusBar->showMessage(said.join(QLatin1Char(' ')));
    refreshInternalStandardChoices();
    showInternalStandard();
    ui->evolutionPattern->clear();
    ui->evolutionPattern->addItems({ QStringLiteral("BLK"), QStringLiteral("VS") });
    // Marked by its data: the other entries are patterns of solution names.
    ui->evolutionPattern->addItem(tr("drift factor"), true);
    return read;
}

void Application::showSolutionLists()
{
    setNames(m_outputNames, ui->outputSolutions, workingSet().solutionNames());
}

void Application::showCalibrationIsotopes()
{
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (int i = 0; i < m_data.isotopeCount(); ++i) {
        if (i >= m_calibrationIsotopes->rowCount())
            m_calibrationIsotopes->appendRow(new QStandardItem(m_data.isotope(i).name()));
        QStandardItem *item = m_calibrationIsotopes->item(i);
        item->setEditable(false);
        const CalibrationLine &line = m_outcome.calibration.lines.value(i);
        item->setIcon(line.isRejected() ? warning : QIcon());
        item->setToolTip(
            line.isRejected() ? tr("Calibration rejected: %1").arg(line.rejection) : QString());
    }
}

void Application::selectRememberedChoices()
{
    const QSettings stored = settings();
    const struct
    {
        QComboBox *combo;
        QString key;
    } choices[]
        = { { ui->isotopeLR, QStringLiteral("LR") }, { ui->isotopeMR, QStringLiteral("MR") },
              { ui->isotopeHR, QStringLiteral("HR") }, { ui->driftMonitor, MONITOR_KEY } };
    for (const auto &choice : choices) {
        const QString text = stored.value(choice.key).toString();
        if (text.isEmpty())
            continue;
        const int found = choice.combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (found != -1)
            choice.combo->setCurrentIndex(found);
    }
}

QStringList Application::keepChoices(const QStringList &texts)
{
    const struct
    {
        QComboBox *combo;
        const char *box;
    } choices[] = { { ui->isotopeLR, "IS-LR" }, { ui->isotopeMR, "IS-MR" },
        { ui->isotopeHR, "IS-HR" }, { ui->referenceSolution, "IS reference" } };
    QStringList lost;
    for (int k = 0; k < texts.size(); ++k) {
        if (texts.at(k).isEmpty())
            continue;
        const int found
            = choices[k].combo->findText(texts.at(k), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (found != -1)
            choices[k].combo->setCurrentIndex(found);
        else
            lost.append(QStringLiteral("%1 (%2)").arg(texts.at(k), tr(choices[k].box)));
    }
    return lost;
}

void Application::rereadDataFile()
{
    if (!m_dataFile.isEmpty())
        loadDataFile(m_dataFile);
}

// Unlike the isotopes, these choices exist before any file is read.
void Application::selectRememberedOptions()
{
    const QSettings stored = settings();
    const int weighting
        = ui->weighting->findText(stored.value(QStringLiteral("Weighting")).toString(),
            Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (weighting != -1)
        ui->weighting->setCurrentIndex(weighting);
    ui->acceptanceGroup->setChecked(stored.value(QStringLiteral("Acceptance"), false).toBool());
    ui->minimumR2->setValue(
        stored.value(QStringLiteral("AcceptanceMinimumR2"), RunOptions::DEFAULT_MINIMUM_R2)
            .toDouble());
    ui->tolerance->setValue(
        stored.value(QStringLiteral("AcceptanceTolerance"), RunOptions::DEFAULT_TOLERANCE)
            .toDouble());
    ui->driftGroup->setChecked(stored.value(DRIFT_KEY, false).toBool());

    const int low
        = stored.value(QStringLiteral("RecoveryLow"), RunOptions::DEFAULT_RECOVERY_LOW).toInt();
    const int high
        = stored.value(QStringLiteral("RecoveryHigh"), RunOptions::DEFAULT_RECOVERY_HIGH).toInt();
    setRecoveryBounds(low, high);
}

void Application::setRecoveryBounds(int low, int high)
{
    if (low < 0 || low >= high || high > ui->recoveryHigh->maximum())
        return;
    // Each box's range hangs on the other's value: both are set before the ranges.
    {
        const QSignalBlocker lowBlocker(ui->recoveryLow);
        const QSignalBlocker highBlocker(ui->recoveryHigh);
        ui->recoveryLow->setMaximum(ui->recoveryHigh->maximum() - 1);
        ui->recoveryHigh->setMinimum(1);
        ui->recoveryLow->setValue(low);
        ui->recoveryHigh->setValue(high);
        keepRecoveryBoundsApart();
    }
    // The IS plot's bounds follow the panel.
    showInternalStandard();
}

void Application::openStandardsFile()
{
    const QString fileName = QFileDialog::getOpenFileName(
        this, tr("Choose a file - QC & STD"), ".", tr("CSV File (*.csv)"));
    if (!fileName.isEmpty())
        chooseStandardsFile(fileName);
}

Status Application::chooseStandardsFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QString message = tr("Cannot read file %1:\n%2.").arg(fileName, file.errorString());
        QMessageBox::warning(this, tr("Read File"), message);
        return Status::failure(message);
    }
    file.close();
    // Absolute, so that a run started from another working directory finds it.
    settings().setValue(QStringLiteral("File"), QFileInfo(fileName).absoluteFilePath());
    return Status::success();
}

void Application::openSampleSheet()
{
    const QString fileName = QFileDialog::getOpenFileName(this, tr("Choose a sample sheet"), ".",
        tr("Sample sheet (*.csv *.txt *.tsv);;All files (*)"));
    if (!fileName.isEmpty())
        chooseSampleSheet(fileName);
}

Status Application::chooseSampleSheet(const QString &fileName)
{
    if (fileName.isEmpty()) {
        settings().remove(QStringLiteral("SampleSheet"));
        showSampleSheetChoice();
        return Status::success();
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString message = tr("Cannot read file %1:\n%2.").arg(fileName, file.errorString());
        QMessageBox::warning(this, tr("Read File"), message);
        return Status::failure(message);
    }
    settings().setValue(QStringLiteral("SampleSheet"), QFileInfo(fileName).absoluteFilePath());
    showSampleSheetChoice();
    return Status::success();
}

void Application::showSampleSheetChoice()
{
    const QString sheet = settings().value(QStringLiteral("SampleSheet")).toString();
    m_openSampleSheetAct->setToolTip(
        sheet.isEmpty() ? tr("No sample sheet: factor 1") : tr("Sample sheet: %1").arg(sheet));
    m_noSampleSheetAct->setEnabled(!sheet.isEmpty());
}

RunOptions Application::runOptions() const
{
    RunOptions options;
    options.instrument = ui->instrument->currentText();
    options.internalStandard = ui->internalStandardGroup->isChecked();
    options.reference = ui->referenceSolution->currentText();
    options.groups[Isotope::LR] = { ui->correctLR->isChecked(), ui->isotopeLR->currentText() };
    options.groups[Isotope::MR] = { ui->correctMR->isChecked(), ui->isotopeMR->currentText() };
    options.groups[Isotope::HR] = { ui->correctHR->isChecked(), ui->isotopeHR->currentText() };
    options.recoveryLow = ui->recoveryLow->value();
    options.recoveryHigh = ui->recoveryHigh->value();
    options.blankMode = ui->yIntercept->isChecked() ? RunOptions::BlankMode::ZeroStandard
        : ui->subtractBlank->isChecked()            ? RunOptions::BlankMode::Subtract
                                                    : RunOptions::BlankMode::None;
    options.blank = ui->blank->currentText();
    options.weighting = Calibration::Weighting(qMax(0, ui->weighting->currentIndex()));
    options.drift = ui->driftGroup->isChecked();
    options.driftMonitor = ui->driftMonitor->currentText();
    options.qcValidation = ui->qcGroup->isChecked();
    options.acceptance = ui->acceptanceGroup->isChecked();
    options.minimumR2 = ui->minimumR2->value();
    options.tolerance = ui->tolerance->value();
    return options;
}

void Application::run()
{
    const RunInputs files { settings().value(QStringLiteral("File")).toString(),
        settings().value(QStringLiteral("SampleSheet")).toString() };
    const RunOptions options = runOptions();
    RunOutcome outcome
        = ProcessingRun::run(m_data, files, options, ProcessingRun::Listing::CountsOnly);
    // A refused run leaves the earlier results, views and expected values.
    switch (outcome.refusal) {
    case RunOutcome::Refusal::None:
        break;
    case RunOutcome::Refusal::NoStandardsFile:
        QMessageBox::warning(this, tr("Read QC-STD File"), outcome.reason);
        return;
    case RunOutcome::Refusal::StandardsUnreadable:
        QMessageBox::warning(this, tr("Read File"), outcome.reason);
        return;
    case RunOutcome::Refusal::StandardsRejected:
        QMessageBox::information(this, tr("Parsing CSV"), outcome.reason);
        return;
    case RunOutcome::Refusal::SampleSheetRejected:
        QMessageBox::warning(this, tr("Sample Sheet"), outcome.reason);
        return;
    case RunOutcome::Refusal::UnknownName:
    case RunOutcome::Refusal::ReferenceWithoutStandard:
    case RunOutcome::Refusal::NoCalibration:
        QMessageBox::warning(this, tr("Process"), outcome.reason);
        return;
    }
    m_outcome = std::move(outcome);
    m_processed = true;
    m_runOptions = options;
    m_reportInputs = RunReport::inputs(m_dataFile, m_dataBytes, files);
    m_saveReportAct->setEnabled(true);
    showSolutionLists();
    if (m_outcome.warnings.isEmpty())
        ui->statusBar->clearMessage();
    else
        ui->statusBar->showMessage(m_outcome.warnings.join(QLatin1Char(' ')));
    showCalibrationIsotopes();
    const QStringList outside = m_outcome.recovery.lines(m_data);
    const QStringList rejected
        = CalibrationAcceptance::rejectionLines(m_outcome.calibration, m_data);
    // Without QC validation the report opens only when it has something to say.
    if (m_outcome.qcChecked || !outside.isEmpty() || !rejected.isEmpty()) {
        const QStringList failures = m_outcome.qc.failureLines(m_data);
        QCDialog report(
            m_outcome.qcChecked ? &failures : nullptr, int(m_outcome.qc.checks.size()), this);
        if (m_outcome.acceptanceChecked)
            report.showRejectedCalibrations(
                rejected, CalibrationAcceptance::checkedCount(m_outcome.calibration));
        if (m_outcome.recoveryChecked)
            report.showRecovery(outside, m_outcome.recovery.checked, m_outcome.recovery.low,
                m_outcome.recovery.high);
        report.exec();
    }

    Trace::line(QStringLiteral("*** refreshing plots and tables ***"));
    showInternalStandard();
    showEvolution();
    showCalibration(currentRow(ui->calibrationIsotopes));
    showOutputSolution(currentRow(ui->outputSolutions));
    showInputSolution(currentRow(ui->inputSolutions));
    Trace::line(QStringLiteral("*** end of processing ***"));
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

void Application::saveTemplate()
{
    const std::unique_ptr<QFileDialog> dialog = saveDialog(this, tr("Save Sample Sheet Template"),
        QStringLiteral("."), { tr("CSV File (*.csv)") }, QStringLiteral("csv"));
    if (dialog->exec() == QDialog::Accepted)
        saveSampleSheetTemplate(dialog->selectedFiles().value(0));
}

Status Application::saveSampleSheetTemplate(const QString &fileName)
{
    Status saved = OutputFile::write(fileName, SampleSheetTemplate::format(m_data));
    if (!saved.ok())
        QMessageBox::warning(
            this, tr("Save File"), tr("Cannot write file %1:\n%2.").arg(fileName, saved.message()));
    return saved;
}

void Application::saveOutput()
{
    const std::unique_ptr<QFileDialog> dialog = saveOutputDialog();
    if (dialog->exec() == QDialog::Accepted)
        saveAnsweredOutput(*dialog);
}

Status Application::saveAnsweredOutput(const QFileDialog &dialog)
{
    const ProcessingRun::Layout layout = dialog.selectedNameFilter() == tr(LONG_TABLE_TYPE)
        ? ProcessingRun::Layout::Long
        : ProcessingRun::Layout::Wide;
    return saveResults(dialog.selectedFiles().value(0), layout);
}

Status Application::saveResults(const QString &fileName, ProcessingRun::Layout layout)
{
    // Limits of 0 and no concentration would pass for results.
    Status saved = m_processed
        ? ProcessingRun::save(fileName, m_outcome, layout)
        : Status::failure(tr("There are no results yet: press Process first"));
    if (!saved.ok())
        QMessageBox::warning(
            this, tr("Save File"), tr("Cannot write file %1:\n%2.").arg(fileName, saved.message()));
    return saved;
}

void Application::saveCurrentPlot()
{
    const std::unique_ptr<QFileDialog> dialog = savePlotDialog();
    if (dialog->exec() == QDialog::Accepted)
        savePlot(dialog->selectedFiles().value(0));
}

Status Application::savePlot(const QString &fileName)
{
    QWidget *page = ui->tabs->currentWidget();
    QwtPlot *plot = nullptr;
    if (page == ui->internalStandardTab)
        plot = ui->internalStandardPlot;
    else if (page == ui->calibrationTab)
        plot = ui->calibrationPlot;
    else if (page == ui->evolutionTab)
        plot = ui->evolutionPlot;
    if (!plot)
        return Status::failure(tr("No plot on this tab."));

    // The dialog offers JPEG only: a name it left without a suffix means that.
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    const QByteArray format = suffix.isEmpty() ? QByteArray("jpg") : suffix.toLatin1();
    // Encoded in memory first, so that a full disk gets its own reason; the
    // earlier image is replaced only once the new one is complete.
    QBuffer encoded;
    encoded.open(QIODevice::WriteOnly);
    QImageWriter writer(&encoded, format);
    Status saved = writer.write(plot->grab().toImage())
        ? OutputFile::write(fileName, encoded.data(), QIODevice::WriteOnly)
        : Status::failure(writer.errorString());
    if (!saved.ok())
        QMessageBox::warning(
            this, tr("Save Plot"), tr("Cannot write file %1:\n%2.").arg(fileName, saved.message()));
    return saved;
}

void Application::chooseMethod()
{
    const QString fileName = QFileDialog::getOpenFileName(this, tr("Open Method"), ".",
        tr("Ketrion method (*.%1);;All files (*)").arg(MethodFile::SUFFIX));
    if (!fileName.isEmpty())
        openMethod(fileName);
}

void Application::saveMethodAs()
{
    const std::unique_ptr<QFileDialog> dialog
        = saveDialog(this, tr("Save Method"), QStringLiteral("."),
            { tr("Ketrion method (*.%1)").arg(MethodFile::SUFFIX) }, MethodFile::SUFFIX);
    if (dialog->exec() == QDialog::Accepted)
        saveMethod(dialog->selectedFiles().value(0));
}

void Application::saveReportAs()
{
    const std::unique_ptr<QFileDialog> dialog = saveDialog(this, tr("Save Report"),
        QStringLiteral("."), { tr("PDF File (*.pdf)") }, QStringLiteral("pdf"));
    if (dialog->exec() == QDialog::Accepted)
        saveReport(dialog->selectedFiles().value(0));
}

Status Application::openMethod(const QString &fileName)
{
    QFile file(fileName);
    RunOptions method = runOptions();
    Status read = file.open(QIODevice::ReadOnly)
        ? MethodFile::read(file.readAll(), fileName, &method)
        : Status::failure(tr("Cannot read file %1:\n%2.").arg(fileName, file.errorString()));
    if (!read.ok()) {
        QMessageBox::warning(this, tr("Open Method"), read.message());
        return read;
    }
    // Another instrument reads the data file again, with its own box.
    const int instrument = ui->instrument->findText(method.instrument);
    if (instrument != -1)
        ui->instrument->setCurrentIndex(instrument);
    setMethodFlags(method);
    const QStringList lacking = selectMethodNames(method);
    if (!lacking.isEmpty())
        QMessageBox::information(this, tr("Open Method"),
            tr("The data file has no %1: those settings are left as they were.")
                .arg(lacking.join(QStringLiteral(", "))));
    return read;
}

void Application::setMethodFlags(const RunOptions &method)
{
    ui->internalStandardGroup->setChecked(method.internalStandard);
    enableInternalStandardIsotopes();
    ui->correctLR->setChecked(method.groups[Isotope::LR].corrected);
    ui->correctMR->setChecked(method.groups[Isotope::MR].corrected);
    ui->correctHR->setChecked(method.groups[Isotope::HR].corrected);
    setRecoveryBounds(method.recoveryLow, method.recoveryHigh);
    ui->yIntercept->setChecked(method.blankMode == RunOptions::BlankMode::ZeroStandard);
    ui->subtractBlank->setChecked(method.blankMode == RunOptions::BlankMode::Subtract);
    enableBlankSelection();
    ui->weighting->setCurrentIndex(int(method.weighting));
    ui->driftGroup->setChecked(method.drift);
    ui->qcGroup->setChecked(method.qcValidation);
    ui->acceptanceGroup->setChecked(method.acceptance);
    ui->minimumR2->setValue(method.minimumR2);
    ui->tolerance->setValue(method.tolerance);
}

QStringList Application::selectMethodNames(const RunOptions &method)
{
    // An isotope or blank left empty is the first of its box, as in a run.
    const struct
    {
        QComboBox *combo;
        QString name;
        bool firstWhenEmpty;
        const char *box;
    } choices[] = { { ui->referenceSolution, method.reference, false, "IS reference" },
        { ui->isotopeLR, method.groups[Isotope::LR].isotope, true, "IS-LR" },
        { ui->isotopeMR, method.groups[Isotope::MR].isotope, true, "IS-MR" },
        { ui->isotopeHR, method.groups[Isotope::HR].isotope, true, "IS-HR" },
        { ui->blank, method.blank, true, "blank" },
        { ui->driftMonitor, method.driftMonitor, false, "drift monitor" } };
    QStringList lacking;
    for (const auto &choice : choices) {
        int found = choice.name.isEmpty() && choice.firstWhenEmpty ? 0 : -1;
        // Quadrupole isotopes end with a blank that a method leaves out.
        for (int row = 0; row < choice.combo->count() && !choice.name.isEmpty(); ++row) {
            if (choice.combo->itemText(row).trimmed() == choice.name.trimmed())
                found = row;
        }
        if (found != -1 && found < choice.combo->count())
            choice.combo->setCurrentIndex(found);
        else if (!choice.name.isEmpty())
            lacking << QStringLiteral("%1 (%2)").arg(choice.name, tr(choice.box));
    }
    return lacking;
}

Status Application::saveMethod(const QString &fileName)
{
    Status saved = OutputFile::write(fileName, MethodFile::write(runOptions()));
    if (!saved.ok())
        QMessageBox::warning(this, tr("Save Method"),
            tr("Cannot write file %1:\n%2.").arg(fileName, saved.message()));
    return saved;
}

Status Application::saveReport(const QString &fileName)
{
    Status saved = m_processed
        ? OutputFile::write(fileName,
            RunReport(m_reportInputs, m_runOptions, m_data, m_outcome).pdf(), QIODevice::WriteOnly)
        : Status::failure(tr("There are no results yet: press Process first."));
    if (!saved.ok())
        QMessageBox::warning(this, tr("Save Report"),
            tr("Cannot write file %1:\n%2.").arg(fileName, saved.message()));
    return saved;
}

void Application::about()
{
    QMessageBox::about(this, tr("About Ketrion Application"),
        tr("<p>Ketrion: <b>ICP-MS Data Processing v%1</b></p>"
           "<p>Application to process ICP-MS data.</p>"
           "<p><b>Designed by :</b></p>"
           "<p>The Ketrion developers - Ostrel</p>"
           "<p><b>Maintain by :</b></p>"
           "<p>The Ketrion developers - Ostrel</p>")
            .arg(QStringLiteral(KETRION_VERSION)));
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
    // Unchanged choices are not rewritten, nor is a default never changed written.
    QSettings stored = settings();
    const QPair<const QComboBox *, QString> isotopes[] = { { ui->isotopeLR, QStringLiteral("LR") },
        { ui->isotopeMR, QStringLiteral("MR") }, { ui->isotopeHR, QStringLiteral("HR") } };
    for (const auto &isotope : isotopes) {
        if (!isotope.first->currentText().isEmpty())
            storeIfChanged(stored, isotope.second, isotope.first->currentText());
    }
    storeIfChanged(stored, QStringLiteral("Weighting"), ui->weighting->currentText(),
        Calibration::weightingName(Calibration::Weighting::None));
    // The monitor matters only with the correction on.
    const bool drift = ui->driftGroup->isChecked();
    storeIfChanged(stored, DRIFT_KEY, drift, false);
    if (drift && !ui->driftMonitor->currentText().isEmpty())
        storeIfChanged(stored, MONITOR_KEY, ui->driftMonitor->currentText());
    storeIfChanged(stored, QStringLiteral("RecoveryLow"), ui->recoveryLow->value(),
        RunOptions::DEFAULT_RECOVERY_LOW);
    storeIfChanged(stored, QStringLiteral("RecoveryHigh"), ui->recoveryHigh->value(),
        RunOptions::DEFAULT_RECOVERY_HIGH);
    storeIfChanged(stored, QStringLiteral("Acceptance"), ui->acceptanceGroup->isChecked(), false);
    storeIfChanged(stored, QStringLiteral("AcceptanceMinimumR2"), ui->minimumR2->value(),
        RunOptions::DEFAULT_MINIMUM_R2);
    storeIfChanged(stored, QStringLiteral("AcceptanceTolerance"), ui->tolerance->value(),
        RunOptions::DEFAULT_TOLERANCE);
    event->accept();
}
