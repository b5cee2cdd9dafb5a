// The main window driven as a user drives it: its initial state, the
// configuration invariants through real clicks, closing with the settings
// store, and the whole job (open the files, process, read the report, save).
#include "ModalAnswerer.h"
#include "batch/BatchProcess.h"

#include "app/Application.h"
#include "app/ConfigurationTab.h"
#include "app/InterferenceEquationDialog.h"
#include "app/InterferenceEquations.h"
#include "app/OutputTab.h"
#include "app/RunQcLimits.h"
#include "app/SaveDialog.h"
#include "app/WarningBar.h"
#include "parsers/MethodFile.h"
#include "parsers/QcLimitsText.h"
#include "parsers/RunOptionTable.h"
#include "processing/Trace.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>

#include <memory>

Q_DECLARE_METATYPE(QMessageBox::StandardButton)

namespace {

const QString DATA = QStringLiteral(TEST_DATA_DIR "/");
const QString EXAMPLES = QStringLiteral(TEST_HELPERS_DIR "/../examples/");
const QString RUN_HR = DATA + QStringLiteral("window_run_hr.csv");
const QString RUN_STDQC = DATA + QStringLiteral("window_run_stdqc.csv");
const QString INTERFERENCE_Q = DATA + QStringLiteral("interference_q.csv");
// EPA 200.8's equations for arsenic and cadmium, with the quadrupole's names.
const QString ARSENIC
    = QStringLiteral("[75As #1] = [75As #1] - 3.127 * ([77Se #1] - 0.815 * [82Se #1])");
const QString CADMIUM
    = QStringLiteral("[111Cd #1] = [111Cd #1] - 1.073 * ([108Cd #1] - 0.712 * [106Cd #1])");
const QString ORGANISATION = QStringLiteral("Ostrel");
const QString APPLICATION = QStringLiteral("Ketrion");

// Clicks where the style draws the check mark, as a user does.
// A line of a long table split into its fields, its quotes undone.
QStringList csvFields(const QString &line)
{
    QStringList fields { QString() };
    bool quoted = false;
    for (int k = 0; k < line.size(); ++k) {
        const QChar c = line.at(k);
        if (c == '"' && quoted && k + 1 < line.size() && line.at(k + 1) == '"')
            fields.last() += line.at(++k);
        else if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields << QString();
        else
            fields.last() += c;
    }
    return fields;
}

void clickCheck(QWidget *widget)
{
    QRect mark;
    if (auto *box = qobject_cast<QCheckBox *>(widget)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        mark = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    } else if (auto *group = qobject_cast<QGroupBox *>(widget)) {
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.lineWidth = 1;
        option.textAlignment = group->alignment();
        option.subControls
            = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxCheckBox | QStyle::SC_GroupBoxLabel;
        mark = group->style()->subControlRect(
            QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxCheckBox, group);
    }
    QTest::mouseClick(widget, Qt::LeftButton, {}, mark.center());
}

// Makes a row of a list view current, as a click does.
void selectRow(QAbstractItemView *view, int row)
{
    view->setCurrentIndex(view->model()->index(row, 0));
}

// The rows of a list or combo box.
QStringList texts(const QAbstractItemModel *model)
{
    QStringList items;
    for (int row = 0; row < model->rowCount(); ++row)
        items << model->index(row, 0).data().toString();
    return items;
}

QByteArray contents(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// Mean difference per colour channel, 0 to 255; images of other sizes differ fully.
double meanDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 255.0;
    double sum = 0.0;
    for (int row = 0; row < a.height(); ++row) {
        for (int col = 0; col < a.width(); ++col) {
            const QRgb p = a.pixel(col, row);
            const QRgb q = b.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

} // namespace

class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // The window and its configuration.
    void initialState();
    void blankOptionClicks_data();
    void blankOptionClicks();
    void tabsAndGroups();
    void listsDriveTablesAndPlots();
    void recoveryBoundsFollowPanel();
    void closing_data();
    void closing();
    void settingsWrittenBeforeTheUpgrade();
    void settingsOutOfRange();
    void choicesAcrossFiles();
    void equationCheckedAsTyped_data();
    void equationCheckedAsTyped();
    void equationsAcrossExports();
    void equationsRemembered();

    // The whole job on files.
    void driftMonitorMissingFromNewExport();
    void openDataFile_data();
    void openDataFile();
    void cancelledDialogs_data();
    void cancelledDialogs();
    void reports_data();
    void reports();
    void runOutcomes_data();
    void runOutcomes();
    void saveOutputFileType();
    void savePlot_data();
    void savePlot();
    void savePlotWithNothingPlotted_data();
    void savePlotWithNothingPlotted();
    void wholeRuns_data();
    void wholeRuns();
    void inputsInUse();
    void outputTableWhole();
    void reportProgress();
    void driftFactor();
    void methods_data();
    void methods();

    // The Results tab and the workbook.
    void resultsMatrix_data();
    void resultsMatrix();
    void resultsSort();
    void resultsFilterCopy();

private:
    void newWindow();
    // Reads a data file with that instrument chosen; its report is answered.
    void load(const QString &instrument, const QString &fileName);
    // Reads the run's data file, chooses its standards file and indium as IS.
    void loadRunFiles();
    // Sets the configuration tab as ketrion-batch's options say.
    void apply(const QStringList &options);
    void apply(const QString &line) { apply(BatchProcess::options(line)); }
    // Presses "&Process"; the QC report, when it opens, is answered with OK.
    QList<ModalAnswerer::Seen> run();
    QStringList traceLines() const;
    // What the bar above the tabs says of a subject, its lines joined by blanks.
    QString warnings(WarningBar::Subject subject) const
    {
        return widget<WarningBar>("warningBar")->lines(subject).join(' ');
    }
    void checkQcReport(const QList<ModalAnswerer::Seen> &boxes, const QStringList &reported,
        const QString &batchTrace) const;
    QStringList windowTrace(const QString &batchTrace, int *rejected, QStringList *reported) const;
    void compareWithBatch(const QStringList &options, const QString &results);
    // Reads the files of a whole run of tests/data/runs.txt, sets its options, processes.
    void processWholeRun(const QString &name);
    // The solutions the Results tab shows, in the order it shows them.
    QStringList resultsNames() const;
    // Clicks the header of the Results tab's column so named.
    void clickResultsHeader(const QString &header);
    void clearTrace();
    QAction *action(const QString &text) const;
    // Shows the solution in the output table and reads a cell of its first isotope.
    QString outputCell(const QString &solution, int column) const;
    // The window's one widget of that name; a test stops where it has none.
    template<typename T> T *widget(const char *name) const;

    QTemporaryDir settingsDir;
    QTemporaryDir work;
    QBuffer trace;
    std::unique_ptr<Application> window;
};

template<typename T> T *TestApplication::widget(const char *name) const
{
    const QList<T *> found = window->findChildren<T *>(QLatin1String(name));
    if (found.size() != 1)
        qFatal("%d widgets named %s", int(found.size()), name);
    return found.first();
}

void TestApplication::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(settingsDir.isValid() && work.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    // A closed test window must not end the event loops of later tests.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestApplication::init()
{
    QSettings(ORGANISATION, APPLICATION).clear();
    clearTrace();
    Trace::setDevice(&trace);
    newWindow();
}

void TestApplication::cleanup()
{
    window.reset();
    Trace::setDevice(nullptr);
}

void TestApplication::newWindow()
{
    window = std::make_unique<Application>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestApplication::load(const QString &instrument, const QString &fileName)
{
    // Another instrument reads the open file again first.
    ModalAnswerer answerer({ QMessageBox::Ok, QMessageBox::Ok });
    widget<QComboBox>("instrument")
        ->setCurrentIndex(widget<QComboBox>("instrument")->findText(instrument));
    window->loadDataFile(fileName);
    QVERIFY(answerer.count() >= 1);
    QVERIFY(answerer.seen().last().text.startsWith("Parsed"));
}

void TestApplication::loadRunFiles()
{
    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    QVERIFY(window->chooseStandardsFile(RUN_STDQC).ok());
    // Indium as IS: the first isotopes of the groups would leave no line to fit.
    apply(QStringLiteral("--is-ref=BLK_1 \"--is-lr=115In LR\" \"--is-mr=115In MR\""));
}

void TestApplication::apply(const QStringList &options)
{
    // Read as ketrion-batch reads its options, from their defaults or a
    // method's, which the command line's override.
    RunOptions wanted;
    wanted.instrument = window->m_configuration->options().instrument;
    const QString method = BatchProcess::value(options, "method");
    if (!method.isEmpty() && !MethodFile::read(contents(method), method, &wanted).ok())
        qFatal("method %s", qPrintable(method));
    // The files are the window's own business.
    const QStringList files { "data", "stdqc", "samples", "output", "long", "report", "method" };
    for (const QString &option : options) {
        const QString name = option.section('=', 0, 0).mid(2);
        const RunOptionTable::Row *row = RunOptionTable::find(name);
        if (files.contains(name))
            continue;
        if (!row || !row->parse(option.section('=', 1), &wanted).ok())
            qFatal("option %s", qPrintable(option));
    }
    const QStringList lacking = window->m_configuration->setOptions(wanted);
    if (!lacking.isEmpty())
        qFatal("the window lacks %s", qPrintable(lacking.join(", ")));
}

QList<ModalAnswerer::Seen> TestApplication::run()
{
    ModalAnswerer answerer({ QMessageBox::Ok, QMessageBox::Ok });
    action(QStringLiteral("&Process"))->trigger();
    return answerer.seen();
}

void TestApplication::clearTrace()
{
    trace.close();
    trace.setData(QByteArray());
    if (!trace.open(QIODevice::WriteOnly | QIODevice::Text))
        qFatal("trace buffer");
}

QStringList TestApplication::traceLines() const
{
    return QString::fromUtf8(trace.data()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QAction *TestApplication::action(const QString &text) const
{
    QAction *found = nullptr;
    for (QAction *candidate : window->findChildren<QAction *>()) {
        if (candidate->text() == text) {
            if (found)
                return nullptr; // texts must be unique
            found = candidate;
        }
    }
    return found;
}

QString TestApplication::outputCell(const QString &solution, int column) const
{
    selectRow(widget<QListView>("outputSolutions"),
        texts(widget<QListView>("outputSolutions")->model()).indexOf(solution));
    return widget<QTableView>("outputTable")->model()->index(0, column).data().toString();
}

// Nothing to process, save or plot before a file is read; "&Process" alone
// at the right edge of the tool bar; IS correction on every group,
// y-intercept, QC validation, ordinary lines.
void TestApplication::initialState()
{
    for (const char *text :
        { "&Save Plot", "&Save Output", "Save Report...", "Save Workbook...", "&Process" })
        QVERIFY2(!action(QLatin1String(text))->isEnabled(), text);
    QCOMPARE(widget<QToolBar>("toolBar")->actions().last(), action(QStringLiteral("&Process")));
    window->resize(2000, 600);
    QTRY_COMPARE(widget<QToolBar>("toolBar")->width(), 2000);
    QVERIFY(widget<QToolBar>("toolBar")
                ->widgetForAction(action(QStringLiteral("&Process")))
                ->geometry()
                .right()
        >= 1984);
    for (const QAbstractButton *on : std::initializer_list<QAbstractButton *> {
             widget<QCheckBox>("correctLR"), widget<QCheckBox>("correctMR"),
             widget<QCheckBox>("correctHR"), widget<QCheckBox>("yIntercept") })
        QVERIFY(on->isChecked());
    QVERIFY(widget<QGroupBox>("internalStandardGroup")->isChecked()
        && widget<QGroupBox>("qcGroup")->isChecked());
    QVERIFY(!widget<QCheckBox>("subtractBlank")->isChecked()
        && !widget<QGroupBox>("driftGroup")->isChecked());
    QCOMPARE(widget<QComboBox>("weighting")->currentText(), QStringLiteral("None"));
    QCOMPARE(
        widget<QSpinBox>("recoveryLow")->value() * 1000 + widget<QSpinBox>("recoveryHigh")->value(),
        60125);
}

void TestApplication::blankOptionClicks_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<bool>("yIntercept");
    QTest::addColumn<bool>("subtractBlank");

    QTest::newRow("subtract while y-intercept is on") << QStringList { "sub" } << false << true;
    QTest::newRow("subtract then y-intercept") << QStringList { "sub", "yi" } << true << false;
    QTest::newRow("to neither") << QStringList { "yi", "sub", "sub" } << false << false;
}

void TestApplication::blankOptionClicks()
{
    QFETCH(QStringList, clicks);
    QFETCH(bool, yIntercept);
    QFETCH(bool, subtractBlank);

    for (const QString &name : clicks) {
        clickCheck(name == QLatin1String("sub") ? widget<QCheckBox>("subtractBlank")
                                                : widget<QCheckBox>("yIntercept"));
        const bool y = widget<QCheckBox>("yIntercept")->isChecked();
        const bool s = widget<QCheckBox>("subtractBlank")->isChecked();
        QVERIFY2(!(y && s), "both blank options checked");
        QCOMPARE(widget<QComboBox>("blank")->isEnabled(), y || s);
    }
    QCOMPARE(widget<QCheckBox>("yIntercept")->isChecked(), yIntercept);
    QCOMPARE(widget<QCheckBox>("subtractBlank")->isChecked(), subtractBlank);
}

// The save commands follow the tab; the IS group disables what it holds.
void TestApplication::tabsAndGroups()
{
    const struct
    {
        const char *tab;
        bool plotSave;
        bool saveFile;
    } steps[] = { { "outputTab", false, true }, { "calibrationTab", true, false },
        { "internalStandardTab", true, false }, { "configurationTab", false, false },
        { "evolutionTab", true, false }, { "resultsTab", false, false },
        { "inputTab", false, false } };
    QTabBar *bar = widget<QTabWidget>("tabs")->tabBar();
    for (const auto &step : steps) {
        QWidget *page = window->findChild<QWidget *>(QLatin1String(step.tab));
        QTest::mouseClick(bar, Qt::LeftButton, {},
            bar->tabRect(widget<QTabWidget>("tabs")->indexOf(page)).center());
        QCOMPARE(action(QStringLiteral("&Save Plot"))->isEnabled(), step.plotSave);
        QCOMPARE(action(QStringLiteral("&Save Output"))->isEnabled(), step.saveFile);
    }
    for (bool on : { false, true }) {
        clickCheck(widget<QGroupBox>("internalStandardGroup"));
        for (QWidget *inside : std::initializer_list<QWidget *> {
                 widget<QGroupBox>("internalStandardIsotopes"), widget<QComboBox>("isotopeLR"),
                 widget<QCheckBox>("correctHR"), widget<QComboBox>("referenceSolution") })
            QCOMPARE(inside->isEnabled(), on);
        QVERIFY(widget<QCheckBox>("correctLR")->isChecked());
    }
}

void TestApplication::listsDriveTablesAndPlots()
{
    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    // The working set differs from the instrument set, as after a correction.
    window->m_outcome.working.solution(1).setIntensity(0, 1.25);
    QCOMPARE(outputCell(QStringLiteral("BLK_2"), 1), QStringLiteral("1.25"));
    selectRow(widget<QListView>("inputSolutions"), 1);
    QCOMPARE(widget<QTableView>("inputTable")->model()->index(2, 1).data().toString(),
        QStringLiteral("70.00"));
    selectRow(widget<QListView>("evolutionIsotopes"), 2);
    QCOMPARE(widget<QwtPlot>("evolutionPlot")->title().text(),
        QStringLiteral("Evolution BLK - 59Co MR"));
    widget<QComboBox>("evolutionPattern")->setCurrentIndex(1);
    QCOMPARE(
        widget<QwtPlot>("evolutionPlot")->title().text(), QStringLiteral("Evolution VS - 59Co MR"));
    selectRow(widget<QListView>("calibrationIsotopes"), 3);
    QVERIFY(
        widget<QwtPlot>("calibrationPlot")->title().text().contains(QStringLiteral("115In MR")));
    widget<QComboBox>("isotopeMR")->setCurrentIndex(1);
    QCOMPARE(texts(widget<QComboBox>("internalStandardPlotChoice")->model()),
        QStringList({ "LR Internal Standard : 7Li LR", "MR Internal Standard : 115In MR",
            "HR Internal Standard : " }));
    widget<QComboBox>("internalStandardPlotChoice")->setCurrentIndex(1);
    QCOMPARE(widget<QwtPlot>("internalStandardPlot")->title().text(),
        QStringLiteral("Internal Standard 115In MR"));

    // Another file, even of the other instrument: nothing of this one stays
    // drawn, before or after a run, until something is picked.
    load(QStringLiteral("Q-ICP-MS"), EXAMPLES + "q_export.csv");
    QVERIFY(window->chooseStandardsFile(EXAMPLES + "q_stdqc.csv").ok());
    for (int pass = 0; pass < 2; ++pass) {
        QCOMPARE(widget<QwtPlot>("calibrationPlot")->title().text(), QStringLiteral("Calibration"));
        QCOMPARE(widget<QwtPlot>("evolutionPlot")->title().text(), QStringLiteral("Evolution"));
        for (QwtPlot *plot :
            { widget<QwtPlot>("calibrationPlot"), widget<QwtPlot>("evolutionPlot") }) {
            for (const QwtPlotItem *item : plot->itemList(QwtPlotItem::Rtti_PlotCurve))
                QCOMPARE(static_cast<const QwtPlotCurve *>(item)->dataSize(), size_t(0));
            QVERIFY(!plot->legend());
        }
        QCOMPARE(widget<QwtPlot>("internalStandardPlot")->title().text(),
            "Internal Standard " + widget<QComboBox>("isotopeLR")->currentText());
        run();
    }
}

// The IS plot's dashed bounds and red points follow the panel before any run.
void TestApplication::recoveryBoundsFollowPanel()
{
    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    // The bounds' line names them in the legend while it is drawn.
    const auto bounds = [this] {
        for (QwtPlotItem *item :
            widget<QwtPlot>("internalStandardPlot")->itemList(QwtPlotItem::Rtti_PlotCurve)) {
            if (item->title().text().startsWith("IS recovery")
                && static_cast<QwtPlotCurve *>(item)->dataSize() > 0)
                return item->title().text();
        }
        return QString();
    };
    apply(QStringLiteral("--is-ref=BLK_1 \"--is-lr=115In LR\" --is-recovery=85,95"));
    QCOMPARE(bounds(), QStringLiteral("IS recovery 85-95 % of BLK_1"));
    widget<QSpinBox>("recoveryHigh")->setValue(99);
    QCOMPARE(bounds(), QStringLiteral("IS recovery 85-99 % of BLK_1"));
    widget<QComboBox>("referenceSolution")
        ->setCurrentIndex(widget<QComboBox>("referenceSolution")->findText(QStringLiteral("S_1")));
    QCOMPARE(bounds(), QStringLiteral("IS recovery 85-99 % of S_1"));
    clickCheck(widget<QGroupBox>("internalStandardGroup"));
    QCOMPARE(bounds(), QString());
}

void TestApplication::closing_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QString>("chosen"); // on the run file; empty: nothing read
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("next"); // instrument|file read after the restart
    QTest::addColumn<QStringList>("expected"); // LR, MR, HR texts after that read

    QTest::newRow("no keeps the window")
        << QMessageBox::No << "\"--is-lr=115In LR\"" << QStringList() << "" << QStringList();
    QTest::newRow("yes before any file stores nothing")
        << QMessageBox::Yes << "" << QStringList() << "" << QStringList();
    // Bounds both below and both above the defaults 60 and 125: each box's
    // range depends on the other's value. The run file has no HR isotope.
    const QStringList keys { "Acceptance", "AcceptanceMinimumR2", "AcceptanceTolerance", "LR", "MR",
        "RecoveryHigh", "RecoveryLow", "Weighting" };
    QTest::newRow("back after a restart, for another file with the same isotopes")
        << QMessageBox::Yes
        << "\"--is-lr=115In LR\" \"--is-mr=115In MR\" --weighting=1/x --is-recovery=10,50 "
           "--acceptance=0.99,5"
        << keys << "HR-ICP-MS|" + EXAMPLES + "hr_export.csv"
        << QStringList { "115In LR", "115In MR", "75As HR", "STD_1" };
    // The monitor is kept with the correction on; the run file offers STD and S
    // (its blanks measure the background: no monitor).
    QTest::newRow("drift correction and its monitor back")
        << QMessageBox::Yes << "--drift=S"
        << QStringList { "DriftCorrection", "DriftMonitor", "LR", "MR" } << "HR-ICP-MS|" + RUN_HR
        << QStringList { "7Li LR", "59Co MR", "", "S" };
    QTest::newRow("QC limits back after a restart")
        << QMessageBox::Yes << "--qc-limits=ICV=92.5-107.5,CCB=0.0001,EVERY=12,MB=2"
        << QStringList { "LR", "MR", "QcLimits" } << "HR-ICP-MS|" + RUN_HR
        << QStringList { "7Li LR", "59Co MR", "", "STD" };
}

void TestApplication::closing()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QString, chosen);
    QFETCH(QStringList, keys);
    QFETCH(QString, next);
    QFETCH(QStringList, expected);

    // The run file lists 7Li and 59Co first: the stored choices are not the defaults.
    if (!chosen.isEmpty()) {
        load(QStringLiteral("HR-ICP-MS"), RUN_HR);
        apply(chosen);
    }
    const QString weighting = widget<QComboBox>("weighting")->currentText();
    const int bounds = widget<QSpinBox>("recoveryLow")->value() * 1000
        + widget<QSpinBox>("recoveryHigh")->value();
    const auto acceptance = [this] {
        return QList<double> { double(widget<QGroupBox>("acceptanceGroup")->isChecked()),
            widget<QDoubleSpinBox>("minimumR2")->value(),
            widget<QDoubleSpinBox>("tolerance")->value() };
    };
    const QList<double> accepted = acceptance();
    const QString limits = QcLimitsText::format(widget<RunQcLimits>("runQcGroup")->limits());
    ModalAnswerer::Seen box;
    {
        ModalAnswerer answerer({ answer });
        action(QStringLiteral("&Quit"))->trigger();
        QCOMPARE(answerer.count(), 1);
        box = answerer.seen().first();
    }
    QCOMPARE(box.title, QStringLiteral("Close"));
    QCOMPARE(box.text, QStringLiteral("Do you really want to close this application ?"));
    QCOMPARE(box.defaultButton, QMessageBox::Yes);
    QCOMPARE(window->isVisible(), answer == QMessageBox::No);
    QStringList found = QSettings(ORGANISATION, APPLICATION).allKeys();
    found.sort();
    QCOMPARE(found, keys);
    if (next.isEmpty())
        return;

    newWindow();
    // Before a file is read the isotope boxes are empty whatever is stored;
    // the other choices are back at once.
    QCOMPARE(widget<QComboBox>("isotopeLR")->count(), 0);
    QCOMPARE(widget<QComboBox>("weighting")->currentText(), weighting);
    QCOMPARE(
        widget<QSpinBox>("recoveryLow")->value() * 1000 + widget<QSpinBox>("recoveryHigh")->value(),
        bounds);
    QCOMPARE(acceptance(), accepted);
    QCOMPARE(QcLimitsText::format(widget<RunQcLimits>("runQcGroup")->limits()), limits);
    QCOMPARE(widget<QGroupBox>("driftGroup")->isChecked(), keys.contains("DriftCorrection"));
    load(next.section('|', 0, 0), next.section('|', 1));
    QCOMPARE(QStringList({ widget<QComboBox>("isotopeLR")->currentText(),
                 widget<QComboBox>("isotopeMR")->currentText(),
                 widget<QComboBox>("isotopeHR")->currentText(),
                 widget<QComboBox>("driftMonitor")->currentText() }),
        expected);
}

// A settings file as the earlier versions wrote it: every choice comes back.
void TestApplication::settingsWrittenBeforeTheUpgrade()
{
    window.reset();
    QFile earlier(DATA + "settings_written_before_the_upgrade.conf");
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QDir().mkpath(settingsDir.filePath(ORGANISATION));
    QFile store(settingsDir.filePath(ORGANISATION + "/" + APPLICATION + ".conf"));
    QVERIFY(store.open(QIODevice::WriteOnly)
        && store.write(earlier.readAll().replace("@@DATA@", TEST_DATA_DIR)) > 0);
    store.close();
    newWindow();
    QCOMPARE(widget<QComboBox>("weighting")->currentText(), QString::fromUtf8("1/x\u00b2"));
    QCOMPARE(
        widget<QSpinBox>("recoveryLow")->value() * 1000 + widget<QSpinBox>("recoveryHigh")->value(),
        70110);
    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    QCOMPARE(widget<QComboBox>("isotopeLR")->currentText() + '|'
            + widget<QComboBox>("isotopeMR")->currentText(),
        QStringLiteral("115In LR|115In MR"));
    QCOMPARE(run().value(0).title, QStringLiteral("Quality Controls"));
}

// A store edited by hand with values no run accepts: the window keeps its own,
// those the command line and a method file would also take.
void TestApplication::settingsOutOfRange()
{
    window.reset();
    QSettings store(ORGANISATION, APPLICATION);
    store.setValue("RecoveryLow", 130);
    store.setValue("RecoveryHigh", 125);
    store.setValue("AcceptanceTolerance", 0.0);
    store.setValue("AcceptanceMinimumR2", 0.99);
    store.setValue("QcLimits", "EVERY=12,ICV=110-90");
    store.sync();
    newWindow();
    QCOMPARE(
        widget<QSpinBox>("recoveryLow")->value() * 1000 + widget<QSpinBox>("recoveryHigh")->value(),
        60125);
    QCOMPARE(widget<QDoubleSpinBox>("tolerance")->value(), 10.0);
    QCOMPARE(widget<QDoubleSpinBox>("minimumR2")->value(), 0.99);
    QCOMPARE(QcLimitsText::format(widget<RunQcLimits>("runQcGroup")->limits()),
        QcLimitsText::format(QcLimits()));
}

// The choices made stay when another export has them, and the status bar
// names those it lacks; another instrument reads the open file again.
void TestApplication::choicesAcrossFiles()
{
    loadRunFiles();
    apply(QStringLiteral("--is-ref=S_1 \"--is-lr=115In LR\" \"--is-mr=115In MR\""));
    load(QStringLiteral("HR-ICP-MS"), EXAMPLES + "hr_export.csv");
    QCOMPARE(widget<QComboBox>("isotopeLR")->currentText() + '|'
            + widget<QComboBox>("isotopeMR")->currentText(),
        QStringLiteral("115In LR|115In MR"));
    QCOMPARE(warnings(WarningBar::Subject::Export),
        QStringLiteral("Not in this file: S_1 (IS reference)."));
    ModalAnswerer answerer({ QMessageBox::Ok });
    widget<QComboBox>("instrument")
        ->setCurrentIndex(widget<QComboBox>("instrument")->findText(QStringLiteral("Q-ICP-MS")));
    QCOMPARE(answerer.seen().value(0).text,
        QStringLiteral("Input file format error: no solution detected (instrument set to "
                       "'Q-ICP-MS')"));
    QVERIFY(!action(QStringLiteral("&Process"))->isEnabled());
    QCOMPARE(widget<QListView>("inputSolutions")->model()->rowCount(), 0);
}

void TestApplication::equationCheckedAsTyped_data()
{
    // ketrion-batch's options on the quadrupole run, its equations among them;
    // the row edited (-1: Add), the text typed, what the dialog shows under it.
    QTest::addColumn<QString>("options");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("holds");

    const QString indium = QStringLiteral("--is-ref=BLK_1 \"--is-lr=115In #1\" ");
    const QString arsenic = QStringLiteral("\"--interference=%1\" ").arg(ARSENIC);
    const QString cadmium = QStringLiteral("\"--interference=%1\" ").arg(CADMIUM);
    QTest::newRow("good") << indium << -1 << ARSENIC
                          << "Expanded: 75As #1 = 1 x 75As #1 - 3.127 x 77Se #1 + 2.5485 x 82Se #1"
                          << true;
    QTest::newRow("syntax error")
        << indium << -1 << "[75As #1] = [75As #1] - 3.127 [77Se #1]"
        << "Interference equation '[75As #1] = [75As #1] - 3.127 [77Se #1]', character 31: "
           "unexpected '[': expected '+', '-', '*' or the end."
        << false;
    QTest::newRow("unknown isotope")
        << indium << -1 << "[75As #1] = [75As #1] - 0.1 * [77Se #2]"
        << "Interference equation '[75As #1] = [75As #1] - 0.1 * [77Se #2]', character 31: "
           "unknown isotope '77Se #2'."
        << false;
    QTest::newRow("IS target")
        << indium << -1 << "[115In #1] = [115In #1] - 0.01 * [111Cd #1]"
        << "Interference equation '[115In #1] = [115In #1] - 0.01 * [111Cd #1]', character 1: "
           "'115In #1' is the IS isotope of a group corrected."
        << false;
    QTest::newRow("indium without IS correction")
        << "--blank=BLK_1" << -1 << "[115In #1] = [115In #1] - 0.01 * [111Cd #1]"
        << "Expanded: 115In #1 = 1 x 115In #1 - 0.01 x 111Cd #1" << true;
    QTest::newRow("indium, its group not corrected")
        << indium + "--is-groups=MR" << -1 << "[115In #1] = [115In #1] - 0.01 * [111Cd #1]"
        << "Expanded: 115In #1 = 1 x 115In #1 - 0.01 x 111Cd #1" << true;
    QTest::newRow("an earlier equation's target")
        << indium + arsenic << -1 << "[75As #1] = [75As #1] - 2 * [77Se #1]"
        << "Interference equation '[75As #1] = [75As #1] - 2 * [77Se #1]', character 1: "
           "'75As #1' is the target of an earlier equation."
        << false;
    QTest::newRow("edited, its own target")
        << indium + arsenic + cadmium << 0 << "[75As #1] = [75As #1] - 3 * [77Se #1]"
        << "Expanded: 75As #1 = 1 x 75As #1 - 3 x 77Se #1" << true;
    QTest::newRow("edited before an equation refused already")
        << indium + arsenic + "\"--interference=[7Li LR] = [7Li LR] - 0.1 * [75As #1]\"" << 0
        << "[75As #1] = [75As #1] - 3 * [77Se #1]"
        << "Expanded: 75As #1 = 1 x 75As #1 - 3 x 77Se #1" << true;
    QTest::newRow("edited to a later equation's target")
        << indium + arsenic + cadmium << 0 << "[111Cd #1] = [111Cd #1] - 0.5 * [95Mo #1]"
        << "Interference equation '" + CADMIUM
            + "', character 1: '111Cd #1' is the target of an earlier equation."
        << false;
}

// Add and Edit show why an equation cannot be taken as it is typed, and
// take only one that holds, also when called directly.
void TestApplication::equationCheckedAsTyped()
{
    QFETCH(QString, options);
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, holds);

    load(QStringLiteral("Q-ICP-MS"), INTERFERENCE_Q);
    apply(options);
    auto *group = widget<InterferenceEquations>("interferenceGroup");
    const QStringList before = group->equations();
    const std::unique_ptr<InterferenceEquationDialog> dialog = group->equationDialog(row);
    auto *text = dialog->findChild<QLineEdit *>("equationText");
    QCOMPARE(text->text(), before.value(row));
    text->clear();
    QTest::keyClicks(text, typed);
    QCOMPARE(dialog->findChild<QLabel *>("equationCheck")->text(), shown);
    QCOMPARE(
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled(), holds);

    const Status taken = row == -1 ? group->addEquation(dialog->text())
                                   : group->replaceEquation(row, dialog->text());
    QCOMPARE(taken.ok(), holds);
    QStringList after = before;
    if (holds && row == -1)
        after.append(typed);
    else if (holds)
        after[row] = typed;
    QCOMPARE(group->equations(), after);
    QCOMPARE(taken.message(), holds ? QString() : shown);
}

// Equations stay when another export is read; those it breaks are named in
// the status bar and marked, and Process refuses them, until an export that
// has their isotopes is read again.
void TestApplication::equationsAcrossExports()
{
    load(QStringLiteral("Q-ICP-MS"), INTERFERENCE_Q);
    apply(QStringLiteral("--blank=BLK_1"));
    auto *group = widget<InterferenceEquations>("interferenceGroup");
    auto *list = widget<QListWidget>("equationList");
    QVERIFY(group->addEquation(ARSENIC).ok() && group->addEquation(CADMIUM).ok());
    const QString expanded = "75As #1 = 1 x 75As #1 - 3.127 x 77Se #1 + 2.5485 x 82Se #1";
    const QString lost = "Interference equation '" + ARSENIC
        + "', character 1: unknown isotope '75As #1'. Interference equation '" + CADMIUM
        + "', character 1: unknown isotope '111Cd #1'.";
    for (const bool holds : { false, true }) {
        load(holds ? QStringLiteral("Q-ICP-MS") : QStringLiteral("HR-ICP-MS"),
            holds ? INTERFERENCE_Q : RUN_HR);
        QCOMPARE(group->equations(), QStringList({ ARSENIC, CADMIUM }));
        QCOMPARE(warnings(WarningBar::Subject::Export).contains(lost), !holds);
        QCOMPARE(list->item(0)->toolTip(), holds ? expanded : lost.section(". ", 0, 0) + '.');
        QCOMPARE(list->item(1)->icon().isNull(), holds);
    }
    // Indium, the last isotope, then arsenic, the first, as the IS isotope
    // of a group corrected.
    clickCheck(widget<QGroupBox>("internalStandardGroup"));
    auto *standard = widget<QComboBox>("isotopeLR");
    standard->setCurrentIndex(standard->count() - 1);
    QVERIFY(list->item(0)->icon().isNull());
    standard->setCurrentIndex(0);
    QCOMPARE(list->item(0)->toolTip(),
        "Interference equation '" + ARSENIC
            + "', character 1: '75As #1' is the IS isotope of a group corrected.");
    QVERIFY(window->chooseStandardsFile(DATA + "interference_q_stdqc.csv").ok());
    const QList<ModalAnswerer::Seen> boxes = run();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(
        boxes.first().title + ": " + boxes.first().text, "Process: " + list->item(0)->toolTip());
    QVERIFY(!window->m_processed);

    // Edit shows the row's equation and its check; Remove takes it away.
    clickCheck(widget<QGroupBox>("internalStandardGroup"));
    QVERIFY(list->item(0)->icon().isNull());
    list->setCurrentRow(0);
    {
        ModalAnswerer answerer({ QMessageBox::Ok });
        QTest::mouseClick(widget<QPushButton>("editEquationButton"), Qt::LeftButton);
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.seen().first().title, QStringLiteral("Edit interference equation 1"));
        QVERIFY(answerer.seen().first().labels.contains("Expanded: " + expanded));
    }
    QTest::mouseClick(widget<QPushButton>("removeEquationButton"), Qt::LeftButton);
    QCOMPARE(group->equations(), QStringList { CADMIUM });
}

