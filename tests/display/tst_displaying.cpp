#include "app/Ui_Application.h"
#include "display/Displaying.h"
#include "display/RunningOrderScaleDraw.h"
#include "model/Data.h"
#include "processing/Processing.h"

#include <QComboBox>
#include <QHeaderView>
#include <QListWidget>
#include <QMainWindow>
#include <QPointer>
#include <QTableView>
#include <QtTest>

#include <qwt_legend.h>
#include <qwt_legend_label.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_intervalcurve.h>
#include <qwt_plot_zoomer.h>
#include <qwt_scale_div.h>
#include <qwt_symbol.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

// "mass|element|resolution", resolution 0 HR, 1 MR, 2 LR, 3 quadrupole
Element isotope(const QString &code)
{
    const QStringList parts = code.split('|');
    return Element(
        parts.at(1), parts.at(0).toInt(), static_cast<Element::Resolution>(parts.at(2).toInt()));
}

Solution *addSolution(Data &data, const QString &name, Solution::Type type = Solution::SAMPLE)
{
    return data.getSolution(data.addSolution(Solution(name, data.isoSize(), type)));
}

// What a list or a combo box shows, or a table row.
QStringList texts(const QAbstractItemModel *model, int row = -1)
{
    QStringList entries;
    for (int k = 0; k < (row == -1 ? model->rowCount() : model->columnCount()); ++k)
        entries.append(model->index(row == -1 ? k : row, row == -1 ? 0 : k).data().toString());
    return entries;
}

// The legend under a plot, sorted.
QStringList legendTexts(QwtPlot *plot)
{
    QStringList entries;
    if (auto *legend = qobject_cast<QwtLegend *>(plot->legend())) {
        for (const auto *label : legend->contentsWidget()->findChildren<QwtLegendLabel *>()) {
            if (!label->isHidden())
                entries.append(label->text().text());
        }
    }
    entries.sort();
    return entries;
}

QwtPlotCurve *curveTitled(QwtPlot *plot, const QString &prefix)
{
    for (QwtPlotItem *item : plot->itemList(QwtPlotItem::Rtti_PlotCurve)) {
        if (item->title().text().startsWith(prefix))
            return static_cast<QwtPlotCurve *>(item);
    }
    return nullptr;
}

// QPointF compares fuzzily.
QVector<QPointF> points(const QwtPlotCurve *curve)
{
    QVector<QPointF> samples;
    for (size_t i = 0; i < curve->dataSize(); ++i)
        samples.append(curve->sample(int(i)));
    return samples;
}

// An error bar as (position, low end, high end), for a fuzzy comparison.
QVector<QPointF> bar(QwtPlot *plot, Qt::Orientation orientation, int index)
{
    for (QwtPlotItem *item : plot->itemList(QwtPlotItem::Rtti_PlotIntervalCurve)) {
        auto *curve = static_cast<QwtPlotIntervalCurve *>(item);
        if (curve->orientation() == orientation && int(curve->dataSize()) > index) {
            const QwtIntervalSample s = curve->sample(index);
            return { { s.value, s.interval.minValue() }, { s.value, s.interval.maxValue() } };
        }
    }
    return {};
}

QRectF frame(QwtPlot *plot)
{
    const QwtScaleDiv &x = plot->axisScaleDiv(QwtPlot::xBottom);
    const QwtScaleDiv &y = plot->axisScaleDiv(QwtPlot::yLeft);
    return QRectF(QPointF(x.lowerBound(), y.lowerBound()), QPointF(x.upperBound(), y.upperBound()));
}

} // namespace

class TestDisplaying : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tableCells_data();
    void tableCells();
    void isotopeLists_data();
    void isotopeLists();
    void calibrationPoints();
    void calibrationScales_data();
    void calibrationScales();
    void runningOrderPlots_data();
    void runningOrderPlots();
    void recoveryBounds_data();
    void recoveryBounds();
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

