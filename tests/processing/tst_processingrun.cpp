#include "DataBuilder.h"
#include "parsers/ParserInHRElementCSV.h"
#include "parsers/ParserInSTDQC.h"
#include "parsers/ParserOutCSV.h"
#include "processing/Processing.h"
#include "processing/ProcessingRun.h"
#include "processing/Trace.h"

#include <QBuffer>
#include <QFile>
#include <QTest>
#include <QTextCodec>

#include <cmath>

using namespace DataBuilder;

namespace {

enum Iso { Co, In, Fe, Sc };
enum Sol { Blk1, Blk2, Std1, Std2, Std3, Sample, Blk3, Qc, FileSolutions };

// A high-resolution file: Co and In (IS) in LR, Fe and Sc (IS) in MR; blanks
// 0, 1 and 6, so the first run of blanks is 0, 1. Lines without corrections:
// Co 100 / 60, Fe 100 / 20.
void fillInput(Data &data, bool withBlanks = true)
{
    data.addIso(Element(QStringLiteral("Co"), 59, Element::LR));
    data.addIso(Element(QStringLiteral("In"), 115, Element::LR));
    data.addIso(Element(QStringLiteral("Fe"), 56, Element::MR));
    data.addIso(Element(QStringLiteral("Sc"), 45, Element::MR));
    const Solution::Type blank = withBlanks ? Solution::BLK : Solution::SAMPLE;
    addSolution(data, "BLK_1", blank, { 40, 1000, 20, 500 }, { 1, 10, 1, 5 });
    addSolution(data, "BLK_2", blank, { 50, 1000, 20, 500 }, { 2, 10, 1, 5 });
    addSolution(data, "STD_1", Solution::STD, { 160, 1000, 120, 500 }, {}, { 1, 0, 1, 0 });
    addSolution(data, "STD_2", Solution::STD, { 260, 1000, 220, 500 }, {}, { 2, 0, 2, 0 });
    addSolution(data, "STD_3", Solution::STD, { 360, 1000, 320, 500 }, {}, { 3, 0, 3, 0 });
    addSolution(data, "Sample_1", Solution::SAMPLE, { 550, 800, 300, 400 }, { 5, 16, 3, 4 });
    addSolution(data, "BLK_3", blank, { 60, 1000, 20, 500 }, { 3, 10, 1, 5 });
    addSolution(data, "QC_1", Solution::QC, { 260, 1000, 220, 500 }, { 2, 10, 2, 5 },
        { 2, 0, 3, 0 }, { 5, 0, 5, 0 });
}

} // namespace

class TestProcessingRun : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        trace.setData(QByteArray());
        trace.open(QIODevice::WriteOnly);
        Trace::setDevice(&trace);
        input = Data();
        fillInput(input);
        output = Data();
        engine = Processing();
    }
    void cleanup()
    {
        Trace::setDevice(nullptr);
        trace.close();
    }

    void prepareWorkingSet_data();
    void prepareWorkingSet();
    void configurationTrace();
    void plainRunTrace();
    void isCorrectionOfOneGroup();
    void secondRunMatchesFreshRun();
    void averageBlankSubtraction_data();
    void averageBlankSubtraction();
    void zeroStandard_data();
    void zeroStandard();
    void handCheckedFilesToResults();
    void readStandards_data();
    void readStandards();

private:
    RunResult run(const RunOptions &options)
    {
        return ProcessingRun::run(options, &input, &output, &engine);
    }
    QStringList traced() const { return QString::fromUtf8(trace.data()).split(QLatin1Char('\n')); }

    QBuffer trace;
    Data input;
    Data output;
    Processing engine;
};

void TestProcessingRun::prepareWorkingSet_data()
{
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("added");
    QTest::newRow("after a successful read")
        << true << QStringList { Data::ALL_AVG, Data::FIRST_SEQ_AVG };
    QTest::newRow("after a failed read") << false << QStringList();
}

void TestProcessingRun::prepareWorkingSet()
{
    QFETCH(bool, accepted);
    QFETCH(QStringList, added);
    fillInput(output); // left over from an earlier file
    ProcessingRun::prepareWorkingSet(&input, &output, &engine, accepted);

    QCOMPARE(output.solutionSize(), FileSolutions + added.size());
    for (int k = 0; k < added.size(); ++k)
        QCOMPARE(output.getSolution(FileSolutions + k)->getName(), added.at(k));
    QCOMPARE(engine.size(), input.isoSize());
    output.getSolution(Sample)->setCps(Co, 1.0);
    QCOMPARE(input.getSolution(Sample)->getCps(Co), 550.0);
}

