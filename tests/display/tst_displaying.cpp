// What the display shows of a data set: table cells, lists, the three plots
// and the running-order axis.
#include "display/CalibrationPlot.h"
#include "display/EvolutionPlot.h"
#include "display/InternalStandardPlot.h"
#include "display/PlotImage.h"
#include "display/PlotStyle.h"
#include "display/ResultsFilterModel.h"
#include "display/ResultsMatrixModel.h"
#include "display/RunningOrderScaleDraw.h"
#include "display/SolutionTableModel.h"
#include "parsers/OutputFile.h"
#include "processing/CalibrationFit.h"
#include "processing/DetectionLimits.h"
#include "processing/Reporting.h"
#include "processing/RunOutcome.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

#include <functional>
#include <limits>
#include <memory>
#include <qwt_legend.h>
#include <qwt_legend_label.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_symbol.h>

using Drawn = QMap<QString, QString>;
Q_DECLARE_METATYPE(PlotImage::Format)

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

Solution &addSolution(
    Measurements &data, const QString &name, Solution::Type type = Solution::Sample)
{
    return data.solution(data.addSolution(Solution(name, type, data.isotopeCount())));
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
    void hiddenValueShowsItsQualifier_data();
    void hiddenValueShowsItsQualifier();
    void calibrationPlot();
    void calibrationPlotWithoutLine();
    void runningOrderPlots_data();
    void runningOrderPlots();
    void runningOrderLabels();
    void imagesWholeOrNotAtAll_data();
    void imagesWholeOrNotAtAll();
    void blocksWholeOrNotAtAll_data();
    void blocksWholeOrNotAtAll();
    void resultsCopy_data();
    void resultsCopy();

private:
    std::unique_ptr<QwtPlot> plot;
};

void TestDisplaying::init()
{
    plot = std::make_unique<QwtPlot>();
}

void TestDisplaying::cleanup()
{
    plot.reset();
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
    QTest::newRow("output before a run: no result")
        << true << 500.0 << -1.0 << 0.5 << QStringList { "500.00", "1.00", "", "" };
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

    Measurements data;
    data.addIsotope(Isotope(QStringLiteral("Co"), 59, Isotope::MR));
    addSolution(data, "Sample A").setReading(0, cps, cps / 100.0);
    ExpectedConcentrations expected(1, 1);
    expected.set(0, 0, concent, 3.254);
    Results results(1, 1);
    results.set(0, 0, concent, 3.254);
    Calibration calibration;
    calibration.lines.append(CalibrationLine());
    calibration.lines[0].loq = loq;

    SolutionTableModel model;
    if (!output)
        model.showInput(data, expected, 0);
    else
        model.showOutput(data, concent < 0.0 ? nullptr : &results, &calibration, nullptr, 0);
    QCOMPARE(row(&model, 0).mid(0, 5), QStringList { "59Co MR" } + cells);
    QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("Concentration (ppb)"));
}

// A value hidden below the LOQ shows its one qualifier in both columns.
void TestDisplaying::hiddenValueShowsItsQualifier_data()
{
    QTest::addColumn<double>("concent");
    QTest::addColumn<QString>("qualifier");
    QTest::newRow("below the LOD") << 0.2 << "<LOD";
    QTest::newRow("between the limits") << 0.4 << "<LOQ";
}

void TestDisplaying::hiddenValueShowsItsQualifier()
{
    QFETCH(double, concent);
    QFETCH(QString, qualifier);
    Measurements data;
    data.addIsotope(Isotope(QStringLiteral("Co"), 59, Isotope::MR));
    addSolution(data, "Sample A").setReading(0, 500.0, 5.0);
    Results results(1, 1);
    results.set(0, 0, concent, 3.0);
    Calibration calibration;
    calibration.lines.append(CalibrationLine());
    calibration.lines[0].slope = 1000.0;
    calibration.lines[0].lod = 0.3;
    calibration.lines[0].loq = 0.5;
    const ReportedResults reported
        = Reporting::report(data, calibration, results, SampleSheet(), {});
    SolutionTableModel model;
    model.showOutput(data, &results, &calibration, &reported, 0);
    QCOMPARE(row(&model, 0).value(3), qualifier);
    QCOMPARE(row(&model, 0).value(7), qualifier);
}