void TestDisplaying::tableCells_data()
{
    QTest::addColumn<bool>("output");
    QTest::addColumn<double>("cps");
    QTest::addColumn<double>("cpsSD");
    QTest::addColumn<double>("concent");
    QTest::addColumn<double>("loq");
    QTest::addColumn<QStringList>("cells"); // intensity, its RSD, concentration, its RSD

    QTest::newRow("input: fixed intensity, concentration in exponent")
        << false << 1200000.0 << 24000.0 << 1.2e6 << 0.5
        << QStringList { "1200000.00", "2.00", "1.2e+06", "3.25" };
    QTest::newRow("input: six significant digits")
        << false << 1234.567 << 12.34567 << 12.3456789 << 0.5
        << QStringList { "1234.57", "1.00", "12.3457", "3.25" };
    QTest::newRow("input: never hides below the LOQ")
        << false << 500.0 << 5.0 << 0.4 << 0.5 << QStringList { "500.00", "1.00", "0.4", "3.25" };
    QTest::newRow("input: nothing measured")
        << false << 0.0 << 0.0 << 0.0 << 0.5 << QStringList { "0.00", "nan", "", "" };
    QTest::newRow("below the LOQ")
        << true << 500.0 << 5.0 << 0.4 << 0.5 << QStringList { "500.00", "1.00", "<LOQ", "" };
    QTest::newRow("exactly at the LOQ")
        << true << 500.0 << 5.0 << 0.4 << 0.4 << QStringList { "500.00", "1.00", "0.4", "3.25" };
    QTest::newRow("negative, below the LOQ")
        << true << 500.0 << 5.0 << -0.25 << 0.5 << QStringList { "500.00", "1.00", "<LOQ", "" };
    QTest::newRow("not measured") << true << 500.0 << 5.0 << 0.0 << 0.5
                                  << QStringList { "500.00", "1.00", "", "" };
    QTest::newRow("nan concentration shown")
        << true << 500.0 << 5.0 << NaN << 0.5 << QStringList { "500.00", "1.00", "nan", "3.25" };
    QTest::newRow("unknown LOQ hides nothing")
        << true << 500.0 << 5.0 << 0.4 << NaN << QStringList { "500.00", "1.00", "0.4", "3.25" };
}

void TestDisplaying::tableCells()
{
    QFETCH(bool, output);
    QFETCH(double, cps);
    QFETCH(double, cpsSD);
    QFETCH(double, concent);
    QFETCH(double, loq);
    QFETCH(QStringList, cells);

    // Before any file: one empty row under full, unclipped headers.
    QTableView *view = output ? ui->tableViewOutput : ui->tableViewInput;
    output ? display->dispTableOutput() : display->dispTableInput();
    QCOMPARE(texts(view->model(), 0), QStringList({ "", "", "", "", "" }));
    const QStringList headers { "Element", "Intensity (cps)", "Intensity RSD (%)",
        "Concentration (ppb)", "Concentration RSD (%)" };
    const QFontMetrics metrics(view->horizontalHeader()->font());
    for (int column = 0; column < headers.size(); ++column) {
        QCOMPARE(view->model()->headerData(column, Qt::Horizontal).toString(), headers.at(column));
        QVERIFY(view->columnWidth(column) > metrics.horizontalAdvance(headers.at(column)));
    }
    const QPointer<QAbstractItemModel> emptyModel = view->model();

    Data data;
    data.addIso(isotope("115|In|2"));
    data.addIso(isotope("59|Co|1"));
    // Two blanks give the LOQ: ten population standard deviations.
    for (const double blank : { std::isnan(loq) ? NaN : 0.0, loq / 5.0 }) {
        Solution *s = addSolution(data, "BLK", Solution::BLK);
        s->setCps(1, 1.0);
        s->setConcent(1, blank);
    }
    Processing processing;
    processing.init(2);
    processing.computeLimits(&data, data.getBlkIndexes());
    QCOMPARE(processing.getLOQ(1), loq);
    Solution *sample = addSolution(data, "Sample A");
    sample->setCps(1, cps);
    sample->setCpsSD(1, cpsSD);
    sample->setConcent(1, concent);
    sample->setConcentRSD(1, 3.254);

    output ? display->dispTableOutput(&data, 2, &processing) : display->dispTableInput(&data, 2);
    QCOMPARE(view->model()->rowCount(), 2);
    QCOMPARE(texts(view->model(), 0), QStringList({ "115In LR", "0.00", "nan", "", "" }));
    QCOMPARE(texts(view->model(), 1), QStringList { "59Co MR" } + cells);
    QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(emptyModel.isNull()); // replaced models do not pile up
}

