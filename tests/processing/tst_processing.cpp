#include "DataBuilder.h"
#include "processing/Processing.h"
#include "processing/Trace.h"

#include <QBuffer>
#include <QTest>
#include <QTextStream>

#include <limits>

using namespace DataBuilder;
using Resolutions = QVector<Element::Resolution>;
using Table = QVector<QVector<double>>;
Q_DECLARE_METATYPE(Element::Resolution)
Q_DECLARE_METATYPE(Regline)

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

// Standards at 0 (zero standard, intensity 10), 1 and 2 ppb: slope 100, y-intercept 10.
void addExactStandards(Data &data, int iso)
{
    QVector<double> cps(data.isoSize(), 0.0);
    QVector<double> conc(data.isoSize(), 0.0);
    cps[iso] = 10.0;
    addSolution(data, Solution::ZERO_STD_NAME, Solution::STD, cps, {}, conc);
    cps[iso] = 110.0;
    conc[iso] = 1.0;
    addSolution(data, QStringLiteral("STD_1"), Solution::STD, cps, {}, conc);
    cps[iso] = 210.0;
    conc[iso] = 2.0;
    addSolution(data, QStringLiteral("STD_2"), Solution::STD, cps, {}, conc);
}

} // namespace

class TestProcessing : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        sink.open(QIODevice::WriteOnly);
        Trace::setDevice(&sink);
    }
    void cleanup()
    {
        Trace::setDevice(nullptr);
        sink.close();
    }

    void initSizesAndResets_data();
    void initSizesAndResets();
    void statistics_data();
    void statistics();
    void isValid_data();
    void isValid();

    void correctionIS_data();
    void correctionIS();
    void subtructBlank_data();
    void subtructBlank();

    void computeLine_data();
    void computeLine();
    void lineKeptWhenNotComputable_data();
    void lineKeptWhenNotComputable();
    void calibrationTrace();

    void isFormulasReduceToPlainOnes_data();
    void isFormulasReduceToPlainOnes();
    void computeConcent_data();
    void computeConcent();
    void unusableLineClearsTreatedSolutions();
    void unmeasuredIntensityHasNoConcentration();

    void computeLimits_data();
    void computeLimits();
    void passQC_data();
    void passQC();
    void passQCMessagesInCheckOrder();

private:
    QBuffer sink; // keeps the calibration trace out of the test log
};

void TestProcessing::initSizesAndResets_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("size");
    QTest::newRow("shrink") << 5 << 3 << 3;
    QTest::newRow("grow") << 1 << 4 << 4;
    QTest::newRow("zero empties") << 2 << 0 << 0;
    QTest::newRow("negative empties") << 2 << -1 << 0;
}

void TestProcessing::initSizesAndResets()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(int, size);
    Data data;
    addIsotopes(data, Resolutions(first, Element::LR));
    addExactStandards(data, 0);
    Processing engine;
    engine.init(first);
    engine.calibration(&data, {});
    engine.computeLimits(&data, { 0, 1 });
    QVERIFY(engine.getLine(0).slope > 1.0);

    engine.init(second);
    QCOMPARE(engine.size(), size);
    for (int i = 0; i < size; ++i) {
        const Regline line = engine.getLine(i);
        QCOMPARE(line.slope, 0.0);
        QCOMPARE(line.yIntercept, 0.0);
        QCOMPARE(line.slopeVariance, 0.0);
        QCOMPARE(line.yInterceptVariance, 0.0);
        QCOMPARE(engine.getSquareR(i), 0.0);
        QCOMPARE(engine.getLOD(i), 0.0);
        QCOMPARE(engine.getLOQ(i), 0.0);
    }
}

