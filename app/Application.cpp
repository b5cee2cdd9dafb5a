#include "app/Application.h"

#include "app/Boxes.h"
#include "app/CalibrationTab.h"
#include "app/Commands.h"
#include "app/ConfigurationTab.h"
#include "app/EvolutionTab.h"
#include "app/InputTab.h"
#include "app/InputsInUse.h"
#include "app/InternalStandardTab.h"
#include "app/OutputTab.h"
#include "app/QCDialog.h"
#include "app/ReportProgress.h"
#include "app/ResultsTab.h"
#include "app/SaveDialog.h"
#include "app/Settings.h"
#include "app/WarningBar.h"
#include "display/PlotImage.h"
#include "parsers/FileError.h"
#include "parsers/MethodFile.h"
#include "parsers/OutputFile.h"
#include "parsers/SampleSheetTemplate.h"
#include "processing/RunWorkbook.h"
#include "processing/Trace.h"
#include "ui_Application.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
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

    m_commands = std::make_unique<Commands>(this);
    connectActions();
    m_commands->fill(ui->toolBar);
    m_commands->showSampleSheet(Settings::sampleSheet());
    placeTabs();
    connectTabs();
    ui->tabs->setCurrentWidget(m_input);
    followTab(ui->tabs->currentIndex());
    // Unlike the isotopes, the remembered choices exist before any file is read.
    m_configuration->setOptions(Settings::recall(m_configuration->options()));
    sayInUse();
    fitToControls();
}

Application::~Application()
{
    delete ui;
}

void Application::connectActions()
{
    connect(m_commands->quit, &QAction::triggered, this, &QWidget::close);
    connect(m_commands->about, &QAction::triggered, this, [this] { Boxes::showAbout(this); });
    connect(m_commands->aboutQt, &QAction::triggered, qApp, &QApplication::aboutQt);
    connect(m_commands->openStandards, &QAction::triggered, this, &Application::openStandardsFile);
    connect(m_commands->openSampleSheet, &QAction::triggered, this, &Application::openSampleSheet);
    connect(m_commands->sampleTemplate, &QAction::triggered, this, [this] {
        askToSave(tr("Save Sample Sheet Template"), tr("CSV File (*.csv)"), QStringLiteral("csv"),
            &Application::saveSampleSheetTemplate);
    });
    connect(
        m_commands->noSampleSheet, &QAction::triggered, this, [this] { chooseSampleSheet({}); });
    connect(m_commands->openData, &QAction::triggered, this, &Application::openDataFile);
    connect(m_commands->savePlot, &QAction::triggered, this, &Application::saveCurrentPlot);
    connect(m_commands->saveOutput, &QAction::triggered, this, &Application::saveOutput);
    connect(m_commands->run, &QAction::triggered, this, &Application::run);
    connect(m_commands->openMethod, &QAction::triggered, this, &Application::chooseMethod);
    connect(m_commands->saveMethod, &QAction::triggered, this, [this] {
        askToSave(tr("Save Method"), tr("Ketrion method (*.%1)").arg(MethodFile::SUFFIX),
            MethodFile::SUFFIX, &Application::saveMethod);
    });
    connect(m_commands->saveReport, &QAction::triggered, this, [this] {
        askToSave(tr("Save Report"), tr("PDF File (*.pdf)"), QStringLiteral("pdf"),
            &Application::saveReport);
    });
    connect(m_commands->saveWorkbook, &QAction::triggered, this, [this] {
        askToSave(tr("Save Workbook"), tr("Workbook (*.xlsx)"), QStringLiteral("xlsx"),
            &Application::saveWorkbook);
    });
}

void Application::placeTabs()
{
    m_warnings = new WarningBar(ui->centralWidget);
    ui->centralLayout->insertWidget(0, m_warnings);
    // A table's header takes its font as the model is set: inside the window.
    m_input = new InputTab(ui->tabs);
    m_output = new OutputTab(ui->tabs);
    m_results = new ResultsTab(ui->tabs);
    // The configuration page is laid out before it joins the window, as it
    // always was: inside it, its group boxes would come out a little tighter.
    m_configuration = new ConfigurationTab;
    m_calibration = new CalibrationTab;
    m_internalStandard = new InternalStandardTab;
    m_evolution = new EvolutionTab;
    ui->tabs->addTab(m_input, tr("Input"));
    ui->tabs->addTab(m_configuration, tr("Configuration"));
    ui->tabs->addTab(m_calibration, tr("Calibration"));
    ui->tabs->addTab(m_internalStandard, tr("Internal Standard"));
    ui->tabs->addTab(m_evolution, tr("Signal evolution"));
    ui->tabs->addTab(m_output, tr("Output"));
    ui->tabs->addTab(m_results, tr("Results"));
    m_inUse = std::make_unique<InputsInUse>(this, m_input, m_warnings);
}