// The equations come back after a restart as they were typed, before any
// export is read; an empty list is remembered too.
void TestApplication::equationsRemembered()
{
    load(QStringLiteral("Q-ICP-MS"), INTERFERENCE_Q);
    // Blanks, a tab and a decimal comma, which never holds but may come from a method.
    const QString spaced
        = QStringLiteral("[ 111Cd #1\t]=[111Cd #1]-1.073*([108Cd #1]-.712*[106Cd #1])");
    const QString comma = QStringLiteral("[82Se #1] = [82Se #1] - 3,127 * [77Se #1], \"x\"");
    RunOptions options = window->m_configuration->options();
    options.interference = QStringList { ARSENIC, spaced, comma };
    window->m_configuration->setOptions(options);
    for (const QStringList &kept : { options.interference, QStringList() }) {
        {
            ModalAnswerer answerer({ QMessageBox::Yes });
            action(QStringLiteral("&Quit"))->trigger();
        }
        QVERIFY(QSettings(ORGANISATION, APPLICATION).contains("InterferenceEquations"));
        newWindow();
        auto *group = widget<InterferenceEquations>("interferenceGroup");
        QCOMPARE(group->equations(), kept);
        // Nothing to check them against yet: nothing marked, nothing added.
        QCOMPARE(group->refusals(), QStringList());
        QVERIFY(!widget<QPushButton>("addEquationButton")->isEnabled());
        load(QStringLiteral("Q-ICP-MS"), INTERFERENCE_Q);
        // Without the IS correction, on by default with arsenic, the first isotope.
        clickCheck(widget<QGroupBox>("internalStandardGroup"));
        const QString refused = "Interference equation '" + comma
            + "', character 26: unexpected ',': expected '+', '-', '*' or the end.";
        QCOMPARE(group->refusals(), kept.isEmpty() ? QStringList() : QStringList { refused });
        while (!group->equations().isEmpty())
            group->removeEquation(0);
    }
}

