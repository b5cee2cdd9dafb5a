#include "ModalAnswerer.h"

#include "app/Application.h"
#include "app/Ui_Application.h"
#include "display/Displaying.h"
#include "model/Data.h"
#include "parsers/ParserInAgilentCSV.h"
#include "parsers/ParserInHRElementCSV.h"
#include "parsers/ParserOutCSV.h"
#include "processing/Processing.h"
#include "processing/ProcessingRun.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <qwt_plot.h>
#include <qwt_scale_draw.h>
#include <qwt_text.h>

#include <memory>

Q_DECLARE_METATYPE(QMessageBox::StandardButton)

namespace {

struct Iso
{
    const char *element;
    int masse;
    Element::Resolution resol;
};

const QList<Iso> highResolution { { "In", 115, Element::LR }, { "Co", 59, Element::LR },
    { "In", 115, Element::MR }, { "Fe", 56, Element::MR }, { "In", 115, Element::HR } };
const QList<Iso> quadrupole { { "In #1", 115, Element::NOT_DEFINED },
    { "Co #1", 59, Element::NOT_DEFINED } };

void clickCheckBox(QCheckBox *box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const QRect indicator
        = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
}

void clickGroupCheck(QGroupBox *box)
{
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.lineWidth = 1;
    option.textAlignment = box->alignment();
    option.features = box->isFlat() ? QStyleOptionFrame::Flat : QStyleOptionFrame::None;
    option.subControls
        = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxCheckBox | QStyle::SC_GroupBoxLabel;
    const QRect check = box->style()->subControlRect(
        QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxCheckBox, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, check.center());
}

QStringList comboItems(const QComboBox *combo)
{
    QStringList items;
    for (int k = 0; k < combo->count(); ++k)
        items << combo->itemText(k);
    return items;
}

} // namespace

class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void initialState();
    void actions_data();
    void actions();
    void toolBarOrder();
    void processAtRightEdge_data();
    void processAtRightEdge();
    void initialOptions_data();
    void initialOptions();
    void blankOptionClicks_data();
    void blankOptionClicks();
    void correctionISClicks_data();
    void correctionISClicks();
    void saveActionsFollowTab_data();
    void saveActionsFollowTab();
    void internalStandardChoices_data();
    void internalStandardChoices();
    void internalStandardFollowsCombo();
    void internalStandardPlotFollowsChoice_data();
    void internalStandardPlotFollowsChoice();
    void instrumentSwapsReader_data();
    void instrumentSwapsReader();
    void solutionListsShowTheirDataSet();
    void evolutionSlots();
    void closing_data();
    void closing();
    void unchangedChoiceIsNotRewritten();
    void aboutBox();

private:
    // Fills both data sets and the lists the way a successful read leaves them.
    void load(const QList<Iso> &isos, const QStringList &solutions);
    QAction *action(const QString &text) const;
    Ui::Application *ui() const { return window->ui; }

    QTemporaryDir settingsDir;
    std::unique_ptr<Application> window;
};

