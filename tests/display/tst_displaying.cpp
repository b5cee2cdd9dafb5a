#include "app/Ui_Application.h"
#include "display/Displaying.h"
#include "model/Data.h"
#include "processing/Processing.h"

#include <QComboBox>
#include <QHeaderView>
#include <QListWidget>
#include <QMainWindow>
#include <QPointer>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

#include <qwt_interval_symbol.h>
#include <qwt_legend.h>
#include <qwt_legend_label.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_intervalcurve.h>
#include <qwt_plot_zoomer.h>
#include <qwt_scale_div.h>
#include <qwt_scale_draw.h>
#include <qwt_symbol.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

// "mass|element|resolution" -> isotope
Element isotope(const QString &spec)
{
    const QStringList parts = spec.split(QLatin1Char('|'));
    return Element(
        parts.at(1), parts.at(0).toInt(), static_cast<Element::Resolution>(parts.at(2).toInt()));
}

int addSolution(Data &data, const QString &name, Solution::Type type)
{
    return data.addSolution(Solution(name, data.isoSize(), type));
}

QStringList listEntries(const QListWidget *list)
{
    QStringList entries;
    for (int row = 0; row < list->count(); ++row)
        entries.append(list->item(row)->text());
    return entries;
}

QStringList comboEntries(const QComboBox *combo)
{
    QStringList entries;
    for (int row = 0; row < combo->count(); ++row)
        entries.append(combo->itemText(row));
    return entries;
}

QStringList emptyRow()
{
    return QStringList { "", "", "", "", "" };
}

QStringList rowTexts(const QTableView *view, int row)
{
    QStringList texts;
    for (int column = 0; column < view->model()->columnCount(); ++column)
        texts.append(view->model()->index(row, column).data().toString());
    return texts;
}

// What the legend under a plot shows, in no particular order.
QStringList legendTexts(QwtPlot *plot)
{
    QStringList texts;
    auto *legend = qobject_cast<QwtLegend *>(plot->legend());
    if (!legend)
        return texts;
    const auto labels = legend->contentsWidget()->findChildren<QwtLegendLabel *>();
    for (const QwtLegendLabel *label : labels) {
        if (!label->isHidden())
            texts.append(label->text().text());
    }
    texts.sort();
    return texts;
}

QwtPlotCurve *curveTitled(QwtPlot *plot, const QString &prefix)
{
    QwtPlotCurve *found = nullptr;
    for (QwtPlotItem *item : plot->itemList(QwtPlotItem::Rtti_PlotCurve)) {
        if (item->title().text().startsWith(prefix)) {
            if (found)
                return nullptr; // ambiguous
            found = static_cast<QwtPlotCurve *>(item);
        }
    }
    return found;
}

QwtPlotIntervalCurve *bars(QwtPlot *plot, Qt::Orientation orientation)
{
    for (QwtPlotItem *item : plot->itemList(QwtPlotItem::Rtti_PlotIntervalCurve)) {
        auto *curve = static_cast<QwtPlotIntervalCurve *>(item);
        if (curve->orientation() == orientation)
            return curve;
    }
    return nullptr;
}

QwtPlotCurve *onlyCurve(QwtPlot *plot)
{
    const QwtPlotItemList curves = plot->itemList(QwtPlotItem::Rtti_PlotCurve);
    return curves.size() == 1 ? static_cast<QwtPlotCurve *>(curves.first()) : nullptr;
}

QVector<double> xs(const QwtPlotCurve *curve)
{
    QVector<double> values;
    for (size_t i = 0; i < curve->dataSize(); ++i)
        values.append(curve->sample(int(i)).x());
    return values;
}

QVector<double> ys(const QwtPlotCurve *curve)
{
    QVector<double> values;
    for (size_t i = 0; i < curve->dataSize(); ++i)
        values.append(curve->sample(int(i)).y());
    return values;
}

#define COMPARE_AXIS(plot, axis, lower, upper)                                                     \
    do {                                                                                           \
        QCOMPARE((plot)->axisScaleDiv(axis).lowerBound(), double(lower));                          \
        QCOMPARE((plot)->axisScaleDiv(axis).upperBound(), double(upper));                          \
    } while (false)

bool sameValues(const QVector<double> &a, const QVector<double> &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (!qFuzzyCompare(1.0 + a.at(i), 1.0 + b.at(i)))
            return false;
    }
    return true;
}

} // namespace

class TestDisplaying : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void emptyTables_data();
    void emptyTables();
    void inputTableCells_data();
    void inputTableCells();
    void outputTableLimits_data();
    void outputTableLimits();
    void tableRowsFollowIsotopes();
    void refreshReleasesReplacedModels();

    void isotopeLists_data();
    void isotopeLists();
    void solutionLists();
    void secondFileReplacesEntries();

    void calibrationPoints();
    void calibrationScales_data();
    void calibrationScales();
    void calibrationBarsStayOutOfAutoScale();
    void calibrationLegend_data();
    void calibrationLegend();
    void calibrationZoomStartsFromFullView();

    void evolution_data();
    void evolution();
    void internalStandard_data();
    void internalStandard();
    void noIsotopeLeavesPlotsUnchanged();
    void longRunKeepsWindowSize();
    void runningOrderAxisKeepsLabelRotation();

    void plotsMayGoBeforeTheDisplay();

private:
    std::unique_ptr<QMainWindow> window;
    std::unique_ptr<Ui::Application> ui;
    std::unique_ptr<Displaying> display;
};

void TestDisplaying::init()
{
    window = std::make_unique<QMainWindow>();
    ui = std::make_unique<Ui::Application>();
    ui->setupUi(window.get());
    display = std::make_unique<Displaying>(ui.get());
}