void TestProcessing::statistics_data()
{
    QTest::addColumn<QVector<double>>("values");
    QTest::addColumn<double>("mean");
    QTest::addColumn<double>("sd");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::newRow("population deviation")
        << QVector<double> { 2, 4, 4, 4, 5, 5, 7, 9 } << 5.0 << 2.0 << 2.0 << 9.0;
    QTest::newRow("maximum never below zero")
        << QVector<double> { -4, -2 } << -3.0 << 1.0 << -4.0 << 0.0;
    QTest::newRow("single value") << QVector<double> { 7 } << 7.0 << 0.0 << 7.0 << 7.0;
    QTest::newRow("empty") << QVector<double>() << NaN << NaN << 0.0 << 0.0;
    QTest::newRow("minimum later than first")
        << QVector<double> { 3, 1, 2 } << 2.0 << std::sqrt(2.0 / 3.0) << 1.0 << 3.0;
}

void TestProcessing::statistics()
{
    QFETCH(QVector<double>, values);
    QFETCH(double, mean);
    QFETCH(double, sd);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    const QVector<double> before = values;
    QVERIFY(close(Processing::avr(values), mean));
    const QPair<double, double> meanSd = Processing::stat(values);
    QVERIFY(close(meanSd.first, mean));
    QVERIFY2(close(meanSd.second, sd), qPrintable(QString::number(meanSd.second)));
    QCOMPARE(Processing::min(values), minimum);
    QCOMPARE(Processing::max(values), maximum);
    QCOMPARE(values, before);
}

void TestProcessing::isValid_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<bool>("valid");
    QTest::newRow("large finite") << 1e308 << true;
    QTest::newRow("largest negative") << -std::numeric_limits<double>::max() << true;
    QTest::newRow("zero") << 0.0 << true;
    QTest::newRow("not a number") << NaN << false;
    QTest::newRow("mean of nothing") << Processing::avr({}) << false;
    QTest::newRow("infinite") << Inf << false;
    QTest::newRow("minus infinite") << -Inf << false;
}

void TestProcessing::isValid()
{
    QFETCH(double, x);
    QFETCH(bool, valid);
    QCOMPARE(Processing::isValid(x), valid);
}

void TestProcessing::correctionIS_data()
{
    QTest::addColumn<Resolutions>("resolutions");
    QTest::addColumn<Table>("cps");
    QTest::addColumn<int>("ref");
    QTest::addColumn<int>("isIsotope");
    QTest::addColumn<int>("group");
    QTest::addColumn<Table>("expected");

    const Resolutions lr { Element::LR, Element::LR, Element::LR };
    // Solution 0 is the reference (IS 1000), solution 1 reads 800: factor 1.25.
    QTest::newRow("factor 1.25, zero stays zero")
        << lr << Table { { 1000, 50, 7 }, { 800, 400, 0 } } << 0 << 0 << int(Element::LR)
        << Table { { 1000, 50, 7 }, { 1000, 500, 0 } };
    QTest::newRow("reference after the solution")
        << lr << Table { { 800, 400, 1 }, { 1000, 50, 7 } } << 1 << 0 << int(Element::LR)
        << Table { { 1000, 500, 1.25 }, { 1000, 50, 7 } };
    QTest::newRow("solution without IS signal unchanged")
        << lr << Table { { 1000, 50, 7 }, { 0, 400, 3 } } << 0 << 0 << int(Element::LR)
        << Table { { 1000, 50, 7 }, { 0, 400, 3 } };
    QTest::newRow("MR group leaves LR and HR")
        << Resolutions { Element::LR, Element::MR, Element::HR, Element::MR }
        << Table { { 100, 200, 300, 1000 }, { 100, 200, 300, 500 } } << 0 << 3 << int(Element::MR)
        << Table { { 100, 200, 300, 1000 }, { 100, 400, 300, 1000 } };
    QTest::newRow("quadrupole isotopes belong to LR")
        << Resolutions { Element::NOT_DEFINED, Element::NOT_DEFINED, Element::HR }
        << Table { { 1000, 10, 10 }, { 500, 10, 10 } } << 0 << 0 << int(Element::LR)
        << Table { { 1000, 10, 10 }, { 1000, 20, 10 } };
    QTest::newRow("no reference") << lr << Table { { 1000, 50, 7 }, { 800, 400, 0 } } << -1 << 0
                                  << int(Element::LR) << Table { { 1000, 50, 7 }, { 800, 400, 0 } };
    QTest::newRow("no IS isotope")
        << lr << Table { { 1000, 50, 7 }, { 800, 400, 0 } } << 0 << -1 << int(Element::LR)
        << Table { { 1000, 50, 7 }, { 800, 400, 0 } };
    QTest::newRow("reference without IS signal zeroes the group")
        << lr << Table { { 0, 50, 7 }, { 800, 400, 9 } } << 0 << 0 << int(Element::LR)
        << Table { { 0, 50, 7 }, { 0, 0, 0 } };
}