void Application::connectTabs()
{
    connect(ui->tabs, &QTabWidget::currentChanged, this, &Application::followTab);
    connect(
        m_configuration, &ConfigurationTab::instrumentChanged, this, &Application::rereadDataFile);
    // The IS plot follows the panel's isotopes, reference and recovery bounds.
    connect(m_configuration, &ConfigurationTab::internalStandardIsotopesChanged, m_internalStandard,
        &InternalStandardTab::showIsotopes);
    connect(m_configuration, &ConfigurationTab::internalStandardChanged, m_internalStandard,
        &InternalStandardTab::follow);
    m_internalStandard->follow(m_configuration->internalStandardChoice());
    connect(m_configuration, &ConfigurationTab::optionsChanged, this, &Application::sayInUse);
}

void Application::sayInUse()
{
    m_inUse->update(m_configuration->options());
}

void Application::followTab(int index)
{
    const QWidget *page = ui->tabs->widget(index);
    m_commands->savePlot->setEnabled(
        page == m_calibration || page == m_internalStandard || page == m_evolution);
    m_commands->saveOutput->setEnabled(page == m_output);
}

void Application::fitToControls()
{
    m_configuration->askForWholePage(true);
    // The tool bar too, so that no command hides behind its extension arrow.
    const QSize wanted = minimumSizeHint().expandedTo(QSize(ui->toolBar->sizeHint().width(), 0));
    m_configuration->askForWholePage(false);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->availableGeometry().size() - QSize(40, 60) : wanted;
    resize(size().expandedTo(wanted).boundedTo(available.expandedTo(minimumSize())));
}

void Application::openDataFile()
{
    m_commands->run->setEnabled(false);
    const QString fileName
        = QFileDialog::getOpenFileName(this, tr("Choose a Data file"), ".", tr("CSV File (*.csv)"));
    if (!fileName.isEmpty())
        loadDataFile(fileName);
}

Status Application::loadDataFile(const QString &fileName)
{
    return readDataFile(fileName, false);
}

Status Application::readDataFile(const QString &fileName, bool rereading)
{
    // Read apart: a file refused leaves the one loaded, its results and views.
    RunInputs read;
    Status bytes = read.readExportFile(fileName);
    if (!bytes.ok()) {
        QMessageBox::warning(this, tr("Read File"), bytes.message());
        if (rereading)
            unloadExport();
        return bytes;
    }
    const QString instrument = m_configuration->options().instrument;
    Status parsed = read.parseExport(instrument);
    if (!parsed.ok()) {
        if (rereading) {
            QMessageBox::information(this, tr("Parsing CSV"), parsed.message());
            unloadExport();
        } else {
            keepExport(parsed);
        }
        return parsed;
    }
    QMessageBox::information(this, tr("Parsing CSV"), parsed.message());
    m_inputs = read;
    m_exportPath = fileName;
    m_exportInstrument = instrument;
    m_commands->saveReport->setEnabled(false);
    m_commands->saveWorkbook->setEnabled(false);
    showExport();
    m_commands->run->setEnabled(true);
    m_commands->sampleTemplate->setEnabled(true);
    return parsed;
}

void Application::keepExport(const Status &refused)
{
    QString text = refused.message();
    if (!m_inputs.exportFile().path.isEmpty()) {
        text += QStringLiteral("\n\n")
            + tr("%1 stays loaded, read as %2.")
                  .arg(m_inputs.exportFile().fileName(), m_exportInstrument);
    }
    QMessageBox::warning(this, tr("Parsing CSV"), text);
}

// Read again by another instrument and refused: the export open belongs to
// none that the window now names.
void Application::unloadExport()
{
    const QString path = m_inputs.exportFile().path;
    m_inputs = RunInputs();
    m_exportPath = path;
    showExport();
    for (QAction *command : { m_commands->run, m_commands->sampleTemplate, m_commands->saveReport })
        command->setEnabled(false);
}