void TestDisplaying::cleanup()
{
    display.reset();
    window.reset();
    ui.reset();
}

// --- tables -----------------------------------------------------------------

void TestDisplaying::emptyTables_data()
{
    QTest::addColumn<bool>("output");
    QTest::newRow("input") << false;
    QTest::newRow("output") << true;
}

void TestDisplaying::emptyTables()
{
    QFETCH(bool, output);
    if (output)
        display->dispTableOutput();
    else
        display->dispTableInput();
    QTableView *view = output ? ui->tableViewOutput : ui->tableViewInput;

    const QStringList headers { "Element", "Intensity (cps)", "Intensity RSD (%)",
        "Concentration (ppb)", "Concentration RSD (%)" };
    QCOMPARE(view->model()->columnCount(), 5);
    QCOMPARE(view->model()->rowCount(), 1);
    for (int column = 0; column < 5; ++column)
        QCOMPARE(view->model()->headerData(column, Qt::Horizontal).toString(), headers.at(column));
    QCOMPARE(rowTexts(view, 0), emptyRow());
    QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
    // headers are read in full, not cut
    const QFontMetrics metrics(view->horizontalHeader()->font());
    for (int column = 0; column < 5; ++column)
        QVERIFY(view->columnWidth(column) > metrics.horizontalAdvance(headers.at(column)));
}

void TestDisplaying::inputTableCells_data()
{
    QTest::addColumn<double>("cps");
    QTest::addColumn<double>("cpsSD");
    QTest::addColumn<double>("concent");
    QTest::addColumn<double>("concentRSD");
    QTest::addColumn<QStringList>("cells");

    QTest::newRow("sample before a run")
        << 1234.567 << 12.34567 << 0.0 << 0.0 << QStringList { "1234.57", "1.00", "", "" };
    QTest::newRow("large intensity stays fixed")
        << 1200000.0 << 24000.0 << 0.0 << 0.0 << QStringList { "1200000.00", "2.00", "", "" };
    QTest::newRow("large concentration in exponent")
        << 500.0 << 5.0 << 1200000.0 << 4.567
        << QStringList { "500.00", "1.00", "1.2e+06", "4.57" };
    QTest::newRow("six significant digits")
        << 500.0 << 5.0 << 12.3456789 << 0.5 << QStringList { "500.00", "1.00", "12.3457", "0.50" };
    QTest::newRow("small expected value")
        << 500.0 << 5.0 << 0.4 << 10.0 << QStringList { "500.00", "1.00", "0.4", "10.00" };
    QTest::newRow("zero intensity")
        << 0.0 << 0.0 << 0.0 << 0.0 << QStringList { "0.00", "nan", "", "" };
    QTest::newRow("negative concentration")
        << 80.0 << 8.0 << -0.25 << 12.0 << QStringList { "80.00", "10.00", "-0.25", "12.00" };
}

void TestDisplaying::inputTableCells()
{
    QFETCH(double, cps);
    QFETCH(double, cpsSD);
    QFETCH(double, concent);
    QFETCH(double, concentRSD);
    QFETCH(QStringList, cells);

    Data data;
    data.addIso(isotope("7|Li|2"));
    data.addIso(isotope("59|Co|1"));
    const int s = addSolution(data, "STD_1", Solution::STD);
    Solution *solution = data.getSolution(s);
    solution->setCps(1, cps);
    solution->setCpsSD(1, cpsSD);
    solution->setConcent(1, concent);
    solution->setConcentRSD(1, concentRSD);

    display->dispTableInput(&data, s);

    QCOMPARE(ui->tableViewInput->model()->rowCount(), 2);
    QCOMPARE(rowTexts(ui->tableViewInput, 1), QStringList { "59Co MR" } + cells);
}

void TestDisplaying::outputTableLimits_data()
{
    // Two blanks give the engine its LOQ: ten population standard deviations.
    QTest::addColumn<double>("blank1");
    QTest::addColumn<double>("blank2");
    QTest::addColumn<double>("expectedLoq");
    QTest::addColumn<double>("concent"); // NaN here with atLimit: use the LOQ itself
    QTest::addColumn<bool>("atLimit");
    QTest::addColumn<QString>("concentText");
    QTest::addColumn<QString>("rsdText");

    QTest::newRow("below LOQ") << 0.1 << 0.2 << 0.5 << 0.4 << false << "<LOQ"
                               << "";
    QTest::newRow("exactly at LOQ") << 0.2 << 0.28 << 0.4 << 0.0 << true << "0.4"
                                    << "3.25";
    QTest::newRow("above LOQ") << 0.1 << 0.2 << 0.5 << 0.6 << false << "0.6"
                               << "3.25";
    QTest::newRow("not measured") << 0.1 << 0.2 << 0.5 << 0.0 << false << ""
                                  << "";
    QTest::newRow("negative below LOQ") << 0.1 << 0.2 << 0.5 << -0.2 << false << "<LOQ"
                                        << "";
    QTest::newRow("nan concentration printed") << 0.1 << 0.2 << 0.5 << NaN << false << "nan"
                                               << "3.25";
    QTest::newRow("nan LOQ hides nothing") << NaN << 0.2 << NaN << 0.4 << false << "0.4"
                                           << "3.25";
    QTest::newRow("huge value") << 0.1 << 0.2 << 0.5 << 1.2e6 << false << "1.2e+06"
                                << "3.25";
}