void TestApplication::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(settingsDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    // A closed test window must not end the event loops of later tests.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestApplication::init()
{
    QSettings(QStringLiteral("Ostrel"), QStringLiteral("Ketrion")).clear();
    window = std::make_unique<Application>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestApplication::cleanup()
{
    window.reset();
}

void TestApplication::load(const QList<Iso> &isos, const QStringList &solutions)
{
    Data *input = window->inputData;
    input->clear();
    for (const Iso &iso : isos)
        input->addIso(Element(QString::fromLatin1(iso.element), iso.masse, iso.resol));
    for (int s = 0; s < solutions.size(); ++s) {
        const QString &name = solutions.at(s);
        input->addSolution(Solution(name, isos.size(), Parser::classify(name)));
        for (int i = 0; i < isos.size(); ++i) {
            input->getSolution(s)->setCps(i, 1000.0 * (s + 1) + i);
            input->getSolution(s)->setCpsSD(i, 10.0 * (s + 1));
        }
    }
    ProcessingRun::prepareWorkingSet(input, window->outputData, window->processing, true);
    window->display->displayLists(window->outputData);
    window->display->displaySolutions(input, window->outputData);
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

void TestApplication::initialState()
{
    const QTabWidget *tabs = ui()->tabs;
    QCOMPARE(tabs->count(), 6);
    const QStringList texts { "Input", "Configuration", "Calibration", "Internal Standard",
        "Signal evolution", "Output" };
    const QStringList names { "tab_input", "tab_config", "tabElmnt", "tabIS", "tabEvol",
        "tab_output" };
    for (int k = 0; k < 6; ++k) {
        QCOMPARE(tabs->tabText(k), texts.at(k));
        QCOMPARE(tabs->widget(k)->objectName(), names.at(k));
    }
    QCOMPARE(tabs->currentIndex(), 0);

    QVERIFY(window->windowTitle().startsWith(QStringLiteral("Ketrion - ")));
    QCOMPARE(window->minimumSize(), QSize(820, 500));
    QCOMPARE(window->objectName(), QStringLiteral("Application"));
    QVERIFY(!window->windowIcon().isNull());

    QCOMPARE(ui()->listViewInput->count(), 0);
    QCOMPARE(ui()->listViewOutput->count(), 0);
    QCOMPARE(ui()->plotISchoice->count(), 0);
    QCOMPARE(ui()->evolChoice->count(), 0);

    QCOMPARE(ui()->graphElement->title().text(), QStringLiteral("Calibration"));
    QCOMPARE(ui()->graphElement->axisTitle(QwtPlot::xBottom).text(),
        QStringLiteral("Concentration (ppb)"));
    QCOMPARE(ui()->graphIS->title().text(), QStringLiteral("Internal Standard"));
    QCOMPARE(ui()->graphEvol->title().text(), QStringLiteral("Evolution"));
    for (const QwtPlot *plot : { ui()->graphIS, ui()->graphEvol }) {
        QCOMPARE(plot->axisTitle(QwtPlot::xBottom).text(), QStringLiteral("Samples running order"));
        QCOMPARE(plot->axisMaxMinor(QwtPlot::xBottom), 0);
        QCOMPARE(plot->axisScaleDraw(QwtPlot::xBottom)->labelRotation(), 270.0);
    }
    for (const QwtPlot *plot : { ui()->graphElement, ui()->graphIS, ui()->graphEvol })
        QCOMPARE(plot->axisTitle(QwtPlot::yLeft).text(), QStringLiteral("Intensity (cps)"));

    // Working objects: empty data sets, a high-resolution reader, the writer on the working set.
    QCOMPARE(window->inputData->isoSize(), 0);
    QCOMPARE(window->inputData->solutionSize(), 0);
    QCOMPARE(window->outputData->solutionSize(), 0);
    QVERIFY(dynamic_cast<ParserInHRElementCSV *>(window->inputData->getParser()));
    QCOMPARE(window->inputData->getParser(), window->inputParser);
    QCOMPARE(static_cast<Parser *>(window->outputParser), window->outputData->getParser());
    QVERIFY(window->stdqcParser);
    QVERIFY(window->stdqcFileName.isEmpty());
    QCOMPARE(window->processing->size(), 0);
}

void TestApplication::actions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("statusTip");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QSize>("iconSize");
    QTest::addColumn<bool>("enabled");

    const QSize tool(72, 72);
    QTest::newRow("quit") << "&Quit"
                          << "Quit the application"
                          << ":/res/close.png" << tool << true;
    QTest::newRow("about") << "&About"
                           << "Show the application's About box"
                           << ":/res/ketrion.png" << QSize(270, 213) << true;
    QTest::newRow("about Qt") << "About &Qt"
                              << "Show the Qt library's About box"
                              << ":/res/qt.png" << QSize(250, 250) << true;
    QTest::newRow("standards file") << "&STD-QC File"
                                    << "Open STD-QC file"
                                    << ":/res/config.png" << tool << true;
    QTest::newRow("data file") << "&Data File"
                               << "Open input Data file"
                               << ":/res/open.png" << tool << true;
    QTest::newRow("save plot") << "&Save Plot"
                               << "Save the plotted Graph"
                               << ":/res/plot.png" << tool << false;
    QTest::newRow("save output") << "&Save Output"
                                 << "Save Output Data"
                                 << ":/res/save.png" << tool << false;
    QTest::newRow("process") << "&Process"
                             << "Run the processing"
                             << ":/res/run.png" << tool << false;
}

void TestApplication::actions()
{
    QFETCH(QString, text);
    QFETCH(QString, statusTip);
    QFETCH(QString, icon);
    QFETCH(QSize, iconSize);
    QFETCH(bool, enabled);

    QAction *act = action(text);
    QVERIFY2(act, qPrintable(text));
    QCOMPARE(act->statusTip(), statusTip);
    QCOMPARE(act->isEnabled(), enabled);

    const QImage image(icon);
    QCOMPARE(image.size(), iconSize);
    QVERIFY(image.hasAlphaChannel());

    // The button shows the resource image, centred on a square so labels line up.
    const int side = qMax(iconSize.width(), iconSize.height());
    QCOMPARE(act->icon().availableSizes(), QList<QSize> { QSize(side, side) });
    const QImage shown = act->icon()
                             .pixmap(side, side)
                             .toImage()
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QPoint offset((side - iconSize.width()) / 2, (side - iconSize.height()) / 2);
    QCOMPARE(shown.copy(QRect(offset, iconSize)),
        image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

void TestApplication::toolBarOrder()
{
    const QToolBar *bar = ui()->toolBar;
    QStringList order;
    for (QAction *act : bar->actions()) {
        if (act->isSeparator())
            order << QStringLiteral("|");
        else if (QWidget *widget = bar->widgetForAction(act);
                 widget && !qobject_cast<QToolButton *>(widget))
            order << QStringLiteral("<spacer>");
        else
            order << act->text();
    }
    const QStringList expected { "&Data File", "&STD-QC File", "|", "&Save Plot", "&Save Output",
        "|", "&About", "About &Qt", "|", "&Quit", "|", "<spacer>", "|", "&Process" };
    QCOMPARE(order, expected);

    QVERIFY(!bar->isMovable());
    QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QCOMPARE(bar->windowTitle(), QStringLiteral("toolBar"));
    QCOMPARE(window->toolBarArea(ui()->toolBar), Qt::TopToolBarArea);
    QVERIFY(ui()->menuBar->actions().isEmpty());
}

void TestApplication::processAtRightEdge_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("minimum width") << 820;
    QTest::newRow("wide") << 1300;
    QTest::newRow("very wide") << 2000;
}

void TestApplication::processAtRightEdge()
{
    QFETCH(int, width);

    window->resize(width, 600);
    QTRY_COMPARE(window->width(), width);
    const QToolBar *bar = ui()->toolBar;
    QTRY_COMPARE(bar->width(), width);

    const QWidget *run = bar->widgetForAction(action(QStringLiteral("&Process")));
    const QWidget *quit = bar->widgetForAction(action(QStringLiteral("&Quit")));
    QVERIFY(run && quit);
    QVERIFY(run->isVisible());
    // Right edge, give or take the tool bar's own margin and handle.
    QVERIFY2(run->geometry().right() >= bar->width() - 16,
        qPrintable(QStringLiteral("%1 of %2").arg(run->geometry().right()).arg(bar->width())));
    // Everything else stays packed on the left.
    QVERIFY(quit->geometry().right() < 700);
}

void TestApplication::initialOptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("IS group") << "correctionIS" << true << true;
    QTest::newRow("IS LR") << "correctISLR" << true << true;
    QTest::newRow("IS MR") << "correctISMR" << true << true;
    QTest::newRow("IS HR") << "correctISHR" << true << true;
    QTest::newRow("y-intercept") << "yIntercept" << true << true;
    QTest::newRow("subtract blank") << "subBlank" << false << true;
    QTest::newRow("QC group") << "controlQC" << true << true;
    QTest::newRow("IS isotopes") << "groupBox" << false << true;
    QTest::newRow("blank selection") << "blankSelection" << false << true;
    QTest::newRow("instrument") << "icpmsModel" << false << true;
}

void TestApplication::initialOptions()
{
    QFETCH(QString, name);
    QFETCH(bool, checked);
    QFETCH(bool, enabled);

    QWidget *widget = window->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->isEnabled(), enabled);
    if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        QCOMPARE(button->isChecked(), checked);
        QVERIFY(!button->autoExclusive());
    } else if (auto *group = qobject_cast<QGroupBox *>(widget)) {
        QCOMPARE(group->isCheckable() && group->isChecked(), checked);
    }

    if (name == QLatin1String("icpmsModel")) {
        QCOMPARE(comboItems(ui()->icpmsModel), (QStringList { "HR-ICP-MS", "Q-ICP-MS" }));
        QCOMPARE(ui()->icpmsModel->currentText(), QStringLiteral("HR-ICP-MS"));
    }
}