void TestDisplaying::calibrationPlot()
{
    RunOutcome outcome;
    Measurements &work = outcome.working;
    work.addIsotope(Isotope(QStringLiteral("Co"), 59, Isotope::LR));
    outcome.expected = ExpectedConcentrations(9, 1);
    const auto add = [&](const QString &name, Solution::Type type, double cps, double conc) {
        const int s = work.addSolution(Solution(name, type, 1));
        work.solution(s).setReading(0, cps, 1.0);
        outcome.expected.set(s, 0, conc, 5.0);
    };
    // The fit gives slope 152.346, y-intercept -12.34; the blanks LOQ 0.041.
    add("BLK_1", Solution::Blank, 50.0, 0.0);
    add("BLK_2", Solution::Blank, 50.0, 0.0);
    add("STD_1", Solution::Standard, 140.9835, 1.0);
    add("STD_2", Solution::Standard, 290.397, 2.0);
    add("STD_3", Solution::Standard, 445.6755, 3.0);
    add("STD_4", Solution::Standard, 0.0, 5.0); // no intensity: left out, not drawn
    add("STD_5", Solution::Standard, 700.0, 4.0); // its IS missing: left out, drawn hollow
    work.solution(6).setMeasured(0, false);
    add("QC_1", Solution::QualityControl, 160.0, 1.5);
    add("QC_2", Solution::QualityControl, 300.0, 0.0); // nothing expected: left out
    work.solution(0).setIntensity(0, 0.0); // blank subtracted
    work.addSolution(work.solution(0).renamed(Solution::ZERO_STANDARD_NAME, Solution::Standard));
    outcome.calibration.lines.append(
        CalibrationFit::fit(work, outcome.expected, 0, Calibration::Weighting::None));
    outcome.results = Results(work.solutionCount(), 1);
    outcome.results.set(0, 0, 0.01, 0.0);
    outcome.results.set(1, 0, 0.0182, 0.0);
    DetectionLimits::compute(&outcome.calibration, work, outcome.results, { 0, 1 });

    CalibrationPlot drawing(plot.get());
    drawing.draw(outcome, 0);
    drawing.draw(outcome, 0);
    const QString equation = QString::fromUtf8("y = 148.6 x + (-3.7)\nR\u00b2 = 0.99953 | "
                                               "LOD = 0.012300 ppb | LOQ = 0.041000 ppb");
    QStringList legend { equation, "QC", "STD 59Co LR", "Error Bars", "not in the fit" };
    legend.sort();
    QCOMPARE(legendTexts(plot.get()), legend);
    QCOMPARE(plot->title().text(), QString("Calibration 59Co LR"));
    // The engine's points, the zero standard at (0, 0) among them; the line spans the frame.
    const Drawn drawn = curves(plot.get());
    QCOMPARE(drawn.value("STD 59Co"), QStringLiteral("1:140.983 2:290.397 3:445.675 0:0"));
    QCOMPARE(drawn.value("not in"), QStringLiteral("4:700"));
    QCOMPARE(drawn.value("QC"), QStringLiteral("1.5:160"));
    const QwtScaleDiv &y = plot->axisScaleDiv(QwtPlot::yLeft);
    QCOMPARE(QPointF(y.lowerBound(), y.upperBound()), QPointF(0.0, 700.0 * 1.1));

    // A weighted line says so; a fit with every standard leaves nothing hollow.
    work.solution(6).setMeasured(0, true);
    outcome.calibration.weighting = Calibration::Weighting::InverseX;
    outcome.calibration.lines[0]
        = CalibrationFit::fit(work, outcome.expected, 0, Calibration::Weighting::InverseX);
    drawing.draw(outcome, 0);
    QVERIFY(legendTexts(plot.get()).last().endsWith(QStringLiteral(" | weighted 1/x")));
    QVERIFY(!legendTexts(plot.get()).contains(QStringLiteral("not in the fit")));
}