void TestDisplaying::isotopeLists_data()
{
    QTest::addColumn<QStringList>("isotopes");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("lr");
    QTest::addColumn<QStringList>("mr");
    QTest::addColumn<QStringList>("hr");

    const QStringList quadrupole { "7Li #1 ", "59Co #1 ", "115In #2 " };
    QTest::newRow("quadrupole") << QStringList { "7|Li #1|3", "59|Co #1|3", "115|In #2|3" }
                                << quadrupole << quadrupole << QStringList() << QStringList();
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

    // an earlier file's entries must go, and the models holding them
    Data earlier;
    for (const char *code : { "56|Fe|2", "56|Fe|1", "56|Fe|0" })
        earlier.addIso(isotope(code));
    addSolution(earlier, "BLK_old", Solution::BLK);
    display->displayLists(&earlier);
    display->displaySolutions(&earlier, &earlier);
    const QPointer<QAbstractItemModel> earlierModel = ui->comboISLR->model();

    Data input;
    for (const QString &code : isotopes)
        input.addIso(isotope(code));
    const QStringList solutions { "BLK_1", "BLK_2", "STD_1", "BLK_Avg_all",
        "Sample BLK_Avg_First_Seq" };
    for (const QString &name : solutions)
        addSolution(input, name, name.startsWith("BLK") ? Solution::BLK : Solution::SAMPLE);
    display->displayLists(&input);

    QCOMPARE(texts(ui->listCurves->model()), names);
    QCOMPARE(texts(ui->listEvol->model()), names);
    QCOMPARE(texts(ui->comboISLR->model()), lr);
    QCOMPARE(texts(ui->comboISMR->model()), mr);
    QCOMPARE(texts(ui->comboISHR->model()), hr);
    // the first entry is picked, an empty box picks none
    QCOMPARE(ui->comboISLR->currentIndex(), lr.isEmpty() ? -1 : 0);
    QCOMPARE(ui->comboISMR->currentIndex(), mr.isEmpty() ? -1 : 0);
    QCOMPARE(texts(ui->blankSelection->model()), QStringList({ "BLK_1", "BLK_2", "BLK_Avg_all" }));
    QVERIFY(earlierModel.isNull());

    Data output;
    output.copyData(&input);
    output.addBLKmoy(input.getBlkIndexes(), Data::ALL_AVG);
    output.addBLKmoy(input.firstBlankRun(), Data::FIRST_SEQ_AVG);
    display->displaySolutions(&input, &output);
    QCOMPARE(texts(ui->listViewInput->model()), solutions);
    QCOMPARE(texts(ui->listViewOutput->model()),
        solutions + QStringList({ "BLK_Avg_All", "BLK_Avg_First_Seq" }));
    // the averages are no internal-standard reference; a solution named alike is
    QCOMPARE(texts(ui->echantIS->model()), solutions);
    QCOMPARE(texts(ui->blankSelection->model()),
        QStringList({ "BLK_1", "BLK_2", "BLK_Avg_all", "BLK_Avg_All", "BLK_Avg_First_Seq" }));
}