// The title names the data file, the Input tab the files and method in use;
// once an option, the standards file or the sample sheet changes after a run,
// the bar says the results are out of date, until Process or the change is
// undone.
void TestApplication::inputsInUse()
{
    const QString title = window->windowTitle();
    const auto files = [this] { return widget<QLabel>("filesInUse")->text(); };
    const auto outOfDate
        = [this] { return window->m_warnings->lines(WarningBar::Subject::Results); };
    QCOMPARE(files(),
        "Standards file: none chosen · Sample sheet: none (factor 1) · Method: none (the options "
        "as set)");
    loadRunFiles();
    QCOMPARE(window->windowTitle(), QFileInfo(RUN_HR).fileName() + " — Ketrion");
    QVERIFY(files().startsWith("Standards file: " + QFileInfo(RUN_STDQC).fileName() + " · "));
    run();
    QCOMPARE(outOfDate(), QStringList());
    widget<QComboBox>("weighting")->setCurrentIndex(1);
    QCOMPARE(outOfDate(),
        QStringList("The results are out of date: the options changed since the last Process."));
    widget<QComboBox>("weighting")->setCurrentIndex(0);
    QCOMPARE(outOfDate(), QStringList());
    QVERIFY(window->chooseSampleSheet(DATA + "digest_mass_volume_sheet.csv").ok());
    widget<RunQcLimits>("runQcGroup")->findChild<QSpinBox *>("EVERYCount")->setValue(12);
    QCOMPARE(outOfDate(),
        QStringList("The results are out of date: the options and the sample sheet changed since "
                    "the last Process."));
    QVERIFY(files().contains("Sample sheet: digest_mass_volume_sheet.csv · "));
    QVERIFY(window->chooseSampleSheet({}).ok());
    QCOMPARE(outOfDate(),
        QStringList("The results are out of date: the options changed since the last Process."));
    run();
    QCOMPARE(outOfDate(), QStringList());
    const QString method = work.filePath("in_use.ketrion-method");
    QVERIFY(window->saveMethod(method).ok() && window->openMethod(method).ok());
    QVERIFY(files().endsWith("Method: in_use.ketrion-method"));
    clickCheck(widget<QGroupBox>("driftGroup"));
    QVERIFY(files().endsWith("Method: in_use.ketrion-method (options changed since)"));
    // Read again by an instrument that refuses it: no data file, the
    // window's own title.
    {
        ModalAnswerer answerer({ QMessageBox::Ok });
        widget<QComboBox>("instrument")->setCurrentText(QStringLiteral("Q-ICP-MS"));
        QCOMPARE(answerer.count(), 1);
    }
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(outOfDate(), QStringList());
}