void TestProcessing::correctionIS()
{
    QFETCH(Resolutions, resolutions);
    QFETCH(Table, cps);
    QFETCH(int, ref);
    QFETCH(int, isIsotope);
    QFETCH(int, group);
    QFETCH(Table, expected);
    Data data;
    addIsotopes(data, resolutions);
    for (const QVector<double> &row : cps)
        addSolution(data, QStringLiteral("S"), Solution::SAMPLE, row);
    Processing().correctionIS(&data, ref, isIsotope, Element::Resolution(group));
    for (int s = 0; s < expected.size(); ++s)
        QCOMPARE(cpsOf(data, s), expected.at(s));
}

void TestProcessing::subtructBlank_data()
{
    QTest::addColumn<bool>("withStandards");
    QTest::addColumn<QList<int>>("keep");
    QTest::addColumn<int>("blank");
    QTest::addColumn<Table>("expected");
    // Rows: blank {50, 20}, sample {40, 0}, standard {100, 30}, QC {60, 25}.
    QTest::newRow("all treated") << true << QList<int>() << 0
                                 << Table { { 0, 0 }, { -10, 0 }, { 50, 10 }, { 10, 5 } };
    QTest::newRow("standards left")
        << false << QList<int>() << 0 << Table { { 0, 0 }, { -10, 0 }, { 100, 30 }, { 10, 5 } };
    QTest::newRow("kept isotope") << true << QList<int> { 1 } << 0
                                  << Table { { 0, 20 }, { -10, 0 }, { 50, 30 }, { 10, 25 } };
    QTest::newRow("no blank") << true << QList<int>() << -1
                              << Table { { 50, 20 }, { 40, 0 }, { 100, 30 }, { 60, 25 } };
}

void TestProcessing::subtructBlank()
{
    QFETCH(bool, withStandards);
    QFETCH(QList<int>, keep);
    QFETCH(int, blank);
    QFETCH(Table, expected);
    Data data;
    addIsotopes(data, { Element::LR, Element::HR });
    addSolution(data, QStringLiteral("BLK_1"), Solution::BLK, { 50, 20 });
    addSolution(data, QStringLiteral("Sample"), Solution::SAMPLE, { 40, 0 });
    addSolution(data, QStringLiteral("STD_1"), Solution::STD, { 100, 30 });
    addSolution(data, QStringLiteral("QC_1"), Solution::QC, { 60, 25 });
    Processing().subtructBlank(&data, blank, withStandards, keep);
    for (int s = 0; s < expected.size(); ++s)
        QCOMPARE(cpsOf(data, s), expected.at(s));
}

