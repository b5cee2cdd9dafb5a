// The engine where a whole run cannot pin it down (the whole runs are checked
// against worked-out files by the batch tests), and the run sequence across
// runs and files.
#include "model/Data.h"
#include "parsers/ParserInHRElementCSV.h"
#include "parsers/ParserInSTDQC.h"
#include "parsers/ParserOutCSV.h"
#include "processing/ProcessingRun.h"
#include "processing/Trace.h"

#include <QBuffer>
#include <QTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(Regline)
Q_DECLARE_METATYPE(Processing::Weighting)

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

// Equal within a relative 1e-9; a not-a-number expectation takes any undefined result.
bool close(double actual, double expected)
{
    if (std::isnan(expected))
        return !std::isfinite(actual);
    return std::fabs(actual - expected) <= 1e-9 * qMax(1.0, std::fabs(expected));
}

// One isotope; standards named STD_k, the first one the zero standard on request.
void addStandards(Data &data, const QVector<double> &conc, const QVector<double> &cps, bool zero)
{
    data.addIso(Element(QStringLiteral("Co"), 59, Element::LR));
    for (int k = 0; k < conc.size(); ++k) {
        Solution standard(
            k == 0 && zero ? Solution::ZERO_STD_NAME : QStringLiteral("STD_%1").arg(k), 1,
            Solution::STD);
        standard.setConcent(0, conc.at(k));
        standard.setCps(0, cps.at(k));
        data.addSolution(standard);
    }
}

// The not-measured export and its standards, read as the window reads them.
bool readFiles(Data &input, Parser *instrumentReader, Parser *standardsReader)
{
    QFile exportFile(QStringLiteral(TEST_DATA_DIR "/not_measured_hr.csv"));
    QFile standards(QStringLiteral(TEST_DATA_DIR "/not_measured_stdqc.csv"));
    input.loadParser(instrumentReader);
    return exportFile.open(QIODevice::ReadOnly) && standards.open(QIODevice::ReadOnly)
        && input.executeParsing(&exportFile, nullptr).code == 0
        && ProcessingRun::readStandards(&standards, standardsReader, &input, nullptr).code == 0;
}

} // namespace

class TestProcessing : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        sink.setData(QByteArray());
        sink.open(QIODevice::WriteOnly);
        Trace::setDevice(&sink);
    }
    void cleanup()
    {
        Trace::setDevice(nullptr);
        sink.close();
    }

    void calibration_data();
    void calibration();
    void passQC_data();
    void passQC();
    void runsAndFiles();
    void readStandards_data();
    void readStandards();

private:
    QBuffer sink; // the trace, kept out of the test log
};

void TestProcessing::calibration_data()
{
    QTest::addColumn<bool>("zeroStandard"); // the first standard is the zero standard
    QTest::addColumn<QVector<double>>("conc");
    QTest::addColumn<QVector<double>>("cps");
    QTest::addColumn<Processing::Weighting>("weighting");
    QTest::addColumn<Regline>("line"); // all 0 when no line can be fitted
    QTest::addColumn<double>("r2");

    const auto none = Processing::Weighting::None;
    // A blank that gave nothing for the isotope is no point at zero.
    QTest::newRow("zero standard with no signal left out")
        << true << QVector<double> { 0, 1, 2, 3 } << QVector<double> { 0, 110, 210, 310 } << none
        << Regline { 100, 10, 0, 0 } << 1.0;
    QTest::newRow("two points store their undefined variances")
        << false << QVector<double> { 1, 2 } << QVector<double> { 110, 210 } << none
        << Regline { 100, 10, NaN, NaN } << 1.0;
    QTest::newRow("single usable standard")
        << false << QVector<double> { 1, 0, 0 } << QVector<double> { 300, 0, 0 } << none
        << Regline {} << 0.0;
    QTest::newRow("equal intensities: no r2, no variances")
        << false << QVector<double> { 1, 2, 4 } << QVector<double> { 50, 50, 50 } << none
        << Regline { 0, 50, 0, 0 } << 0.0;

    QTest::newRow("weighted, zero standard alone")
        << true << QVector<double> { 0 } << QVector<double> { 12 }
        << Processing::Weighting::InverseX << Regline {} << 0.0;
}

