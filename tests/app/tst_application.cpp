// The main window driven as a user drives it: its initial state, the
// configuration invariants through real clicks, closing with the settings
// store, and the whole job (open the files, process, read the report, save).
#include "ModalAnswerer.h"

#include "app/Application.h"
#include "app/Ui_Application.h"
#include "model/Data.h"
#include "parsers/ParserInAgilentCSV.h"
#include "parsers/ParserInHRElementCSV.h"
#include "parsers/ParserOutCSV.h"
#include "processing/ProcessingRun.h"
#include "processing/Trace.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QImageReader>
#include <QListWidget>
#include <QPointer>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_symbol.h>
#include <qwt_text.h>

#include <csignal>
#include <memory>
#include <sys/resource.h>

Q_DECLARE_METATYPE(QMessageBox::StandardButton)

namespace {

const QString DATA = QStringLiteral(TEST_DATA_DIR "/");
const QString EXAMPLES = QStringLiteral(TEST_HELPERS_DIR "/../examples/");
const QString RUN_HR = DATA + QStringLiteral("window_run_hr.csv");
const QString RUN_STDQC = DATA + QStringLiteral("window_run_stdqc.csv");
const QString ORGANISATION = QStringLiteral("Ostrel");
const QString APPLICATION = QStringLiteral("Ketrion");

// Clicks where the style draws the check mark, as a user does.
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
    void toolBar();
    void blankOptionClicks_data();
    void blankOptionClicks();
    void correctionISClicks();
    void saveActionsFollowTab();
    void internalStandardChoice_data();
    void internalStandardChoice();
    void instrumentSwapsReader();
    void listsDriveTablesAndPlots();
    void recoveryBoundsFollowPanel();
    void closing_data();
    void closing();
    void aboutBox();

    // The whole job on files.
    void openDataFile_data();
    void openDataFile();
    void cancelledDialogs_data();
    void cancelledDialogs();
    void chooseStandardsFile();
    void rememberedChoicesAfterRestart_data();
    void rememberedChoicesAfterRestart();
    void process_data();
    void process();
    void secondRunMatchesFreshRun_data();
    void secondRunMatchesFreshRun();
    void noBlank_data();
    void noBlank();
    void runStopsEarly_data();
    void runStopsEarly();
    void failedSaveKeepsEarlierFile_data();
    void failedSaveKeepsEarlierFile();
    void saveOutputFileType_data();
    void saveOutputFileType();
    void savePlot_data();
    void savePlot();

private:
    void newWindow();
    // Reads a data file with that instrument chosen; its report is answered.
    void load(const QString &instrument, const QString &fileName);
    // Reads the run's data file and chooses its standards file.
    void loadRunFiles();
    // Sets the configuration tab from "is=BLK_1;lr=115In LR;boxes=010;yi=BLK_2;qc=0":
    // is: IS reference (absent: no IS correction); lr, mr: IS isotopes; boxes: the
    // LR, MR, HR check boxes; rec=85,95: IS recovery bounds; yi or sub: blank
    // option and blank; w: weighting; qc=0: no validation.
    void apply(const QString &chosen);
    // Presses "&Process"; the QC report, when it opens, is answered with OK.
    QList<ModalAnswerer::Seen> run();
    QString runAndSave(const QString &name);
    QStringList traceLines() const;
    void clearTrace();
    QAction *action(const QString &text) const;
    // Shows the solution in the output table and reads a cell of its first isotope.
    QString outputCell(const QString &solution, int column) const;
    Ui::Application *ui() const { return window->ui; }

    QTemporaryDir settingsDir;
    QTemporaryDir work;
    QBuffer trace;
    std::unique_ptr<Application> window;
};

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
    ui()->icpmsModel->setCurrentIndex(ui()->icpmsModel->findText(instrument));
    ModalAnswerer answerer({ QMessageBox::Ok });
    window->loadDataFile(fileName);
    QCOMPARE(answerer.count(), 1);
}

void TestApplication::loadRunFiles()
{
    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    QVERIFY(window->chooseStdqcFile(RUN_STDQC));
}