void TestProcessing::computeLine_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QVector<double>>("conc");
    QTest::addColumn<QVector<double>>("cps");
    QTest::addColumn<Regline>("line");
    QTest::addColumn<double>("r2");

    QTest::newRow("zero standard, exact line")
        << QStringList { Solution::ZERO_STD_NAME, "STD_1", "STD_2" } << QVector<double> { 0, 1, 2 }
        << QVector<double> { 10, 110, 210 } << Regline { 100, 10, 0, 0 } << 1.0;
    QTest::newRow("zero standard with no signal takes part")
        << QStringList { Solution::ZERO_STD_NAME, "STD_1", "STD_2" } << QVector<double> { 0, 1, 2 }
        << QVector<double> { 0, 100, 200 } << Regline { 100, 0, 0, 0 } << 1.0;
    QTest::newRow("other zero values left out")
        << QStringList { "STD_0", "STD_1", "STD_2", "STD_3", "STD_4" }
        << QVector<double> { 0, 1, 2, 3, 5 } << QVector<double> { 999, 110, 210, 0, 510 }
        << Regline { 100, 10, 0, 0 } << 1.0;
    // x 1..4, y 12 19 31 38: Sxx 5, Sxy 45, SSres 5, Syy 410, s2 2.5.
    QTest::newRow("scattered points")
        << QStringList { "STD_1", "STD_2", "STD_3", "STD_4" } << QVector<double> { 1, 2, 3, 4 }
        << QVector<double> { 12, 19, 31, 38 } << Regline { 9, 2.5, 0.5, 3.75 } << 1.0 - 5.0 / 410.0;
    QTest::newRow("two points store their undefined variances")
        << QStringList { "STD_1", "STD_2" } << QVector<double> { 1, 2 }
        << QVector<double> { 110, 210 } << Regline { 100, 10, NaN, NaN } << 1.0;
}

void TestProcessing::computeLine()
{
    QFETCH(QStringList, names);
    QFETCH(QVector<double>, conc);
    QFETCH(QVector<double>, cps);
    QFETCH(Regline, line);
    QFETCH(double, r2);
    Data data;
    addIsotopes(data, { Element::LR });
    addSolution(data, QStringLiteral("Sample"), Solution::SAMPLE, { 5000 }, {}, { 3 });
    for (int k = 0; k < names.size(); ++k)
        addSolution(data, names.at(k), Solution::STD, { cps.at(k) }, {}, { conc.at(k) });
    Processing engine;
    engine.init(1);
    engine.computeLine(&data, 0);

    const Regline fitted = engine.getLine(0);
    QVERIFY(close(fitted.slope, line.slope));
    QVERIFY(close(fitted.yIntercept, line.yIntercept));
    QVERIFY(close(engine.getSquareR(0), r2));
    if (std::isnan(line.slopeVariance)) {
        QVERIFY(!Processing::isValid(fitted.slopeVariance));
        QVERIFY(!Processing::isValid(fitted.yInterceptVariance));
    } else {
        QVERIFY(close(fitted.slopeVariance, line.slopeVariance));
        QVERIFY(close(fitted.yInterceptVariance, line.yInterceptVariance));
    }
}

void TestProcessing::lineKeptWhenNotComputable_data()
{
    QTest::addColumn<QVector<double>>("conc");
    QTest::addColumn<QVector<double>>("cps");
    QTest::addColumn<bool>("skipped");
    QTest::addColumn<double>("slope");
    QTest::addColumn<double>("yIntercept");

    // The earlier line is 100 / 10 with r2 1 and zero variances; the later
    // standards replace the exact ones.
    QTest::newRow("single usable standard")
        << QVector<double> { 1, 0, 0 } << QVector<double> { 300, 0, 0 } << false << 100.0 << 10.0;
    QTest::newRow("equal concentrations")
        << QVector<double> { 2, 2, 2 } << QVector<double> { 300, 310, 320 } << false << 100.0
        << 10.0;
    QTest::newRow("equal intensities keep r2 and variances")
        << QVector<double> { 1, 2, 4 } << QVector<double> { 50, 50, 50 } << false << 0.0 << 50.0;
    QTest::newRow("skip list") << QVector<double> { 1, 2, 4 } << QVector<double> { 12, 19, 35 }
                               << true << 100.0 << 10.0;
}

void TestProcessing::lineKeptWhenNotComputable()
{
    QFETCH(QVector<double>, conc);
    QFETCH(QVector<double>, cps);
    QFETCH(bool, skipped);
    QFETCH(double, slope);
    QFETCH(double, yIntercept);
    Data first;
    addIsotopes(first, { Element::LR });
    addExactStandards(first, 0);
    Processing engine;
    engine.init(1);
    engine.calibration(&first, {});
    QCOMPARE(engine.getLine(0).slope, 100.0);

    Data later;
    addIsotopes(later, { Element::LR });
    for (int k = 0; k < conc.size(); ++k)
        addSolution(later, QStringLiteral("STD_%1").arg(k), Solution::STD, { cps.at(k) }, {},
            { conc.at(k) });
    engine.calibration(&later, skipped ? QList<int> { 0 } : QList<int>());
    QCOMPARE(engine.getLine(0).slope, slope);
    QCOMPARE(engine.getLine(0).yIntercept, yIntercept);
    QCOMPARE(engine.getSquareR(0), 1.0);
    QVERIFY(close(engine.getLine(0).slopeVariance, 0.0));
    QVERIFY(close(engine.getLine(0).yInterceptVariance, 0.0));
}