void Application::showExport()
{
    // Nothing of the previous file may stay drawn, nor be saved as this one's.
    m_calibration->clear();
    m_internalStandard->clear();
    m_evolution->clear();
    m_outcome = RunOutcome();
    m_outcome.working = ProcessingRun::workingSet(m_inputs.data());
    m_outcome.calibration.lines = QVector<CalibrationLine>(m_inputs.data().isotopeCount());
    m_processed = false;
    m_input->clear();
    m_output->clear();
    m_input->showExport(m_inputs.data(), m_outcome, true);
    m_evolution->showExport(m_inputs.data(), m_outcome, true);
    m_calibration->showExport(m_inputs.data(), m_outcome);
    m_output->showExport(m_outcome);
    m_results->showExport(m_outcome);
    m_internalStandard->showExport(m_inputs.data());
    const RunOptions remembered = Settings::recall(RunOptions());
    const QStringList lost
        = m_configuration->offerNames(m_inputs.data(), m_outcome.working, &remembered);
    QStringList said = m_inputs.data().repeatedIsotopes();
    if (!lost.isEmpty())
        said.append(tr("Not in this file: %1.").arg(lost.join(QStringLiteral(", "))));
    said.append(m_configuration->equationRefusals());
    m_warnings->say(WarningBar::Subject::Export, said);
    m_warnings->say(WarningBar::Subject::Run, {});
    m_internalStandard->showIsotopes(m_configuration->internalStandardChoice());
    m_inUse->setExport(m_inputs.exportFile().path);
    m_inUse->setProcessed(nullptr);
    sayInUse();
}

void Application::rereadDataFile()
{
    if (!m_exportPath.isEmpty())
        readDataFile(m_exportPath, true);
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
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return warnUnreadable(file);
    file.close();
    Settings::setStandardsFile(fileName);
    sayInUse();
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
    QFile file(fileName);
    if (!fileName.isEmpty() && !file.open(QIODevice::ReadOnly))
        return warnUnreadable(file);
    Settings::setSampleSheet(fileName);
    m_commands->showSampleSheet(Settings::sampleSheet());
    sayInUse();
    return Status::success();
}

void Application::run()
{
    m_inputs.readFiles(Settings::standardsFile(), Settings::sampleSheet());
    const RunOptions options = m_configuration->options();
    RunOutcome outcome = m_inputs.run(options, ProcessingRun::Listing::CountsOnly);
    // A refused run leaves the earlier results, views and expected values.
    if (Boxes::showRefusal(this, outcome))
        return;
    m_outcome = std::move(outcome);
    m_processed = true;
    m_runOptions = options;
    m_reportInputs = m_inputs.files();
    m_inUse->setProcessed(&options);
    sayInUse();
    m_commands->saveReport->setEnabled(true);
    m_commands->saveWorkbook->setEnabled(true);
    m_warnings->say(WarningBar::Subject::Run, m_outcome.warnings);
    QCDialog::report(m_outcome, m_inputs.data(), this);

    Trace::line(QStringLiteral("*** refreshing plots and tables ***"));
    m_internalStandard->showOutcome();
    m_evolution->showOutcome();
    m_calibration->showOutcome();
    m_output->showOutcome();
    m_results->showOutcome();
    m_input->showOutcome();
    Trace::line(QStringLiteral("*** end of processing ***"));
}

Status Application::warnUnreadable(const QFile &file)
{
    const QString message = FileError::unreadable(file.fileName(), file.errorString());
    QMessageBox::warning(this, tr("Read File"), message);
    return Status::failure(message);
}

Status Application::warnUnwritten(const Status &saved, const QString &title)
{
    if (!saved.ok())
        QMessageBox::warning(this, title, saved.message());
    return saved;
}

void Application::askToSave(const QString &title, const QString &type, const QString &suffix,
    Status (Application::*save)(const QString &))
{
    const std::unique_ptr<QFileDialog> dialog
        = SaveDialog::create(this, title, QStringLiteral("."), { type }, suffix);
    if (dialog->exec() == QDialog::Accepted)
        (this->*save)(dialog->selectedFiles().value(0));
}

Status Application::saveSampleSheetTemplate(const QString &fileName)
{
    return warnUnwritten(
        OutputFile::write(fileName, SampleSheetTemplate::format(m_inputs.data())), tr("Save File"));
}

void Application::saveOutput()
{
    const std::unique_ptr<QFileDialog> dialog = SaveDialog::forOutput(this);
    if (dialog->exec() == QDialog::Accepted)
        saveAnsweredOutput(*dialog);
}