void TestApplication::apply(const QString &chosen)
{
    QMap<QString, QString> option;
    for (const QString &pair : chosen.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        option.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    const auto choose = [&option](QComboBox *combo, const QString &key) {
        if (combo->findText(option.value(key)) == -1)
            qFatal("%s has no item %s", qPrintable(key), qPrintable(option.value(key)));
        combo->setCurrentIndex(combo->findText(option.value(key)));
    };
    ui()->correctionIS->setChecked(option.contains(QStringLiteral("is")));
    if (option.contains(QStringLiteral("is")))
        choose(ui()->echantIS, QStringLiteral("is"));
    const QString boxes = option.value(QStringLiteral("boxes"), QStringLiteral("111"));
    ui()->correctISLR->setChecked(boxes.at(0) == QLatin1Char('1'));
    ui()->correctISMR->setChecked(boxes.at(1) == QLatin1Char('1'));
    ui()->correctISHR->setChecked(boxes.at(2) == QLatin1Char('1'));
    if (option.contains(QStringLiteral("lr")))
        choose(ui()->comboISLR, QStringLiteral("lr"));
    if (option.contains(QStringLiteral("mr")))
        choose(ui()->comboISMR, QStringLiteral("mr"));
    if (option.contains(QStringLiteral("rec"))) {
        const QStringList bounds = option.value(QStringLiteral("rec")).split(QLatin1Char(','));
        ui()->recoveryLow->setValue(0); // the high bound may go below the low one's value
        ui()->recoveryHigh->setValue(bounds.at(1).toInt());
        ui()->recoveryLow->setValue(bounds.at(0).toInt());
    }
    if (option.contains(QStringLiteral("w")))
        choose(ui()->weighting, QStringLiteral("w"));
    ui()->yIntercept->setChecked(option.contains(QStringLiteral("yi")));
    ui()->subBlank->setChecked(option.contains(QStringLiteral("sub")));
    for (const QString &key : { QStringLiteral("yi"), QStringLiteral("sub") }) {
        if (option.contains(key))
            choose(ui()->blankSelection, key);
    }
    ui()->controlQC->setChecked(option.value(QStringLiteral("qc")) != "0");
}

QList<ModalAnswerer::Seen> TestApplication::run()
{
    ModalAnswerer answerer({ QMessageBox::Ok, QMessageBox::Ok });
    action(QStringLiteral("&Process"))->trigger();
    return answerer.seen();
}

QString TestApplication::runAndSave(const QString &name)
{
    run();
    const QString fileName = work.filePath(name);
    ModalAnswerer answerer({});
    return window->saveResults(fileName) && answerer.count() == 0 ? fileName : QString();
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
    ui()->listViewOutput->setCurrentRow(texts(ui()->listViewOutput->model()).indexOf(solution));
    return ui()->tableViewOutput->model()->index(0, column).data().toString();
}

void TestApplication::initialState()
{
    const QStringList tabs { "Input", "Configuration", "Calibration", "Internal Standard",
        "Signal evolution", "Output" };
    const QStringList pages { "tab_input", "tab_config", "tabElmnt", "tabIS", "tabEvol",
        "tab_output" };
    QCOMPARE(ui()->tabs->count(), tabs.size());
    for (int k = 0; k < tabs.size(); ++k) {
        QCOMPARE(ui()->tabs->tabText(k), tabs.at(k));
        QCOMPARE(ui()->tabs->widget(k)->objectName(), pages.at(k));
    }
    QCOMPARE(ui()->tabs->currentIndex(), 0);
    QVERIFY(window->windowTitle().startsWith(QStringLiteral("Ketrion - ")));
    QCOMPARE(window->minimumSize(), QSize(820, 500));
    const QList<QSize> iconSizes { { 48, 48 }, { 128, 128 }, { 256, 256 } };
    QCOMPARE(window->windowIcon().availableSizes(), iconSizes);
    QCOMPARE(ui()->listViewInput->count() + ui()->listViewOutput->count(), 0);
    QCOMPARE(ui()->plotISchoice->count(), 0);
    QCOMPARE(ui()->graphElement->title().text(), QStringLiteral("Calibration"));
    QCOMPARE(ui()->graphIS->title().text(), QStringLiteral("Internal Standard"));
    QCOMPARE(ui()->graphEvol->title().text(), QStringLiteral("Evolution"));

    // Nothing to process, save or plot before a file is read.
    const struct
    {
        const char *text, *statusTip, *icon;
        QSize iconSize;
        bool enabled;
    } actions[] = { { "&Quit", "Quit the application", "close", { 72, 72 }, true },
        { "&About", "Show the application's About box", "ketrion", { 270, 213 }, true },
        { "About &Qt", "Show the Qt library's About box", "qt", { 250, 250 }, true },
        { "&STD-QC File", "Open STD-QC file", "config", { 72, 72 }, true },
        { "&Data File", "Open input Data file", "open", { 72, 72 }, true },
        { "&Save Plot", "Save the plotted Graph", "plot", { 72, 72 }, false },
        { "&Save Output", "Save Output Data", "save", { 72, 72 }, false },
        { "&Process", "Run the processing", "run", { 72, 72 }, false } };
    for (const auto &expected : actions) {
        QAction *act = action(QLatin1String(expected.text));
        QVERIFY2(act, expected.text);
        QCOMPARE(act->statusTip(), QLatin1String(expected.statusTip));
        QCOMPARE(act->isEnabled(), expected.enabled);
        QCOMPARE(
            QImage(QStringLiteral(":/res/%1.png").arg(expected.icon)).size(), expected.iconSize);
        QVERIFY(!act->icon().isNull());
    }

    // IS correction on every group, y-intercept, QC validation.
    const QList<QPair<QString, bool>> checks { { "correctionIS", true }, { "correctISLR", true },
        { "correctISMR", true }, { "correctISHR", true }, { "yIntercept", true },
        { "subBlank", false }, { "controlQC", true } };
    for (const auto &check : checks) {
        QWidget *widget = window->findChild<QWidget *>(check.first);
        QVERIFY2(widget && widget->isEnabled(), qPrintable(check.first));
        if (auto *group = qobject_cast<QGroupBox *>(widget))
            QCOMPARE(group->isCheckable() && group->isChecked(), check.second);
        else
            QCOMPARE(qobject_cast<QAbstractButton *>(widget)->isChecked(), check.second);
    }
    QVERIFY(ui()->groupBox->isEnabled() && ui()->blankSelection->isEnabled());
    QCOMPARE(texts(ui()->icpmsModel->model()), (QStringList { "HR-ICP-MS", "Q-ICP-MS" }));
    QCOMPARE(ui()->icpmsModel->currentIndex(), 0);

    // Empty data sets and the high-resolution reader.
    QCOMPARE(window->inputData->isoSize() + window->inputData->solutionSize(), 0);
    QVERIFY(dynamic_cast<ParserInHRElementCSV *>(window->inputData->getParser()));
    QCOMPARE(window->inputData->getParser(), window->inputParser);
}

void TestApplication::toolBar()
{
    const QToolBar *bar = ui()->toolBar;
    QStringList order;
    for (QAction *act : bar->actions()) {
        if (act->isSeparator())
            order << QStringLiteral("|");
        else
            order << (qobject_cast<QToolButton *>(bar->widgetForAction(act)) ? act->text()
                                                                             : "<spacer>");
    }
    const QStringList expected { "&Data File", "&STD-QC File", "|", "&Save Plot", "&Save Output",
        "|", "&About", "About &Qt", "|", "&Quit", "|", "<spacer>", "|", "&Process" };
    QCOMPARE(order, expected);
    QVERIFY(!bar->isMovable());
    QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);

    // "&Process" alone at the right edge whatever the width; the rest packed on the left.
    for (int width : { 820, 2000 }) {
        window->resize(width, 600);
        QTRY_COMPARE(bar->width(), width);
        const QWidget *run = bar->widgetForAction(action(QStringLiteral("&Process")));
        QVERIFY(run->isVisible());
        QVERIFY2(run->geometry().right() >= width - 16, qPrintable(QString::number(run->x())));
        QVERIFY(bar->widgetForAction(action(QStringLiteral("&Quit")))->geometry().right() < 700);
    }
}

void TestApplication::blankOptionClicks_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<bool>("yIntercept");
    QTest::addColumn<bool>("subBlank");

    QTest::newRow("subtract while y-intercept is on") << QStringList { "sub" } << false << true;
    QTest::newRow("y-intercept off and on") << QStringList { "yi", "yi" } << true << false;
    QTest::newRow("subtract then y-intercept") << QStringList { "sub", "yi" } << true << false;
    QTest::newRow("to neither") << QStringList { "yi", "sub", "sub" } << false << false;
}