void TestProcessing::calibrationTrace()
{
    QBuffer trace;
    trace.open(QIODevice::WriteOnly);
    Trace::setDevice(&trace);
    Data data;
    data.addIso(Element(QStringLiteral("Co"), 59, Element::LR));
    data.addIso(Element(QStringLiteral("Ni"), 60, Element::MR));
    addExactStandards(data, 0); // Ni has no standard: no line, no trace
    Processing engine;
    engine.init(2);
    engine.calibration(&data, {});
    Trace::stream() << 0.5 << '\n';
    Trace::stream().flush();
    QCOMPARE(QString::fromUtf8(trace.data()),
        QStringLiteral("59Co LR: slope = 100.00000000, y-intercept =  10.00000000, "
                       "r2 = 1.00000000\n0.50000000\n"));
}

void TestProcessing::isFormulasReduceToPlainOnes_data()
{
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("sy");
    QTest::addColumn<Regline>("line");
    QTest::addColumn<double>("yb");
    QTest::addColumn<double>("syb");
    QTest::newRow("exact line") << 510.0 << 5.0 << Regline { 100, 10, 0, 0 } << 110.0 << 0.0;
    QTest::newRow("line with variances")
        << 2500.0 << 40.0 << Regline { 35, -4, 0.2, 9 } << 300.0 << 12.0;
    QTest::newRow("signal below blank")
        << 80.0 << 3.0 << Regline { 12, 1.5, 0.01, 0.5 } << 95.0 << 4.0;
}

void TestProcessing::isFormulasReduceToPlainOnes()
{
    QFETCH(double, y);
    QFETCH(double, sy);
    QFETCH(Regline, line);
    QFETCH(double, yb);
    QFETCH(double, syb);
    QVERIFY(close(Processing::concentRSD_y_intercept_IS_s(y, sy, line, 0, 0, 1),
        Processing::concentRSD_y_intercept_s(y, sy, line)));
    QVERIFY(close(Processing::concentRSD_blank_IS_s(y, sy, line, yb, syb, 0, 0, 1),
        Processing::concentRSD_blank_s(y, sy, line, yb, syb)));
    // And a non-trivial IS term does change the result.
    QVERIFY(!close(Processing::concentRSD_y_intercept_IS_s(y, sy, line, 0.01, 0, 1),
        Processing::concentRSD_y_intercept_s(y, sy, line)));
}

void TestProcessing::computeConcent_data()
{
    QTest::addColumn<Resolutions>("resolutions");
    QTest::addColumn<bool>("subtract");
    QTest::addColumn<bool>("withIS");
    QTest::addColumn<double>("concent");
    QTest::addColumn<double>("rsd");

    // Isotope 0 is the analyte (line 100 / 10), isotope 1 the IS isotope.
    // Sample: analyte 510 +- 5 (800 +- 8 with IS), IS 800 +- 16; reference IS
    // 1000 +- 10; blank analyte 110 +- 0.
    const Resolutions lr { Element::LR, Element::LR };
    QTest::newRow("plain") << lr << false << false << 5.0 << 1.0;
    QTest::newRow("blank subtracted") << lr << true << false << 3.9 << 100.0 * 5.0 / 390.0;
    // alpha 1.25, a 0.0004, b 0.0001: 100 * sqrt(0.0006 * 1000^2 / 990^2).
    QTest::newRow("IS corrected") << lr << false << true << 9.9 << 2.4742320634173516;
    QTest::newRow("quadrupole isotopes take the LR entry") << Resolutions { Element::NOT_DEFINED,
        Element::NOT_DEFINED } << false << true << 9.9 << 2.4742320634173516;
    QTest::newRow("IS isotope in another group: plain formula")
        << Resolutions { Element::LR, Element::HR } << false << true << 7.9 << 100.0 * 8.0 / 790.0;
}