void TestDisplaying::calibrationPoints()
{
    Data raw;
    raw.addIso(isotope("59|Co|2"));
    auto add = [&](const QString &name, Solution::Type type, double cps, double sd, double conc,
                   double rsd) {
        Solution *s = addSolution(raw, name, type);
        s->setCps(0, cps);
        s->setCpsSD(0, sd);
        s->setConcent(0, conc);
        s->setConcentRSD(0, rsd);
    };
    // The fit gives slope 152.346, y-intercept -12.34 and r2 0.9998765, the
    // blanks LOD 0.0123 and LOQ 0.041.
    add("BLK_1", Solution::BLK, 50.0, 1.0, 0.01, 0.0);
    add("BLK_2", Solution::BLK, 50.0, 1.0, 0.0182, 0.0);
    add("STD_1", Solution::STD, 140.9835, 1.0, 1.0, 5.0);
    add("STD_2", Solution::STD, 290.397, 1.0, 2.0, 5.0);
    add("STD_3", Solution::STD, 445.6755, 1.0, 3.0, 5.0);
    add("STD_4", Solution::STD, 0.0, 0.0, 5.0, 5.0); // no intensity: left out
    add("QC_1", Solution::QC, 160.0, 8.0, 1.5, 10.0);
    add("QC_2", Solution::QC, 300.0, 3.0, 0.0, 0.0); // nothing expected: left out
    add("Sample", Solution::SAMPLE, 400.0, 4.0, 0.0, 0.0);
    Processing processing;
    processing.init(1);
    processing.computeLine(&raw, 0);
    processing.computeLimits(&raw, raw.getBlkIndexes());
    Data work;
    work.copyData(&raw);
    work.getSolution(0)->setCps(0, 0.0); // blank subtracted
    work.getSolution(0)->setConcent(0, 0.0);
    work.addSolution(work.getSolution(0)->copy(Solution::ZERO_STD_NAME, Solution::STD));
    work.getSolution(6)->setConcent(0, 1.7); // computed, not expected: not plotted

    QwtPlot *plot = ui->graphElement;
    QStringList legend { QString::fromUtf8("y = 152.3 x + (-12.3) | R\u00b2 = 0.99988 | "
                                           "LOD = 0.012300 ppb | LOQ = 0.041000 ppb"),
        "QC", "STD 59Co LR", "Error Bars" };
    legend.sort();
    // the same isotope picked twice: one set of legend entries
    for (int pick = 1; pick <= 2; ++pick) {
        display->plotElement(&work, &raw, 0, &processing);
        QCOMPARE(legendTexts(plot), legend);
        QCOMPARE(plot->findChildren<QwtLegend *>().size(), 1);
    }
    QCOMPARE(plot->title().text(), QString("Calibration 59Co LR"));
    QwtPlotCurve *standards = curveTitled(plot, "STD 59Co LR");
    QwtPlotCurve *qc = curveTitled(plot, "QC");
    QwtPlotCurve *line = curveTitled(plot, "y = ");
    QVERIFY(standards && qc && line);
    // the zero standard stays, at (0, 0)
    QCOMPARE(points(standards),
        QVector<QPointF>({ { 1.0, 140.9835 }, { 2.0, 290.397 }, { 3.0, 445.6755 }, { 0.0, 0.0 } }));
    QCOMPARE(points(qc), QVector<QPointF>({ { 1.5, 160.0 } }));
    QCOMPARE(standards->symbol()->brush().color(), QColor(Qt::black));
    QCOMPARE(qc->symbol()->brush().color(), QColor(Qt::red));
    QCOMPARE(line->pen().color(), QColor(Qt::blue));

    // one bar each way per dot, standards first; QC bars from the standards file
    QCOMPARE(
        bar(plot, Qt::Horizontal, 1), QVector<QPointF>({ { 290.397, 1.9 }, { 290.397, 2.1 } }));
    QCOMPARE(bar(plot, Qt::Vertical, 4), QVector<QPointF>({ { 1.5, 152.0 }, { 1.5, 168.0 } }));
    QCOMPARE(bar(plot, Qt::Horizontal, 4), QVector<QPointF>({ { 160.0, 1.35 }, { 160.0, 1.65 } }));
    QVERIFY(bar(plot, Qt::Vertical, 5).isEmpty());
    // the bars reach past the dots without widening the frame
    QCOMPARE(frame(plot), QRectF(QPointF(0.0, 0.0), QPointF(3.3, 445.6755 * 1.1)));

    // no isotope picked: the plot stays
    display->plotElement(&work, &raw, -1, &processing);
    QCOMPARE(plot->title().text(), QString("Calibration 59Co LR"));
    QCOMPARE(points(standards).size(), 4);

    // a weighted line says so
    processing.setWeighting(Processing::Weighting::InverseXSquared);
    processing.computeLine(&raw, 0);
    display->plotElement(&work, &raw, 0, &processing);
    QCOMPARE(line->title().text(),
        QString::fromUtf8("y = 151.4 x + (-10.7) | R\u00b2 = 0.99989 | LOD = 0.012300 ppb | "
                          "LOQ = 0.041000 ppb | weighted 1/x\u00b2"));
}