void TestApplication::blankOptionClicks()
{
    QFETCH(QStringList, clicks);
    QFETCH(bool, yIntercept);
    QFETCH(bool, subBlank);

    for (const QString &name : clicks) {
        clickCheck(name == QLatin1String("sub") ? ui()->subBlank : ui()->yIntercept);
        const bool y = ui()->yIntercept->isChecked();
        const bool s = ui()->subBlank->isChecked();
        QVERIFY2(!(y && s), "both blank options checked");
        QCOMPARE(ui()->blankSelection->isEnabled(), y || s);
    }
    QCOMPARE(ui()->yIntercept->isChecked(), yIntercept);
    QCOMPARE(ui()->subBlank->isChecked(), subBlank);
}

void TestApplication::correctionISClicks()
{
    for (bool on : { false, true }) {
        clickCheck(ui()->correctionIS);
        QCOMPARE(ui()->correctionIS->isChecked(), on);
        for (QWidget *inside : std::initializer_list<QWidget *> {
                 ui()->groupBox, ui()->comboISLR, ui()->correctISHR, ui()->echantIS })
            QCOMPARE(inside->isEnabled(), on);
        // The check marks themselves are kept for the next time the group is on.
        QVERIFY(ui()->correctISLR->isChecked());
    }
}

void TestApplication::saveActionsFollowTab()
{
    // Through the tab bar, as a user switches: each step from the one before.
    const struct
    {
        const char *tab;
        bool plotSave;
        bool saveFile;
    } steps[] = { { "tab_output", false, true }, { "tabElmnt", true, false },
        { "tabIS", true, false }, { "tabEvol", true, false }, { "tab_output", false, true },
        { "tab_config", false, false }, { "tabEvol", true, false }, { "tab_input", false, false } };
    QTabBar *bar = ui()->tabs->tabBar();
    for (const auto &step : steps) {
        QWidget *page = window->findChild<QWidget *>(QLatin1String(step.tab));
        QTest::mouseClick(
            bar, Qt::LeftButton, {}, bar->tabRect(ui()->tabs->indexOf(page)).center());
        QCOMPARE(ui()->tabs->currentWidget(), page);
        QCOMPARE(action(QStringLiteral("&Save Plot"))->isEnabled(), step.plotSave);
        QCOMPARE(action(QStringLiteral("&Save Output"))->isEnabled(), step.saveFile);
    }
    QVERIFY(!action(QStringLiteral("&Process"))->isEnabled());
}

void TestApplication::internalStandardChoice_data()
{
    QTest::addColumn<QString>("file"); // instrument|file; empty: nothing read
    QTest::addColumn<int>("mrRow");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("title");

    const QString lr = QStringLiteral("LR Internal Standard : ");
    const QString mr = QStringLiteral("MR Internal Standard : ");
    const QString hr = QStringLiteral("HR Internal Standard : ");
    const QString example = "HR-ICP-MS|" + EXAMPLES + "hr_export.csv";
    QTest::newRow("nothing read yet")
        << "" << 0 << QStringList { lr, mr, hr } << 0 << "Internal Standard";
    QTest::newRow("quadrupole") << "Q-ICP-MS|" + EXAMPLES + "q_export.csv" << 0
                                << QStringList { lr + "7Li #1 ", mr, hr } << 0
                                << "Internal Standard 7Li #1 ";
    QTest::newRow("second MR isotope, MR entry")
        << example << 1 << QStringList { lr + "7Li LR", mr + "51V MR", hr + "75As HR" } << 1
        << "Internal Standard 51V MR";
    QTest::newRow("HR entry") << example << 0
                              << QStringList { lr + "7Li LR", mr + "27Al MR", hr + "75As HR" } << 2
                              << "Internal Standard 75As HR";
}

void TestApplication::internalStandardChoice()
{
    QFETCH(QString, file);
    QFETCH(int, mrRow);
    QFETCH(QStringList, entries);
    QFETCH(int, choice);
    QFETCH(QString, title);

    if (file.isEmpty())
        window->listISChange();
    else
        load(file.section(QLatin1Char('|'), 0, 0), file.section(QLatin1Char('|'), 1));
    QPointer<QAbstractItemModel> previous = ui()->plotISchoice->model();
    ui()->comboISMR->setCurrentIndex(mrRow);
    QCOMPARE(texts(ui()->plotISchoice->model()), entries);
    QCOMPARE(ui()->plotISchoice->currentIndex(), 0);
    // A refilled list releases the one it replaces.
    QCOMPARE(previous.isNull(), mrRow != 0);
    ui()->plotISchoice->setCurrentIndex(choice);
    QCOMPARE(ui()->graphIS->title().text(), title);
}

void TestApplication::instrumentSwapsReader()
{
    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    ui()->icpmsModel->setCurrentIndex(1);
    QVERIFY(dynamic_cast<ParserInAgilentCSV *>(window->inputData->getParser()));
    // An unknown instrument name keeps the reader in place.
    window->on_icpmsModel_currentIndexChanged(QStringLiteral("ICP-OES"));
    QVERIFY(dynamic_cast<ParserInAgilentCSV *>(window->inputData->getParser()));
    QCOMPARE(window->inputData->getParser(), window->inputParser);
    ui()->icpmsModel->setCurrentIndex(0);
    QVERIFY(dynamic_cast<ParserInHRElementCSV *>(window->inputData->getParser()));
    // What was read stays on screen and in the data set.
    QCOMPARE(window->inputData->isoSize(), 4);
    QCOMPARE(ui()->listViewInput->count(), 9);
}