void TestProcessing::computeConcent()
{
    QFETCH(Resolutions, resolutions);
    QFETCH(bool, subtract);
    QFETCH(bool, withIS);
    QFETCH(double, concent);
    QFETCH(double, rsd);

    Data source;
    addIsotopes(source, resolutions);
    addExactStandards(source, 0);
    const int ref
        = addSolution(source, QStringLiteral("Ref"), Solution::SAMPLE, { 0, 1000 }, { 0, 10 });
    const int blank
        = addSolution(source, QStringLiteral("BLK_1"), Solution::BLK, { 110, 0 }, { 0, 0 });
    const int sample = addSolution(source, QStringLiteral("Sample"), Solution::SAMPLE,
        { withIS ? 800.0 : 510.0, 800 }, { withIS ? 8.0 : 5.0, 16 });
    const int standard = 1;
    const int qc = addSolution(
        source, QStringLiteral("QC_1"), Solution::QC, { 210, 0 }, { 2, 0 }, { 7, 0 }, { 5, 0 });
    Data result;
    result.copyData(&source);

    // The line is fitted first, so every case uses the same 100 / 10 line.
    Processing engine;
    engine.init(2);
    engine.calibration(&result, { 1 });
    const bool isHR = source.getIso(1).getResol() == Element::HR;
    int isIsotopes[3] = { -1, -1, -1 };
    if (withIS) {
        isIsotopes[isHR ? 0 : 2] = 1;
        engine.correctionIS(&result, ref, 1, isHR ? Element::HR : Element::LR);
    }
    if (subtract)
        engine.subtructBlank(&result, blank, true, { 1 });
    engine.computeConcent(&result, &source, subtract ? blank : -1, withIS ? ref : -1, isIsotopes);

    const Solution *treated = result.getSolution(sample);
    QVERIFY2(close(treated->getConcent(0), concent),
        qPrintable(QString::number(treated->getConcent(0))));
    QVERIFY2(close(treated->getConcentRSD(0), rsd),
        qPrintable(QString::number(treated->getConcentRSD(0), 'g', 17)));
    // Standards keep their expected values; a QC solution is computed.
    QCOMPARE(result.getSolution(standard)->getConcent(0), 1.0);
    QVERIFY(result.getSolution(qc)->getConcent(0) != 7.0);
}

void TestProcessing::unusableLineClearsTreatedSolutions()
{
    Data source;
    addIsotopes(source, { Element::LR, Element::LR });
    addExactStandards(source, 0); // isotope 1 has no standard, so no line
    const int qc = addSolution(
        source, QStringLiteral("QC_1"), Solution::QC, { 310, 400 }, { 3, 4 }, { 3, 8 }, { 5, 10 });
    const int sample
        = addSolution(source, QStringLiteral("Sample"), Solution::SAMPLE, { 510, 600 }, { 5, 6 });
    Data result;
    result.copyData(&source);
    Processing engine;
    engine.init(2);
    engine.calibration(&result, {});
    int none[3] = { -1, -1, -1 };
    engine.computeConcent(&result, &source, -1, -1, none);

    QCOMPARE(result.getSolution(qc)->getConcent(1), 0.0);
    QCOMPARE(result.getSolution(qc)->getConcentRSD(1), 0.0);
    QCOMPARE(result.getSolution(sample)->getConcent(1), 0.0);
    QVERIFY(close(result.getSolution(qc)->getConcent(0), 3.0));
    // The standard keeps its expected values even for the isotope without a line.
    QCOMPARE(result.getSolution(1)->getConcent(0), 1.0);
}

