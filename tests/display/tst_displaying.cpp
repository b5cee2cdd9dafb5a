// What the display shows of a data set: table cells, lists, the three plots
// and the running-order axis.
#include "app/Ui_Application.h"
#include "display/Displaying.h"
#include "display/RunningOrderScaleDraw.h"
#include "model/Data.h"
#include "processing/Processing.h"

#include <QMainWindow>
#include <QTableView>
#include <QtTest>

#include <limits>
#include <memory>
#include <qwt_legend.h>
#include <qwt_legend_label.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_symbol.h>

using Drawn = QMap<QString, QString>;

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

Solution *addSolution(Data &data, const QString &name, Solution::Type type = Solution::SAMPLE)
{
    return data.getSolution(data.addSolution(Solution(name, data.isoSize(), type)));
}

QStringList row(const QAbstractItemModel *model, int row)
{
    QStringList cells;
    for (int column = 0; column < model->columnCount(); ++column)
        cells.append(model->index(row, column).data().toString());
    return cells;
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

// Each curve's points as "x:y x:y", by the curve's title or, untitled, its
// colour: "dashed", "red" or "curve".
Drawn curves(QwtPlot *plot)
{
    Drawn found;
    for (QwtPlotItem *item : plot->itemList(QwtPlotItem::Rtti_PlotCurve)) {
        const auto *curve = static_cast<QwtPlotCurve *>(item);
        QString key = curve->title().text().section(' ', 0, 1);
        if (key.isEmpty())
            key = curve->pen().style() == Qt::DashLine                                   ? "dashed"
                : curve->symbol() && curve->symbol()->brush().color() == QColor(Qt::red) ? "red"
                                                                                         : "curve";
        QStringList samples;
        for (size_t k = 0; k < curve->dataSize(); ++k)
            samples << QStringLiteral("%1:%2")
                           .arg(curve->sample(int(k)).x())
                           .arg(curve->sample(int(k)).y());
        found[key] += samples.join(' ');
    }
    return found;
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
    void calibrationPlot();
    void runningOrderPlots_data();
    void runningOrderPlots();
    void runningOrderLabels();

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
    QTest::addColumn<double>("concent");
    QTest::addColumn<double>("loq");
    QTest::addColumn<QStringList>("cells"); // intensity, its RSD, concentration, its RSD

    QTest::newRow("input: never hides below the LOQ, six digits")
        << false << 1234.567 << 0.123456789 << 0.5
        << QStringList { "1234.57", "1.00", "0.123457", "3.25" };
    QTest::newRow("input: nothing measured")
        << false << 0.0 << 0.0 << 0.5 << QStringList { "0.00", "nan", "", "" };
    QTest::newRow("below the LOQ")
        << true << 500.0 << 0.4 << 0.5 << QStringList { "500.00", "1.00", "<LOQ", "" };
    QTest::newRow("exactly at the LOQ, exponent")
        << true << 500.0 << 1.2e6 << 1.2e6 << QStringList { "500.00", "1.00", "1.2e+06", "3.25" };
    QTest::newRow("not measured") << true << 500.0 << 0.0 << 0.5
                                  << QStringList { "500.00", "1.00", "", "" };
    QTest::newRow("nan concentration shown")
        << true << 500.0 << NaN << 0.5 << QStringList { "500.00", "1.00", "nan", "3.25" };
}

void TestDisplaying::tableCells()
{
    QFETCH(bool, output);
    QFETCH(double, cps);
    QFETCH(double, concent);
    QFETCH(double, loq);
    QFETCH(QStringList, cells);

    Data data;
    data.addIso(Element(QStringLiteral("Co"), 59, Element::MR));
    // Two blanks give the LOQ: ten population standard deviations.
    for (const double blank : { 0.0, loq / 5.0 }) {
        Solution *s = addSolution(data, "BLK", Solution::BLK);
        s->setCps(0, 1.0);
        s->setConcent(0, blank);
    }
    Processing processing;
    processing.init(1);
    processing.computeLimits(&data, data.getBlkIndexes());
    Solution *sample = addSolution(data, "Sample A");
    sample->setCps(0, cps);
    sample->setCpsSD(0, cps / 100.0);
    sample->setConcent(0, concent);
    sample->setConcentRSD(0, 3.254);

    QTableView *view = output ? ui->tableViewOutput : ui->tableViewInput;
    output ? display->dispTableOutput(&data, 2, &processing) : display->dispTableInput(&data, 2);
    QCOMPARE(row(view->model(), 0), QStringList { "59Co MR" } + cells);
    QCOMPARE(view->model()->headerData(3, Qt::Horizontal).toString(),
        QStringLiteral("Concentration (ppb)"));
}

void TestDisplaying::calibrationPlot()
{
    Data raw;
    raw.addIso(Element(QStringLiteral("Co"), 59, Element::LR));
    const auto add = [&](const QString &name, Solution::Type type, double cps, double conc) {
        Solution *s = addSolution(raw, name, type);
        s->setCps(0, cps);
        s->setCpsSD(0, 1.0);
        s->setConcent(0, conc);
        s->setConcentRSD(0, 5.0);
    };
    // The fit gives slope 152.346, y-intercept -12.34; the blanks LOQ 0.041.
    add("BLK_1", Solution::BLK, 50.0, 0.01);
    add("BLK_2", Solution::BLK, 50.0, 0.0182);
    add("STD_1", Solution::STD, 140.9835, 1.0);
    add("STD_2", Solution::STD, 290.397, 2.0);
    add("STD_3", Solution::STD, 445.6755, 3.0);
    add("STD_4", Solution::STD, 0.0, 5.0); // no intensity: left out
    add("QC_1", Solution::QC, 160.0, 1.5);
    add("QC_2", Solution::QC, 300.0, 0.0); // nothing expected: left out
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
    display->plotElement(&work, &raw, 0, &processing);
    display->plotElement(&work, &raw, 0, &processing);
    const QString equation = QString::fromUtf8("y = 152.3 x + (-12.3) | R\u00b2 = 0.99988 | "
                                               "LOD = 0.012300 ppb | LOQ = 0.041000 ppb");
    QStringList legend { equation, "QC", "STD 59Co LR", "Error Bars" };
    legend.sort();
    QCOMPARE(legendTexts(plot), legend);
    QCOMPARE(plot->title().text(), QString("Calibration 59Co LR"));
    // The zero standard stays, at (0, 0); the line spans the frame.
    const Drawn drawn = curves(plot);
    QCOMPARE(drawn.value("STD 59Co"), QStringLiteral("1:140.983 2:290.397 3:445.675 0:0"));
    QCOMPARE(drawn.value("QC"), QStringLiteral("1.5:160"));
    QCOMPARE(drawn.value("y ="), QStringLiteral("0:-12.34 3.3:490.402"));
    const QwtScaleDiv &y = plot->axisScaleDiv(QwtPlot::yLeft);
    QCOMPARE(QPointF(y.lowerBound(), y.upperBound()), QPointF(0.0, 445.6755 * 1.1));

    // A weighted line says so.
    processing.setWeighting(Processing::Weighting::InverseX);
    processing.computeLine(&raw, 0);
    display->plotElement(&work, &raw, 0, &processing);
    QVERIFY(legendTexts(plot).last().endsWith(QStringLiteral(" | weighted 1/x")));
}

void TestDisplaying::runningOrderPlots_data()
{
    QTest::addColumn<QString>("choice"); // empty: the internal-standard plot
    QTest::addColumn<int>("reference"); // the IS plot's, -1 none
    QTest::addColumn<Drawn>("drawn");
    QTest::addColumn<QStringList>("legend");

    // BLK_2 (6th) reads nan; blk_x (5th) is no blank for "BLK".
    QTest::newRow("evolution of the blanks")
        << "BLK" << -1 << Drawn { { "curve", "1:100 6:nan 12:1200" } } << QStringList();
    QTest::newRow("evolution by pattern")
        << "^VS_[12]$" << -1 << Drawn { { "curve", "3:300 9:900" } } << QStringList();
    QTest::newRow("invalid pattern") << "BLK(" << -1 << Drawn { { "curve", "" } } << QStringList();
    // 60 to 99 % of STD_1's 200 cps: 120 and 198; BLK_2 is no value.
    QTest::newRow("internal standard, bounds of a reference")
        << QString() << 1
        << Drawn { { "Average intensity",
                       "1:100 2:200 3:300 4:400 5:500 7:700 "
                       "8:800 9:900 10:1000 11:1100 12:1200" },
               { "IS recovery", "1:120 12:120" }, { "dashed", "1:198 12:198" },
               { "red", "1:100 3:300 4:400 5:500 7:700 8:800 9:900 10:1000 11:1100 12:1200" } }
        << QStringList { "Average intensity (cps) =  654.5 | SD (cps) = 360.2 | RSD (%) = 55.0",
               "IS recovery 60-99 % of STD_1" };
    QTest::newRow("internal standard, correction off")
        << QString() << -1
        << Drawn { { "Average intensity",
                       "1:100 2:200 3:300 4:400 5:500 7:700 "
                       "8:800 9:900 10:1000 11:1100 12:1200" },
               { "IS recovery", "" }, { "dashed", "" }, { "red", "" } }
        << QStringList { "Average intensity (cps) =  654.5 | SD (cps) = 360.2 | RSD (%) = 55.0" };
}

void TestDisplaying::runningOrderPlots()
{
    QFETCH(QString, choice);
    QFETCH(int, reference);
    QFETCH(Drawn, drawn);
    QFETCH(QStringList, legend);

    const QStringList names { "BLK_1", "STD_1", "VS_1", "Sample 1", "blk_x", "BLK_2", "Sample 2",
        "STD_2", "VS_2", "Sample 3", "Sample 4", "BLK_3" };
    Data data;
    data.addIso(Element(QStringLiteral("In"), 115, Element::MR));
    for (int k = 0; k < names.size(); ++k)
        addSolution(data, names.at(k))->setCps(0, k == 5 ? NaN : 100.0 * (k + 1));
    Processing processing;
    QwtPlot *plot = choice.isEmpty() ? ui->graphIS : ui->graphEvol;
    // Drawn twice, the second time with other options: nothing of the first may stay.
    for (int pass = 0; pass < 2; ++pass) {
        if (choice.isEmpty())
            display->plotIS(
                &data, 0, &processing, pass == 0 ? 0 : reference, 60, pass == 0 ? 90 : 99);
        else
            display->plotEvol(&data, 0, pass == 0 ? "VS" : choice);
    }
    QCOMPARE(curves(plot).keys(), drawn.keys());
    for (const QString &key : drawn.keys())
        QCOMPARE(curves(plot).value(key), drawn.value(key));
    QCOMPARE(legendTexts(plot), legend);
    QCOMPARE(plot->title().text(),
        choice.isEmpty() ? "Internal Standard 115In MR" : "Evolution " + choice + " - 115In MR");
    const QwtScaleDiv &axis = plot->axisScaleDiv(QwtPlot::xBottom);
    QCOMPARE(axis.interval(), QwtInterval(1.0, 12.0));
    QCOMPARE(axis.ticks(QwtScaleDiv::MajorTick).size(), 12);
    QVERIFY(dynamic_cast<const RunningOrderScaleDraw *>(plot->axisScaleDraw(QwtPlot::xBottom)));
}

// Labels thinned to the fewest that never touch, every tick kept: a short run
// labels every solution, a long one with rotated or flat labels thins them.
void TestDisplaying::runningOrderLabels()
{
    const struct
    {
        int solutions;
        double length, rotation;
    } runs[] = { { 12, 700.0, 270.0 }, { 100, 400.0, 270.0 }, { 100, 600.0, 0.0 } };
    for (const auto &run : runs) {
        QList<double> ticks;
        for (int k = 1; k <= run.solutions; ++k)
            ticks.append(k);
        RunningOrderScaleDraw draw;
        draw.setAlignment(QwtScaleDraw::BottomScale);
        draw.setLabelRotation(run.rotation);
        draw.setScaleDiv(QwtScaleDiv(1.0, run.solutions, QList<double>(), QList<double>(), ticks));
        draw.setLength(run.length);
        QFont font;
        font.setPointSize(10);
        const int every = draw.labelInterval(font);
        QCOMPARE(every == 1, run.solutions == 12);
        // Whether neighbouring labels, every n-th tick, come closer than gap pixels.
        const auto crowded = [&](int n, double gap) {
            for (int k = 1; k + n <= run.solutions; k += n) {
                const double right = draw.scaleMap().transform(k) + draw.labelRect(font, k).right();
                const double left
                    = draw.scaleMap().transform(k + n) + draw.labelRect(font, k + n).left();
                if (left - right < gap)
                    return true;
            }
            return false;
        };
        QVERIFY(!crowded(every, 1.0));
        QVERIFY(every == 1 || crowded(every / 2, 8.0));
    }
}

QTEST_MAIN(TestDisplaying)
#include "tst_displaying.moc"