// No line, no figures: an internal standard is not calibrated.
void TestDisplaying::calibrationPlotWithoutLine()
{
    RunOutcome outcome;
    outcome.working.addIsotope(Isotope(QStringLiteral("In"), 115, Isotope::LR));
    outcome.working.addSolution(Solution(QStringLiteral("STD_1"), Solution::Standard, 1));
    outcome.working.solution(0).setReading(0, 5000.0, 50.0);
    outcome.expected = ExpectedConcentrations(1, 1);
    outcome.calibration.lines.append(CalibrationLine());
    CalibrationPlot drawing(plot.get());
    for (const int standard : { -1, 0 }) {
        outcome.corrected[Isotope::LR] = standard;
        drawing.draw(outcome, 0);
        const QString said = standard == 0 ? QStringLiteral("internal standard: not calibrated")
                                           : QStringLiteral("no calibration line");
        QVERIFY(legendTexts(plot.get()).contains(said));
        // The line's curve holds no point.
        const Drawn line = curves(plot.get());
        const QString key = said.section(' ', 0, 1);
        QVERIFY(line.contains(key) && line.value(key).isEmpty());
    }
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
    // 60 to 99 % of STD_1's 200 cps: 120 and 198; BLK_2 is no value, Sample 3 not measured.
    QTest::newRow("internal standard, bounds of a reference")
        << QString() << 1
        << Drawn { { "Average intensity",
                       "1:100 2:200 3:300 4:400 5:500 7:700 8:800 9:900 11:1100 12:1200" },
               { "IS recovery", "1:120 12:120" }, { "dashed", "1:198 12:198" },
               { "red", "1:100 3:300 4:400 5:500 7:700 8:800 9:900 11:1100 12:1200" } }
        << QStringList { "Average intensity (cps) =  620.0 | SD (cps) = 360.0 | RSD (%) = 58.1",
               "IS recovery 60-99 % of STD_1" };
    QTest::newRow("internal standard, correction off")
        << QString() << -1
        << Drawn { { "Average intensity",
                       "1:100 2:200 3:300 4:400 5:500 7:700 8:800 9:900 11:1100 12:1200" },
               { "IS recovery", "" }, { "dashed", "" }, { "red", "" } }
        << QStringList { "Average intensity (cps) =  620.0 | SD (cps) = 360.0 | RSD (%) = 58.1" };
}

void TestDisplaying::runningOrderPlots()
{
    QFETCH(QString, choice);
    QFETCH(int, reference);
    QFETCH(Drawn, drawn);
    QFETCH(QStringList, legend);

    const QStringList names { "BLK_1", "STD_1", "VS_1", "Sample 1", "blk_x", "BLK_2", "Sample 2",
        "STD_2", "VS_2", "Sample 3", "Sample 4", "BLK_3" };
    Measurements data;
    data.addIsotope(Isotope(QStringLiteral("In"), 115, Isotope::MR));
    for (int k = 0; k < names.size(); ++k)
        addSolution(data, names.at(k))
            .setReading(0,
                k == 5       ? NaN
                    : k == 9 ? 0.0
                             : 100.0 * (k + 1),
                0.0);
    // Drawn twice, the second time with other options: nothing of the first may stay.
    std::unique_ptr<InternalStandardPlot> internalStandard;
    std::unique_ptr<EvolutionPlot> evolution;
    if (choice.isEmpty()) {
        internalStandard = std::make_unique<InternalStandardPlot>(plot.get());
        internalStandard->draw(data, 0, 0, 60, 90);
        internalStandard->draw(data, 0, reference, 60, 99);
    } else {
        evolution = std::make_unique<EvolutionPlot>(plot.get());
        evolution->draw(data, 0, QStringLiteral("VS"));
        evolution->draw(data, 0, choice);
    }
    QCOMPARE(curves(plot.get()).keys(), drawn.keys());
    for (const QString &key : drawn.keys())
        QCOMPARE(curves(plot.get()).value(key), drawn.value(key));
    QCOMPARE(legendTexts(plot.get()), legend);
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
    // Positions without the locale's thousands separator; a long run's ticks on round positions.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(RunningOrderScaleDraw().label(1200.0).text(), QStringLiteral("1200"));
    QLocale::setDefault(QLocale::c());
    PlotStyle::scaleRunningOrder(plot.get(), 1000);
    const QList<double> ticks = plot->axisScaleDiv(QwtPlot::xBottom).ticks(QwtScaleDiv::MajorTick);
    QCOMPARE(QString("%1 %2 %3").arg(ticks.size()).arg(ticks.first()).arg(ticks.last()),
        QStringLiteral("50 20 1000"));
}