void TestProcessing::unmeasuredIntensityHasNoConcentration()
{
    Data source;
    addIsotopes(source, { Element::LR, Element::LR });
    // Line 100 / 10 for both isotopes.
    addSolution(source, Solution::ZERO_STD_NAME, Solution::STD, { 10, 10 });
    addSolution(source, QStringLiteral("STD_1"), Solution::STD, { 110, 110 }, {}, { 1, 1 });
    addSolution(source, QStringLiteral("STD_2"), Solution::STD, { 210, 210 }, {}, { 2, 2 });
    // Isotope 0 was not measured in the QC solution, isotope 1 not in the sample.
    const int qc = addSolution(
        source, QStringLiteral("QC_1"), Solution::QC, { 0, 310 }, { 0, 3 }, { 3, 3 }, { 5, 5 });
    const int sample
        = addSolution(source, QStringLiteral("Sample"), Solution::SAMPLE, { 510, 0 }, { 5, 0 });
    Data result;
    result.copyData(&source);
    Processing engine;
    engine.init(2);
    engine.calibration(&result, {});
    int none[3] = { -1, -1, -1 };
    engine.computeConcent(&result, &source, -1, -1, none);

    QCOMPARE(result.getSolution(qc)->getConcent(0), 0.0);
    QCOMPARE(result.getSolution(qc)->getConcentRSD(0), 0.0);
    QCOMPARE(result.getSolution(sample)->getConcent(1), 0.0);
    QVERIFY(close(result.getSolution(qc)->getConcent(1), 3.0));
    QVERIFY(close(result.getSolution(sample)->getConcent(0), 5.0));
    // The unmeasured QC value is skipped, not compared with its expected 3 ppb.
    const QCResult qcResult = engine.passQC(&source, &result);
    QCOMPARE(qcResult.failed, 0);
    QVERIFY(qcResult.messages.isEmpty());
}

void TestProcessing::computeLimits_data()
{
    QTest::addColumn<QList<int>>("blanks");
    QTest::addColumn<double>("lod");
    QTest::addColumn<double>("loq");
    // Blank concentrations: 0.1, 0.3, 0.4 at positions 0, 1, 2.
    QTest::newRow("two blanks") << QList<int> { 0, 1 } << 0.3 << 1.0;
    QTest::newRow("one blank") << QList<int> { 2 } << 0.0 << 0.0;
    QTest::newRow("listed twice counts twice")
        << QList<int> { 0, 0, 2 } << 3.0 * std::sqrt(0.02) << 10.0 * std::sqrt(0.02);
    QTest::newRow("empty list keeps earlier limits") << QList<int>() << 0.6 << 2.0;
}

void TestProcessing::computeLimits()
{
    QFETCH(QList<int>, blanks);
    QFETCH(double, lod);
    QFETCH(double, loq);
    Processing engine;
    engine.init(1);
    Data earlier; // blanks at -0.2 and 0.2: sigma 0.2, LOD 0.6, LOQ 2.0
    addIsotopes(earlier, { Element::LR });
    addSolution(earlier, QStringLiteral("BLK_1"), Solution::BLK, { 1 }, {}, { -0.2 });
    addSolution(earlier, QStringLiteral("BLK_2"), Solution::BLK, { 1 }, {}, { 0.2 });
    engine.computeLimits(&earlier, { 0, 1 });

    Data data;
    addIsotopes(data, { Element::LR });
    for (double c : { 0.1, 0.3, 0.4 })
        addSolution(data, QStringLiteral("BLK"), Solution::BLK, { 1 }, {}, { c });
    engine.computeLimits(&data, blanks);
    QVERIFY2(close(engine.getLOD(0), lod), qPrintable(QString::number(engine.getLOD(0))));
    QVERIFY(close(engine.getLOQ(0), loq));
}