void TestApplication::blankOptionClicks_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<bool>("yIntercept");
    QTest::addColumn<bool>("subBlank");

    QTest::newRow("subtract while y-intercept is on")
        << QStringList { "subBlank" } << false << true;
    QTest::newRow("subtract on then off")
        << QStringList { "subBlank", "subBlank" } << false << false;
    QTest::newRow("y-intercept off") << QStringList { "yIntercept" } << false << false;
    QTest::newRow("y-intercept off and on")
        << QStringList { "yIntercept", "yIntercept" } << true << false;
    QTest::newRow("subtract then y-intercept")
        << QStringList { "subBlank", "yIntercept" } << true << false;
    QTest::newRow("both off then subtract")
        << QStringList { "yIntercept", "subBlank" } << false << true;
    QTest::newRow("back and forth")
        << QStringList { "subBlank", "yIntercept", "subBlank", "subBlank" } << false << false;
}

void TestApplication::blankOptionClicks()
{
    QFETCH(QStringList, clicks);
    QFETCH(bool, yIntercept);
    QFETCH(bool, subBlank);

    for (const QString &name : clicks) {
        clickCheckBox(name == QLatin1String("subBlank") ? ui()->subBlank : ui()->yIntercept);
        const bool y = ui()->yIntercept->isChecked();
        const bool s = ui()->subBlank->isChecked();
        QVERIFY2(!(y && s), "both blank options checked");
        QCOMPARE(ui()->blankSelection->isEnabled(), y || s);
    }
    QCOMPARE(ui()->yIntercept->isChecked(), yIntercept);
    QCOMPARE(ui()->subBlank->isChecked(), subBlank);
}