void TestDisplaying::calibrationScales_data()
{
    QTest::addColumn<QVector<double>>("concents");
    QTest::addColumn<QVector<double>>("intensities");
    QTest::addColumn<QRectF>("expected"); // null: the axes scale themselves

    QTest::newRow("single standard") << QVector<double> { 10.0 } << QVector<double> { 500.0 }
                                     << QRectF(QPointF(9.0, 450.0), QPointF(11.0, 550.0));
    QTest::newRow("three standards")
        << QVector<double> { 1.0, 5.0, 10.0 } << QVector<double> { 120.0, 520.0, 1020.0 }
        << QRectF(QPointF(0.9, 108.0), QPointF(11.0, 1122.0));
    // the maximum never drops below zero
    QTest::newRow("negative signal after blank subtraction") << QVector<double> { 1.0,
        2.0 } << QVector<double> { -50.0, -10.0 } << QRectF(QPointF(0.9, -45.0), QPointF(2.2, 0.0));
    // all at x = 0: nothing to frame
    QTest::newRow("lone zero standard")
        << QVector<double> { 0.0 } << QVector<double> { 100.0 } << QRectF();
}

void TestDisplaying::calibrationScales()
{
    QFETCH(QVector<double>, concents);
    QFETCH(QVector<double>, intensities);
    QFETCH(QRectF, expected);

    Data data;
    data.addIso(isotope("59|Co|2"));
    data.addIso(isotope("7|Li|2"));
    for (int k = 0; k < concents.size(); ++k) {
        Solution *s = addSolution(data,
            concents.at(k) == 0.0 ? Solution::ZERO_STD_NAME : QString("STD_%1").arg(k + 1),
            Solution::STD);
        s->setConcent(0, concents.at(k));
        s->setCps(0, intensities.at(k));
        s->setCpsSD(0, qAbs(intensities.at(k)) * 0.6);
        s->setConcent(1, 50.0);
        s->setCps(1, 3000.0);
    }
    Processing processing;
    processing.init(2);
    processing.computeLine(&data, 0);
    const Regline fitted = processing.getLine(0);

    // An earlier isotope, framed and zoomed into: neither may stick.
    QwtPlot *plot = ui->graphElement;
    auto *zoomer = plot->canvas()->findChild<QwtPlotZoomer *>();
    QVERIFY(zoomer);
    display->plotElement(&data, &data, 1, &processing);
    QCOMPARE(frame(plot), QRectF(QPointF(45.0, 2700.0), QPointF(55.0, 3300.0)));
    zoomer->zoom(QRectF(46.0, 2800.0, 1.0, 100.0));
    QCOMPARE(zoomer->zoomRectIndex(), 1u);

    display->plotElement(&data, &data, 0, &processing);
    QCOMPARE(zoomer->zoomRectIndex(), 0u);
    QCOMPARE(plot->axisAutoScale(QwtPlot::xBottom), expected.isNull());
    QCOMPARE(plot->axisAutoScale(QwtPlot::yLeft), expected.isNull());
    if (expected.isNull()) {
        // only the dot counts, not its bar (40 ... 160)
        QVERIFY(frame(plot).bottom() >= 100.0 && frame(plot).bottom() < 160.0);
        return;
    }
    QCOMPARE(frame(plot), expected);
    QCOMPARE(zoomer->zoomBase(), expected);
    // the line spans the frame
    const auto lineAt = [&](double x) { return QPointF(x, fitted.slope * x + fitted.yIntercept); };
    QCOMPARE(points(curveTitled(plot, "y = ")),
        QVector<QPointF>({ lineAt(expected.left()), lineAt(expected.right()) }));
}