// Save Report tells each page while the pages are counted, then while they
// are drawn; stopped in either pass, the earlier file stays as it was.
void TestApplication::reportProgress()
{
    loadRunFiles();
    run();
    const QString pdf = work.filePath("progress.pdf");
    QFile earlier(pdf);
    QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
    earlier.close();
    QList<QPair<int, int>> told;
    QVERIFY(window
                ->writeReport(pdf,
                    [&told](int page, int pageCount) {
                        told << qMakePair(page, pageCount);
                        return true;
                    })
                .ok());
    QVERIFY(!told.isEmpty());
    const int pageCount = told.last().second;
    QVERIFY(pageCount >= 3);
    QCOMPARE(told.last().first, pageCount);
    QCOMPARE(told.first(), qMakePair(2, 0));
    QVERIFY(told.contains(qMakePair(2, pageCount)));
    QVERIFY(BatchProcess::run("pdfinfo", { pdf })
                .out.contains(QRegularExpression(QStringLiteral("Pages: +%1\n").arg(pageCount))));
    for (const int drawing : { 0, 1 }) {
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
        earlier.close();
        const Status stopped = window->writeReport(pdf, [drawing](int page, int pageCount) {
            return !(page == 3 && (pageCount > 0) == bool(drawing));
        });
        QVERIFY(!stopped.ok());
        QCOMPARE(contents(pdf), QByteArray("earlier"));
    }
}

// At the window's size, the Output table shows its last column whole.
void TestApplication::outputTableWhole()
{
    loadRunFiles();
    run();
    widget<QTabWidget>("tabs")->setCurrentWidget(window->m_output);
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    auto *table = widget<QTableView>("outputTable");
    selectRow(widget<QListView>("outputSolutions"), 0);
    const int last = table->model()->columnCount() - 1;
    QVERIFY2(table->columnViewportPosition(last) + table->columnWidth(last)
            <= table->viewport()->width(),
        qPrintable(QStringLiteral("%1 + %2 > %3")
                       .arg(table->columnViewportPosition(last))
                       .arg(table->columnWidth(last))
                       .arg(table->viewport()->width())));
}