Status Application::saveAnsweredOutput(const QFileDialog &dialog)
{
    const ProcessingRun::Layout layout = SaveDialog::choseLongTable(dialog)
        ? ProcessingRun::Layout::Long
        : ProcessingRun::Layout::Wide;
    return saveResults(dialog.selectedFiles().value(0), layout);
}

Status Application::saveResults(const QString &fileName, ProcessingRun::Layout layout)
{
    // Limits of 0 and no concentration would pass for results.
    if (!m_processed)
        return warnUnwritten(noResults(fileName), tr("Save File"));
    return warnUnwritten(ProcessingRun::save(fileName, m_outcome, layout), tr("Save File"));
}

Status Application::noResults(const QString &fileName)
{
    return Status::failure(
        FileError::unwritable(fileName, tr("There are no results yet: press Process first")));
}

void Application::saveCurrentPlot()
{
    const std::unique_ptr<QFileDialog> dialog = SaveDialog::forPlot(this);
    if (dialog->exec() == QDialog::Accepted)
        savePlot(dialog->selectedFiles().value(0));
}

Status Application::savePlot(const QString &fileName)
{
    QWidget *page = ui->tabs->currentWidget();
    QwtPlot *plot = nullptr;
    if (page == m_internalStandard)
        plot = m_internalStandard->plot();
    else if (page == m_calibration)
        plot = m_calibration->plot();
    else if (page == m_evolution)
        plot = m_evolution->plot();
    if (!plot)
        return Status::failure(tr("No plot on this tab."));
    // The dialog offers JPEG only: a name it left without a suffix means that.
    return warnUnwritten(PlotImage::saveShown(plot, fileName), tr("Save Plot"));
}

void Application::chooseMethod()
{
    const QString fileName = QFileDialog::getOpenFileName(this, tr("Open Method"), ".",
        tr("Ketrion method (*.%1);;All files (*)").arg(MethodFile::SUFFIX));
    if (!fileName.isEmpty())
        openMethod(fileName);
}

Status Application::openMethod(const QString &fileName)
{
    QFile file(fileName);
    RunOptions method = m_configuration->options();
    Status read = file.open(QIODevice::ReadOnly)
        ? MethodFile::read(file.readAll(), fileName, &method)
        : Status::failure(FileError::unreadable(fileName, file.errorString()));
    if (!read.ok()) {
        QMessageBox::warning(this, tr("Open Method"), read.message());
        return read;
    }
    const QStringList lacking = m_configuration->setOptions(method);
    m_inUse->setMethod(fileName, m_configuration->options());
    sayInUse();
    // The equations are kept, marked, for the user to edit.
    QStringList said = m_configuration->equationRefusals();
    if (!lacking.isEmpty())
        said.prepend(tr("The data file has no %1: those settings are left as they were.")
                         .arg(lacking.join(QStringLiteral(", "))));
    if (!said.isEmpty())
        QMessageBox::information(this, tr("Open Method"), said.join(QLatin1Char('\n')));
    return read;
}

Status Application::saveMethod(const QString &fileName)
{
    return warnUnwritten(OutputFile::write(fileName, MethodFile::write(m_configuration->options())),
        tr("Save Method"));
}

Status Application::saveReport(const QString &fileName)
{
    ReportProgress progress(this);
    return writeReport(fileName, progress.callback());
}

Status Application::writeReport(const QString &fileName, const ReportPages::Progress &progress)
{
    if (!m_processed)
        return warnUnwritten(noResults(fileName), tr("Save Report"));
    const QByteArray pdf
        = RunReport(m_reportInputs, m_runOptions, m_inputs.data(), m_outcome).pdf(progress);
    if (pdf.isEmpty())
        return Status::failure(FileError::unwritable(fileName, tr("Cancelled")));
    return warnUnwritten(OutputFile::write(fileName, pdf, QIODevice::WriteOnly), tr("Save Report"));
}

Status Application::saveWorkbook(const QString &fileName)
{
    if (!m_processed)
        return warnUnwritten(noResults(fileName), tr("Save Workbook"));
    return warnUnwritten(
        RunWorkbook::write(fileName, m_reportInputs, m_runOptions, m_inputs.data(), m_outcome),
        tr("Save Workbook"));
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
    Settings::remember(m_configuration->options());
    event->accept();
}