void TestDisplaying::runningOrderPlots_data()
{
    QTest::addColumn<QString>("choice"); // empty: the internal-standard plot
    QTest::addColumn<QVector<double>>("intensities");
    QTest::addColumn<QVector<double>>("positions");
    QTest::addColumn<QStringList>("legend");

    // BLK_2 (6th) has no valid value, blk_x (5th) is no blank for "BLK"
    QVector<double> run;
    for (int k = 1; k <= 12; ++k)
        run.append(k == 6 ? NaN : 100.0 * k);
    QTest::newRow("evolution of the blanks")
        << "BLK" << run << QVector<double> { 1.0, 6.0, 12.0 } << QStringList();
    QTest::newRow("evolution by pattern")
        << "^BLK_[12]$" << run << QVector<double> { 1.0, 6.0 } << QStringList();
    QTest::newRow("invalid pattern") << "BLK(" << run << QVector<double>() << QStringList();
    QTest::newRow("internal standard: invalid values left out, zero kept")
        << QString() << QVector<double> { NaN, 0.0, Inf, 200.0, -Inf } << QVector<double> { 2, 4 }
        << QStringList { "Average intensity (cps) =  100.0 | SD (cps) = 100.0 | RSD (%) = 100.0" };
    QTest::newRow("internal standard: single valid solution")
        << QString() << QVector<double> { NaN, 5000.0 } << QVector<double> { 2.0 }
        << QStringList { "Average intensity (cps) =  5000.0 | SD (cps) = 0.0 | RSD (%) = 0.0" };
    QTest::newRow("internal standard: nothing valid")
        << QString() << QVector<double> { NaN, Inf } << QVector<double>()
        << QStringList { "Average intensity (cps) =  nan | SD (cps) = nan | RSD (%) = nan" };
}

void TestDisplaying::runningOrderPlots()
{
    QFETCH(QString, choice);
    QFETCH(QVector<double>, intensities);
    QFETCH(QVector<double>, positions);
    QFETCH(QStringList, legend);

    const QStringList names { "BLK_1", "STD_1", "VS_1", "Sample 1", "blk_x", "BLK_2", "Sample 2",
        "STD_2", "VS_2", "Sample 3", "Sample 4", "BLK_3" };
    Data data;
    data.addIso(isotope("59|Co|2"));
    data.addIso(isotope("115|In|1"));
    for (int k = 0; k < intensities.size(); ++k) {
        Solution *s = addSolution(data, names.at(k));
        s->setCps(0, 1.0);
        s->setCps(1, intensities.at(k));
    }
    Processing processing;
    processing.init(2);

    QwtPlot *plot = choice.isEmpty() ? ui->graphIS : ui->graphEvol;
    plot->setAxisLabelRotation(QwtPlot::xBottom, 270.0); // after the display, as the window does
    for (int pick = 1; pick <= 2; ++pick) {
        choice.isEmpty() ? display->plotIS(&data, 1, &processing)
                         : display->plotEvol(&data, 1, choice);
        QCOMPARE(plot->title().text(),
            choice.isEmpty() ? "Internal Standard 115In MR"
                             : "Evolution " + choice + " - 115In MR");
        // the IS plot keeps its recovery bounds and outside points, empty here
        QCOMPARE(plot->itemList(QwtPlotItem::Rtti_PlotCurve).size(), choice.isEmpty() ? 4 : 1);
        QwtPlotCurve *curve = curveTitled(plot, QString());
        QCOMPARE(int(curve->dataSize()), positions.size());
        for (int k = 0; k < positions.size(); ++k) {
            QCOMPARE(curve->sample(k).x(), positions.at(k));
            QCOMPARE(curve->sample(k).y(), intensities.at(int(positions.at(k)) - 1));
        }
        QCOMPARE(legendTexts(plot), legend);
        QCOMPARE(plot->findChildren<QwtLegend *>().size(), legend.size());
        const QwtScaleDiv &axis = plot->axisScaleDiv(QwtPlot::xBottom);
        QCOMPARE(axis.interval(), QwtInterval(1.0, intensities.size()));
        QCOMPARE(axis.ticks(QwtScaleDiv::MajorTick).size(), intensities.size());
    }
    // labels thinned as needed, still rotated
    const QwtScaleDraw *draw = plot->axisScaleDraw(QwtPlot::xBottom);
    QVERIFY(dynamic_cast<const RunningOrderScaleDraw *>(draw));
    QCOMPARE(draw->labelRotation(), 270.0);

    // no isotope picked, or no pattern: the plot stays
    const QString title = plot->title().text();
    choice.isEmpty() ? display->plotIS(&data, -1, &processing) : display->plotEvol(&data, -1, "VS");
    display->plotEvol(&data, 1, QString());
    QCOMPARE(plot->title().text(), title);
    QCOMPARE(int(curveTitled(plot, QString())->dataSize()), positions.size());
}