// A drift monitor the new export lacks turns the correction off, said in the
// bar above the tabs, which stays until dismissed.
void TestApplication::driftMonitorMissingFromNewExport()
{
    loadRunFiles();
    apply(QStringLiteral("--is-ref=BLK_1 \"--is-lr=115In LR\" \"--is-mr=115In MR\" --drift=S"));
    QVERIFY(widget<QGroupBox>("driftGroup")->isChecked());
    load(QStringLiteral("HR-ICP-MS"), EXAMPLES + "hr_export.csv");
    QVERIFY(!widget<QGroupBox>("driftGroup")->isChecked());
    QCOMPARE(warnings(WarningBar::Subject::Export),
        QStringLiteral("Not in this file: S (drift monitor: drift correction turned off)."));
    window->statusBar()->showMessage(QStringLiteral("a hover's tip"));
    QVERIFY(widget<WarningBar>("warningBar")->isVisible());
    QTest::mouseClick(widget<QToolButton>("dismissWarnings"), Qt::LeftButton);
    QVERIFY(!widget<WarningBar>("warningBar")->isVisible());
    QCOMPARE(warnings(WarningBar::Subject::Export), QString());
}

void TestApplication::openDataFile_data()
{
    QTest::addColumn<QStringList>("reads"); // instrument|file, in order; the last one is checked
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("solutions");
    QTest::addColumn<int>("isotopes");

    const QString hr = "HR-ICP-MS|" + EXAMPLES + "hr_export.csv";
    QTest::newRow("high-resolution example")
        << QStringList { hr } << "Parsed Elements 19\n\nParsed Solutions 53" << 53 << 19;
    // A file refused, or that cannot be read, leaves the one loaded.
    QTest::newRow("quadrupole file read as high resolution, after a good read")
        << QStringList { hr, "HR-ICP-MS|" + EXAMPLES + "q_export.csv" }
        << "Input file format error: no element detected (instrument set to 'HR-ICP-MS')\n\n"
           "hr_export.csv stays loaded, read as HR-ICP-MS."
        << 53 << 19;
    QTest::newRow("quadrupole file read as high resolution, first")
        << QStringList { "HR-ICP-MS|" + EXAMPLES + "q_export.csv" }
        << "Input file format error: no element detected (instrument set to 'HR-ICP-MS')" << 0 << 0;
    QTest::newRow("missing file after a good read")
        << QStringList { hr, "HR-ICP-MS|" + DATA + "nowhere.csv" }
        << "Cannot read file " + DATA + "nowhere.csv:\nNo such file or directory." << 53 << 19;
}

void TestApplication::openDataFile()
{
    QFETCH(QStringList, reads);
    QFETCH(QString, message);
    QFETCH(int, solutions);
    QFETCH(int, isotopes);

    ModalAnswerer::Seen last;
    bool accepted = false;
    for (const QString &read : reads) {
        widget<QComboBox>("instrument")
            ->setCurrentIndex(
                widget<QComboBox>("instrument")->findText(read.section(QLatin1Char('|'), 0, 0)));
        ModalAnswerer answerer({ QMessageBox::Ok });
        accepted = window->loadDataFile(read.section(QLatin1Char('|'), 1)).ok();
        QCOMPARE(answerer.count(), 1);
        last = answerer.seen().first();
    }
    const bool unreadable = message.startsWith(QLatin1String("Cannot read"));
    QCOMPARE(last.title, unreadable ? QStringLiteral("Read File") : QStringLiteral("Parsing CSV"));
    QCOMPARE(last.text, message);
    QCOMPARE(accepted, message.startsWith(QLatin1String("Parsed")));
    const bool shown = solutions > 0;
    QCOMPARE(action(QStringLiteral("&Process"))->isEnabled(), shown);
    QCOMPARE(widget<QListView>("inputSolutions")->model()->rowCount(), solutions);
    QCOMPARE(widget<QListView>("calibrationIsotopes")->model()->rowCount()
            + widget<QListView>("evolutionIsotopes")->model()->rowCount(),
        2 * isotopes);
    QCOMPARE(widget<QComboBox>("evolutionPattern")->count()
            + widget<QComboBox>("internalStandardPlotChoice")->count(),
        shown ? 6 : 0);
    QCOMPARE(
        widget<QComboBox>("isotopeLR")->count() + widget<QComboBox>("blank")->count() > 0, shown);
    // The average blanks close the working set's list and are no IS reference.
    // A file read and refused leaves nothing of the earlier one drawn.
    for (const QwtPlotItem *item :
        widget<QwtPlot>("internalStandardPlot")->itemList(QwtPlotItem::Rtti_PlotCurve))
        QVERIFY(shown || static_cast<const QwtPlotCurve *>(item)->dataSize() == 0);
    const QStringList averages
        = shown ? QStringList { "BLK_Avg_All", "BLK_Avg_First_Seq" } : QStringList();
    QCOMPARE(texts(widget<QListView>("outputSolutions")->model()).mid(solutions), averages);
    QCOMPARE(widget<QComboBox>("referenceSolution")->count(), solutions);
    // Nothing processed yet: no results to save, and nothing written.
    ModalAnswerer answerer({ QMessageBox::Ok });
    QVERIFY(!window->saveResults(work.filePath("early.csv")).ok());
    QCOMPARE(answerer.seen().value(0).text,
        "Cannot write file " + work.filePath("early.csv")
            + ":\nThere are no results yet: press Process first.");
    QVERIFY(!QFile::exists(work.filePath("early.csv")));
}

void TestApplication::cancelledDialogs_data()
{
    QTest::addColumn<QStringList>("command"); // its text, the tab it needs, the dialog's title
    QTest::newRow("data file") << QStringList { "&Data File", "inputTab", "Choose a Data file" };
    QTest::newRow("standards file")
        << QStringList { "&STD-QC File", "inputTab", "Choose a file - QC & STD" };
    QTest::newRow("results") << QStringList { "&Save Output", "outputTab", "Choose a file name" };
    QTest::newRow("plot") << QStringList { "&Save Plot", "calibrationTab", "Save Current Plot" };
}

void TestApplication::cancelledDialogs()
{
    QFETCH(QStringList, command);

    loadRunFiles();
    run();
    widget<QTabWidget>("tabs")->setCurrentWidget(window->findChild<QWidget *>(command.at(1)));
    // Nothing planned: the file dialog is dismissed as with Cancel.
    ModalAnswerer answerer({});
    action(command.at(0))->trigger();
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.seen().first().title, command.at(2));
    QCOMPARE(
        QSettings(ORGANISATION, APPLICATION).value(QStringLiteral("File")).toString(), RUN_STDQC);
    QCOMPARE(QDir(work.path()).entryList(QDir::Files), QStringList {});
    // Only a cancelled data file takes "&Process" away, until a file is read again.
    QCOMPARE(action(QStringLiteral("&Process"))->isEnabled(), command.at(0) != "&Data File");
}

void TestApplication::reports_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("title"); // empty: no report
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QList<QStringList>>("lists");

    const QString qc = QStringLiteral("Quality Controls");
    QTest::newRow("QC report, also when nothing failed")
        << "--is-ref=BLK_1 \"--is-lr=115In LR\" \"--is-mr=115In MR\" --is-groups=MR --blank=BLK_1 "
           "--is-recovery=0,200"
        << qc
        << QStringList { "Quality Control <b>Not valid</b> : 0 / 2",
               "IS recovery <b>outside 0-200 %</b> : 0 / 8" }
        << QList<QStringList> { {}, {} };
    // Indium against BLK_1 is 98, 96, 95, 94, 80, 99, 90 and 85 %.
    QTest::newRow("QC and recovery failures")
        << "--is-ref=BLK_1 \"--is-lr=115In LR\" --is-groups=LR --blank=BLK_Avg_First_Seq "
           "--is-recovery=85,95"
        << qc
        << QStringList { "Quality Control <b>Not valid</b> : 1 / 2",
               "IS recovery <b>outside 85-95 %</b> : 4 / 8" }
        << QList<QStringList> { { "QC_1 : 59Co MR" },
               { "BLK_2 : 115In LR (98.0 %)", "STD_1 : 115In LR (96.0 %)",
                   "S_1 : 115In LR (80.0 %)", "BLK_3 : 115In LR (99.0 %)" } };
    QTest::newRow("no QC: the recovery report alone")
        << "--is-ref=BLK_1 \"--is-lr=115In LR\" --is-groups=LR --blank=BLK_1 --is-recovery=90,100 "
           "--no-qc"
        << "Internal Standard Recovery"
        << QStringList { "IS recovery <b>outside 90-100 %</b> : 2 / 8" }
        << QList<QStringList> { { "S_1 : 115In LR (80.0 %)", "S_2 : 115In LR (85.0 %)" } };
    QTest::newRow("no QC, nothing outside: no report")
        << "--is-ref=BLK_1 \"--is-lr=115In LR\" --is-groups=LR --blank=BLK_1 --no-qc" << QString()
        << QStringList() << QList<QStringList>();
}

void TestApplication::reports()
{
    QFETCH(QString, chosen);
    QFETCH(QString, title);
    QFETCH(QStringList, labels);
    QFETCH(QList<QStringList>, lists);

    loadRunFiles();
    apply(chosen);
    // Rows picked before the run: the views follow it.
    outputCell(QStringLiteral("S_1"), 0);
    selectRow(widget<QListView>("calibrationIsotopes"), 0);
    const QString before
        = widget<QTableView>("outputTable")->model()->index(0, 3).data().toString();
    const QList<ModalAnswerer::Seen> boxes = run();
    QCOMPARE(boxes.size(), title.isEmpty() ? 0 : 1);
    if (!title.isEmpty()) {
        QCOMPARE(boxes.first().title, title);
        QCOMPARE(boxes.first().labels, labels);
        QCOMPARE(boxes.first().lists, lists);
    }
    QVERIFY(widget<QTableView>("outputTable")->model()->index(0, 3).data().toString() != before);
    QVERIFY(widget<QwtPlot>("calibrationPlot")->title().text().contains(QStringLiteral("7Li LR")));
    // The zero standard's row comes with it, once, and goes with it.
    QCOMPARE(
        texts(widget<QListView>("outputSolutions")->model()).count(Solution::ZERO_STANDARD_NAME),
        1);
    QCOMPARE(
        texts(widget<QListView>("outputSolutions")->model()).last(), Solution::ZERO_STANDARD_NAME);
    apply(QStringLiteral("--blank-mode=none --no-qc"));
    run();
    QCOMPARE(
        texts(widget<QListView>("outputSolutions")->model()).count(Solution::ZERO_STANDARD_NAME),
        0);
}