void TestApplication::listsDriveTablesAndPlots()
{
    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    // The working set differs from the instrument set, as after a correction.
    window->outputData->getSolution(1)->setCps(0, 1.25);
    QCOMPARE(outputCell(QStringLiteral("BLK_2"), 1), QStringLiteral("1.25"));
    ui()->listViewInput->setCurrentRow(1);
    const QAbstractItemModel *input = ui()->tableViewInput->model();
    QCOMPARE(input->index(2, 1).data().toString(), QStringLiteral("70.00"));
    // Emptying the lists sends row -1: the tables keep what they show.
    ui()->listViewInput->clear();
    ui()->listViewOutput->clear();
    QCOMPARE(ui()->tableViewInput->model(), input);
    QCOMPARE(input->index(0, 1).data().toString(), QStringLiteral("120.00"));
    QCOMPARE(ui()->tableViewOutput->model()->index(0, 1).data().toString(), QStringLiteral("1.25"));

    ui()->listEvol->setCurrentRow(2);
    QCOMPARE(ui()->graphEvol->title().text(), QStringLiteral("Evolution BLK - 59Co MR"));
    ui()->evolChoice->setCurrentIndex(1);
    QCOMPARE(ui()->graphEvol->title().text(), QStringLiteral("Evolution VS - 59Co MR"));
    ui()->listCurves->setCurrentRow(3);
    QVERIFY(ui()->graphElement->title().text().contains(QStringLiteral("115In MR")));

    // Another file, even of the other instrument: nothing of this one stays
    // drawn, before or after a run, until something is picked.
    load(QStringLiteral("Q-ICP-MS"), EXAMPLES + "q_export.csv");
    QVERIFY(window->chooseStdqcFile(EXAMPLES + "q_stdqc.csv"));
    for (int pass = 0; pass < 2; ++pass) {
        QCOMPARE(ui()->graphElement->title().text(), QStringLiteral("Calibration"));
        QCOMPARE(ui()->graphEvol->title().text(), QStringLiteral("Evolution"));
        for (QwtPlot *plot : { ui()->graphElement, ui()->graphEvol }) {
            for (const QwtPlotItem *item : plot->itemList(QwtPlotItem::Rtti_PlotCurve))
                QCOMPARE(static_cast<const QwtPlotCurve *>(item)->dataSize(), size_t(0));
            QVERIFY(!plot->legend());
        }
        QCOMPARE(
            ui()->graphIS->title().text(), "Internal Standard " + ui()->comboISLR->currentText());
        run();
    }
}

// The IS plot's dashed bounds and red points follow the panel before any run.
void TestApplication::recoveryBoundsFollowPanel()
{
    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    // "levels of the dashed lines|running order of the red points"
    const auto marks = [this] {
        QStringList levels;
        QStringList positions;
        for (QwtPlotItem *item : ui()->graphIS->itemList(QwtPlotItem::Rtti_PlotCurve)) {
            const auto *curve = static_cast<QwtPlotCurve *>(item);
            for (size_t k = 0; k < curve->dataSize(); ++k) {
                const QPointF point = curve->sample(int(k));
                if (curve->pen().style() == Qt::DashLine && k == 0)
                    levels << QString::number(point.y());
                else if (curve->symbol() && curve->symbol()->brush().color() == QColor(Qt::red))
                    positions << QString::number(point.x());
            }
        }
        return levels.join(',') + '|' + positions.join(',');
    };
    // Indium LR along the run: 10000, 9800, 9600, 9500, 9400, 8000, 9900, 9000, 8500.
    apply(QStringLiteral("is=BLK_1;lr=115In LR;rec=85,95"));
    QCOMPARE(marks(), QStringLiteral("8500,9500|2,3,6,7"));
    ui()->recoveryHigh->setValue(99);
    QCOMPARE(marks(), QStringLiteral("8500,9900|6"));
    ui()->echantIS->setCurrentIndex(ui()->echantIS->findText(QStringLiteral("S_1")));
    QCOMPARE(marks(), QStringLiteral("6800,7920|1,2,3,4,5,7,8,9"));
    clickCheck(ui()->correctionIS);
    QCOMPARE(marks(), QStringLiteral("|"));
}

void TestApplication::closing_data()
{
    QTest::addColumn<QString>("file"); // empty: nothing read
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("stored"); // the current choices are already stored
    QTest::addColumn<QStringList>("keys");

    const QString example = EXAMPLES + "hr_export.csv";
    QTest::newRow("no keeps the window") << example << QMessageBox::No << false << QStringList {};
    QTest::newRow("yes before any file stores nothing")
        << "" << QMessageBox::Yes << false << QStringList {};
    QTest::newRow("yes stores the three choices")
        << example << QMessageBox::Yes << false << QStringList { "HR", "LR", "MR" };
    QTest::newRow("no HR isotope, no HR key")
        << RUN_HR << QMessageBox::Yes << false << QStringList { "LR", "MR" };
    QTest::newRow("unchanged choices are not rewritten")
        << example << QMessageBox::Yes << true << QStringList { "File", "HR", "LR", "MR" };
}

void TestApplication::closing()
{
    QFETCH(QString, file);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, stored);
    QFETCH(QStringList, keys);

    if (!file.isEmpty())
        load(QStringLiteral("HR-ICP-MS"), file);
    ui()->comboISLR->setCurrentIndex(ui()->comboISLR->count() - 1);
    const QList<QPair<QString, const QComboBox *>> combos { { "LR", ui()->comboISLR },
        { "MR", ui()->comboISMR }, { "HR", ui()->comboISHR } };
    QString fileName;
    QDateTime written;
    if (stored) {
        QSettings settings(ORGANISATION, APPLICATION);
        for (const auto &pair : combos)
            settings.setValue(pair.first, pair.second->currentText());
        settings.setValue(QStringLiteral("File"), RUN_STDQC);
        settings.sync();
        fileName = settings.fileName();
        written = QFileInfo(fileName).lastModified();
        QTest::qWait(30);
    }

    ModalAnswerer answerer({ answer });
    action(QStringLiteral("&Quit"))->trigger();
    QCOMPARE(answerer.count(), 1);
    const ModalAnswerer::Seen box = answerer.seen().first();
    QCOMPARE(box.title, QStringLiteral("Close"));
    QCOMPARE(box.text, QStringLiteral("Do you really want to close this application ?"));
    QCOMPARE(box.icon, QMessageBox::Question);
    QCOMPARE(box.defaultButton, QMessageBox::Yes);
    QCOMPARE(window->isVisible(), answer == QMessageBox::No);

    QSettings settings(ORGANISATION, APPLICATION);
    QStringList found = settings.allKeys();
    found.sort();
    QCOMPARE(found, keys);
    for (const auto &pair : combos) {
        if (keys.contains(pair.first))
            QCOMPARE(settings.value(pair.first).toString(), pair.second->currentText());
    }
    if (stored)
        QCOMPARE(QFileInfo(fileName).lastModified(), written);
}

