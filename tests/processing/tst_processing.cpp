#include "DataBuilder.h"
#include "processing/Processing.h"
#include "processing/Trace.h"

#include <QBuffer>
#include <QTest>

#include <limits>

using namespace DataBuilder;
using Resolutions = QVector<Element::Resolution>;
using Table = QVector<QVector<double>>;
Q_DECLARE_METATYPE(Element::Resolution)
Q_DECLARE_METATYPE(Regline)
Q_DECLARE_METATYPE(Processing::Weighting)

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

    void initResets();
    void statistics();

    void correctionIS_data();
    void correctionIS();
    void subtructBlank_data();
    void subtructBlank();

    void calibration_data();
    void calibration();

    void isFormulasReduceToPlainOnes();
    void computeConcent_data();
    void computeConcent();
    void noConcentrationWithoutLineOrSignal();

    void computeLimits_data();
    void computeLimits();
    void passQC_data();
    void passQC();
    void passQCOrderAndStandards();

private:
    QBuffer sink; // keeps the calibration trace out of the test log
};

// A new init drops every line, r2 and limit of the earlier results.
void TestProcessing::initResets()
{
    Data data;
    addIsotopes(data, { Element::LR });
    addExactStandards(data, 0);
    Processing engine;
    engine.init(3);
    engine.calibration(&data, {});
    engine.computeLimits(&data, { 0, 1 });
    engine.init(2);
    QCOMPARE(engine.size(), 2);
    const Regline line = engine.getLine(0);
    QCOMPARE(
        (QVector<double> { line.slope, line.yIntercept, line.slopeVariance, line.yInterceptVariance,
            engine.getSquareR(0), engine.getLOD(0), engine.getLOQ(0) }),
        QVector<double>(7, 0.0));
    engine.init(-1);
    QCOMPARE(engine.size(), 0);
}

void TestProcessing::statistics()
{
    // Neither extreme first or last; the deviation is the population one.
    const QVector<double> values { 4, 9, 2, 4, 5, 5, 7, 4 };
    QCOMPARE(Processing::avr(values), 5.0);
    QCOMPARE(Processing::stat(values), qMakePair(5.0, 2.0));
    QCOMPARE(Processing::min(values), 2.0);
    QCOMPARE(Processing::max(values), 9.0);
    // The maximum never goes below zero; an empty list has no mean.
    QCOMPARE(Processing::max({ -4, -2 }), 0.0);
    QCOMPARE(Processing::min({ -4, -2 }), -4.0);
    QVERIFY(std::isnan(Processing::avr({})) && std::isnan(Processing::stat({}).second));
    QCOMPARE(Processing::min({}) + Processing::max({}), 0.0);

    const double largest = std::numeric_limits<double>::max();
    QVERIFY(Processing::isValid(largest) && Processing::isValid(-largest));
    for (double x : { NaN, Inf, -Inf })
        QVERIFY(!Processing::isValid(x));
}