// The window's runs cover the other option sets; this one tells the three
// check boxes apart, and writes the weighting in UTF-8.
void TestProcessingRun::configurationTrace()
{
    RunOptions options;
    options.instrument = QStringLiteral("HR-ICP-MS");
    options.isCorrection = true;
    options.isReferenceName = QStringLiteral("BLK_1");
    options.correctLR = true;
    options.isLRName = QStringLiteral("115In LR");
    options.isMRName = QStringLiteral("45Sc MR");
    options.yIntercept = true;
    options.subBlank = true;
    options.blankSelectionName = QStringLiteral("BLK_Avg_All");
    options.weighting = Processing::Weighting::InverseXSquared;
    options.qcValidation = true;
    // A locale of another encoding changes nothing.
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("ISO-8859-1"));
    Trace::setDevice(&trace);
    ProcessingRun::traceConfiguration(options);
    QTextCodec::setCodecForLocale(nullptr);
    QCOMPARE(traced(),
        QStringList({ "*** begin processing ***", "# Ketrion configuration:",
            "  Selected ICP instrument: HR-ICP-MS", "  Internal standard correction is set with:",
            "    - BLK_1 as the IS reference solution",
            "    - IS check boxes' status are: 1 ; 0 ; 0",
            "    - 115In LR as the IS-LR isotope reference",
            "    - 45Sc MR as the IS-MR isotope reference", "    -  as the IS-HR isotope reference",
            "  Y-intercept is set with BLK_Avg_All as the blank reference solution",
            QString::fromUtf8("  Calibration lines are weighted by 1/x\u00b2"),
            "  Quality control validation is set", "# open QC-STD file", "" }));
}

void TestProcessingRun::plainRunTrace()
{
    RunOptions options;
    options.qcValidation = true;
    const RunResult result = run(options);

    QCOMPARE(QString::fromUtf8(trace.data()),
        QStringLiteral("# init processing variables\n"
                       "# add blk solutions\n"
                       "# process calibration\n"
                       "59Co LR: slope = 100.00000000, y-intercept =  60.00000000, "
                       "r2 = 1.00000000\n"
                       "56Fe MR: slope = 100.00000000, y-intercept =  20.00000000, "
                       "r2 = 1.00000000\n"
                       "blank_id = -1, is_ref_id = -1, is_elements[0] = -1, "
                       "is_elements[1] = -1, is_elements[2] = -1\n"
                       "*** process concentration ***\n"
                       "*** process limits ***\n"
                       "*** process QC control ***\n"
                       "# QC not valid: 1 / 2\n"));
    QVERIFY(result.qcChecked);
    QCOMPARE(result.qc.messages, QStringList { QStringLiteral("QC_1 : 56Fe MR") });
    QVERIFY(!result.zeroStandardAdded);
    QVERIFY(result.status.isEmpty());

    // Both averages follow the file's solutions; the instrument data set is untouched.
    QCOMPARE(output.solutionSize(), FileSolutions + 2);
    QCOMPARE(output.getSolution(FileSolutions)->getName(), Data::ALL_AVG);
    QCOMPARE(output.getSolution(FileSolutions + 1)->getCps(Co), 45.0);
    QCOMPARE(input.solutionSize(), int(FileSolutions));
    QVERIFY(close(output.getSolution(Sample)->getConcent(Co), 4.9));
    // Limits from blanks 0 and 1 only: Co at -0.2 and -0.1 ppb.
    QVERIFY(close(engine.getLOD(Co), 0.15));
    QVERIFY(close(engine.getLOQ(Co), 0.5));
}

void TestProcessingRun::isCorrectionOfOneGroup()
{
    RunOptions options;
    options.isCorrection = true;
    options.isReference = Blk1;
    options.correctMR = true;
    options.isLR = 1; // In
    options.isMR = 1; // Sc
    const RunResult result = run(options);

    QCOMPARE(result.isElementList, QList<int> { Sc });
    QVERIFY(traced().contains("blank_id = -1, is_ref_id = 0, is_elements[0] = -1, "
                              "is_elements[1] = 3, is_elements[2] = 1"));
    // Only the MR group is rescaled (Sc 400 -> 500, factor 1.25).
    QCOMPARE(cpsOf(output, Sample), (QVector<double> { 550, 800, 375, 500 }));
}