void TestDisplaying::recoveryBounds_data()
{
    QTest::addColumn<int>("reference");
    QTest::addColumn<QVector<double>>("bounds"); // the dashed lines' levels
    QTest::addColumn<QVector<QPointF>>("outside"); // the red points

    // 60 to 99 % of BLK_1's 1000 cps; Sample_4 is at 100 %, as the reference is.
    QTest::newRow("bounds included, not measured and the reference's level outside")
        << 0 << QVector<double> { 600, 990 }
        << QVector<QPointF> { { 4, 599 }, { 5, 0 }, { 6, 1000 } };
    QTest::newRow("reference without the IS value") << 4 << QVector<double>() << QVector<QPointF>();
    QTest::newRow("IS correction off") << -1 << QVector<double>() << QVector<QPointF>();
}

void TestDisplaying::recoveryBounds()
{
    QFETCH(int, reference);
    QFETCH(QVector<double>, bounds);
    QFETCH(QVector<QPointF>, outside);

    Data data;
    data.addIso(isotope("115|In|2"));
    const QVector<double> intensities { 1000, 600, 990, 599, 0, 1000, NaN };
    for (int k = 0; k < intensities.size(); ++k)
        addSolution(data, k == 0 ? "BLK_1" : QString("Sample_%1").arg(k))
            ->setCps(0, intensities.at(k));
    Processing processing;
    QwtPlot *plot = ui->graphIS;
    // Drawn before with other bounds: nothing of them may stay.
    display->plotIS(&data, 0, &processing, 0, 99, 100);
    display->plotIS(&data, 0, &processing, reference, 60, 99);

    QwtPlotCurve *red = nullptr;
    QVector<QVector<QPointF>> dashed;
    for (QwtPlotItem *item : plot->itemList(QwtPlotItem::Rtti_PlotCurve)) {
        auto *curve = static_cast<QwtPlotCurve *>(item);
        if (curve->pen().style() == Qt::DashLine)
            dashed.append(points(curve));
        else if (curve->symbol() && curve->symbol()->brush().color() == QColor(Qt::red))
            red = curve;
    }
    QVERIFY(red);
    QCOMPARE(points(red), outside);
    QVERIFY(red->z() > curveTitled(plot, "Average")->z());
    QCOMPARE(dashed.size(), 2);
    QVector<QVector<QPointF>> levels;
    for (const double level : bounds)
        levels.append({ { 1.0, level }, { 7.0, level } });
    if (levels.isEmpty())
        levels = { {}, {} };
    QCOMPARE(dashed, levels);
    QCOMPARE(legendTexts(plot).filter("IS recovery"),
        bounds.isEmpty() ? QStringList() : QStringList { "IS recovery 60-99 % of BLK_1" });
}

void TestDisplaying::plotsMayGoBeforeTheDisplay()
{
    // display first: the plots keep nothing of it
    display.reset();
    for (QwtPlot *plot : { ui->graphElement, ui->graphIS, ui->graphEvol })
        QVERIFY(plot->itemList().isEmpty());
    QVERIFY(!ui->graphElement->canvas()->findChild<QwtPlotZoomer *>());

    // window first: the plots delete the items, the display must not again
    display = std::make_unique<Displaying>(ui.get());
    QCOMPARE(ui->graphElement->itemList().size(), 5);
    window.reset();
    display.reset();
}

QTEST_MAIN(TestDisplaying)
#include "tst_displaying.moc"