void TestApplication::correctionISClicks_data()
{
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("on");

    QTest::newRow("unchecked") << 1 << false;
    QTest::newRow("checked again") << 2 << true;
    QTest::newRow("unchecked again") << 3 << false;
}

void TestApplication::correctionISClicks()
{
    QFETCH(int, clicks);
    QFETCH(bool, on);

    for (int k = 0; k < clicks; ++k) {
        clickGroupCheck(ui()->correctionIS);
        QCOMPARE(ui()->groupBox->isEnabled(), ui()->correctionIS->isChecked());
    }
    QCOMPARE(ui()->correctionIS->isChecked(), on);
    QCOMPARE(ui()->groupBox->isEnabled(), on);
    for (QWidget *inside :
        std::initializer_list<QWidget *> { ui()->comboISLR, ui()->comboISMR, ui()->comboISHR,
            ui()->correctISLR, ui()->correctISMR, ui()->correctISHR, ui()->echantIS })
        QCOMPARE(inside->isEnabled(), on);
    // The check marks themselves are kept for the next time the group is on.
    QVERIFY(ui()->correctISLR->isChecked());
}

void TestApplication::saveActionsFollowTab_data()
{
    QTest::addColumn<QStringList>("tabs");
    QTest::addColumn<bool>("plotSave");
    QTest::addColumn<bool>("saveFile");

    QTest::newRow("input") << QStringList { "tab_input" } << false << false;
    QTest::newRow("configuration") << QStringList { "tab_config" } << false << false;
    QTest::newRow("calibration") << QStringList { "tabElmnt" } << true << false;
    QTest::newRow("internal standard") << QStringList { "tabIS" } << true << false;
    QTest::newRow("evolution") << QStringList { "tabEvol" } << true << false;
    QTest::newRow("output") << QStringList { "tab_output" } << false << true;
    QTest::newRow("output then input")
        << QStringList { "tab_output", "tab_input" } << false << false;
    QTest::newRow("calibration then output")
        << QStringList { "tabElmnt", "tab_output" } << false << true;
    QTest::newRow("output then configuration")
        << QStringList { "tab_output", "tab_config" } << false << false;
}