void TestDisplaying::imagesWholeOrNotAtAll_data()
{
    QTest::addColumn<PlotImage::Format>("format");
    QTest::newRow("png") << PlotImage::Format::Png;
    QTest::newRow("svg") << PlotImage::Format::Svg;
    QTest::newRow("pdf") << PlotImage::Format::Pdf;
}

// Runs save under a file size limit of `limit` bytes.
Status underLimit(rlim_t limit, const std::function<Status()> &save)
{
    rlimit previous {};
    getrlimit(RLIMIT_FSIZE, &previous);
    const auto signal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &small);
    Status saved = save();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, signal);
    return saved;
}

// A disk that fills up part-way keeps the earlier image, leaves nothing
// half-written and says why: here a file size limit of 2 kB.
void TestDisplaying::imagesWholeOrNotAtAll()
{
    QFETCH(PlotImage::Format, format);
    QTemporaryDir folder;
    const QString target = folder.filePath("plot." + PlotImage::suffix(format));
    QFile earlier(target);
    QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
    earlier.close();
    plot->setTitle(QStringLiteral("A plot of some size"));

    const Status saved = underLimit(
        2000, [&] { return PlotImage::save(plot.get(), QSize(1200, 800), format, target); });
    QCOMPARE(saved.message(), "Cannot write file " + target + ":\nFile too large.");
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("earlier"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList { target.section('/', -1) });
}

// A file written a block at a time, as the results files are: a limit met
// after the first block, or a block its maker could not make, keeps the
// earlier file whole.
void TestDisplaying::blocksWholeOrNotAtAll_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("made"); // the blocks made before the maker gives up; -1: all
    QTest::addColumn<QString>("message"); // empty: written
    QTest::newRow("three blocks written") << 0 << -1 << QString();
    QTest::newRow("a limit met in the second block")
        << 3 * OutputFile::BLOCK / 2 << -1 << ":\nFile too large.";
    QTest::newRow("the maker gives up after one block") << 0 << 1 << ":\nWrite error.";
}

void TestDisplaying::blocksWholeOrNotAtAll()
{
    QFETCH(int, limit);
    QFETCH(int, made);
    QFETCH(QString, message);
    QTemporaryDir folder;
    const QString target = folder.filePath("results.csv");
    QFile earlier(target);
    QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
    earlier.close();
    const QByteArray block(OutputFile::BLOCK, 'x');
    const auto save = [&] {
        return OutputFile::write(target, [&](QIODevice *device) {
            for (int k = 0; k < 3; ++k) {
                if (k == made || !OutputFile::put(device, block))
                    return false;
            }
            return true;
        });
    };
    Status saved = limit > 0 ? underLimit(rlim_t(limit), save) : save();
    QCOMPARE(saved.ok(), message.isEmpty());
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.size(), message.isEmpty() ? 3 * qint64(OutputFile::BLOCK) : qint64(7));
    if (!message.isEmpty())
        QCOMPARE(saved.message(), "Cannot write file " + target + message);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList { "results.csv" });
}