void TestApplication::runOutcomes_data()
{
    // The options, the standards file (empty: never chosen), the box's title
    // and text (empty: the run goes on), the status bar, the last trace line.
    QTest::addColumn<QStringList>("outcome");
    const QString options
        = QStringLiteral("--is-ref=BLK_1 \"--is-lr=115In LR\" \"--is-mr=115In MR\" --blank=BLK_1");
    QTest::newRow("no standards file chosen") << QStringList { options, "", "Read QC-STD File",
        "You have to load a QC-STD Concentrations File", "", "# open QC-STD file" };
    QTest::newRow("standards file without the QC solution")
        << QStringList { options, DATA + "window_run_stdqc_without_qc.csv", "Parsing CSV",
               "Standards file window_run_stdqc_without_qc.csv: Solution QC_1 Not found", "",
               "# parse QC-STD file" };
    QTest::newRow("reference solution without its IS value")
        << QStringList { "--is-ref=S_2 \"--is-lr=115In LR\" \"--is-mr=59Co MR\" --blank=BLK_1",
               RUN_STDQC, "Process",
               "The IS reference solution S_2 has no value for 59Co MR: choose another "
               "reference solution or isotope.",
               "", "# open QC-STD file" };
    QTest::newRow("standards file of other elements")
        << QStringList { options, DATA + "window_run_stdqc_other_elements.csv", "Process",
               "No isotope of the data file has standards in "
               "window_run_stdqc_other_elements.csv: check the standards file and the "
               "instrument.",
               "", "# process calibration" };
    QTest::newRow("no blank for the zero standard") << QStringList { "--no-qc", RUN_STDQC, "", "",
        ProcessingRun::NO_ZERO_STANDARD_BLANK, "*** end of processing ***" };
    QTest::newRow("no blank to subtract") << QStringList { "--blank-mode=subtract --no-qc",
        RUN_STDQC, "", "", ProcessingRun::NO_SUBTRACTION_BLANK, "*** end of processing ***" };
}

// A run that stops keeps the earlier results on screen and in the file; a
// run that cannot use a blank goes on and says so.
void TestApplication::runOutcomes()
{
    QFETCH(QStringList, outcome);
    const QString &standards = outcome.at(1);
    const QString &title = outcome.at(2);
    const QString &status = outcome.at(4);

    // An earlier good run, whose results and views must stay when one stops.
    loadRunFiles();
    QCOMPARE(run().value(0).title, QStringLiteral("Quality Controls"));
    const QString before = work.filePath(QStringLiteral("before.csv"));
    QVERIFY(window->saveResults(before).ok());
    const QString shown = outputCell(QStringLiteral("S_1"), 3);
    if (!status.isEmpty()) {
        load(QStringLiteral("HR-ICP-MS"), DATA + QStringLiteral("window_run_no_blank_hr.csv"));
        QCOMPARE(widget<QComboBox>("blank")->count(), 0);
    }
    if (standards.isEmpty())
        QSettings(ORGANISATION, APPLICATION).remove(QStringLiteral("File"));
    else
        QVERIFY(window->chooseStandardsFile(standards).ok());
    apply(outcome.at(0));
    clearTrace();

    const QList<ModalAnswerer::Seen> boxes = run();
    QCOMPARE(boxes.size(), title.isEmpty() ? 0 : 1);
    QCOMPARE(traceLines().last(), outcome.at(5));
    QCOMPARE(warnings(WarningBar::Subject::Run), status);
    QVERIFY(action(QStringLiteral("&Process"))->isEnabled());
    if (title.isEmpty())
        return;
    QCOMPARE(boxes.first().title, title);
    QCOMPARE(boxes.first().text, outcome.at(3));
    QCOMPARE(widget<QTableView>("outputTable")->model()->index(0, 3).data().toString(), shown);
    // So do the expected values it was made from: STD_1's lithium.
    selectRow(widget<QListView>("inputSolutions"), 2);
    QCOMPARE(widget<QTableView>("inputTable")->model()->index(0, 3).data().toString(),
        QStringLiteral("1"));
    const QString after = work.filePath(QStringLiteral("after.csv"));
    QVERIFY(window->saveResults(after).ok());
    QCOMPARE(contents(after), contents(before));
}

// The dialog is answered without being shown, as the user would answer it:
// a name without a suffix, and the file type that decides the layout.
void TestApplication::saveOutputFileType()
{
    loadRunFiles();
    run();
    for (const bool longTable : { false, true }) {
        QTemporaryDir folder;
        const std::unique_ptr<QFileDialog> dialog = SaveDialog::forOutput(window.get());
        dialog->setDirectory(folder.path());
        dialog->selectFile(QStringLiteral("run"));
        const QString type = longTable ? "Long table (*.csv)" : "CSV File (*.csv)";
        dialog->selectNameFilter(type);
        QCOMPARE(dialog->selectedNameFilter(), type);
        QVERIFY(window->saveAnsweredOutput(*dialog).ok());
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList { "run.csv" });
        const QString plain = work.filePath(QStringLiteral("plain.csv"));
        QVERIFY(window
                    ->saveResults(plain,
                        longTable ? ProcessingRun::Layout::Long : ProcessingRun::Layout::Wide)
                    .ok());
        const QByteArray saved = contents(folder.filePath(QStringLiteral("run.csv")));
        QCOMPARE(saved.startsWith("solution,type,"), longTable);
        QCOMPARE(saved, contents(plain));
    }
}

void TestApplication::savePlot_data()
{
    // The plot's tab, the plot, the name given and the file written (empty: a warning instead).
    QTest::addColumn<QStringList>("save");
    QTest::newRow("evolution, not the IS plot")
        << QStringList { "evolutionTab", "evolutionPlot", "evol.JPG", "evol.JPG" };
    QTest::newRow("no suffix gets the offered one")
        << QStringList { "calibrationTab", "calibrationPlot", "calibration", "calibration.jpg" };
    QTest::newRow("unknown suffix")
        << QStringList { "evolutionTab", "evolutionPlot", "evol.xyz", "" };
}

void TestApplication::savePlot()
{
    QFETCH(QStringList, save);
    const QString &plot = save.at(1);
    const QString &name = save.at(2);
    const QString &written = save.at(3);

    loadRunFiles();
    run();
    selectRow(widget<QListView>("calibrationIsotopes"), 0);
    selectRow(widget<QListView>("evolutionIsotopes"), 0);
    widget<QTabWidget>("tabs")->setCurrentWidget(window->findChild<QWidget *>(save.at(0)));
    QTemporaryDir folder;
    // Typed into the dialog, not shown: its answer is what the slot passes on.
    const std::unique_ptr<QFileDialog> dialog = SaveDialog::forPlot(window.get());
    dialog->setDirectory(folder.path());
    dialog->selectFile(name);
    ModalAnswerer answerer({ QMessageBox::Ok });
    QCOMPARE(window->savePlot(dialog->selectedFiles().value(0)).ok(), !written.isEmpty());
    const QStringList files = written.isEmpty() ? QStringList() : QStringList { written };
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), files);
    QCOMPARE(answerer.count(), written.isEmpty() ? 1 : 0);
    if (written.isEmpty()) {
        QCOMPARE(answerer.seen().first().title, QStringLiteral("Save Plot"));
        QVERIFY(answerer.seen().first().text.startsWith(
            QStringLiteral("Cannot write file %1:\n").arg(folder.filePath(name))));
        return;
    }
    QImageReader reader(folder.filePath(written));
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    const QImage image = reader.read();
    // The picture is that plot's and no other's, up to the JPEG losses.
    for (QwtPlot *other : { widget<QwtPlot>("calibrationPlot"),
             widget<QwtPlot>("internalStandardPlot"), widget<QwtPlot>("evolutionPlot") }) {
        const double difference = meanDifference(image, other->grab().toImage());
        if (other->objectName() == plot)
            QVERIFY2(difference < 4.0, qPrintable(QString::number(difference)));
        else
            QVERIFY2(difference > 8.0, qPrintable(QString::number(difference)));
    }
}

// An empty frame is no plot: nothing is written, and the user is told why.
void TestApplication::savePlotWithNothingPlotted_data()
{
    QTest::addColumn<QString>("tab");
    QTest::addColumn<bool>("read"); // the run's files read first, not processed
    QTest::newRow("calibration before any file") << "calibrationTab" << false;
    QTest::newRow("calibration before Process") << "calibrationTab" << true;
    QTest::newRow("evolution without an isotope") << "evolutionTab" << true;
    QTest::newRow("internal standard before any file") << "internalStandardTab" << false;
}

void TestApplication::savePlotWithNothingPlotted()
{
    QFETCH(QString, tab);
    QFETCH(bool, read);
    if (read)
        loadRunFiles();
    widget<QTabWidget>("tabs")->setCurrentWidget(window->findChild<QWidget *>(tab));
    const QString image = work.filePath("empty.jpg");
    ModalAnswerer answerer({ QMessageBox::Ok });
    QVERIFY(!window->savePlot(image).ok());
    QVERIFY(!QFile::exists(image));
    QCOMPARE(answerer.seen().value(0).text,
        "Cannot write file " + image + ":\nNothing is plotted on this tab yet.");
}

void TestApplication::wholeRuns_data()
{
    QTest::addColumn<QStringList>("options");
    // Whole runs whose files ketrion-batch is checked against, with every
    // option of the panel among them.
    const QStringList chosen { "not_measured", "quadrupole", "recovery_bounds_weighted",
        "examples_indium_no_blank", "examples_first_run_average_subtracted", "water_dilutions",
        "digest_mass_volume", "examples_accepted", "drift_checks_subtracted_indium", "interference",
        "interference_subtract_average", "interference_drift", "run_qc", "run_qc_method_limits",
        "batch_qc_with_run_qc", "batch_qc_method_limits", "names_quoted_sheet" };
    for (const auto &run : BatchProcess::wholeRuns()) {
        if (chosen.contains(run.first))
            QTest::newRow(qPrintable(run.first)) << run.second;
    }
}

// The window gives the results file, long table and trace of ketrion-batch,
// but for the QC, acceptance, recovery, run QC and batch QC lines that follow
// their count lines, which it shows in its report (put in *reported); its
// Output table shows the reported values of the long table.
QStringList TestApplication::windowTrace(
    const QString &batchTrace, int *rejected, QStringList *reported) const
{
    QStringList lines;
    bool report = false;
    for (const QString &line :
        QString::fromUtf8(contents(batchTrace)).split('\n', Qt::SkipEmptyParts)) {
        if (line.startsWith("# calibration rejected: "))
            *rejected = line.section(' ', 3, 3).toInt();
        report = report && !line.startsWith("*** ") && !line.startsWith("# ");
        if (!report)
            lines << line;
        else
            *reported << line;
        report = report || line.startsWith("# QC not valid: ")
            || line.startsWith("# IS recovery outside ")
            || line.startsWith("# calibration rejected: ")
            || line.contains(QRegularExpression("^# run QC: [0-9]+ / [0-9]+ checks failed$"))
            || line.contains(QRegularExpression("^# sample QC: [0-9]+ / [0-9]+ failed$"));
    }
    return lines;
}