void TestApplication::aboutBox()
{
    ModalAnswerer answerer({ QMessageBox::Ok });
    action(QStringLiteral("&About"))->trigger();
    QCOMPARE(answerer.count(), 1);
    const ModalAnswerer::Seen box = answerer.seen().first();
    QCOMPARE(box.title, QStringLiteral("About Ketrion Application"));
    for (const char *part : { "Ketrion", "v1.31", "Application to process ICP-MS data.",
             "<b>Designed by :</b>", "<b>Maintain by :</b>", "Ostrel" })
        QVERIFY2(box.text.contains(QLatin1String(part)), part);
    QVERIFY(!box.text.contains(QLatin1Char('@')));
    QVERIFY(window->isVisible());
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
    QTest::newRow("quadrupole example") << QStringList { "Q-ICP-MS|" + EXAMPLES + "q_export.csv" }
                                        << "Parsed Elements 20\n\nParsed Solutions 53" << 53 << 20;
    QTest::newRow("high-resolution file read as quadrupole")
        << QStringList { "Q-ICP-MS|" + EXAMPLES + "hr_export.csv" }
        << "Input file format error: no solution detected (instrument set to 'Q-ICP-MS')" << 0 << 0;
    QTest::newRow("quadrupole file read as high resolution, after a good read")
        << QStringList { hr, "HR-ICP-MS|" + EXAMPLES + "q_export.csv" }
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
        ui()->icpmsModel->setCurrentIndex(
            ui()->icpmsModel->findText(read.section(QLatin1Char('|'), 0, 0)));
        ModalAnswerer answerer({ QMessageBox::Ok });
        accepted = window->loadDataFile(read.section(QLatin1Char('|'), 1));
        QCOMPARE(answerer.count(), 1);
        last = answerer.seen().first();
    }
    const bool unreadable = message.startsWith(QLatin1String("Cannot read"));
    QCOMPARE(last.title, unreadable ? QStringLiteral("Read File") : QStringLiteral("Parsing CSV"));
    QCOMPARE(last.text, message);
    QCOMPARE(last.icon, unreadable ? QMessageBox::Warning : QMessageBox::Information);

    const bool success = message.startsWith(QLatin1String("Parsed"));
    QCOMPARE(accepted, success);
    QCOMPARE(action(QStringLiteral("&Process"))->isEnabled(), success);
    // A file that cannot be opened leaves what the earlier read showed.
    const bool shown = solutions > 0;
    QCOMPARE(ui()->listViewInput->count(), solutions);
    QCOMPARE(ui()->listCurves->count() + ui()->listEvol->count(), 2 * isotopes);
    QCOMPARE(ui()->evolChoice->count(), shown ? 2 : 0); // BLK, VS
    QCOMPARE(ui()->plotISchoice->count(), shown ? 3 : 0);
    QCOMPARE(ui()->comboISLR->count() + ui()->blankSelection->count() > 0, shown);
    // The average blanks close the working set's list and are no IS reference.
    const QStringList output = texts(ui()->listViewOutput->model());
    const QStringList averages
        = shown ? QStringList { "BLK_Avg_All", "BLK_Avg_First_Seq" } : QStringList();
    QCOMPARE(output.mid(solutions), averages);
    QCOMPARE(ui()->echantIS->count(), solutions);
    // The internal-standard plot is drawn for the first entry, the LR isotope.
    if (shown)
        QCOMPARE(
            ui()->graphIS->title().text(), "Internal Standard " + ui()->comboISLR->currentText());
}

void TestApplication::cancelledDialogs_data()
{
    QTest::addColumn<QStringList>("command"); // its text, the tab it needs, the dialog's title
    QTest::newRow("data file") << QStringList { "&Data File", "tab_input", "Choose a Data file" };
    QTest::newRow("standards file")
        << QStringList { "&STD-QC File", "tab_input", "Choose a file - QC & STD" };
    QTest::newRow("results") << QStringList { "&Save Output", "tab_output", "Choose a file name" };
    QTest::newRow("plot") << QStringList { "&Save Plot", "tabElmnt", "Save Current Plot" };
}

void TestApplication::cancelledDialogs()
{
    QFETCH(QStringList, command);

    loadRunFiles();
    run();
    const QStringList before = texts(ui()->listViewOutput->model());
    ui()->tabs->setCurrentWidget(window->findChild<QWidget *>(command.at(1)));

    // Nothing planned: the file dialog is dismissed as with Cancel.
    ModalAnswerer answerer({});
    action(command.at(0))->trigger();
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.seen().first().title, command.at(2));
    QCOMPARE(texts(ui()->listViewOutput->model()), before);
    QCOMPARE(
        QSettings(ORGANISATION, APPLICATION).value(QStringLiteral("File")).toString(), RUN_STDQC);
    QCOMPARE(QDir(work.path()).entryList(QDir::Files), QStringList {});
    // Only a cancelled data file takes "&Process" away, until a file is read again.
    QCOMPARE(action(QStringLiteral("&Process"))->isEnabled(), command.at(0) != "&Data File");
}