void TestProcessing::correctionIS_data()
{
    QTest::addColumn<Resolutions>("resolutions");
    QTest::addColumn<Table>("cps");
    QTest::addColumn<int>("ref");
    QTest::addColumn<int>("isIsotope");
    QTest::addColumn<int>("group");
    QTest::addColumn<Table>("expected");

    // Solution 0 is the reference (IS 1000), solution 1 reads 800 (factor 1.25),
    // solution 2 has no IS signal. Quadrupole isotopes belong to the LR group.
    QTest::newRow("LR group, zero stays zero")
        << Resolutions { Element::LR, Element::NOT_DEFINED, Element::HR, Element::LR }
        << Table { { 1000, 50, 7, 5 }, { 800, 400, 3, 0 }, { 0, 400, 3, 2 } } << 0 << 0
        << int(Element::LR) << Table { { 1000, 50, 7, 5 }, { 1000, 500, 3, 0 }, { 0, 400, 3, 2 } };
    QTest::newRow("MR group leaves LR and HR")
        << Resolutions { Element::LR, Element::MR, Element::HR, Element::MR }
        << Table { { 100, 200, 300, 1000 }, { 100, 200, 300, 500 } } << 0 << 3 << int(Element::MR)
        << Table { { 100, 200, 300, 1000 }, { 100, 400, 300, 1000 } };
    const Resolutions lr { Element::LR, Element::LR, Element::LR };
    QTest::newRow("no reference") << lr << Table { { 1000, 50, 7 }, { 800, 400, 0 } } << -1 << 0
                                  << int(Element::LR) << Table { { 1000, 50, 7 }, { 800, 400, 0 } };
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
    QTest::newRow("standards left, isotope kept")
        << false << QList<int> { 1 } << 0
        << Table { { 0, 20 }, { -10, 0 }, { 100, 30 }, { 10, 25 } };
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

void TestProcessing::calibration_data()
{
    QTest::addColumn<bool>("zeroStandard"); // the first standard is the zero standard
    QTest::addColumn<QVector<double>>("conc");
    QTest::addColumn<QVector<double>>("cps");
    QTest::addColumn<bool>("skipped");
    QTest::addColumn<Regline>("line");
    QTest::addColumn<double>("r2");
    QTest::addColumn<Processing::Weighting>("weighting");

    // Each row fits after an earlier line (x 1..4, y 24 38 62 76) that a line
    // which cannot be computed leaves in place, with its r2.
    const Regline earlier { 18, 5, 2, 15 };
    const double earlierR2 = 1.0 - 5.0 / 410.0;
    const auto none = Processing::Weighting::None;
    QTest::newRow("zero standard, exact line")
        << true << QVector<double> { 0, 1, 2 } << QVector<double> { 10, 110, 210 } << false
        << Regline { 100, 10, 0, 0 } << 1.0 << none;
    // A blank that gave nothing for the isotope is no point at zero.
    QTest::newRow("zero standard with no signal left out")
        << true << QVector<double> { 0, 1, 2, 3 } << QVector<double> { 0, 110, 210, 310 } << false
        << Regline { 100, 10, 0, 0 } << 1.0 << none;
    QTest::newRow("other zero values left out")
        << false << QVector<double> { 0, 1, 2, 3, 5 } << QVector<double> { 999, 110, 210, 0, 510 }
        << false << Regline { 100, 10, 0, 0 } << 1.0 << none;
    // x 1..4, y 12 19 31 38: Sxx 5, Sxy 45, SSres 5, Syy 410, s2 2.5.
    QTest::newRow("scattered points")
        << false << QVector<double> { 1, 2, 3, 4 } << QVector<double> { 12, 19, 31, 38 } << false
        << Regline { 9, 2.5, 0.5, 3.75 } << 1.0 - 5.0 / 410.0 << none;
    QTest::newRow("two points store their undefined variances")
        << false << QVector<double> { 1, 2 } << QVector<double> { 110, 210 } << false
        << Regline { 100, 10, NaN, NaN } << 1.0 << none;
    QTest::newRow("single usable standard keeps the line")
        << false << QVector<double> { 1, 0, 0 } << QVector<double> { 300, 0, 0 } << false << earlier
        << earlierR2 << none;
    QTest::newRow("equal intensities keep r2 and variances")
        << false << QVector<double> { 1, 2, 4 } << QVector<double> { 50, 50, 50 } << false
        << Regline { 0, 50, earlier.slopeVariance, earlier.yInterceptVariance } << earlierR2
        << none;
    QTest::newRow("skip list") << false << QVector<double> { 1, 2, 4 }
                               << QVector<double> { 12, 19, 35 } << true << earlier << earlierR2
                               << none;

    // Five standards and a zero standard, which weighs as the 0.1 ppb one;
    // worked out with exact fractions.
    const QVector<double> decades { 0, 0.1, 0.5, 1, 5, 10 };
    const QVector<double> scattered { 12, 118, 523, 1046, 5180, 9870 };
    QTest::newRow("weighted 1/x") << true << decades << scattered << false
                                  << Regline { 1003.0877881585494, 17.14854331361601,
                                         136.60569396324041, 97.324228317158415 }
                                  << 0.99945723089259186 << Processing::Weighting::InverseX;
    QTest::newRow("weighted 1/x2") << true << decades << scattered << false
                                   << Regline { 1022.0140977886746, 13.904474515535858,
                                          138.28739903768667, 3.3720409421528084 }
                                   << 0.99947070365477508 << Processing::Weighting::InverseXSquared;
    // A line that cannot be fitted keeps the earlier one, weighted or not.
    QTest::newRow("weighted, zero standard alone")
        << true << QVector<double> { 0 } << QVector<double> { 12 } << false << earlier << earlierR2
        << Processing::Weighting::InverseX;
}

void TestProcessing::calibration()
{
    QFETCH(bool, zeroStandard);
    QFETCH(QVector<double>, conc);
    QFETCH(QVector<double>, cps);
    QFETCH(bool, skipped);
    QFETCH(Regline, line);
    QFETCH(double, r2);
    QFETCH(Processing::Weighting, weighting);
    Processing engine;
    engine.init(1);
    Data first;
    addIsotopes(first, { Element::LR });
    for (int x = 1; x <= 4; ++x)
        addSolution(first, QStringLiteral("STD_%1").arg(x), Solution::STD,
            { QVector<double> { 24, 38, 62, 76 }.at(x - 1) }, {}, { double(x) });
    engine.calibration(&first, {});

    Data data;
    addIsotopes(data, { Element::LR });
    addSolution(data, QStringLiteral("Sample"), Solution::SAMPLE, { 5000 }, {}, { 3 });
    for (int k = 0; k < conc.size(); ++k)
        addSolution(data,
            k == 0 && zeroStandard ? Solution::ZERO_STD_NAME : QStringLiteral("STD_%1").arg(k),
            Solution::STD, { cps.at(k) }, {}, { conc.at(k) });
    engine.setWeighting(weighting);
    engine.calibration(&data, skipped ? QList<int> { 0 } : QList<int>());

    const Regline fitted = engine.getLine(0);
    QVERIFY(close(fitted.slope, line.slope));
    QVERIFY(close(fitted.yIntercept, line.yIntercept));
    QVERIFY(close(fitted.slopeVariance, line.slopeVariance));
    QVERIFY(close(fitted.yInterceptVariance, line.yInterceptVariance));
    QVERIFY(close(engine.getSquareR(0), r2));
}

void TestProcessing::isFormulasReduceToPlainOnes()
{
    const Regline line { 35, -4, 0.2, 9 };
    const double y = 2500, sy = 40, yb = 300, syb = 12;
    QVERIFY(close(Processing::concentRSD_y_intercept_IS_s(y, sy, line, 0, 0, 1),
        Processing::concentRSD_y_intercept_s(y, sy, line)));
    QVERIFY(close(Processing::concentRSD_blank_IS_s(y, sy, line, yb, syb, 0, 0, 1),
        Processing::concentRSD_blank_s(y, sy, line, yb, syb)));
    // And a non-trivial IS term does change the result.
    QVERIFY(!close(Processing::concentRSD_blank_IS_s(y, sy, line, yb, syb, 0.01, 0, 1),
        Processing::concentRSD_blank_s(y, sy, line, yb, syb)));
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

    QVERIFY(close(result.getSolution(sample)->getConcent(0), concent));
    QVERIFY(close(result.getSolution(sample)->getConcentRSD(0), rsd));
    // Standards keep their expected values; a QC solution is computed.
    QCOMPARE(result.getSolution(standard)->getConcent(0), 1.0);
    QVERIFY(result.getSolution(qc)->getConcent(0) != 7.0);
}

// Where an isotope has no usable line, or the instrument gave no intensity, a
// treated solution gets no concentration and the QC check skips the pair.
void TestProcessing::noConcentrationWithoutLineOrSignal()
{
    Data source;
    addIsotopes(source, { Element::LR, Element::LR, Element::LR });
    // Line 100 / 10 for isotopes 0 and 1; isotope 2 has no standard signal, so no line.
    addSolution(source, Solution::ZERO_STD_NAME, Solution::STD, { 10, 10, 0 });
    addSolution(source, QStringLiteral("STD_1"), Solution::STD, { 110, 110, 0 }, {}, { 1, 1, 1 });
    addSolution(source, QStringLiteral("STD_2"), Solution::STD, { 210, 210, 0 }, {}, { 2, 2, 2 });
    // Isotope 0 was not measured in the QC solution, isotope 1 not in the sample.
    const int qc = addSolution(source, QStringLiteral("QC_1"), Solution::QC, { 0, 310, 400 },
        { 0, 3, 4 }, { 3, 3, 8 }, { 5, 5, 10 });
    const int sample = addSolution(
        source, QStringLiteral("Sample"), Solution::SAMPLE, { 510, 0, 600 }, { 5, 0, 6 });
    Data result;
    result.copyData(&source);
    Processing engine;
    engine.init(3);
    engine.calibration(&result, {});
    int none[3] = { -1, -1, -1 };
    engine.computeConcent(&result, &source, -1, -1, none);

    for (const QPair<int, int> &unset :
        { qMakePair(qc, 0), qMakePair(qc, 2), qMakePair(sample, 1), qMakePair(sample, 2) }) {
        const Solution *treated = result.getSolution(unset.first);
        QCOMPARE(treated->getConcent(unset.second), 0.0);
        QCOMPARE(treated->getConcentRSD(unset.second), 0.0);
    }
    QVERIFY(close(result.getSolution(qc)->getConcent(1), 3.0));
    QVERIFY(close(result.getSolution(sample)->getConcent(0), 5.0));
    // Standards keep their expected values, line or not.
    QCOMPARE(result.getSolution(1)->getConcent(2), 1.0);
    // The QC values that could not be checked fail.
    const QCResult qcResult = engine.passQC(&source, &result);
    QCOMPARE(qcResult.failed, 1);
    QCOMPARE(qcResult.messages,
        QStringList({ "QC_1 : 1X LR (not measured)", "QC_1 : 3X LR (no calibration)" }));
}

void TestProcessing::computeLimits_data()
{
    QTest::addColumn<QList<int>>("blanks");
    QTest::addColumn<double>("lod");
    QTest::addColumn<double>("loq");
    // Blank concentrations: 0.1, 0.3, 0.4 at positions 0, 1, 2. The limits
    // before are those of blanks 0 and 2: sigma 0.15, LOD 0.45, LOQ 1.5.
    QTest::newRow("two blanks") << QList<int> { 0, 1 } << 0.3 << 1.0;
    QTest::newRow("listed twice counts twice")
        << QList<int> { 0, 0, 2 } << 3.0 * std::sqrt(0.02) << 10.0 * std::sqrt(0.02);
    QTest::newRow("empty list keeps earlier limits") << QList<int>() << 0.45 << 1.5;
}

void TestProcessing::computeLimits()
{
    QFETCH(QList<int>, blanks);
    QFETCH(double, lod);
    QFETCH(double, loq);
    Data data;
    addIsotopes(data, { Element::LR });
    for (double c : { 0.1, 0.3, 0.4 })
        addSolution(data, QStringLiteral("BLK"), Solution::BLK, { 1 }, {}, { c });
    Processing engine;
    engine.init(1);
    engine.computeLimits(&data, { 0, 2 });
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
    QTest::newRow("no expected value skipped") << 0.0 << 5.0 << 10.8 << 2.0 << false;
    QTest::newRow("no computed value skipped") << 10.0 << 5.0 << 0.0 << 2.0 << false;
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
    addSolution(exp, QStringLiteral("QC_1"), Solution::QC, { 1 }, {}, { expected }, { error });
    addExactStandards(exp, 0);
    Data comp;
    comp.copyData(&exp);
    comp.getSolution(0)->setConcent(0, computed);
    comp.getSolution(0)->setConcentRSD(0, rsd);
    Processing engine;
    engine.init(1);
    engine.calibration(&comp, {});

    const QCResult result = engine.passQC(&exp, &comp);
    QCOMPARE(result.failed, fails ? 1 : 0);
    QCOMPARE(
        result.messages, fails ? QStringList { QStringLiteral("QC_1 : 59Co LR") } : QStringList());
}

// Standards are never checked; failures are listed solution by solution.
void TestProcessing::passQCOrderAndStandards()
{
    Data exp;
    exp.addIso(Element(QStringLiteral("Co"), 59, Element::LR));
    exp.addIso(Element(QStringLiteral("Pb"), 208, Element::HR));
    addSolution(exp, QStringLiteral("QC_A"), Solution::QC, { 1, 1 }, {}, { 10, 5 }, { 1, 1 });
    addSolution(exp, QStringLiteral("STD_1"), Solution::STD, {}, {}, { 10, 5 }, { 1, 1 });
    addSolution(exp, QStringLiteral("QC_B"), Solution::QC, { 1, 1 }, {}, { 10, 5 }, { 1, 1 });
    Data comp;
    comp.copyData(&exp);
    Processing engine;
    engine.init(2);
    addExactStandards(comp, 0);
    addExactStandards(comp, 1);
    engine.calibration(&comp, {});
    for (int s : { 0, 1, 2 }) {
        comp.getSolution(s)->setConcent(0, 20);
        comp.getSolution(s)->setConcent(1, 50);
    }
    comp.getSolution(2)->setConcent(0, 10);

    const QCResult result = engine.passQC(&exp, &comp);
    QCOMPARE(result.failed, 1);
    QCOMPARE(
        result.messages, QStringList({ "QC_A : 59Co LR", "QC_A : 208Pb HR", "QC_B : 208Pb HR" }));
}

QTEST_GUILESS_MAIN(TestProcessing)
#include "tst_processing.moc"