namespace {

// Four solutions by one isotope, as a run would report them.
ResultsMatrix fourSolutions()
{
    using Q = ReportedResults::Qualifier;
    Measurements working;
    working.addIsotope(Isotope(QStringLiteral("Li"), 7, Isotope::LR));
    const struct
    {
        const char *name;
        Solution::Type type;
        double value;
        Q qualifier;
    } rows[] = { { "S_10", Solution::Sample, 0.5, Q::None },
        { "S_2", Solution::Sample, NaN, Q::NotMeasured },
        { "Blank\tone", Solution::Blank, 2.5e-5, Q::BelowDetection },
        { "QC_1", Solution::QualityControl, 1.25, Q::None } };
    Results results(4, 1);
    const ReportedResults reported(4, 1, [rows](int s, int) -> ReportedResults::Value {
        return { rows[s].value, 0.01, 1e-4, 3e-4, rows[s].qualifier };
    });
    for (int k = 0; k < 4; ++k) {
        working.addSolution(Solution(QLatin1String(rows[k].name), rows[k].type, 1));
        results.set(k, 0, std::isnan(rows[k].value) ? 0.0 : rows[k].value, 2.0);
    }
    Calibration calibration;
    calibration.lines = QVector<CalibrationLine>(1);
    return ResultsMatrix(working, calibration, results, reported);
}

} // namespace

void TestDisplaying::resultsCopy_data()
{
    QTest::addColumn<QChar>("decimalPoint");
    QTest::addColumn<QString>("hidden"); // a type unticked, or none
    QTest::addColumn<QList<QPoint>>("cells"); // column, row as shown
    QTest::addColumn<QString>("text");

    // Sorted by name as a person sorts them: Blank, QC_1, S_2, S_10.
    QTest::newRow("a rectangle, the decimal comma of the locale")
        << QChar(',') << "" << QList<QPoint> { { 0, 2 }, { 1, 2 }, { 0, 3 }, { 1, 3 } }
        << "Solution\t7Li LR (µg/L)\nS_2\tnot measured\nS_10\t0,5\n";
    QTest::newRow("cells apart: the others empty, a tab in a name a blank")
        << QChar('.') << "" << QList<QPoint> { { 1, 0 }, { 0, 1 } }
        << "Solution\t7Li LR (µg/L)\n\t2.5e-05\nQC_1\t\n";
    QTest::newRow("the blanks hidden, a column apart")
        << QChar(',') << "blanks" << QList<QPoint> { { 0, 0 }, { 1, 0 }, { 1, 2 } }
        << "Solution\t7Li LR (µg/L)\nQC_1\t1,25\n\t0,5\n";
    QTest::newRow("an exponent with a comma")
        << QChar(',') << "" << QList<QPoint> { { 1, 0 } } << "7Li LR (µg/L)\n2,5e-05\n";
}

// What Ctrl+C puts on the clipboard of the rows shown, sorted and filtered.
void TestDisplaying::resultsCopy()
{
    QFETCH(QChar, decimalPoint);
    QFETCH(QString, hidden);
    QFETCH(QList<QPoint>, cells);
    QFETCH(QString, text);

    ResultsMatrixModel model;
    model.setMatrix(fourSolutions());
    ResultsFilterModel shown;
    shown.setSourceModel(&model);
    shown.sort(0);
    shown.setTypeShown(Solution::Blank, hidden != QLatin1String("blanks"));
    QModelIndexList selected;
    for (const QPoint &cell : cells)
        selected << shown.index(cell.y(), cell.x());
    QCOMPARE(ResultsMatrixModel::copyText(shown, selected, decimalPoint), text);
}

QTEST_MAIN(TestDisplaying)
#include "tst_displaying.moc"