void TestApplication::chooseStandardsFile()
{
    const QString lithium = DATA + "window_run_stdqc_lithium_only.csv";
    ModalAnswerer answerer({ QMessageBox::Ok });
    QVERIFY(window->chooseStdqcFile(RUN_STDQC));
    QVERIFY(window->chooseStdqcFile(lithium));
    QVERIFY(!window->chooseStdqcFile(DATA + "gone.csv"));
    QCOMPARE(answerer.count(), 1);
    const ModalAnswerer::Seen box = answerer.seen().first();
    QCOMPARE(box.title, QStringLiteral("Read File"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.text, "Cannot read file " + DATA + "gone.csv:\nNo such file or directory.");
    // The later good choice stays; choosing reads nothing and touches no other key.
    QSettings settings(ORGANISATION, APPLICATION);
    QCOMPARE(settings.allKeys(), QStringList { "File" });
    QCOMPARE(settings.value(QStringLiteral("File")).toString(), lithium);
    QCOMPARE(ui()->listViewInput->count(), 0);
}

void TestApplication::rememberedChoicesAfterRestart_data()
{
    QTest::addColumn<QString>("instrument");
    QTest::addColumn<QString>("nextFile");
    QTest::addColumn<QStringList>("expected"); // LR, MR, HR texts after the next read
    QTest::addColumn<QString>("weighting");
    QTest::addColumn<QString>("bounds"); // IS recovery, low and high

    // Bounds both below and both above the defaults 60 and 125: each box's
    // range depends on the other's value.
    QTest::newRow("other file with the same isotopes")
        << "HR-ICP-MS" << EXAMPLES + "hr_export.csv"
        << QStringList { "115In LR", "115In MR", "75As HR" } << "1/x"
        << "10,50";
    // The stored texts are not in the quadrupole file: its first isotope stays.
    QTest::newRow("stored texts absent from the next file")
        << "Q-ICP-MS" << EXAMPLES + "q_export.csv" << QStringList { "7Li #1 ", "", "" }
        << QString::fromUtf8("1/x\u00b2") << "130,200";
}

void TestApplication::rememberedChoicesAfterRestart()
{
    QFETCH(QString, instrument);
    QFETCH(QString, nextFile);
    QFETCH(QStringList, expected);
    QFETCH(QString, weighting);
    QFETCH(QString, bounds);

    // The run file lists 7Li and 59Co first: the stored choices are not the defaults.
    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    apply("lr=115In LR;mr=115In MR;w=" + weighting + ";rec=" + bounds);
    {
        ModalAnswerer answerer({ QMessageBox::Yes });
        QVERIFY(window->close());
    }
    newWindow();
    // Before a file is read the isotope boxes are empty whatever is stored;
    // the other choices are back at once.
    QCOMPARE(ui()->comboISLR->count(), 0);
    QCOMPARE(ui()->weighting->currentText(), weighting);
    QCOMPARE(
        QStringLiteral("%1,%2").arg(ui()->recoveryLow->value()).arg(ui()->recoveryHigh->value()),
        bounds);
    load(instrument, nextFile);
    QCOMPARE(ui()->comboISLR->currentText(), expected.at(0));
    QCOMPARE(ui()->comboISMR->currentText(), expected.at(1));
    QCOMPARE(ui()->comboISHR->currentText(), expected.at(2));
    QCOMPARE(ui()->plotISchoice->currentText(), "LR Internal Standard : " + expected.at(0));
}

void TestApplication::process_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("lines"); // the whole trace; empty: not checked
    QTest::addColumn<QString>("label"); // the QC report's; empty: QC validation off
    QTest::addColumn<QStringList>("failures");
    QTest::addColumn<QStringList>("recovery"); // the IS recovery report's label, then its rows
    QTest::addColumn<QStringList>("sampleRow"); // S_1's 7Li LR concentration and RSD
    QTest::addColumn<QString>("expectedFile"); // the saved results; empty: not saved

    // Lines, figures and files worked out by hand from the two run files.
    QTest::newRow("no correction")
        << ""
        << QStringList { "*** begin processing ***",
               "# Ketrion configuration:", "  Selected ICP instrument: HR-ICP-MS",
               "  No internal standard correction is applied", "  No blank correction is applied",
               "  Quality control validation is set", "# open QC-STD file", "# parse QC-STD file",
               "# init processing variables", "# add blk solutions", "# process calibration",
               "7Li LR: slope = 1030.76923077, y-intercept =  34.61538462, r2 = 0.99962422",
               "59Co MR: slope = 507.30769231, y-intercept =  43.84615385, r2 = 0.99999828",
               "blank_id = -1, is_ref_id = -1, is_elements[0] = -1, is_elements[1] = -1, "
               "is_elements[2] = -1",
               "*** process concentration ***", "*** process limits ***",
               "*** process QC control ***", "# QC not valid: 1 / 2",
               "*** refreshing plots and tables ***", "*** end of processing ***" }
        << "Quality Control <b>Not valid</b> : 1 / 2" << QStringList { "QC_1 : 59Co MR" }
        << QStringList {} << QStringList { "2.87687", "3.05" } << "";
    // Indium against BLK_1 is 98, 96, 95, 94, 80, 99, 90 and 85 % in both
    // groups; the bounds change no result.
    QTest::newRow("IS on LR and MR, y-intercept with the first-run average")
        << "is=BLK_1;lr=115In LR;mr=115In MR;boxes=110;yi=BLK_Avg_First_Seq;rec=85,95"
        << QStringList {} << "Quality Control <b>Not valid</b> : 0 / 2" << QStringList {}
        << QStringList { "IS recovery <b>outside 85-95 %</b> : 8 / 16", "BLK_2 : 115In LR (98.0 %)",
               "BLK_2 : 115In MR (98.0 %)", "STD_1 : 115In LR (96.0 %)",
               "STD_1 : 115In MR (96.0 %)", "S_1 : 115In LR (80.0 %)", "S_1 : 115In MR (80.0 %)",
               "BLK_3 : 115In LR (99.0 %)", "BLK_3 : 115In MR (99.0 %)" }
        << QStringList { "3.3913", "2.82" } << "window_run_is_yintercept_results.csv";
    QTest::newRow("weighted 1/x, IS on LR, no QC: the recovery report alone")
        << "is=BLK_1;lr=115In LR;mr=115In MR;boxes=100;yi=BLK_1;w=1/x;rec=90,100;qc=0"
        << QStringList { "*** begin processing ***",
               "# Ketrion configuration:", "  Selected ICP instrument: HR-ICP-MS",
               "  Internal standard correction is set with:",
               "    - BLK_1 as the IS reference solution",
               "    - IS check boxes' status are: 1 ; 0 ; 0",
               "    - 115In LR as the IS-LR isotope reference",
               "    - 115In MR as the IS-MR isotope reference",
               "    -  as the IS-HR isotope reference",
               "  Y-intercept is set with BLK_1 as the blank reference solution",
               "  Calibration lines are weighted by 1/x", "# open QC-STD file",
               "# parse QC-STD file", "# init processing variables",
               "# internal standard correction", "# add blk solutions", "# y intercept",
               "# process calibration",
               "7Li LR: slope = 1076.40833022, y-intercept =  74.79210734, r2 = 0.99921983",
               "59Co MR: slope = 505.95238095, y-intercept =  47.46031746, r2 = 0.99998339",
               "blank_id = -1, is_ref_id = 0, is_elements[0] = -1, is_elements[1] = 3, "
               "is_elements[2] = 1",
               "*** process concentration ***", "*** process limits ***",
               "# IS recovery outside 90-100 %: 2 / 8", "*** refreshing plots and tables ***",
               "*** end of processing ***" }
        << "" << QStringList {}
        << QStringList { "IS recovery <b>outside 90-100 %</b> : 2 / 8", "S_1 : 115In LR (80.0 %)",
               "S_2 : 115In LR (85.0 %)" }
        << QStringList { "3.41433", "2.83" } << "";
}