void TestApplication::saveActionsFollowTab()
{
    QFETCH(QStringList, tabs);
    QFETCH(bool, plotSave);
    QFETCH(bool, saveFile);

    for (const QString &name : tabs) {
        QWidget *page = window->findChild<QWidget *>(name);
        QVERIFY(page);
        // Through the tab bar, as a user switches.
        QTabBar *bar = ui()->tabs->tabBar();
        QTest::mouseClick(
            bar, Qt::LeftButton, {}, bar->tabRect(ui()->tabs->indexOf(page)).center());
        QCOMPARE(ui()->tabs->currentWidget(), page);
    }
    QCOMPARE(action(QStringLiteral("&Save Plot"))->isEnabled(), plotSave);
    QCOMPARE(action(QStringLiteral("&Save Output"))->isEnabled(), saveFile);
    QVERIFY(!action(QStringLiteral("&Process"))->isEnabled());
}

void TestApplication::internalStandardChoices_data()
{
    QTest::addColumn<bool>("quadrupoleFile");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("nothing read yet") << false << false
                                      << QStringList { "LR Internal Standard : ",
                                             "MR Internal Standard : ", "HR Internal Standard : " };
    QTest::newRow("high resolution")
        << false << true
        << QStringList { "LR Internal Standard : 115In LR", "MR Internal Standard : 115In MR",
               "HR Internal Standard : 115In HR" };
    QTest::newRow("quadrupole") << true << true
                                << QStringList { "LR Internal Standard : 115In #1 ",
                                       "MR Internal Standard : ", "HR Internal Standard : " };
}

void TestApplication::internalStandardChoices()
{
    QFETCH(bool, quadrupoleFile);
    QFETCH(bool, loaded);
    QFETCH(QStringList, entries);

    if (loaded)
        load(quadrupoleFile ? quadrupole : highResolution,
            { "BLK_1", "STD_1", "S1", "BLK_2", "QC_1" });
    else
        window->listISChange();
    QCOMPARE(comboItems(ui()->plotISchoice), entries);
    QCOMPARE(ui()->plotISchoice->currentIndex(), 0);
}

void TestApplication::internalStandardFollowsCombo()
{
    load(highResolution, { "BLK_1", "STD_1", "S1" });
    QPointer<QAbstractItemModel> previous = ui()->plotISchoice->model();

    ui()->comboISMR->setCurrentIndex(1);
    QCOMPARE(comboItems(ui()->plotISchoice),
        (QStringList { "LR Internal Standard : 115In LR", "MR Internal Standard : 56Fe MR",
            "HR Internal Standard : 115In HR" }));
    QCOMPARE(ui()->plotISchoice->currentIndex(), 0);
    // The replaced list is released, not left behind.
    QVERIFY(previous.isNull());
}

void TestApplication::internalStandardPlotFollowsChoice_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("lrRow");
    QTest::addColumn<QString>("title");

    QTest::newRow("LR entry") << 0 << 0 << "Internal Standard 115In LR";
    QTest::newRow("LR entry, second isotope") << 0 << 1 << "Internal Standard 59Co LR";
    QTest::newRow("MR entry") << 1 << 0 << "Internal Standard 115In MR";
    QTest::newRow("HR entry") << 2 << 0 << "Internal Standard 115In HR";
}

void TestApplication::internalStandardPlotFollowsChoice()
{
    QFETCH(int, choice);
    QFETCH(int, lrRow);
    QFETCH(QString, title);

    load(highResolution, { "BLK_1", "STD_1", "S1" });
    ui()->comboISLR->setCurrentIndex(lrRow);
    ui()->plotISchoice->setCurrentIndex(choice);
    QCOMPARE(ui()->graphIS->title().text(), title);
}

void TestApplication::instrumentSwapsReader_data()
{
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<bool>("quadrupoleReader");

    QTest::newRow("quadrupole") << QStringList { "Q-ICP-MS" } << true;
    QTest::newRow("back to high resolution") << QStringList { "Q-ICP-MS", "HR-ICP-MS" } << false;
    QTest::newRow("unknown name keeps the reader") << QStringList { "Q-ICP-MS", "ICP-OES" } << true;
}