void TestProcessing::passQC_data()
{
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("error");
    QTest::addColumn<double>("computed");
    QTest::addColumn<double>("rsd");
    QTest::addColumn<bool>("fails");
    QTest::newRow("intervals apart") << 10.0 << 5.0 << 10.8 << 2.0 << true;
    QTest::newRow("expected upper bound inside") << 10.0 << 10.0 << 10.8 << 2.0 << false;
    QTest::newRow("expected lower bound inside") << 10.0 << 5.0 << 9.4 << 2.0 << false;
    QTest::newRow("computed inside expected") << 10.0 << 20.0 << 10.8 << 2.0 << false;
    QTest::newRow("touching at expected upper bound") << 10.0 << 10.0 << 12.5 << 12.0 << false;
    QTest::newRow("touching at expected lower bound") << 10.0 << 10.0 << 8.0 << 12.5 << false;
    QTest::newRow("computed below") << 10.0 << 5.0 << 9.0 << 2.0 << true;
    QTest::newRow("no widths, equal") << 10.0 << 0.0 << 10.0 << 0.0 << false;
    QTest::newRow("no widths, different") << 10.0 << 0.0 << 10.000001 << 0.0 << true;
    QTest::newRow("no expected value skipped") << 0.0 << 5.0 << 10.8 << 2.0 << false;
    QTest::newRow("no computed value skipped") << 10.0 << 5.0 << 0.0 << 2.0 << false;
    QTest::newRow("not-a-number RSD fails") << 10.0 << 5.0 << 10.0 << NaN << true;
    QTest::newRow("not-a-number concentration fails") << 10.0 << 5.0 << NaN << 2.0 << true;
}

void TestProcessing::passQC()
{
    QFETCH(double, expected);
    QFETCH(double, error);
    QFETCH(double, computed);
    QFETCH(double, rsd);
    QFETCH(bool, fails);
    Data exp;
    exp.addIso(Element(QStringLiteral("Co"), 59, Element::LR));
    addSolution(exp, QStringLiteral("Sample"), Solution::SAMPLE, { 1 }, {}, { 99 }, { 1 });
    addSolution(exp, QStringLiteral("QC_1"), Solution::QC, { 1 }, {}, { expected }, { error });
    Data comp;
    comp.copyData(&exp);
    comp.getSolution(1)->setConcent(0, computed);
    comp.getSolution(1)->setConcentRSD(0, rsd);

    const QCResult result = Processing().passQC(&exp, &comp);
    QCOMPARE(result.failed, fails ? 1 : 0);
    QCOMPARE(
        result.messages, fails ? QStringList { QStringLiteral("QC_1 : 59Co LR") } : QStringList());
}

void TestProcessing::passQCMessagesInCheckOrder()
{
    Data exp;
    exp.addIso(Element(QStringLiteral("Co"), 59, Element::LR));
    exp.addIso(Element(QStringLiteral("Pb"), 208, Element::HR));
    addSolution(exp, QStringLiteral("QC_A"), Solution::QC, {}, {}, { 10, 5 }, { 1, 1 });
    addSolution(exp, QStringLiteral("STD_1"), Solution::STD, {}, {}, { 10, 5 }, { 1, 1 });
    addSolution(exp, QStringLiteral("QC_B"), Solution::QC, {}, {}, { 10, 5 }, { 1, 1 });
    Data comp;
    comp.copyData(&exp);
    for (int s : { 0, 1, 2 }) {
        comp.getSolution(s)->setConcent(0, 20);
        comp.getSolution(s)->setConcent(1, 50);
    }
    comp.getSolution(2)->setConcent(0, 10);

    const QCResult result = Processing().passQC(&exp, &comp);
    QCOMPARE(result.failed, 1);
    QCOMPARE(
        result.messages, QStringList({ "QC_A : 59Co LR", "QC_A : 208Pb HR", "QC_B : 208Pb HR" }));

    Data noQC;
    noQC.addIso(Element(QStringLiteral("Co"), 59, Element::LR));
    addSolution(noQC, QStringLiteral("Sample"), Solution::SAMPLE, { 1 }, {}, { 3 });
    const QCResult none = Processing().passQC(&noQC, &noQC);
    QCOMPARE(none.failed, 0);
    QVERIFY(none.messages.isEmpty());
}

QTEST_GUILESS_MAIN(TestProcessing)
#include "tst_processing.moc"