// The lines the window's report shows in its lists, the run QC's gaps
// among them, and the count of results to rerun under their list.
void TestApplication::checkQcReport(const QList<ModalAnswerer::Seen> &boxes,
    const QStringList &reported, const QString &batchTrace) const
{
    QStringList shown;
    QStringList labels;
    for (const ModalAnswerer::Seen &box : boxes) {
        for (const QStringList &list : box.lists)
            shown += list;
        labels += box.labels;
    }
    // The gaps, which the trace keeps too, without their mark.
    QStringList listed = reported;
    const QRegularExpression gap("^# run QC: (.* between .*)$");
    for (const QString &line : QString::fromUtf8(contents(batchTrace)).split('\n')) {
        if (gap.match(line).hasMatch())
            listed << gap.match(line).captured(1);
    }
    QStringList missing;
    for (const QString &line : listed) {
        if (!shown.contains(line))
            missing << line;
    }
    QCOMPARE(missing, QStringList());
    const QRegularExpressionMatch rerun
        = QRegularExpression("\\n# run QC: ([0-9]+) results to rerun\\n")
              .match(QString::fromUtf8(contents(batchTrace)));
    if (rerun.hasMatch())
        QVERIFY2(labels.contains("To rerun : " + rerun.captured(1) + " results"),
            qPrintable(labels.join('|')));
}

// The window's method gives its results through ketrion-batch, and both the
// same report but for the date.
void TestApplication::compareWithBatch(const QStringList &options, const QString &results)
{
    const QString method = work.filePath("run.ketrion-method");
    QVERIFY(window->saveMethod(method).ok() && window->saveReport(work.filePath("w.pdf")).ok());
    const QStringList batch { "--method", method, "--output", work.filePath("batch.csv"),
        "--report", work.filePath("b.pdf") };
    const QStringList files = options.filter(QRegularExpression("^--(data|stdqc|samples)="));
    QCOMPARE(BatchProcess::run(KETRION_BATCH_PROGRAM, batch + files).exitCode, 0);
    QCOMPARE(contents(work.filePath("batch.csv")), contents(results));
    const auto text = [&](const char *pdf) {
        return BatchProcess::run("pdftotext", { "-raw", work.filePath(pdf), "-" })
            .out.remove(QRegularExpression("Run started: [^\n]*"));
    };
    QVERIFY(text("w.pdf").contains("End of report"));
    QCOMPARE(text("w.pdf"), text("b.pdf"));
}

void TestApplication::wholeRuns()
{
    QFETCH(QStringList, options);
    const auto value = [&](const char *name) { return BatchProcess::value(options, name); };
    RunOptions method;
    if (!value("method").isEmpty())
        QVERIFY(MethodFile::read(contents(value("method")), value("method"), &method).ok());
    load(value("instrument").isEmpty() ? method.instrument : value("instrument"), value("data"));
    QVERIFY(window->chooseStandardsFile(value("stdqc")).ok());
    QVERIFY(window->chooseSampleSheet(value("samples")).ok());
    apply(options);
    clearTrace();
    const QList<ModalAnswerer::Seen> boxes = run();
    const QString results = work.filePath("results.csv");
    const QString longTable = work.filePath("long.csv");
    QVERIFY(window->saveResults(results).ok()
        && window->saveResults(longTable, ProcessingRun::Layout::Long).ok());

    const QString expected = DATA + "runs/" + QString::fromLatin1(QTest::currentDataTag());
    int rejected = 0;
    QStringList reported;
    QCOMPARE(traceLines(), windowTrace(expected + ".trace", &rejected, &reported));
    checkQcReport(boxes, reported, expected + ".trace");
    QCOMPARE(contents(results), contents(expected + ".csv"));
    QCOMPARE(contents(longTable), contents(expected + ".long"));
    compareWithBatch(options, results);
    // The Calibration tab marks the rejected isotopes, saying why.
    const QAbstractItemModel *isotopes = widget<QListView>("calibrationIsotopes")->model();
    int marked = 0;
    for (int row = 0; row < isotopes->rowCount(); ++row)
        marked += isotopes->index(row, 0).data(Qt::ToolTipRole).toString().isEmpty() ? 0 : 1;
    QCOMPARE(marked, rejected);

    // The first isotope of the first sample: reported value, unit, qualifier.
    const QStringList fields = csvFields(
        QString::fromUtf8(contents(expected + ".long")).split('\n').filter(",SAMPLE,").value(0));
    QCOMPARE(QStringList({ outputCell(fields.at(0), 5), outputCell(fields.at(0), 6),
                 outputCell(fields.at(0), 7) }),
        QStringList({ fields.at(10), fields.at(14), fields.at(8) }));
    QCOMPARE(
        widget<QTableView>("outputTable")->model()->index(0, 5).data(Qt::BackgroundRole).isValid(),
        !fields.at(8).isEmpty());
}

// The evolution tab's drift factor along the run: its largest drift where the
// trace worked out apart puts it, the first monitor reading at 1; an isotope
// left uncorrected is drawn empty.
void TestApplication::driftFactor()
{
    load(QStringLiteral("HR-ICP-MS"), DATA + "drift_checks_hr.csv");
    QVERIFY(window->chooseStandardsFile(DATA + "drift_checks_stdqc.csv").ok());
    apply(QStringLiteral("--blank=BLK_3 --drift=VS"));
    run();
    widget<QComboBox>("evolutionPattern")
        ->setCurrentIndex(widget<QComboBox>("evolutionPattern")->findText("drift factor"));
    const QStringList trace = QString::fromUtf8(contents(DATA + "runs/drift_checks.trace"))
                                  .split('\n')
                                  .filter(QRegularExpression("^[^#].*: (largest|not corrected)"));
    const QStringList solutions = texts(widget<QListView>("inputSolutions")->model());
    const QStringList isotopes = texts(widget<QListView>("evolutionIsotopes")->model());
    QCOMPARE(trace.size(), isotopes.size());
    for (int iso = 0; iso < isotopes.size(); ++iso) {
        selectRow(widget<QListView>("evolutionIsotopes"), iso);
        QList<const QwtPlotCurve *> drawn;
        for (const QwtPlotItem *item :
            widget<QwtPlot>("evolutionPlot")->itemList(QwtPlotItem::Rtti_PlotCurve)) {
            if (static_cast<const QwtPlotCurve *>(item)->dataSize() > 0)
                drawn << static_cast<const QwtPlotCurve *>(item);
        }
        if (trace.at(iso).contains("not corrected")) {
            QVERIFY(drawn.isEmpty());
            continue;
        }
        QCOMPARE(drawn.size(), 2); // the factors, then the readings over them
        QCOMPARE(static_cast<int>(drawn.at(0)->dataSize()), solutions.size());
        double largest = 0.0;
        int at = 0;
        for (int k = 0; k < solutions.size(); ++k) {
            const double change = std::abs(1.0 - drawn.at(0)->sample(k).y());
            if (change > largest) {
                largest = change;
                at = k;
            }
        }
        QCOMPARE(QStringLiteral("%1: largest drift %2 % at %3")
                     .arg(isotopes.at(iso).trimmed(), QString::number(100.0 * largest, 'f', 1),
                         solutions.at(at)),
            trace.at(iso));
        QCOMPARE(
            drawn.at(1)->sample(0), QPointF(solutions.indexOf("VS") + 1, 1.0)); // the reference
    }
}

void TestApplication::methods_data()
{
    // The instrument and data file, the method (ketrion-batch's options for
    // --save-method, or a file), the boxes opening it shows ("title: text").
    QTest::addColumn<QStringList>("method");
    QTest::newRow("every option changed") << QStringList { "HR-ICP-MS", EXAMPLES + "hr_export.csv",
        "--instrument HR-ICP-MS --is-ref VS_1 \"--is-mr=115In MR\" \"--is-hr=115In HR\" "
        "--is-groups MR,HR --is-recovery 50,140 --blank-mode subtract "
        "--blank BLK_4 --weighting 1/x2 --no-qc --acceptance 0.99,15 --drift VS",
        "" };
    // Every digit a method holds comes back, however many the boxes show.
    QTest::newRow("every digit kept") << QStringList { "HR-ICP-MS", EXAMPLES + "hr_export.csv",
        "--instrument HR-ICP-MS --is-ref BLK_1 --acceptance 0.9999995,0.05", "" };
    QTest::newRow("quadrupole names") << QStringList { "Q-ICP-MS", EXAMPLES + "q_export.csv",
        "--instrument Q-ICP-MS --is-ref VS_2 \"--is-lr=115In #1\" --blank BLK_2 --drift VS "
        "--weighting 1/x",
        "" };
    QTest::newRow("names the data file lacks") << QStringList { "HR-ICP-MS", RUN_HR,
        "--instrument HR-ICP-MS --is-ref Well_10 \"--is-lr=115In LR\" \"--is-mr=115In MR\" "
        "--blank BLK_2 --drift VS",
        "Open Method: The data file has no Well_10 (IS reference), VS (drift monitor): those "
        "settings are left as they were." };
    QTest::newRow("equations, one the data file breaks") << QStringList { "Q-ICP-MS",
        INTERFERENCE_Q,
        "--instrument Q-ICP-MS --is-ref BLK_1 \"--is-lr=115In #1\" --blank BLK_1 --interference \""
            + ARSENIC + "\" --interference \"[7Li LR] = [7Li LR] - 0.1 * [75As #1]\"",
        "Open Method: Interference equation '[7Li LR] = [7Li LR] - 0.1 * [75As #1]', character 1: "
        "unknown isotope '7Li LR'." };
    QTest::newRow("refused") << QStringList { "HR-ICP-MS", RUN_HR,
        DATA + "method_wrong_kind.ketrion-method",
        "Open Method: Method file " + DATA
            + "method_wrong_kind.ketrion-method, line 8: 'drift' must be true or false." };
}