void TestApplication::instrumentSwapsReader()
{
    QFETCH(QStringList, choices);
    QFETCH(bool, quadrupoleReader);

    load(highResolution, { "BLK_1", "S1" });
    for (const QString &choice : choices) {
        const int index = ui()->icpmsModel->findText(choice);
        if (index >= 0)
            ui()->icpmsModel->setCurrentIndex(index);
        else
            window->on_icpmsModel_currentIndexChanged(choice);
    }
    Parser *reader = window->inputData->getParser();
    QCOMPARE(reader, window->inputParser);
    QCOMPARE(dynamic_cast<ParserInAgilentCSV *>(reader) != nullptr, quadrupoleReader);
    QCOMPARE(dynamic_cast<ParserInHRElementCSV *>(reader) != nullptr, !quadrupoleReader);
    // What was read stays on screen and in the data set.
    QCOMPARE(window->inputData->isoSize(), highResolution.size());
    QCOMPARE(ui()->listViewInput->count(), 2);
    QCOMPARE(static_cast<Parser *>(window->outputParser), window->outputData->getParser());
}

void TestApplication::solutionListsShowTheirDataSet()
{
    load(highResolution, { "BLK_1", "STD_1", "S1" });
    // The working set differs from the instrument set, as after a correction.
    window->outputData->getSolution(2)->setCps(0, 1.25);

    ui()->listViewOutput->setCurrentRow(2);
    const QAbstractItemModel *output = ui()->tableViewOutput->model();
    QCOMPARE(output->rowCount(), highResolution.size());
    QCOMPARE(output->index(0, 0).data().toString(), QStringLiteral("115In LR"));
    QCOMPARE(output->index(0, 1).data().toString(), QStringLiteral("1.25"));

    ui()->listViewInput->setCurrentRow(2);
    const QAbstractItemModel *input = ui()->tableViewInput->model();
    QCOMPARE(input->index(0, 1).data().toString(), QStringLiteral("3000.00"));
    QCOMPARE(input->index(1, 1).data().toString(), QStringLiteral("3001.00"));

    // Emptying the lists sends row -1: the tables keep what they show.
    ui()->listViewInput->clear();
    ui()->listViewOutput->clear();
    QCOMPARE(ui()->tableViewInput->model(), input);
    QCOMPARE(ui()->tableViewOutput->model(), output);
    QCOMPARE(input->index(0, 1).data().toString(), QStringLiteral("3000.00"));
}

void TestApplication::evolutionSlots()
{
    load(highResolution, { "BLK_1", "STD_1", "BLK_2" });
    // No pattern yet: picking an isotope draws nothing.
    ui()->listEvol->setCurrentRow(1);
    QCOMPARE(ui()->graphEvol->title().text(), QStringLiteral("Evolution"));

    ui()->evolChoice->addItems({ "BLK", "VS" });
    QCOMPARE(ui()->graphEvol->title().text(), QStringLiteral("Evolution BLK - 59Co LR"));
    ui()->evolChoice->setCurrentIndex(1);
    QCOMPARE(ui()->graphEvol->title().text(), QStringLiteral("Evolution VS - 59Co LR"));
    ui()->listEvol->setCurrentRow(3);
    QCOMPARE(ui()->graphEvol->title().text(), QStringLiteral("Evolution VS - 56Fe MR"));

    ui()->listCurves->setCurrentRow(4);
    QVERIFY(ui()->graphElement->title().text().contains(QStringLiteral("115In HR")));
}

void TestApplication::closing_data()
{
    QTest::addColumn<int>("file"); // 0 none, 1 high resolution, 2 quadrupole
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("viaQuit");
    QTest::addColumn<QStringList>("keys");

    QTest::newRow("no keeps the window") << 1 << QMessageBox::No << false << QStringList {};
    QTest::newRow("quit command asks too") << 1 << QMessageBox::No << true << QStringList {};
    QTest::newRow("yes before any file stores nothing")
        << 0 << QMessageBox::Yes << false << QStringList {};
    QTest::newRow("yes stores the three choices")
        << 1 << QMessageBox::Yes << false << QStringList { "HR", "LR", "MR" };
    QTest::newRow("yes from the quit command")
        << 1 << QMessageBox::Yes << true << QStringList { "HR", "LR", "MR" };
    QTest::newRow("quadrupole stores LR only")
        << 2 << QMessageBox::Yes << false << QStringList { "LR" };
}