void TestDisplaying::outputTableLimits()
{
    QFETCH(double, blank1);
    QFETCH(double, blank2);
    QFETCH(double, expectedLoq);
    QFETCH(double, concent);
    QFETCH(bool, atLimit);
    QFETCH(QString, concentText);
    QFETCH(QString, rsdText);

    Data data;
    data.addIso(isotope("115|In|2"));
    data.addIso(isotope("59|Co|2"));
    const int b1 = addSolution(data, "BLK_1", Solution::BLK);
    const int b2 = addSolution(data, "BLK_2", Solution::BLK);
    const int s = addSolution(data, "Sample A", Solution::SAMPLE);
    data.getSolution(b1)->setConcent(1, blank1);
    data.getSolution(b2)->setConcent(1, blank2);

    Processing processing;
    processing.init(data.isoSize());
    processing.computeLimits(&data, { b1, b2 });
    if (std::isnan(expectedLoq))
        QVERIFY(std::isnan(processing.getLOQ(1)));
    else
        QVERIFY(qAbs(processing.getLOQ(1) - expectedLoq) < 1e-12);

    Solution *sample = data.getSolution(s);
    sample->setCps(1, 4000.0);
    sample->setCpsSD(1, 100.0);
    sample->setConcent(1, atLimit ? processing.getLOQ(1) : concent);
    sample->setConcentRSD(1, 3.254);

    display->dispTableOutput(&data, s, &processing);
    QCOMPARE(rowTexts(ui->tableViewOutput, 1),
        (QStringList { "59Co LR", "4000.00", "2.50", concentText, rsdText }));
    // isotope 0 has no concentration at all
    QCOMPARE(rowTexts(ui->tableViewOutput, 0), (QStringList { "115In LR", "0.00", "nan", "", "" }));
}

void TestDisplaying::tableRowsFollowIsotopes()
{
    Data none;
    addSolution(none, "Sample", Solution::SAMPLE);
    display->dispTableInput(&none, 0);
    QCOMPARE(ui->tableViewInput->model()->rowCount(), 1);
    QCOMPARE(ui->tableViewInput->model()->columnCount(), 5);
    QCOMPARE(rowTexts(ui->tableViewInput, 0), emptyRow());

    Data three;
    for (const char *spec : { "7|Li #1|3", "59|Co #1|3", "238|U #2|3" })
        three.addIso(isotope(spec));
    addSolution(three, "Sample", Solution::SAMPLE);
    Processing processing;
    processing.init(3);
    display->dispTableOutput(&three, 0, &processing);
    const QAbstractItemModel *model = ui->tableViewOutput->model();
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->index(0, 0).data().toString(), QString("7Li #1 "));
    QCOMPARE(model->index(2, 0).data().toString(), QString("238U #2 "));
}

void TestDisplaying::refreshReleasesReplacedModels()
{
    Data data;
    data.addIso(isotope("59|Co|2"));
    addSolution(data, "BLK_1", Solution::BLK);
    Processing processing;
    processing.init(1);

    display->dispTableInput();
    display->dispTableOutput();
    display->displayLists(&data);
    display->displaySolutions(&data, &data);

    const QPointer<QAbstractItemModel> input = ui->tableViewInput->model();
    const QPointer<QItemSelectionModel> inputSelection = ui->tableViewInput->selectionModel();
    const QPointer<QAbstractItemModel> output = ui->tableViewOutput->model();
    const QPointer<QAbstractItemModel> blanks = ui->blankSelection->model();
    const QPointer<QAbstractItemModel> lr = ui->comboISLR->model();
    QCOMPARE(input->parent(), ui->tableViewInput);
    QCOMPARE(lr->parent(), ui->comboISLR);

    display->dispTableInput(&data, 0);
    display->dispTableOutput(&data, 0, &processing);
    display->displayLists(&data);

    QVERIFY(input.isNull());
    QVERIFY(inputSelection.isNull());
    QVERIFY(output.isNull());
    QVERIFY(blanks.isNull());
    QVERIFY(lr.isNull());
    QCOMPARE(ui->tableViewInput->model()->index(0, 0).data().toString(), QString("59Co LR"));
    QCOMPARE(comboEntries(ui->blankSelection), QStringList { "BLK_1" });
}

// --- lists and combo boxes ----------------------------------------------------

void TestDisplaying::isotopeLists_data()
{
    QTest::addColumn<QStringList>("isotopes");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("lr");
    QTest::addColumn<QStringList>("mr");
    QTest::addColumn<QStringList>("hr");

    QTest::newRow("quadrupole") << QStringList { "7|Li #1|3", "59|Co #1|3", "115|In #2|3" }
                                << QStringList { "7Li #1 ", "59Co #1 ", "115In #2 " }
                                << QStringList { "7Li #1 ", "59Co #1 ", "115In #2 " }
                                << QStringList() << QStringList();
    QTest::newRow("high resolution")
        << QStringList { "115|In|2", "59|Co|1", "7|Li|2", "115|In|1", "75|As|0", "115|In|0" }
        << QStringList { "115In LR", "59Co MR", "7Li LR", "115In MR", "75As HR", "115In HR" }
        << QStringList { "115In LR", "7Li LR" } << QStringList { "59Co MR", "115In MR" }
        << QStringList { "75As HR", "115In HR" };
    QTest::newRow("no isotopes") << QStringList() << QStringList() << QStringList() << QStringList()
                                 << QStringList();
}