void TestProcessingRun::secondRunMatchesFreshRun()
{
    RunOptions first;
    first.subBlank = true;
    first.blankSelection = 0;
    RunOptions second;
    second.isCorrection = true;
    second.isReference = Blk1;
    second.correctMR = true;
    second.isMR = 0; // Fe as IS: left out of the calibration

    // Sized once when the file was read, as the window does.
    engine.init(input.isoSize());
    run(first);
    QVERIFY(engine.getLine(Fe).slope > 1.0);
    run(second);
    QCOMPARE(engine.getLine(Fe).slope, 0.0);

    Data freshOutput;
    Processing fresh;
    fresh.init(input.isoSize());
    ProcessingRun::run(second, &input, &freshOutput, &fresh);
    QCOMPARE(output.solutionSize(), freshOutput.solutionSize());
    for (int i = 0; i < input.isoSize(); ++i) {
        QCOMPARE(engine.getLine(i).yIntercept, fresh.getLine(i).yIntercept);
        QCOMPARE(engine.getSquareR(i), fresh.getSquareR(i));
        QCOMPARE(engine.getLOQ(i), fresh.getLOQ(i));
        for (int s = 0; s < output.solutionSize(); ++s)
            QCOMPARE(
                output.getSolution(s)->getConcent(i), freshOutput.getSolution(s)->getConcent(i));
    }
}

void TestProcessingRun::averageBlankSubtraction_data()
{
    QTest::addColumn<int>("selection");
    QTest::addColumn<int>("blankId");
    QTest::addColumn<double>("rsd");
    // Sample Co 550 +- 5 is 4.9 ppb with each blank; the RSD takes the chosen
    // blank's uncorrected value and deviation (an average's is its largest).
    QTest::newRow("file blank") << 1 << int(Blk2) << 100.0 * std::sqrt(29.0) / 490.0;
    QTest::newRow("average of all blanks")
        << 3 << int(FileSolutions) << 100.0 * std::sqrt(34.0) / 490.0;
    QTest::newRow("average of the first run")
        << 4 << FileSolutions + 1 << 100.0 * std::sqrt(29.0) / 490.0;
}

void TestProcessingRun::averageBlankSubtraction()
{
    QFETCH(int, selection);
    QFETCH(int, blankId);
    QFETCH(double, rsd);
    RunOptions options;
    options.subBlank = true;
    options.blankSelection = selection;
    const RunResult result = run(options);

    QCOMPARE(result.blank_id, blankId);
    QCOMPARE(output.getSolution(blankId)->getCps(Co), 0.0);
    const Solution *sample = output.getSolution(Sample);
    QVERIFY2(
        close(sample->getConcent(Co), 4.9), qPrintable(QString::number(sample->getConcent(Co))));
    QVERIFY2(close(sample->getConcentRSD(Co), rsd),
        qPrintable(QString::number(sample->getConcentRSD(Co), 'g', 17)));
    QCOMPARE(output.solutionSize(), FileSolutions + 2);
    QCOMPARE(input.solutionSize(), int(FileSolutions));
    QCOMPARE(traced().count(QStringLiteral("# add blk solutions")), 1);
}

void TestProcessingRun::zeroStandard_data()
{
    QTest::addColumn<bool>("withBlanks");
    QTest::addColumn<int>("selection");
    QTest::addColumn<bool>("added");
    QTest::newRow("copy of the chosen blank") << true << 2 << true; // BLK_3
    // No blank: the run goes on without the zero standard.
    QTest::newRow("file without blanks") << false << -1 << false;
    QTest::newRow("selection past the blank list") << true << 5 << false;
}

void TestProcessingRun::zeroStandard()
{
    QFETCH(bool, withBlanks);
    QFETCH(int, selection);
    QFETCH(bool, added);
    input = Data();
    fillInput(input, withBlanks);
    RunOptions options;
    options.yIntercept = true;
    options.blankSelection = selection;
    const RunResult result = run(options);

    QCOMPARE(result.zeroStandardAdded, added);
    QCOMPARE(result.status, added ? QString() : ProcessingRun::NO_ZERO_STD_BLANK);
    QCOMPARE(
        traced().contains(QStringLiteral("# no blank available: no zero standard added")), !added);
    const int zero = output.containsSolution(Solution::ZERO_STD_NAME);
    QCOMPARE(zero, added ? FileSolutions + 2 : -1);
    if (added) {
        QCOMPARE(output.getSolution(zero)->getType(), Solution::STD);
        QCOMPARE(output.getSolution(zero)->getCps(Co), 60.0);
    }
    // Co points (0, 60) or none, (1, 160), (2, 260), (3, 360): the same 100 / 60 line.
    QVERIFY(close(engine.getLine(Co).yIntercept, 60.0));
    QVERIFY(close(output.getSolution(Sample)->getConcent(Co), 4.9));
}