void TestApplication::closing()
{
    QFETCH(int, file);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, viaQuit);
    QFETCH(QStringList, keys);

    if (file)
        load(file == 1 ? highResolution : quadrupole, { "BLK_1", "STD_1", "S1" });
    ui()->comboISLR->setCurrentIndex(ui()->comboISLR->count() - 1);

    ModalAnswerer answerer({ answer });
    if (viaQuit)
        action(QStringLiteral("&Quit"))->trigger();
    else
        window->close();

    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.unplanned(), 0);
    const ModalAnswerer::Seen box = answerer.seen().first();
    QCOMPARE(box.title, QStringLiteral("Close"));
    QCOMPARE(box.text, QStringLiteral("Do you really want to close this application ?"));
    QCOMPARE(box.icon, QMessageBox::Question);
    QCOMPARE(box.defaultButton, QMessageBox::Yes);
    QCOMPARE(window->isVisible(), answer == QMessageBox::No);

    QSettings settings(QStringLiteral("Ostrel"), QStringLiteral("Ketrion"));
    QStringList stored = settings.allKeys();
    stored.sort();
    QCOMPARE(stored, keys);
    const QList<QPair<QString, const QComboBox *>> combos { { "LR", ui()->comboISLR },
        { "MR", ui()->comboISMR }, { "HR", ui()->comboISHR } };
    for (const auto &pair : combos) {
        if (keys.contains(pair.first))
            QCOMPARE(settings.value(pair.first).toString(), pair.second->currentText());
    }
}

void TestApplication::unchangedChoiceIsNotRewritten()
{
    load(highResolution, { "BLK_1", "STD_1", "S1" });
    QString fileName;
    {
        QSettings settings(QStringLiteral("Ostrel"), QStringLiteral("Ketrion"));
        settings.setValue(QStringLiteral("LR"), ui()->comboISLR->currentText());
        settings.setValue(QStringLiteral("MR"), ui()->comboISMR->currentText());
        settings.setValue(QStringLiteral("HR"), ui()->comboISHR->currentText());
        settings.setValue(QStringLiteral("File"), QStringLiteral("/data/stdqc.csv"));
        fileName = settings.fileName();
    }
    const QDateTime before = QFileInfo(fileName).lastModified();
    QVERIFY(before.isValid());
    QTest::qWait(30);

    {
        ModalAnswerer answerer({ QMessageBox::Yes });
        QVERIFY(window->close());
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(QFileInfo(fileName).lastModified(), before);
    }

    // A changed choice is written, and only the close question's keys are touched.
    window = std::make_unique<Application>();
    window->show();
    load(highResolution, { "BLK_1", "STD_1", "S1" });
    ui()->comboISLR->setCurrentIndex(1);
    ModalAnswerer again({ QMessageBox::Yes });
    QVERIFY(window->close());
    QSettings settings(QStringLiteral("Ostrel"), QStringLiteral("Ketrion"));
    QCOMPARE(settings.value(QStringLiteral("LR")).toString(), QStringLiteral("59Co LR"));
    QCOMPARE(settings.value(QStringLiteral("MR")).toString(), QStringLiteral("115In MR"));
    QCOMPARE(settings.value(QStringLiteral("File")).toString(), QStringLiteral("/data/stdqc.csv"));
}

void TestApplication::aboutBox()
{
    ModalAnswerer answerer({ QMessageBox::Ok });
    action(QStringLiteral("&About"))->trigger();
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.unplanned(), 0);
    const ModalAnswerer::Seen box = answerer.seen().first();
    QCOMPARE(box.title, QStringLiteral("About Ketrion Application"));
    for (const char *part : { "Ketrion", "v1.31", "Application to process ICP-MS data.",
             "<b>Designed by :</b>", "<b>Maintain by :</b>", "Ostrel" })
        QVERIFY2(box.text.contains(QLatin1String(part)), part);
    QVERIFY(box.text.indexOf(QLatin1String("Designed by"))
        < box.text.indexOf(QLatin1String("Maintain by")));
    QVERIFY(!box.text.contains(QLatin1Char('@')));
    QVERIFY(window->isVisible());
}

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