void TestDisplaying::isotopeLists()
{
    QFETCH(QStringList, isotopes);
    QFETCH(QStringList, names);
    QFETCH(QStringList, lr);
    QFETCH(QStringList, mr);
    QFETCH(QStringList, hr);

    Data data;
    for (const QString &spec : isotopes)
        data.addIso(isotope(spec));
    addSolution(data, "BLK_1", Solution::BLK);
    addSolution(data, "STD_1", Solution::STD);
    addSolution(data, "BLK_2", Solution::BLK);

    display->displayLists(&data);

    QCOMPARE(listEntries(ui->listCurves), names);
    QCOMPARE(listEntries(ui->listEvol), names);
    QCOMPARE(comboEntries(ui->comboISLR), lr);
    QCOMPARE(comboEntries(ui->comboISMR), mr);
    QCOMPARE(comboEntries(ui->comboISHR), hr);
    // the first entry is picked, an empty box picks none
    QCOMPARE(ui->comboISLR->currentIndex(), lr.isEmpty() ? -1 : 0);
    QCOMPARE(ui->comboISMR->currentIndex(), mr.isEmpty() ? -1 : 0);
    QCOMPARE(comboEntries(ui->blankSelection), (QStringList { "BLK_1", "BLK_2" }));
    QCOMPARE(ui->listCurves->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(ui->listEvol->editTriggers(), QAbstractItemView::NoEditTriggers);
}

void TestDisplaying::solutionLists()
{
    Data input;
    input.addIso(isotope("59|Co|2"));
    addSolution(input, "BLK_1", Solution::BLK);
    addSolution(input, "BLK_2", Solution::BLK);
    addSolution(input, "STD_1", Solution::STD);
    addSolution(input, "BLK_Avg_all", Solution::BLK); // differs only in case
    addSolution(input, "Sample BLK_Avg_First_Seq", Solution::SAMPLE);
    input.getSolution(0)->setCps(0, 10.0);
    input.getSolution(1)->setCps(0, 20.0);

    Data output;
    output.copyData(&input);
    output.addBLKmoy(input.getBlkIndexes(), Data::ALL_AVG);
    output.addBLKmoy(input.firstBlankRun(), Data::FIRST_SEQ_AVG);

    display->displaySolutions(&input, &output);

    const QStringList inputNames { "BLK_1", "BLK_2", "STD_1", "BLK_Avg_all",
        "Sample BLK_Avg_First_Seq" };
    QCOMPARE(listEntries(ui->listViewInput), inputNames);
    QCOMPARE(listEntries(ui->listViewOutput),
        inputNames + QStringList({ "BLK_Avg_All", "BLK_Avg_First_Seq" }));
    QCOMPARE(comboEntries(ui->echantIS), inputNames);
    QCOMPARE(comboEntries(ui->blankSelection),
        (QStringList { "BLK_1", "BLK_2", "BLK_Avg_all", "BLK_Avg_All", "BLK_Avg_First_Seq" }));
    QCOMPARE(ui->listViewInput->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(ui->listViewOutput->editTriggers(), QAbstractItemView::NoEditTriggers);
}

void TestDisplaying::secondFileReplacesEntries()
{
    Data first;
    first.addIso(isotope("59|Co #1|3"));
    addSolution(first, "BLK_old", Solution::BLK);
    addSolution(first, "Old sample", Solution::SAMPLE);
    display->displayLists(&first);
    display->displaySolutions(&first, &first);

    Data second;
    second.addIso(isotope("7|Li|2"));
    second.addIso(isotope("75|As|0"));
    addSolution(second, "BLK_new", Solution::BLK);
    display->displayLists(&second);
    display->displaySolutions(&second, &second);

    QCOMPARE(listEntries(ui->listCurves), (QStringList { "7Li LR", "75As HR" }));
    QCOMPARE(listEntries(ui->listEvol), (QStringList { "7Li LR", "75As HR" }));
    QCOMPARE(comboEntries(ui->comboISLR), QStringList { "7Li LR" });
    QCOMPARE(comboEntries(ui->comboISHR), QStringList { "75As HR" });
    QCOMPARE(listEntries(ui->listViewInput), QStringList { "BLK_new" });
    QCOMPARE(listEntries(ui->listViewOutput), QStringList { "BLK_new" });
    QCOMPARE(comboEntries(ui->echantIS), QStringList { "BLK_new" });
    QCOMPARE(comboEntries(ui->blankSelection), QStringList { "BLK_new" });
}

// --- calibration plot -----------------------------------------------------------

void TestDisplaying::calibrationPoints()
{
    Data raw;
    raw.addIso(isotope("59|Co|2"));
    const int blank = addSolution(raw, "BLK_1", Solution::BLK);
    const int std1 = addSolution(raw, "STD_1", Solution::STD);
    const int std2 = addSolution(raw, "STD_2", Solution::STD);
    const int noCps = addSolution(raw, "STD_3", Solution::STD);
    const int qc = addSolution(raw, "QC_1", Solution::QC);
    const int qcNoExpected = addSolution(raw, "QC_2", Solution::QC);
    addSolution(raw, "Sample", Solution::SAMPLE);
    auto set = [&](int s, double cps, double sd, double conc, double rsd) {
        raw.getSolution(s)->setCps(0, cps);
        raw.getSolution(s)->setCpsSD(0, sd);
        raw.getSolution(s)->setConcent(0, conc);
        raw.getSolution(s)->setConcentRSD(0, rsd);
    };
    set(std1, 110.0, 11.0, 1.0, 5.0);
    set(std2, 210.0, 4.2, 2.0, 5.0);
    set(noCps, 0.0, 0.0, 5.0, 5.0);
    set(qc, 160.0, 8.0, 1.5, 10.0);
    set(qcNoExpected, 300.0, 3.0, 0.0, 0.0);

    Data work;
    work.copyData(&raw);
    work.getSolution(blank)->setCps(0, 0.0); // blank-subtracted
    const int zero
        = work.addSolution(work.getSolution(blank)->copy(Solution::ZERO_STD_NAME, Solution::STD));
    // the computed QC concentration must not be what is plotted
    work.getSolution(qc)->setConcent(0, 1.7);
    work.getSolution(qc)->setConcentRSD(0, 2.0);
    QCOMPARE(zero, work.solutionSize() - 1);

    Processing processing;
    processing.init(1);
    processing.computeLine(&work, 0);

    display->plotElement(&work, &raw, 0, &processing);
    QwtPlot *plot = ui->graphElement;

    QCOMPARE(plot->title().text(), QString("Calibration 59Co LR"));
    QwtPlotCurve *standards = curveTitled(plot, "STD ");
    QwtPlotCurve *qcCurve = curveTitled(plot, "QC");
    QwtPlotCurve *line = curveTitled(plot, "y = ");
    QVERIFY(standards && qcCurve && line);
    QCOMPARE(standards->title().text(), QString("STD 59Co LR"));

    // STD_3 has no intensity; the zero standard stays, at (0, 0)
    QCOMPARE(xs(standards), (QVector<double> { 1.0, 2.0, 0.0 }));
    QCOMPARE(ys(standards), (QVector<double> { 110.0, 210.0, 0.0 }));
    QCOMPARE(standards->style(), QwtPlotCurve::NoCurve);
    QCOMPARE(standards->symbol()->size(), QSize(2, 2));
    QCOMPARE(standards->symbol()->brush().color(), QColor(Qt::black));
    QCOMPARE(xs(qcCurve), QVector<double> { 1.5 });
    QCOMPARE(ys(qcCurve), QVector<double> { 160.0 });
    QCOMPARE(qcCurve->symbol()->size(), QSize(3, 3));
    QCOMPARE(qcCurve->symbol()->brush().color(), QColor(Qt::red));
    QCOMPARE(line->pen().color(), QColor(Qt::blue));

    // one bar each way per dot: standards first, then QC
    QwtPlotIntervalCurve *vertical = bars(plot, Qt::Vertical);
    QwtPlotIntervalCurve *horizontal = bars(plot, Qt::Horizontal);
    QVERIFY(vertical && horizontal);
    QCOMPARE(vertical->dataSize(), size_t(4));
    QCOMPARE(horizontal->dataSize(), size_t(4));
    QCOMPARE(vertical->symbol()->style(), QwtIntervalSymbol::Bar);
    QCOMPARE(horizontal->symbol()->style(), QwtIntervalSymbol::Bar);

    const QwtIntervalSample std1Cps = vertical->sample(0);
    QCOMPARE(std1Cps.value, 1.0);
    QCOMPARE(std1Cps.interval.minValue(), 99.0);
    QCOMPARE(std1Cps.interval.maxValue(), 121.0);
    const QwtIntervalSample std2Concent = horizontal->sample(1);
    QCOMPARE(std2Concent.value, 210.0);
    QCOMPARE(std2Concent.interval.minValue(), 1.9);
    QCOMPARE(std2Concent.interval.maxValue(), 2.1);
    // the zero standard's intensity RSD is 0/0
    QVERIFY(std::isnan(vertical->sample(2).interval.minValue()));
    // QC: expected concentration and accepted error from the standards file
    QCOMPARE(vertical->sample(3).value, 1.5);
    QCOMPARE(vertical->sample(3).interval.minValue(), 152.0);
    QCOMPARE(vertical->sample(3).interval.maxValue(), 168.0);
    QCOMPARE(horizontal->sample(3).value, 160.0);
    QCOMPARE(horizontal->sample(3).interval.minValue(), 1.35);
    QCOMPARE(horizontal->sample(3).interval.maxValue(), 1.65);

    // The bars reach past every dot; they must not widen the axes.
    COMPARE_AXIS(plot, QwtPlot::xBottom, 0.0, 2.2);
    COMPARE_AXIS(plot, QwtPlot::yLeft, 0.0, 231.0);
}

void TestDisplaying::calibrationScales_data()
{
    QTest::addColumn<QVector<double>>("concents");
    QTest::addColumn<QVector<double>>("intensities");
    QTest::addColumn<bool>("explicitScales");
    QTest::addColumn<double>("xmin");
    QTest::addColumn<double>("xmax");
    QTest::addColumn<double>("ymin");
    QTest::addColumn<double>("ymax");

    QTest::newRow("single standard") << QVector<double> { 10.0 } << QVector<double> { 500.0 }
                                     << true << 9.0 << 11.0 << 450.0 << 550.0;
    QTest::newRow("three standards")
        << QVector<double> { 1.0, 5.0, 10.0 } << QVector<double> { 120.0, 520.0, 1020.0 } << true
        << 0.9 << 11.0 << 108.0 << 1122.0;
    // the maximum never drops below zero, so a negative signal frames up to 0
    QTest::newRow("blank-subtracted negatives")
        << QVector<double> { 1.0, 2.0 } << QVector<double> { -50.0, -10.0 } << true << 0.9 << 2.2
        << -45.0 << 0.0;
    QTest::newRow("no usable standard")
        << QVector<double> { 0.0, 5.0 } << QVector<double> { 300.0, 0.0 } << false << 0.0 << 0.0
        << 0.0 << 0.0;
}

void TestDisplaying::calibrationScales()
{
    QFETCH(QVector<double>, concents);
    QFETCH(QVector<double>, intensities);
    QFETCH(bool, explicitScales);
    QFETCH(double, xmin);
    QFETCH(double, xmax);
    QFETCH(double, ymin);
    QFETCH(double, ymax);

    Data raw;
    raw.addIso(isotope("59|Co|2"));
    for (int k = 0; k < concents.size(); ++k) {
        const int s = addSolution(raw, QString("STD_%1").arg(k + 1), Solution::STD);
        raw.getSolution(s)->setConcent(0, concents.at(k));
        raw.getSolution(s)->setCps(0, intensities.at(k));
        raw.getSolution(s)->setCpsSD(0, qAbs(intensities.at(k)) / 4.0);
        raw.getSolution(s)->setConcentRSD(0, 30.0);
    }
    Data work;
    work.copyData(&raw);
    Processing processing;
    processing.init(1);
    processing.computeLine(&work, 0);
    const Regline fitted = processing.getLine(0);

    QwtPlot *plot = ui->graphElement;
    display->plotElement(&work, &raw, 0, &processing);
    QwtPlotCurve *line = curveTitled(plot, "y = ");
    QVERIFY(line);

    QCOMPARE(plot->axisAutoScale(QwtPlot::xBottom), !explicitScales);
    QCOMPARE(plot->axisAutoScale(QwtPlot::yLeft), !explicitScales);
    if (explicitScales) {
        COMPARE_AXIS(plot, QwtPlot::xBottom, xmin, xmax);
        COMPARE_AXIS(plot, QwtPlot::yLeft, ymin, ymax);
    }
    // the line spans the framed range exactly
    QVERIFY(sameValues(xs(line), { xmin, xmax }));
    QVERIFY(sameValues(ys(line),
        { fitted.slope * xmin + fitted.yIntercept, fitted.slope * xmax + fitted.yIntercept }));

    // an explicit frame from an earlier isotope must not stick
    if (!explicitScales) {
        Data other;
        other.addIso(isotope("7|Li|2"));
        const int s = addSolution(other, "STD_1", Solution::STD);
        other.getSolution(s)->setConcent(0, 10.0);
        other.getSolution(s)->setCps(0, 500.0);
        display->plotElement(&other, &other, 0, &processing);
        QVERIFY(!plot->axisAutoScale(QwtPlot::xBottom));
        display->plotElement(&work, &raw, 0, &processing);
        QVERIFY(plot->axisAutoScale(QwtPlot::xBottom));
        QVERIFY(plot->axisAutoScale(QwtPlot::yLeft));
    }
}

void TestDisplaying::calibrationBarsStayOutOfAutoScale()
{
    // A lone zero standard frames nothing (all at x = 0): the axes scale
    // themselves and only the dot and the line may count.
    Data data;
    data.addIso(isotope("59|Co|2"));
    const int blank = addSolution(data, "BLK_1", Solution::BLK);
    data.getSolution(blank)->setCps(0, 100.0);
    data.getSolution(blank)->setCpsSD(0, 60.0);
    data.addSolution(data.getSolution(blank)->copy(Solution::ZERO_STD_NAME, Solution::STD));
    Processing processing;
    processing.init(1);

    QwtPlot *plot = ui->graphElement;
    display->plotElement(&data, &data, 0, &processing);
    QVERIFY(plot->axisAutoScale(QwtPlot::yLeft));
    QCOMPARE(bars(plot, Qt::Vertical)->sample(0).interval.maxValue(), 160.0);
    QCOMPARE(bars(plot, Qt::Vertical)->sample(0).interval.minValue(), 40.0);
    QVERIFY(plot->axisScaleDiv(QwtPlot::yLeft).upperBound() >= 100.0);
    QVERIFY(plot->axisScaleDiv(QwtPlot::yLeft).upperBound() < 160.0);
}

void TestDisplaying::calibrationLegend_data()
{
    QTest::addColumn<QVector<double>>("standardCps"); // at 1, 2 and 3 ppb
    QTest::addColumn<QVector<double>>("blankConcents");
    QTest::addColumn<QString>("equation");

    // chosen so that the fit gives slope 152.346, y-intercept -12.34 and
    // r2 0.9998765, the blanks LOD 0.0123 and LOQ 0.041
    QTest::newRow("fitted line") << QVector<double> { 140.9835, 290.397, 445.6755 }
                                 << QVector<double> { 0.01, 0.0182 }
                                 << QString::fromUtf8("y = 152.3 x + (-12.3) | R\u00b2 = 0.99988 | "
                                                      "LOD = 0.012300 ppb | LOQ = 0.041000 ppb");
    QTest::newRow("line never computed")
        << QVector<double> { 0.0, 0.0, 0.0 } << QVector<double>()
        << QString::fromUtf8("y = 0.0 x + (0.0) | R\u00b2 = 0.00000 | LOD = 0.000000 ppb | "
                             "LOQ = 0.000000 ppb");
}

void TestDisplaying::calibrationLegend()
{
    QFETCH(QVector<double>, standardCps);
    QFETCH(QVector<double>, blankConcents);
    QFETCH(QString, equation);

    Data data;
    data.addIso(isotope("59|Co|2"));
    QList<int> blanks;
    for (double concent : blankConcents) {
        blanks.append(addSolution(data, QString("BLK_%1").arg(blanks.size() + 1), Solution::BLK));
        data.getSolution(blanks.last())->setConcent(0, concent);
    }
    for (int k = 0; k < standardCps.size(); ++k) {
        const int s = addSolution(data, QString("STD_%1").arg(k + 1), Solution::STD);
        data.getSolution(s)->setConcent(0, k + 1.0);
        data.getSolution(s)->setCps(0, standardCps.at(k));
    }
    Processing processing;
    processing.init(1);
    processing.computeLine(&data, 0);
    processing.computeLimits(&data, blanks);

    const QStringList expected = QStringList { equation, "QC", "STD 59Co LR", "Error Bars" };
    QStringList sorted = expected;
    sorted.sort();

    QwtPlot *plot = ui->graphElement;
    for (int pick = 1; pick <= 2; ++pick) {
        display->plotElement(&data, &data, 0, &processing);
        QCOMPARE(legendTexts(plot), sorted);
        QCOMPARE(plot->findChildren<QwtLegend *>().size(), 1);
    }
}

void TestDisplaying::calibrationZoomStartsFromFullView()
{
    Data data;
    data.addIso(isotope("59|Co|2"));
    data.addIso(isotope("7|Li|2"));
    const int s = addSolution(data, "STD_1", Solution::STD);
    data.getSolution(s)->setConcent(0, 10.0);
    data.getSolution(s)->setCps(0, 500.0);
    data.getSolution(s)->setConcent(1, 100.0);
    data.getSolution(s)->setCps(1, 2000.0);
    Processing processing;
    processing.init(2);

    auto *zoomer = ui->graphElement->canvas()->findChild<QwtPlotZoomer *>();
    QVERIFY(zoomer);
    display->plotElement(&data, &data, 0, &processing);
    QCOMPARE(zoomer->zoomBase(), QRectF(QPointF(9.0, 450.0), QPointF(11.0, 550.0)));

    zoomer->zoom(QRectF(9.5, 480.0, 0.5, 20.0));
    QCOMPARE(zoomer->zoomRectIndex(), 1u);
    display->plotElement(&data, &data, 1, &processing);
    QCOMPARE(zoomer->zoomRectIndex(), 0u);
    QCOMPARE(zoomer->zoomStack().size(), 1);
    const QRectF base = zoomer->zoomBase();
    QVERIFY(qFuzzyCompare(base.left(), 90.0) && qFuzzyCompare(base.right(), 110.0));
    QVERIFY(qFuzzyCompare(base.top(), 1800.0) && qFuzzyCompare(base.bottom(), 2200.0));
}

// --- running-order plots --------------------------------------------------------

void TestDisplaying::evolution_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QVector<double>>("positions");

    QTest::newRow("blanks") << "BLK" << QVector<double> { 1.0, 6.0, 12.0 };
    QTest::newRow("verification standards") << "VS" << QVector<double> { 3.0, 9.0 };
    QTest::newRow("pattern") << "^BLK_[12]$" << QVector<double> { 1.0, 6.0 };
    QTest::newRow("anywhere in the name") << "_3" << QVector<double> { 12.0 };
    QTest::newRow("invalid pattern") << "BLK(" << QVector<double>();
    QTest::newRow("nothing matches") << "QC" << QVector<double>();
}

void TestDisplaying::evolution()
{
    QFETCH(QString, choice);
    QFETCH(QVector<double>, positions);

    // blk_x in lower case is no blank for the case-sensitive choice
    const QStringList names { "BLK_1", "STD_1", "VS_1", "Sample 1", "blk_x", "BLK_2", "Sample 2",
        "STD_2", "VS_2", "Sample 3", "Sample 4", "BLK_3" };
    Data data;
    data.addIso(isotope("115|In|2"));
    data.addIso(isotope("59|Co|2"));
    for (int k = 0; k < names.size(); ++k) {
        const int s = addSolution(data, names.at(k), Solution::SAMPLE);
        data.getSolution(s)->setCps(1, 100.0 * (k + 1));
    }
    data.getSolution(5)->setCps(1, NaN); // drawn as it is

    display->plotEvol(&data, 1, choice);
    QwtPlot *plot = ui->graphEvol;
    QCOMPARE(plot->title().text(), "Evolution " + choice + " - 59Co LR");
    QwtPlotCurve *curve = onlyCurve(plot);
    QVERIFY(curve);
    QCOMPARE(xs(curve), positions);
    const QVector<double> intensities = ys(curve);
    for (int k = 0; k < positions.size(); ++k) {
        const double expected = positions.at(k) == 6.0 ? NaN : 100.0 * positions.at(k);
        QVERIFY(
            std::isnan(expected) ? std::isnan(intensities.at(k)) : intensities.at(k) == expected);
    }
    QCOMPARE(curve->style(), QwtPlotCurve::Lines);
    QCOMPARE(curve->symbol()->size(), QSize(5, 5));

    COMPARE_AXIS(plot, QwtPlot::xBottom, 1.0, 12.0);
    QCOMPARE(plot->axisScaleDiv(QwtPlot::xBottom).ticks(QwtScaleDiv::MajorTick).size(), 12);
    QVERIFY(plot->axisAutoScale(QwtPlot::yLeft));
    QVERIFY(!plot->legend());
}

void TestDisplaying::internalStandard_data()
{
    QTest::addColumn<QVector<double>>("intensities");
    QTest::addColumn<QVector<double>>("positions");
    QTest::addColumn<QString>("statistics");

    QTest::newRow("stable signal")
        << QVector<double> { 100.0, 110.0, 120.0 } << QVector<double> { 1.0, 2.0, 3.0 }
        << "Average intensity (cps) =  110.0 | SD (cps) = 8.2 | RSD (%) = 7.4";
    QTest::newRow("invalid values left out")
        << QVector<double> { NaN, 100.0, Inf, 110.0, -Inf, 120.0 }
        << QVector<double> { 2.0, 4.0, 6.0 }
        << "Average intensity (cps) =  110.0 | SD (cps) = 8.2 | RSD (%) = 7.4";
    QTest::newRow("zero is a value")
        << QVector<double> { 0.0, 200.0 } << QVector<double> { 1.0, 2.0 }
        << "Average intensity (cps) =  100.0 | SD (cps) = 100.0 | "
           "RSD (%) = 100.0";
    QTest::newRow("single valid solution")
        << QVector<double> { NaN, 5000.0 } << QVector<double> { 2.0 }
        << "Average intensity (cps) =  5000.0 | SD (cps) = 0.0 | RSD (%) = 0.0";
    QTest::newRow("nothing valid")
        << QVector<double> { NaN, Inf } << QVector<double>()
        << "Average intensity (cps) =  nan | SD (cps) = nan | RSD (%) = nan";
}

void TestDisplaying::internalStandard()
{
    QFETCH(QVector<double>, intensities);
    QFETCH(QVector<double>, positions);
    QFETCH(QString, statistics);

    Data data;
    data.addIso(isotope("59|Co|1"));
    data.addIso(isotope("115|In|1"));
    for (int k = 0; k < intensities.size(); ++k) {
        const int s = addSolution(data, QString("S%1").arg(k + 1), Solution::SAMPLE);
        data.getSolution(s)->setCps(1, intensities.at(k));
        data.getSolution(s)->setCps(0, 1.0);
    }
    Processing processing;
    processing.init(2);

    QwtPlot *plot = ui->graphIS;
    for (int pick = 1; pick <= 2; ++pick) {
        display->plotIS(&data, 1, &processing);
        QCOMPARE(plot->title().text(), QString("Internal Standard 115In MR"));
        QwtPlotCurve *curve = onlyCurve(plot);
        QVERIFY(curve);
        QCOMPARE(xs(curve), positions);
        QCOMPARE(legendTexts(plot), QStringList { statistics });
        QCOMPARE(plot->findChildren<QwtLegend *>().size(), 1);
        COMPARE_AXIS(plot, QwtPlot::xBottom, 1.0, intensities.size());
        QCOMPARE(curve->pen().color(), QColor(Qt::blue));
        QCOMPARE(curve->symbol()->brush().color(), QColor(Qt::black));
    }
}

void TestDisplaying::noIsotopeLeavesPlotsUnchanged()
{
    Data data;
    data.addIso(isotope("59|Co|2"));
    for (const char *name : { "BLK_1", "STD_1", "BLK_2" }) {
        const int s = addSolution(data, name, name[0] == 'B' ? Solution::BLK : Solution::STD);
        data.getSolution(s)->setCps(0, 100.0 + s);
        data.getSolution(s)->setConcent(0, s + 1.0);
    }
    Processing processing;
    processing.init(1);

    display->plotElement(&data, &data, 0, &processing);
    display->plotEvol(&data, 0, "BLK");
    display->plotIS(&data, 0, &processing);

    Data other;
    other.addIso(isotope("7|Li|2"));
    addSolution(other, "BLK_9", Solution::BLK);
    display->plotElement(&other, &other, -1, &processing);
    display->plotEvol(&other, -1, "BLK");
    display->plotEvol(&other, 0, QString());
    display->plotIS(&other, -1, &processing);

    QCOMPARE(ui->graphElement->title().text(), QString("Calibration 59Co LR"));
    QCOMPARE(curveTitled(ui->graphElement, "STD ")->dataSize(), size_t(1));
    QCOMPARE(ui->graphEvol->title().text(), QString("Evolution BLK - 59Co LR"));
    QCOMPARE(xs(onlyCurve(ui->graphEvol)), (QVector<double> { 1.0, 3.0 }));
    QCOMPARE(ui->graphIS->title().text(), QString("Internal Standard 59Co LR"));
    QCOMPARE(onlyCurve(ui->graphIS)->dataSize(), size_t(3));
}

void TestDisplaying::longRunKeepsWindowSize()
{
    const int solutions = 150;
    Data data;
    data.addIso(isotope("115|In|2"));
    for (int k = 0; k < solutions; ++k) {
        const int s = addSolution(data, QString("BLK_%1").arg(k + 1), Solution::BLK);
        data.getSolution(s)->setCps(0, 1000.0 + k);
    }
    Processing processing;
    processing.init(1);
    display->plotIS(&data, 0, &processing);
    display->plotEvol(&data, 0, "BLK");

    // one tick per solution, yet the window need not grow to show them
    QCOMPARE(ui->graphIS->axisScaleDiv(QwtPlot::xBottom).ticks(QwtScaleDiv::MajorTick).size(),
        solutions);
    QVERIFY(window->minimumSizeHint().width() <= 820);
    QVERIFY(window->minimumSizeHint().height() <= 535);
}

void TestDisplaying::runningOrderAxisKeepsLabelRotation()
{
    // rotated after the display exists, as the window does at start-up
    ui->graphIS->setAxisLabelRotation(QwtPlot::xBottom, 270.0);
    QCOMPARE(ui->graphIS->axisScaleDraw(QwtPlot::xBottom)->labelRotation(), 270.0);

    // or before it
    display.reset();
    ui->graphEvol->setAxisLabelRotation(QwtPlot::xBottom, 270.0);
    ui->graphEvol->setAxisLabelAlignment(QwtPlot::xBottom, Qt::AlignLeft | Qt::AlignVCenter);
    display = std::make_unique<Displaying>(ui.get());
    QCOMPARE(ui->graphEvol->axisScaleDraw(QwtPlot::xBottom)->labelRotation(), 270.0);
    QCOMPARE(ui->graphEvol->axisScaleDraw(QwtPlot::xBottom)->labelAlignment(),
        Qt::AlignLeft | Qt::AlignVCenter);
}

// --- lifetime -----------------------------------------------------------------

void TestDisplaying::plotsMayGoBeforeTheDisplay()
{
    // display first: the plots keep nothing of it
    display.reset();
    QVERIFY(ui->graphElement->itemList(QwtPlotItem::Rtti_PlotCurve).isEmpty());
    QVERIFY(ui->graphElement->itemList(QwtPlotItem::Rtti_PlotIntervalCurve).isEmpty());
    QVERIFY(ui->graphIS->itemList().isEmpty());
    QVERIFY(ui->graphEvol->itemList().isEmpty());
    QVERIFY(!ui->graphElement->canvas()->findChild<QwtPlotZoomer *>());

    // window first: the plots delete the items, the display must not again
    display = std::make_unique<Displaying>(ui.get());
    QCOMPARE(ui->graphElement->itemList().size(), 5);
    window.reset();
    display.reset();
}

QTEST_MAIN(TestDisplaying)
#include "tst_displaying.moc"