// Readers, every correction, calibration, concentrations, limits, QC and the
// writer on files written here; the expected results were worked out apart.
void TestProcessingRun::handCheckedFilesToResults()
{
    ParserInHRElementCSV hrReader;
    ParserInSTDQC stdqcReader;
    ParserOutCSV writer;
    input = Data(&hrReader);
    output = Data(&writer);

    QFile exportFile(QStringLiteral(TEST_DATA_DIR "/hand_checked_hr.csv"));
    QVERIFY(exportFile.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(input.executeParsing(&exportFile, &engine).code, 0);
    engine.init(input.isoSize());
    QFile standardsFile(QStringLiteral(TEST_DATA_DIR "/hand_checked_stdqc.csv"));
    QVERIFY(standardsFile.open(QIODevice::ReadOnly | QIODevice::Text));
    input.loadParser(&stdqcReader);
    QCOMPARE(input.executeParsing(&standardsFile, &engine).code, 0);

    RunOptions options;
    options.isCorrection = true;
    options.isReference = 0; // BLK_1
    options.correctLR = true;
    options.isLR = 1; // In
    options.subBlank = true;
    options.yIntercept = true;
    options.blankSelection = 0; // BLK_1
    options.qcValidation = true;
    const RunResult result = run(options);
    QVERIFY(result.zeroStandardAdded);
    QCOMPARE(result.qc.messages, QStringList { QStringLiteral("QC_1 : 7Li LR") });

    QVERIFY(traced().contains(QStringLiteral("7Li LR: slope = 1142.92258118, y-intercept = "
                                             " -36.61714815, r2 = 0.99982780")));
    QVERIFY(traced().contains(QStringLiteral("56Fe MR: slope = 1037.85714286, y-intercept "
                                             "=  -0.71428571, r2 = 0.99999763")));
    QVERIFY(traced().contains(QStringLiteral("# QC not valid: 1 / 2")));

    QBuffer saved;
    saved.open(QIODevice::WriteOnly | QIODevice::Text);
    QCOMPARE(output.executeParsing(&saved, &engine).code, 0);
    QFile expected(QStringLiteral(TEST_DATA_DIR "/hand_checked_results.csv"));
    QVERIFY(expected.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(saved.data()), QString::fromUtf8(expected.readAll()));
}

void TestProcessingRun::readStandards_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("code");
    QTest::addColumn<double>("std1Fe");

    // Before each read, STD_1 expects 1 ppb of Co and of Fe (fillInput).
    QTest::newRow("both elements")
        << QByteArray("Element;STD_;;QC_;\nCo;7;2;3;5\nFe;8;2;4;5\n") << 0 << 8.0;
    // An element the new file lacks must not keep the earlier file's value.
    QTest::newRow("element missing") << QByteArray("Element;STD_;;QC_;\nCo;7;2;3;5\n") << 0 << 0.0;
    // A rejected file changes nothing, not even the values read before the failure.
    QTest::newRow("unreadable number")
        << QByteArray("Element;STD_;;QC_;\nCo;7;2;x;5\n") << 1 << 1.0;
}

void TestProcessingRun::readStandards()
{
    QFETCH(QByteArray, file);
    QFETCH(int, code);
    QFETCH(double, std1Fe);
    ParserInHRElementCSV instrumentReader;
    ParserInSTDQC standardsReader;
    input.loadParser(&instrumentReader);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);

    const ParseResult read
        = ProcessingRun::readStandards(&buffer, &standardsReader, &input, &engine);

    QCOMPARE(read.code, code);
    QCOMPARE(input.getSolution(Std1)->getConcent(Co), code == 0 ? 7.0 : 1.0);
    QCOMPARE(input.getSolution(Std1)->getConcent(Fe), std1Fe);
    QCOMPARE(input.solutionSize(), int(FileSolutions));
    QCOMPARE(input.getParser() == &standardsReader, code == 0);
}

QTEST_GUILESS_MAIN(TestProcessingRun)
#include "tst_processingrun.moc"