void TestApplication::process()
{
    QFETCH(QString, chosen);
    QFETCH(QStringList, lines);
    QFETCH(QString, label);
    QFETCH(QStringList, failures);
    QFETCH(QStringList, recovery);
    QFETCH(QStringList, sampleRow);
    QFETCH(QString, expectedFile);

    loadRunFiles();
    apply(chosen);
    // Rows picked before the run: the views follow it.
    outputCell(QStringLiteral("S_1"), 0);
    ui()->listCurves->setCurrentRow(0);
    clearTrace();
    const QList<ModalAnswerer::Seen> boxes = run();

    if (!lines.isEmpty())
        QCOMPARE(traceLines(), lines);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title,
        label.isEmpty() ? QStringLiteral("Internal Standard Recovery")
                        : QStringLiteral("Quality Controls"));
    QStringList labels;
    QList<QStringList> lists;
    if (!label.isEmpty()) {
        labels << label;
        lists << failures;
    }
    if (!recovery.isEmpty()) {
        labels << recovery.first();
        lists << recovery.mid(1);
    }
    QCOMPARE(boxes.first().labels, labels);
    QCOMPARE(boxes.first().lists, lists);
    const QAbstractItemModel *table = ui()->tableViewOutput->model();
    QCOMPARE(table->index(0, 0).data().toString(), QStringLiteral("7Li LR"));
    QCOMPARE(table->index(0, 3).data().toString(), sampleRow.at(0));
    QCOMPARE(table->index(0, 4).data().toString(), sampleRow.at(1));
    QVERIFY(ui()->graphElement->title().text().contains(QStringLiteral("7Li LR")));
    if (!expectedFile.isEmpty()) {
        const QString saved = work.filePath(expectedFile);
        QVERIFY(window->saveResults(saved));
        QCOMPARE(contents(saved), contents(DATA + expectedFile));
    }
}

void TestApplication::secondRunMatchesFreshRun_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("secondStandards");

    // The second run leaves the IS isotopes out of the calibration: no line of the first may stay.
    QTest::newRow("calibrated, then IS left out")
        << "yi=BLK_1"
        << "is=BLK_1;lr=7Li LR;mr=115In MR;yi=BLK_1" << RUN_STDQC;
    // The first run's zero standard leaves the working set.
    QTest::newRow("y-intercept, then subtraction") << "yi=BLK_2"
                                                   << "sub=BLK_2" << RUN_STDQC;
    // An element the second standards file lacks keeps no value of the first.
    QTest::newRow("standards file changed between the runs")
        << "yi=BLK_1"
        << "yi=BLK_1" << DATA + "window_run_stdqc_lithium_only.csv";
}

void TestApplication::secondRunMatchesFreshRun()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, secondStandards);

    loadRunFiles();
    apply(first);
    const QString firstRun = runAndSave(QStringLiteral("first.csv"));
    QVERIFY(window->chooseStdqcFile(secondStandards));
    apply(second);
    const QString again = runAndSave(QStringLiteral("again.csv"));
    const QStringList listAfterTwo = texts(ui()->listViewOutput->model());

    newWindow();
    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    apply(second);
    const QString fresh = runAndSave(QStringLiteral("fresh.csv"));
    QVERIFY(!firstRun.isEmpty() && !again.isEmpty() && !fresh.isEmpty());
    QVERIFY(contents(firstRun) != contents(fresh));
    QCOMPARE(contents(again), contents(fresh));
    QCOMPARE(listAfterTwo, texts(ui()->listViewOutput->model()));
}

void TestApplication::noBlank_data()
{
    QTest::addColumn<bool>("subtract");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("traced");
    QTest::newRow("zero standard") << false << ProcessingRun::NO_ZERO_STD_BLANK
                                   << "# no blank available: no zero standard added";
    QTest::newRow("subtraction") << true << ProcessingRun::NO_SUBTRACTION_BLANK
                                 << "# no blank available: nothing subtracted";
}

void TestApplication::noBlank()
{
    QFETCH(bool, subtract);
    QFETCH(QString, status);
    QFETCH(QString, traced);
    load(QStringLiteral("HR-ICP-MS"), DATA + QStringLiteral("window_run_no_blank_hr.csv"));
    QVERIFY(window->chooseStdqcFile(RUN_STDQC));
    // No blank, so no average either.
    const QStringList before = texts(ui()->listViewOutput->model());
    QCOMPARE(before, texts(ui()->listViewInput->model()));
    QCOMPARE(ui()->blankSelection->currentIndex(), -1);
    apply(QStringLiteral("qc=0"));
    (subtract ? ui()->subBlank : ui()->yIntercept)->setChecked(true);

    QCOMPARE(run().size(), 0);
    QCOMPARE(window->statusBar()->currentMessage(), status);
    QVERIFY(traceLines().contains(traced));
    QCOMPARE(traceLines().last(), QStringLiteral("*** end of processing ***"));
    QCOMPARE(texts(ui()->listViewOutput->model()), before);
    // Calibrated from the three standards alone.
    QCOMPARE(outputCell(QStringLiteral("S_1"), 3), QStringLiteral("2.87687"));

    // The message is about that run only.
    ui()->yIntercept->setChecked(false);
    ui()->subBlank->setChecked(false);
    run();
    QCOMPARE(window->statusBar()->currentMessage(), QString());
}

void TestApplication::runStopsEarly_data()
{
    // The standards file (empty: never chosen), the box's title and text, the
    // last trace line, the options.
    QTest::addColumn<QStringList>("stop");
    const QString options = QStringLiteral("is=BLK_1;lr=115In LR;mr=115In MR;yi=BLK_1");
    QTest::newRow("no standards file chosen") << QStringList { "", "Read QC-STD File",
        "You have to load a QC-STD Concentrations File", "# open QC-STD file", options };
    QTest::newRow("standards file without the QC solution")
        << QStringList { DATA + "window_run_stdqc_without_qc.csv", "Parsing CSV",
               "Solution QC_1 Not found", "# parse QC-STD file", options };
    QTest::newRow("reference solution without its IS value") << QStringList { RUN_STDQC, "Process",
        "The IS reference solution S_2 has no value for 59Co MR: choose another "
        "reference solution or isotope.",
        "# open QC-STD file", "is=S_2;lr=115In LR;mr=59Co MR;yi=BLK_1" };
}