void TestProcessing::calibration()
{
    QFETCH(bool, zeroStandard);
    QFETCH(QVector<double>, conc);
    QFETCH(QVector<double>, cps);
    QFETCH(Processing::Weighting, weighting);
    QFETCH(Regline, line);
    QFETCH(double, r2);

    Data data;
    addStandards(data, conc, cps, zeroStandard);
    Processing engine;
    engine.init(1);
    engine.setWeighting(weighting);
    engine.calibration(&data, {});
    const Regline fitted = engine.getLine(0);
    QVERIFY(close(fitted.slope, line.slope));
    QVERIFY(close(fitted.yIntercept, line.yIntercept));
    QVERIFY(close(fitted.slopeVariance, line.slopeVariance));
    QVERIFY(close(fitted.yInterceptVariance, line.yInterceptVariance));
    QVERIFY(close(engine.getSquareR(0), r2));
    // The skip list leaves an isotope alone.
    engine.init(1);
    engine.calibration(&data, { 0 });
    QCOMPARE(engine.getLine(0).slope, 0.0);
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
    addStandards(exp, { 0, 1, 2 }, { 10, 110, 210 }, true);
    Solution qc(QStringLiteral("QC_1"), 1, Solution::QC);
    qc.setCps(0, 1.0);
    qc.setConcent(0, expected);
    qc.setConcentRSD(0, error);
    exp.addSolution(qc);
    Data comp;
    comp.copyData(&exp);
    comp.getSolution(3)->setConcent(0, computed);
    comp.getSolution(3)->setConcentRSD(0, rsd);
    Processing engine;
    engine.init(1);
    engine.calibration(&comp, {});
    const QCResult result = engine.passQC(&exp, &comp);
    QCOMPARE(result.messages, fails ? QStringList { "QC_1 : 59Co LR" } : QStringList());
    QCOMPARE(result.failed, fails ? 1 : 0);
}

// A run after another with other options or another file is a fresh run:
// nothing of the earlier one survives in the engine or the working set.
void TestProcessing::runsAndFiles()
{
    ParserInHRElementCSV hrReader;
    ParserInSTDQC stdqcReader;
    const auto results = [](Data &output, Processing &engine) {
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        ParserOutCSV writer;
        return writer.parse(&file, &output, &engine).code == 0 ? file.data() : QByteArray();
    };
    RunOptions first;
    first.subBlank = true;
    first.blankSelection = 1; // BLK_2
    first.weighting = Processing::Weighting::InverseX;
    RunOptions second; // lithium as IS: no line for it, and not subtracted
    second.isCorrection = true;
    second.isReference = 0;
    second.correctLR = true;
    second.isLR = 0;
    second.subBlank = true;
    second.blankSelection = 2; // BLK_3

    Data input, output;
    Processing engine;
    QVERIFY(readFiles(input, &hrReader, &stdqcReader));
    // After a file is read the working set holds the averages, the engine is sized.
    ProcessingRun::prepareWorkingSet(&input, &output, &engine, true);
    QCOMPARE(output.blankNames(),
        QStringList({ "BLK_1", "BLK_2", "BLK_3", "BLK_4", "BLK_Avg_All", "BLK_Avg_First_Seq" }));
    QCOMPARE(engine.size(), 4);
    ProcessingRun::run(first, &input, &output, &engine);
    const QByteArray firstResults = results(output, engine);
    ProcessingRun::run(second, &input, &output, &engine);

    Data freshInput, freshOutput;
    Processing fresh;
    QVERIFY(readFiles(freshInput, &hrReader, &stdqcReader));
    ProcessingRun::prepareWorkingSet(&freshInput, &freshOutput, &fresh, false);
    QCOMPARE(freshOutput.solutionSize(), freshInput.solutionSize());
    ProcessingRun::run(second, &freshInput, &freshOutput, &fresh);
    QVERIFY(firstResults != results(freshOutput, fresh));
    QCOMPARE(results(output, engine), results(freshOutput, fresh));
    QCOMPARE(input.getSolution(0)->getCps(0), 100.0);
    // The IS reads as in the reference everywhere it was measured, the blank too.
    QCOMPARE(output.getSolution(2)->getCps(0), 100.0);
    QCOMPARE(output.getSolution(7)->getCps(0), 100.0);
}

void TestProcessing::readStandards_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("code");
    QTest::addColumn<double>("std1Fe");

    // Before each read, STD_1 expects 1 ppb of Li and of Fe.
    QTest::newRow("both elements")
        << QByteArray("Element;STD_;;QC_;\nLi;7;2;3;5\nFe;8;2;4;5\n") << 0 << 8.0;
    // An element the new file lacks must not keep the earlier file's value.
    QTest::newRow("element missing") << QByteArray("Element;STD_;;QC_;\nLi;7;2;3;5\n") << 0 << 0.0;
    // A rejected file changes nothing, not even the values read before the failure.
    QTest::newRow("unreadable number")
        << QByteArray("Element;STD_;;QC_;\nLi;7;2;x;5\n") << 1 << 1.0;
}

void TestProcessing::readStandards()
{
    QFETCH(QByteArray, file);
    QFETCH(int, code);
    QFETCH(double, std1Fe);

    ParserInHRElementCSV hrReader;
    ParserInSTDQC stdqcReader;
    Data input;
    QVERIFY(readFiles(input, &hrReader, &stdqcReader));
    input.loadParser(&hrReader);

    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    const ParseResult read = ProcessingRun::readStandards(&buffer, &stdqcReader, &input, nullptr);
    QCOMPARE(read.code, code);
    const Solution *std1 = input.getSolution(3);
    QCOMPARE(std1->getConcent(0), code == 0 ? 7.0 : 1.0);
    QCOMPARE(std1->getConcent(2), std1Fe);
    QCOMPARE(input.getParser() == &stdqcReader, code == 0);
}

QTEST_GUILESS_MAIN(TestProcessing)
#include "tst_processing.moc"