// A method saved by ketrion-batch shows in the window as the window would
// save it again, but for the names the data file lacks, which stay, and the
// isotopes it leaves to the first of their group, which the window names.
void TestApplication::methods()
{
    QFETCH(QStringList, method);
    load(method.at(0), method.at(1));
    const auto saved = [this](const char *name) {
        const QString file = work.filePath(name);
        return window->saveMethod(file).ok() ? QJsonDocument::fromJson(contents(file)).object()
                                             : QJsonObject();
    };
    const QJsonObject before = saved("before.ketrion-method");
    QString file = method.at(2);
    if (file.startsWith("--")) {
        file = work.filePath("batch.ketrion-method");
        QCOMPARE(BatchProcess::run(KETRION_BATCH_PROGRAM,
                     QProcess::splitCommand(method.at(2)) << "--save-method" << file)
                     .exitCode,
            0);
    }
    ModalAnswerer answerer({ QMessageBox::Ok });
    const bool opened = window->openMethod(file).ok();
    QStringList boxes;
    for (const ModalAnswerer::Seen &box : answerer.seen())
        boxes << box.title + ": " + box.text;
    QCOMPARE(boxes.join('\n'), method.at(3));
    const QJsonObject after = saved("after.ketrion-method");
    const QJsonObject wanted = opened ? QJsonDocument::fromJson(contents(file)).object() : before;
    QCOMPARE(after.keys(), wanted.keys());
    for (const QString &key : after.keys()) {
        const auto *combo = window->findChild<QComboBox *>(key);
        QVERIFY2(after.value(key) == wanted.value(key)
                || (after.value(key) == before.value(key)
                    && method.at(3).contains(wanted.value(key).toString() + " ("))
                || (wanted.value(key) == QString() && combo && combo->currentIndex() == 0),
            qPrintable(key));
    }
}

void TestApplication::processWholeRun(const QString &name)
{
    for (const auto &whole : BatchProcess::wholeRuns()) {
        if (whole.first != name)
            continue;
        const auto value
            = [&](const char *option) { return BatchProcess::value(whole.second, option); };
        load(value("instrument"), value("data"));
        QVERIFY(window->chooseStandardsFile(value("stdqc")).ok());
        QVERIFY(window->chooseSampleSheet(value("samples")).ok());
        apply(whole.second);
        run();
        widget<QTabWidget>("tabs")->setCurrentWidget(window->findChild<QWidget *>("resultsTab"));
        return;
    }
    QFAIL(qPrintable("no whole run " + name));
}

QStringList TestApplication::resultsNames() const
{
    return texts(widget<QTableView>("resultsTable")->model());
}

void TestApplication::clickResultsHeader(const QString &header)
{
    QTableView *table = widget<QTableView>("resultsTable");
    const QAbstractItemModel *model = table->model();
    int column = 0;
    while (column < model->columnCount()
        && model->headerData(column, Qt::Horizontal).toString() != header)
        ++column;
    QVERIFY2(column < model->columnCount(), qPrintable(header));
    table->scrollTo(model->index(0, column));
    QHeaderView *bar = table->horizontalHeader();
    QTest::mouseClick(bar->viewport(), Qt::LeftButton, {},
        QPoint(bar->sectionViewportPosition(column) + bar->sectionSize(column) / 2,
            bar->height() / 2));
}

namespace {

// A whole run's long table, worked out apart: its rows of fields in order.
QVector<QStringList> longRows(const QString &run)
{
    QVector<QStringList> rows;
    const QString path = QStringLiteral(TEST_DATA_DIR "/runs/") + run + ".long";
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("%s", qPrintable(path));
    file.readLine();
    while (!file.atEnd())
        rows << QString::fromUtf8(file.readLine()).chopped(1).split(',');
    return rows;
}

// The colour of a qualified value, as docs/window.md gives them.
QColor qualifierColour(const QString &flag)
{
    const QHash<QString, QColor> colours { { "calibration rejected", QColor(0xF4, 0xB6, 0xB6) },
        { "<LOD", QColor(0xC6, 0xDC, 0xF5) }, { "<LOQ", QColor(0xFF, 0xF0, 0xA8) },
        { "over range", QColor(0xFF, 0xD6, 0x99) } };
    return colours.value(flag);
}

} // namespace

void TestApplication::resultsMatrix_data()
{
    QTest::addColumn<QString>("run");
    // Diluted waters; solids in mg/kg beside waters in µg/L; rejected lines.
    for (const char *run : { "water_dilutions", "digest_mass_volume", "examples_accepted" })
        QTest::newRow(run) << run;
}

// Every cell of the Results tab, reported and measured, against the long
// table worked out apart: the value or, for none, its qualifier in grey; a
// qualified value in its qualifier's colour; the unit in the header, or in a
// column when the solutions' units differ. Its workbook, read back, agrees.
void TestApplication::resultsMatrix()
{
    QFETCH(QString, run);
    {
        ModalAnswerer answerer({ QMessageBox::Ok });
        QVERIFY(!window->saveWorkbook(work.filePath("early.xlsx")).ok());
    }
    processWholeRun(run);
    const QVector<QStringList> expected = longRows(run);
    const QAbstractItemModel *model = widget<QTableView>("resultsTable")->model();
    QSet<QString> units;
    for (const QStringList &fields : expected)
        units << fields.at(14);
    const int fixed = units.size() > 1 ? 2 : 1;
    QCOMPARE(model->rowCount() * (model->columnCount() - fixed), expected.size());
    for (const char *values : { "measuredValues", "reportedValues" }) {
        QTest::mouseClick(widget<QRadioButton>(values), Qt::LeftButton);
        const bool measured = values[0] == 'm';
        for (int k = 0; k < expected.size(); ++k) {
            const QStringList &fields = expected.at(k);
            const int row = k / (model->columnCount() - fixed);
            const int column = fixed + k % (model->columnCount() - fixed);
            QCOMPARE(model->index(row, 0).data().toString(), fields.at(0));
            QCOMPARE(model->index(row, fixed - 1).data().toString(),
                fixed == 2 ? (measured ? QStringLiteral("µg/L") : fields.at(14)) : fields.at(0));
            QCOMPARE(model->headerData(column, Qt::Horizontal).toString(),
                fixed == 2 && !measured
                    ? fields.at(2)
                    : fields.at(2) + (measured ? " (µg/L)" : " (" + fields.at(14) + ')'));
            const QModelIndex cell = model->index(row, column);
            const QString &value = fields.at(measured ? 3 : 10);
            QCOMPARE(cell.data().toString(), value.isEmpty() ? fields.at(8) : value);
            QCOMPARE(cell.data(Qt::BackgroundRole).value<QColor>(),
                value.isEmpty() ? QColor() : qualifierColour(fields.at(8)));
            QCOMPARE(cell.data(Qt::ForegroundRole).value<QColor>(),
                value.isEmpty() ? QColor(128, 128, 128) : QColor());
        }
    }
    const QString book = work.filePath("window.xlsx");
    QVERIFY(window->saveWorkbook(book).ok());
    const BatchProcess::Outcome checked = BatchProcess::run(PYTHON_PROGRAM,
        { TEST_HELPERS_DIR "/batch/check_workbook.py", book,
            QStringLiteral(TEST_DATA_DIR "/runs/") + run + ".long" });
    QVERIFY2(checked.exitCode == 0, qPrintable(checked.out + checked.err));
}

// The blanks alone, sorted by a column both ways with the empty values last,
// then back to run order: the values of the long table worked out apart.
void TestApplication::resultsSort()
{
    processWholeRun(QStringLiteral("water_dilutions"));
    QStringList all;
    QVector<QPair<QString, QString>> blanks; // name, reported 59Co
    for (const QStringList &fields : longRows(QStringLiteral("water_dilutions"))) {
        if (all.isEmpty() || all.last() != fields.at(0))
            all << fields.at(0);
        if (fields.at(1) == "BLK" && fields.at(2) == "59Co MR")
            blanks.append({ fields.at(0), fields.at(10) });
    }
    QCOMPARE(resultsNames(), all);

    for (const char *type : { "showSamples", "showQualityControls", "showStandards" })
        clickCheck(widget<QCheckBox>(type));
    QStringList order;
    for (const auto &blank : qAsConst(blanks))
        order << blank.first;
    QCOMPARE(resultsNames(), order);
    for (const bool ascending : { true, false }) {
        auto sorted = blanks;
        // The empty values last either way, ties in run order.
        std::stable_sort(sorted.begin(), sorted.end(), [ascending](const auto &a, const auto &b) {
            if (a.second.isEmpty() || b.second.isEmpty())
                return b.second.isEmpty() && !a.second.isEmpty();
            return ascending ? a.second.toDouble() < b.second.toDouble()
                             : a.second.toDouble() > b.second.toDouble();
        });
        QStringList names;
        for (const auto &blank : qAsConst(sorted))
            names << blank.first;
        clickResultsHeader(QStringLiteral("59Co MR (µg/L)"));
        QCOMPARE(resultsNames(), names);
        QVERIFY(sorted.last().second.isEmpty() && !sorted.first().second.isEmpty());
    }
    clickResultsHeader(QStringLiteral("59Co MR (µg/L)"));
    QCOMPARE(resultsNames(), order);
}

// Filtered by type and name in any case, sorted, a 3 x 2 selection copied as
// a spreadsheet pastes it, then toggled to the measured solution, the order
// kept: the values of the long table worked out apart.
void TestApplication::resultsFilterCopy()
{
    processWholeRun(QStringLiteral("water_dilutions"));
    for (const char *type : { "showQualityControls", "showStandards", "showBlanks" })
        clickCheck(widget<QCheckBox>(type));
    QTest::keyClicks(widget<QLineEdit>("nameFilter"), QStringLiteral("rIVer_0"));
    QCOMPARE(resultsNames(),
        QStringList({ "River_01", "River_02", "River_03", "River_04", "River_05", "River_06",
            "River_07", "River_08", "River_09" }));
    clickResultsHeader(QStringLiteral("7Li LR (µg/L)"));
    QTableView *table = widget<QTableView>("resultsTable");
    table->setFocus();
    table->selectionModel()->select(
        QItemSelection(table->model()->index(0, 0), table->model()->index(2, 1)),
        QItemSelectionModel::ClearAndSelect);
    QTest::keySequence(table, QKeySequence::Copy);
    QCOMPARE(QGuiApplication::clipboard()->text(),
        QStringLiteral("Solution\t7Li LR (µg/L)\nRiver_08\t0.301028\nRiver_09\t0.506905\n"
                       "River_04\t0.571627\n"));

    // River_01 is diluted tenfold, River_02 2.5-fold: the largest in the
    // sample given, among others in the measured solution.
    QCOMPARE(resultsNames().last(), QStringLiteral("River_01"));
    QCOMPARE(table->model()->index(8, 1).data().toString(), QStringLiteral("139.772"));
    QTest::mouseClick(widget<QRadioButton>("measuredValues"), Qt::LeftButton);
    QCOMPARE(resultsNames(),
        QStringList({ "River_08", "River_09", "River_04", "River_05", "River_07", "River_02",
            "River_06", "River_03", "River_01" }));
    QCOMPARE(table->model()->index(8, 1).data().toString(), QStringLiteral("13.9772"));
}

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