void TestApplication::runStopsEarly()
{
    QFETCH(QStringList, stop);
    const QString standards = stop.at(0), title = stop.at(1);

    // An earlier good run whose results must stay on screen and in the file.
    loadRunFiles();
    const QString before = runAndSave(QStringLiteral("before.csv"));
    QVERIFY(!before.isEmpty());
    const QString shown = outputCell(QStringLiteral("S_1"), 3);

    if (standards.isEmpty()) {
        QSettings(ORGANISATION, APPLICATION).remove(QStringLiteral("File"));
    } else {
        QVERIFY(window->chooseStdqcFile(standards));
    }
    apply(stop.at(4));
    clearTrace();

    const QList<ModalAnswerer::Seen> boxes = run();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title, title);
    QCOMPARE(boxes.first().text, stop.at(2));
    QCOMPARE(boxes.first().icon,
        title == "Parsing CSV" ? QMessageBox::Information : QMessageBox::Warning);
    QCOMPARE(traceLines().last(), stop.at(3));
    QVERIFY(action(QStringLiteral("&Process"))->isEnabled());
    QCOMPARE(ui()->tableViewOutput->model()->index(0, 3).data().toString(), shown);
    const QString after = work.filePath(QStringLiteral("after.csv"));
    QVERIFY(window->saveResults(after));
    QCOMPARE(contents(after), contents(before));
}

void TestApplication::failedSaveKeepsEarlierFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");

    // The finished file cannot take the name: the system gives no reason.
    QTest::newRow("renaming fails") << QString(250, QLatin1Char('r')) << "";
    // The writer's own failure: the file size limit refuses its bytes.
    QTest::newRow("writing fails") << "results.csv"
                                   << "File too large";
}

void TestApplication::failedSaveKeepsEarlierFile()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);

    loadRunFiles();
    run();
    QTemporaryDir folder;
    const QString target = folder.filePath(name);
    const QByteArray earlier = "results of an earlier run\n";
    QFile file(target);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(earlier) == earlier.size());
    file.close();

    ModalAnswerer answerer({ QMessageBox::Ok });
    rlimit previous {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto signal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit none = previous;
    none.rlim_cur = 0;
    if (!reason.isEmpty())
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &none), 0);
    const bool saved = window->saveResults(target);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, signal);

    QVERIFY(!saved);
    QCOMPARE(answerer.count(), 1);
    const ModalAnswerer::Seen box = answerer.seen().first();
    QCOMPARE(box.title, QStringLiteral("Save File"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    const QString start = QStringLiteral("Cannot write file %1:\n").arg(target);
    QVERIFY2(box.text.startsWith(start) && box.text.endsWith('.'), qPrintable(box.text));
    if (!reason.isEmpty())
        QCOMPARE(box.text.mid(start.size()), reason + QLatin1Char('.'));
    QCOMPARE(contents(target), earlier);
    // No temporary file is left beside it.
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
}

void TestApplication::saveOutputFileType_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("longTable");
    QTest::addColumn<QByteArray>("start");

    QTest::newRow("results file") << "CSV File (*.csv)" << false << QByteArray(";;7Li LR;;;");
    QTest::newRow("long table")
        << "Long table (*.csv)" << true
        << QByteArray("solution,type,isotope,concentration_ppb,sd_ppb,rsd_percent,lod_ppb,"
                      "loq_ppb,flag\n");
}

// The dialog is answered without being shown, as the user would answer it.
void TestApplication::saveOutputFileType()
{
    QFETCH(QString, type);
    QFETCH(bool, longTable);
    QFETCH(QByteArray, start);

    loadRunFiles();
    run();
    QTemporaryDir folder;
    const std::unique_ptr<QFileDialog> dialog = window->saveOutputDialog();
    dialog->setDirectory(folder.path());
    dialog->selectFile(QStringLiteral("run"));
    dialog->selectNameFilter(type);
    QCOMPARE(dialog->selectedNameFilter(), type);
    ModalAnswerer answerer({});
    QVERIFY(window->saveAnsweredOutput(*dialog));

    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList { "run.csv" });
    const QString plain = work.filePath(QStringLiteral("plain.csv"));
    QVERIFY(window->saveResults(
        plain, longTable ? ProcessingRun::Layout::Long : ProcessingRun::Layout::Wide));
    QCOMPARE(answerer.count(), 0);
    const QByteArray saved = contents(folder.filePath(QStringLiteral("run.csv")));
    QVERIFY2(saved.startsWith(start), saved.left(80).constData());
    QCOMPARE(saved, contents(plain));
}

void TestApplication::savePlot_data()
{
    // The plot's tab, the plot, the name given and the file written (empty: a warning instead).
    QTest::addColumn<QStringList>("save");
    QTest::newRow("evolution, not the IS plot")
        << QStringList { "tabEvol", "graphEvol", "evol.JPG", "evol.JPG" };
    QTest::newRow("no suffix gets the offered one")
        << QStringList { "tabElmnt", "graphElement", "calibration", "calibration.jpg" };
    // A name the dialog leaves without a suffix is still written as offered.
    QTest::newRow("trailing dot") << QStringList { "tabElmnt", "graphElement", "calibration.",
        "calibration." };
    QTest::newRow("unknown suffix") << QStringList { "tabEvol", "graphEvol", "evol.xyz", "" };
}

void TestApplication::savePlot()
{
    QFETCH(QStringList, save);
    const QString plot = save.at(1), name = save.at(2), written = save.at(3);

    loadRunFiles();
    run();
    ui()->listCurves->setCurrentRow(0);
    ui()->listEvol->setCurrentRow(0);
    ui()->tabs->setCurrentWidget(window->findChild<QWidget *>(save.at(0)));
    QTemporaryDir folder;
    // Typed into the dialog, not shown: its answer is what the slot passes on.
    const std::unique_ptr<QFileDialog> dialog = window->savePlotDialog();
    dialog->setDirectory(folder.path());
    dialog->selectFile(name);
    ModalAnswerer answerer({ QMessageBox::Ok });
    QCOMPARE(window->savePlot(dialog->selectedFiles().value(0)), !written.isEmpty());
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
    for (QwtPlot *other : { ui()->graphElement, ui()->graphIS, ui()->graphEvol }) {
        const double difference = meanDifference(image, other->grab().toImage());
        if (other->objectName() == plot)
            QVERIFY2(difference < 4.0, qPrintable(QString::number(difference)));
        else
            QVERIFY2(difference > 8.0, qPrintable(QString::number(difference)));
    }
}

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
