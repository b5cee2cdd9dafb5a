#include "batch/BatchProcess.h"

#include "model/Data.h"
#include "parsers/ParserInAgilentCSV.h"
#include "parsers/ParserInHRElementCSV.h"
#include "parsers/ParserInSTDQC.h"
#include "parsers/ParserOutCSV.h"
#include "processing/Processing.h"
#include "processing/ProcessingRun.h"
#include "processing/Trace.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using BatchProcess::Outcome;

namespace {

const QString PROGRAM = QStringLiteral(KETRION_BATCH_PROGRAM);
const QByteArray EARLIER = "results of an earlier run\n";
const QString USAGE_START = QStringLiteral("Usage: ketrion-batch --instrument");

// Rows write files as @EX/name (examples), @DATA/name (test data), @OUT (the
// output file of the test) and @TMP/name (the test's folder, @NAME its name).
QString expand(QString text, const QString &output)
{
    const QFileInfo folder(QFileInfo(output).path());
    text.replace(QStringLiteral("@EX/"), QStringLiteral(EXAMPLES_DIR "/"));
    text.replace(QStringLiteral("@DATA/"), QStringLiteral(TEST_DATA_DIR "/"));
    text.replace(QStringLiteral("@OUT"), output);
    text.replace(QStringLiteral("@TMP"), folder.filePath());
    text.replace(QStringLiteral("@NAME"), folder.fileName());
    return text;
}

QStringList expand(const QStringList &row, const QString &output)
{
    QStringList arguments;
    for (const QString &argument : row)
        arguments.append(expand(argument, output));
    return arguments;
}

QStringList hrExample()
{
    return { QStringLiteral("--instrument"), QStringLiteral("HR-ICP-MS"), QStringLiteral("--data"),
        QStringLiteral("@EX/hr_export.csv"), QStringLiteral("--stdqc"),
        QStringLiteral("@EX/hr_stdqc.csv"), QStringLiteral("--output"), QStringLiteral("@OUT") };
}

QStringList qExample()
{
    return { QStringLiteral("--instrument"), QStringLiteral("Q-ICP-MS"), QStringLiteral("--data"),
        QStringLiteral("@EX/q_export.csv"), QStringLiteral("--stdqc"),
        QStringLiteral("@EX/q_stdqc.csv"), QStringLiteral("--output"), QStringLiteral("@OUT") };
}

QStringList hrFiles(const QString &data, const QString &stdqc)
{
    return { QStringLiteral("--instrument"), QStringLiteral("HR-ICP-MS"), QStringLiteral("--data"),
        data, QStringLiteral("--stdqc"), stdqc, QStringLiteral("--output"),
        QStringLiteral("@OUT") };
}

// The indium internal standard of each group, as a lab would run the example.
QStringList withIndium()
{
    return { QStringLiteral("--is-ref"), QStringLiteral("BLK_1"), QStringLiteral("--is-lr"),
        QStringLiteral("115In LR"), QStringLiteral("--is-mr"), QStringLiteral("115In MR"),
        QStringLiteral("--is-hr"), QStringLiteral("115In HR") };
}

QStringList without(QStringList arguments, const QString &option)
{
    const int at = arguments.indexOf(option);
    arguments.erase(arguments.begin() + at, arguments.begin() + at + 2);
    return arguments;
}

// The trace without the per-isotope calibration lines, whose figures belong to the engine's tests.
QStringList stageLines(const Outcome &outcome)
{
    QStringList lines;
    for (const QString &line : outcome.outLines()) {
        if (!line.contains(QLatin1String(": slope = ")))
            lines.append(line);
    }
    return lines;
}

QStringList csvLines(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes).split(QLatin1Char('\n'));
}

// Solution names of the results file, in the order written.
QStringList resultSolutions(const QByteArray &bytes)
{
    QStringList names;
    const QStringList lines = csvLines(bytes);
    for (int row = 7; row < lines.size(); ++row) {
        if (!lines.at(row).isEmpty())
            names.append(lines.at(row).section(QLatin1Char(';'), 0, 0));
    }
    return names;
}

bool writeFile(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void helpDocumentsEveryOption();
    void usageErrors_data();
    void usageErrors();
    void rejectedFiles_data();
    void rejectedFiles();
    void unwritableOutput_data();
    void unwritableOutput();

    void trace_data();
    void trace();
    void qcLines_data();
    void qcLines();

    void resultsFileHoldsEverySolution_data();
    void resultsFileHoldsEverySolution();
    void concentrationsOfAHandMadeRun();
    void successReplacesAnEarlierFile();
    void namesGiveThePanelsPositions_data();
    void namesGiveThePanelsPositions();
    void equivalentSpellingsGiveTheSameResults_data();
    void equivalentSpellingsGiveTheSameResults();

private:
    Outcome runWith(const QStringList &row)
    {
        return BatchProcess::run(PROGRAM, expand(row, output));
    }

    QScopedPointer<QTemporaryDir> dir;
    QString output;
};

void TestBatch::init()
{
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
    output = dir->filePath(QStringLiteral("results.csv"));
}

void TestBatch::helpDocumentsEveryOption()
{
    const Outcome outcome = runWith({ QStringLiteral("--help") });
    QVERIFY(outcome.finished);
    QCOMPARE(outcome.exitCode, 0);
    QVERIFY(outcome.out.startsWith(USAGE_START));
    QCOMPARE(outcome.err, QString());
    const char *options[] = { "--instrument", "--data", "--stdqc", "--output", "--is-ref",
        "--is-lr", "--is-mr", "--is-hr", "--is-groups", "--blank-mode", "--blank", "--no-qc",
        "--help", "HR-ICP-MS", "Q-ICP-MS", "y-intercept", "subtract", "none" };
    for (const char *option : options)
        QVERIFY2(outcome.out.contains(QLatin1String(option)), option);
    QVERIFY(!QFile::exists(output));
}

void TestBatch::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");

    const QStringList hr = hrExample();
    const QStringList single = hrFiles(
        QStringLiteral("@DATA/hr_single_blank.csv"), QStringLiteral("@DATA/stdqc_li.csv"));
    QTest::newRow("unknown option")
        << hr + QStringList { QStringLiteral("--frobnicate") } << "Unknown option 'frobnicate'.";
    QTest::newRow("unknown short option")
        << hr + QStringList { QStringLiteral("-x") } << "Unknown option 'x'.";
    QTest::newRow("stray argument")
        << hr + QStringList { QStringLiteral("more.csv") } << "Unexpected argument 'more.csv'.";
    QTest::newRow("no instrument")
        << without(hr, QStringLiteral("--instrument")) << "Missing option '--instrument'.";
    QTest::newRow("no data file") << without(hr, QStringLiteral("--data"))
                                  << "Missing option '--data'.";
    QTest::newRow("no standards file")
        << without(hr, QStringLiteral("--stdqc")) << "Missing option '--stdqc'.";
    QTest::newRow("no output file")
        << without(hr, QStringLiteral("--output")) << "Missing option '--output'.";
    QTest::newRow("file name missing at the end")
        << without(hr, QStringLiteral("--output")) + QStringList { QStringLiteral("--output") }
        << "Missing value after '--output'.";
    QTest::newRow("empty file name") << without(hr, QStringLiteral("--data"))
            + QStringList { QStringLiteral("--data"), QString() }
                                     << "Missing file name after '--data'.";
    // On copies: a fault here would overwrite the input.
    const QStringList copies
        = hrFiles(QStringLiteral("@TMP/export.csv"), QStringLiteral("@TMP/stdqc.csv"));
    QTest::newRow("results over the data file")
        << without(copies, QStringLiteral("--output"))
            + QStringList { QStringLiteral("--output"), QStringLiteral("@TMP/export.csv") }
        << "'--output' names an input file: @TMP/export.csv.";
    QTest::newRow("results over the standards file, by another path")
        << without(copies, QStringLiteral("--output"))
            + QStringList { QStringLiteral("--output"), QStringLiteral("@TMP/../@NAME/stdqc.csv") }
        << "'--output' names an input file: @TMP/../@NAME/stdqc.csv.";
    QTest::newRow("unknown instrument")
        << without(hr, QStringLiteral("--instrument"))
            + QStringList { QStringLiteral("--instrument"), QStringLiteral("ICP-MS") }
        << "Unknown instrument 'ICP-MS': use HR-ICP-MS or Q-ICP-MS.";
    QTest::newRow("instrument in lower case")
        << without(hr, QStringLiteral("--instrument"))
            + QStringList { QStringLiteral("--instrument"), QStringLiteral("hr-icp-ms") }
        << "Unknown instrument 'hr-icp-ms': use HR-ICP-MS or Q-ICP-MS.";
    QTest::newRow("unknown blank mode")
        << hr + QStringList { QStringLiteral("--blank-mode"), QStringLiteral("subtraction") }
        << "Unknown blank mode 'subtraction': use y-intercept, subtract or none.";
    QTest::newRow("unknown group") << hr
            + QStringList { QStringLiteral("--is-ref"), QStringLiteral("BLK_1"),
                  QStringLiteral("--is-groups"), QStringLiteral("LR,XR") }
                                   << "Unknown group 'XR' in '--is-groups': use LR, MR or HR.";

    // Names are looked up in the data file, as the panel lists them.
    QTest::newRow("reference solution not in the file")
        << hr + QStringList { QStringLiteral("--is-ref"), QStringLiteral("Lake_01") }
        << "Unknown solution 'Lake_01' for '--is-ref'.";
    QTest::newRow("average blank is no reference solution")
        << hr + QStringList { QStringLiteral("--is-ref"), QStringLiteral("BLK_Avg_All") }
        << "Unknown solution 'BLK_Avg_All' for '--is-ref'.";
    QTest::newRow("solution names are case-sensitive")
        << hr + QStringList { QStringLiteral("--is-ref"), QStringLiteral("vs_1") }
        << "Unknown solution 'vs_1' for '--is-ref'.";
    QTest::newRow("isotope of another group") << hr
            + QStringList { QStringLiteral("--is-ref"), QStringLiteral("VS_1"),
                  QStringLiteral("--is-lr"), QStringLiteral("115In MR") }
                                              << "Unknown isotope '115In MR' for '--is-lr'.";
    QTest::newRow("isotope without its resolution") << hr
            + QStringList { QStringLiteral("--is-ref"), QStringLiteral("VS_1"),
                  QStringLiteral("--is-hr"), QStringLiteral("115In") }
                                                    << "Unknown isotope '115In' for '--is-hr'.";
    QTest::newRow("isotope name checked without correction")
        << hr + QStringList { QStringLiteral("--is-mr"), QStringLiteral("56Fe LR") }
        << "Unknown isotope '56Fe LR' for '--is-mr'.";
    QTest::newRow("quadrupole file has no MR group") << qExample()
            + QStringList { QStringLiteral("--is-ref"), QStringLiteral("VS_1"),
                  QStringLiteral("--is-mr"), QStringLiteral("115In #1") }
                                                     << "Unknown isotope '115In #1' for '--is-mr'.";
    QTest::newRow("standard is no blank")
        << hr + QStringList { QStringLiteral("--blank"), QStringLiteral("STD_1_1") }
        << "Unknown blank 'STD_1_1' for '--blank'.";
    QTest::newRow("no average of a single blank")
        << single + QStringList { QStringLiteral("--blank"), QStringLiteral("BLK_Avg_All") }
        << "Unknown blank 'BLK_Avg_All' for '--blank'.";
}

void TestBatch::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    QVERIFY(writeFile(output, EARLIER));
    const QString exportCopy = dir->filePath(QStringLiteral("export.csv"));
    const QString stdqcCopy = dir->filePath(QStringLiteral("stdqc.csv"));
    QVERIFY(QFile::copy(QStringLiteral(EXAMPLES_DIR "/hr_export.csv"), exportCopy));
    QVERIFY(QFile::copy(QStringLiteral(EXAMPLES_DIR "/hr_stdqc.csv"), stdqcCopy));
    reason = expand(reason, output);

    const Outcome outcome = runWith(arguments);
    QVERIFY(outcome.finished);
    QCOMPARE(outcome.exitCode, 2);
    const QStringList err = outcome.errLines();
    QVERIFY(!err.isEmpty());
    QCOMPARE(err.first(), QStringLiteral("ketrion-batch: ") + reason);
    QCOMPARE(err.at(1),
        USAGE_START
            + QStringLiteral(" HR-ICP-MS|Q-ICP-MS --data FILE --stdqc "
                             "FILE --output FILE"));
    // Refused before any processing starts.
    QCOMPARE(outcome.out, QString());
    QCOMPARE(BatchProcess::contents(output), EARLIER);
    QCOMPARE(BatchProcess::contents(exportCopy),
        BatchProcess::contents(QStringLiteral(EXAMPLES_DIR "/hr_export.csv")));
    QCOMPARE(BatchProcess::contents(stdqcCopy),
        BatchProcess::contents(QStringLiteral(EXAMPLES_DIR "/hr_stdqc.csv")));
}

void TestBatch::rejectedFiles_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("lastTraceLine");

    const QString missing = QStringLiteral(TEST_DATA_DIR "/no_such_file.csv");
    QTest::newRow("data file missing")
        << hrFiles(missing, QStringLiteral("@EX/hr_stdqc.csv"))
        << QStringLiteral("Cannot read file %1:\nNo such file or directory.").arg(missing)
        << QString();
    QTest::newRow("high-resolution export read as quadrupole")
        << without(hrExample(), QStringLiteral("--instrument"))
            + QStringList { QStringLiteral("--instrument"), QStringLiteral("Q-ICP-MS") }
        << "Input file format error: no solution detected (instrument set to 'Q-ICP-MS')"
        << QString();
    QTest::newRow("quadrupole export read as high-resolution")
        << without(qExample(), QStringLiteral("--instrument"))
            + QStringList { QStringLiteral("--instrument"), QStringLiteral("HR-ICP-MS") }
        << "Input file format error: no element detected (instrument set to 'HR-ICP-MS')"
        << QString();
    QTest::newRow("binary file as export")
        << hrFiles(QStringLiteral("@DATA/standards_xlsx_instead_of_csv.dat"),
               QStringLiteral("@EX/hr_stdqc.csv"))
        << "Input file format error: no element detected (instrument set to 'HR-ICP-MS')"
        << QString();
    QTest::newRow("unreadable number in the export")
        << hrFiles(QStringLiteral("@DATA/hr_unreadable_intensity.csv"),
               QStringLiteral("@DATA/stdqc_li.csv"))
        << "PARSING ERROR: unable to read real number (unknown format). Please, convert your data "
           "into english or french number format\n\nLine 3: '12 cps'"
        << QString();

    // The standards file is read after the configuration trace, as in the window.
    QTest::newRow("standards file missing")
        << hrFiles(QStringLiteral("@EX/hr_export.csv"), missing)
        << QStringLiteral("Cannot read STD QC Concentration file %1:\nNo such file or directory.")
               .arg(missing)
        << "# open QC-STD file";
    QTest::newRow("standards file without a QC column")
        << hrFiles(QStringLiteral("@DATA/hr_single_blank.csv"),
               QStringLiteral("@DATA/stdqc_without_qc_column.csv"))
        << "Solution QC_A Not found"
        << "# parse QC-STD file";
}

void TestBatch::rejectedFiles()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QFETCH(QString, lastTraceLine);
    QVERIFY(writeFile(output, EARLIER));

    const Outcome outcome = runWith(arguments);
    QVERIFY(outcome.finished);
    QCOMPARE(outcome.exitCode, 1);
    QCOMPARE(outcome.err, message + QLatin1Char('\n'));
    const QStringList out = outcome.outLines();
    QCOMPARE(out.isEmpty() ? QString() : out.last(), lastTraceLine);
    QCOMPARE(BatchProcess::contents(output), EARLIER);
}

void TestBatch::unwritableOutput_data()
{
    QTest::addColumn<QString>("target");

    QTest::newRow("folder that does not exist") << QStringLiteral("no/such/folder/results.csv");
    QTest::newRow("name of a folder") << QStringLiteral("folder");
}

void TestBatch::unwritableOutput()
{
    QFETCH(QString, target);
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("folder")));
    output = dir->filePath(target);

    const Outcome outcome = runWith(hrExample());
    QVERIFY(outcome.finished);
    QCOMPARE(outcome.exitCode, 1);
    QVERIFY2(outcome.err.startsWith(QStringLiteral("Cannot write file %1:\n").arg(output)),
        qPrintable(outcome.err));
    // The run itself went through; only the save failed.
    QCOMPARE(outcome.outLines().last(), QStringLiteral("*** end of processing ***"));
    // Nothing half-written left behind, and the folder still a folder.
    QVERIFY(QFileInfo(dir->filePath(QStringLiteral("folder"))).isDir());
    const QDir::Filters all = QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden;
    QCOMPARE(QDir(dir->path()).entryList(all), QStringList { QStringLiteral("folder") });
    QCOMPARE(QDir(dir->filePath(QStringLiteral("folder"))).entryList(all), QStringList());
}

void TestBatch::trace_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("expected");

    const QString begin = QStringLiteral("*** begin processing ***");
    const QString configuration = QStringLiteral("# Ketrion configuration:");
    const QString hrInstrument = QStringLiteral("  Selected ICP instrument: HR-ICP-MS");
    const QString noIS = QStringLiteral("  No internal standard correction is applied");
    const QString qcSet = QStringLiteral("  Quality control validation is set");
    const QStringList reading = { QStringLiteral("# open QC-STD file"),
        QStringLiteral("# parse QC-STD file"), QStringLiteral("# init processing variables") };
    const QString averages = QStringLiteral("# add blk solutions");
    const QString zero = QStringLiteral("# y intercept");
    const QString subtract = QStringLiteral("# substract blank");
    const QString isCorrection = QStringLiteral("# internal standard correction");
    const QString calibration = QStringLiteral("# process calibration");
    const QStringList computing = { QStringLiteral("*** process concentration ***"),
        QStringLiteral("*** process limits ***") };
    const QStringList ending = { QStringLiteral("*** refreshing plots and tables ***"),
        QStringLiteral("*** end of processing ***") };
    const QString noQc = QStringLiteral("--no-qc");

    // Positions in hr_export.csv: VS_1 is solution 11, BLK_4 solution 8, the
    // averages follow the 53 solutions; In115 LR, MR, HR are isotopes 4, 15, 18
    // and the first isotope of each group 0 (7Li LR), 7 (27Al MR), 16 (75As HR).
    QTest::newRow("window defaults")
        << hrExample() + QStringList { noQc }
        << QStringList { begin, configuration, hrInstrument, noIS,
               QStringLiteral("  Y-intercept is set with BLK_1 as the blank reference solution") }
            + reading
            + QStringList { averages, zero, calibration,
                  QStringLiteral("blank_id = -1, is_ref_id = -1, is_elements[0] = -1, "
                                 "is_elements[1] = -1, is_elements[2] = -1") }
            + computing + ending;

    QTest::newRow("indium in every group")
        << hrExample()
            + QStringList { QStringLiteral("--is-ref"), QStringLiteral("VS_1"),
                  QStringLiteral("--is-lr"), QStringLiteral("115In LR"), QStringLiteral("--is-mr"),
                  QStringLiteral("115In MR"), QStringLiteral("--is-hr"), QStringLiteral("115In HR"),
                  QStringLiteral("--blank-mode"), QStringLiteral("none"), noQc }
        << QStringList { begin, configuration, hrInstrument,
               QStringLiteral("  Internal standard correction is set with:"),
               QStringLiteral("    - VS_1 as the IS reference solution"),
               QStringLiteral("    - IS check boxes' status are: 1 ; 1 ; 1"),
               QStringLiteral("    - 115In LR as the IS-LR isotope reference"),
               QStringLiteral("    - 115In MR as the IS-MR isotope reference"),
               QStringLiteral("    - 115In HR as the IS-HR isotope reference"),
               QStringLiteral("  No blank correction is applied") }
            + reading
            + QStringList { isCorrection, averages, calibration,
                  QStringLiteral("blank_id = -1, is_ref_id = 11, is_elements[0] = 18, "
                                 "is_elements[1] = 15, is_elements[2] = 4") }
            + computing + ending;

    QTest::newRow("one group, first isotopes, blank subtracted")
        << hrExample()
            + QStringList { QStringLiteral("--is-ref"), QStringLiteral("VS_1"),
                  QStringLiteral("--is-groups"), QStringLiteral("MR"),
                  QStringLiteral("--blank-mode"), QStringLiteral("subtract"),
                  QStringLiteral("--blank"), QStringLiteral("BLK_4"), noQc }
        << QStringList { begin, configuration, hrInstrument,
               QStringLiteral("  Internal standard correction is set with:"),
               QStringLiteral("    - VS_1 as the IS reference solution"),
               QStringLiteral("    - IS check boxes' status are: 0 ; 1 ; 0"),
               QStringLiteral("    - 7Li LR as the IS-LR isotope reference"),
               QStringLiteral("    - 27Al MR as the IS-MR isotope reference"),
               QStringLiteral("    - 75As HR as the IS-HR isotope reference"),
               QStringLiteral(
                   "  Blank subtraction is set with BLK_4 as the blank reference solution") }
            + reading
            + QStringList { isCorrection, subtract, averages, calibration,
                  QStringLiteral("blank_id = 8, is_ref_id = 11, is_elements[0] = 16, "
                                 "is_elements[1] = 7, is_elements[2] = 0") }
            + computing + ending;

    QTest::newRow("no group checked")
        << hrExample()
            + QStringList { QStringLiteral("--is-ref"), QStringLiteral("BLK_1"),
                  QStringLiteral("--is-groups"), QString(), noQc }
        << QStringList { begin, configuration, hrInstrument,
               QStringLiteral("  Internal standard correction is set with:"),
               QStringLiteral("    - BLK_1 as the IS reference solution"),
               QStringLiteral("    - IS check boxes' status are: 0 ; 0 ; 0"),
               QStringLiteral("    - 7Li LR as the IS-LR isotope reference"),
               QStringLiteral("    - 27Al MR as the IS-MR isotope reference"),
               QStringLiteral("    - 75As HR as the IS-HR isotope reference"),
               QStringLiteral("  Y-intercept is set with BLK_1 as the blank reference solution") }
            + reading
            + QStringList { isCorrection, averages, zero, calibration,
                  QStringLiteral("blank_id = -1, is_ref_id = 0, is_elements[0] = 16, "
                                 "is_elements[1] = 7, is_elements[2] = 0") }
            + computing + ending;

    // The average blanks are built before they are subtracted: 53 + 1 is the second average.
    QTest::newRow("average of the first blanks subtracted")
        << hrExample()
            + QStringList { QStringLiteral("--blank-mode"), QStringLiteral("subtract"),
                  QStringLiteral("--blank"), QStringLiteral("BLK_Avg_First_Seq"), noQc }
        << QStringList { begin, configuration, hrInstrument, noIS,
               QStringLiteral("  Blank subtraction is set with BLK_Avg_First_Seq as the blank "
                              "reference solution") }
            + reading
            + QStringList { averages, subtract, calibration,
                  QStringLiteral("blank_id = 54, is_ref_id = -1, is_elements[0] = -1, "
                                 "is_elements[1] = -1, is_elements[2] = -1") }
            + computing + ending;

    // Quadrupole names keep their trailing blank in the trace, as the boxes show them.
    QTest::newRow("quadrupole indium, no MR and HR isotopes")
        << qExample()
            + QStringList { QStringLiteral("--is-ref"), QStringLiteral("VS_2"),
                  QStringLiteral("--is-lr"), QStringLiteral("115In #1"), noQc }
        << QStringList { begin, configuration,
               QStringLiteral("  Selected ICP instrument: Q-ICP-MS"),
               QStringLiteral("  Internal standard correction is set with:"),
               QStringLiteral("    - VS_2 as the IS reference solution"),
               QStringLiteral("    - IS check boxes' status are: 1 ; 1 ; 1"),
               QStringLiteral("    - 115In #1  as the IS-LR isotope reference"),
               QStringLiteral("    -  as the IS-MR isotope reference"),
               QStringLiteral("    -  as the IS-HR isotope reference"),
               QStringLiteral("  Y-intercept is set with BLK_1 as the blank reference solution") }
            + reading
            + QStringList { isCorrection, averages, zero, calibration,
                  QStringLiteral("blank_id = -1, is_ref_id = 21, is_elements[0] = -1, "
                                 "is_elements[1] = -1, is_elements[2] = 15") }
            + computing + ending;

    QTest::newRow("file without blanks")
        << hrFiles(QStringLiteral("@DATA/hr_no_blank.csv"), QStringLiteral("@DATA/stdqc_li.csv"))
            + QStringList { noQc }
        << QStringList { begin, configuration, hrInstrument, noIS,
               QStringLiteral("  Y-intercept is set with  as the blank reference solution") }
            + reading
            + QStringList { averages, zero,
                  QStringLiteral("# no blank available: no zero standard added"), calibration,
                  QStringLiteral("blank_id = -1, is_ref_id = -1, is_elements[0] = -1, "
                                 "is_elements[1] = -1, is_elements[2] = -1") }
            + computing + ending;
}

void TestBatch::trace()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, expected);

    const Outcome outcome = runWith(arguments);
    QVERIFY(outcome.finished);
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(stageLines(outcome), expected);
}

void TestBatch::qcLines_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("countLine");
    QTest::addColumn<QStringList>("failures");

    // hr_single_blank.csv lies on the line 1000 cps/ppb + 100 cps: QC_A reads 2.5 ppb.
    QTest::newRow("inside its interval") << hrFiles(
        QStringLiteral("@DATA/hr_single_blank.csv"), QStringLiteral("@DATA/stdqc_li.csv"))
                                         << "# QC not valid: 0 / 1" << QStringList();
    QTest::newRow("outside its interval") << hrFiles(
        QStringLiteral("@DATA/hr_single_blank.csv"), QStringLiteral("@DATA/stdqc_li_qc_a_high.csv"))
                                          << "# QC not valid: 1 / 1"
                                          << QStringList { QStringLiteral("QC_A : 7Li LR") };
    QTest::newRow("checked off") << hrFiles(QStringLiteral("@DATA/hr_single_blank.csv"),
                                        QStringLiteral("@DATA/stdqc_li_qc_a_high.csv"))
            + QStringList { QStringLiteral("--no-qc") }
                                 << QString() << QStringList();
    // 16 elements given for QC_A, 14 for QC_B, two replicates each: 60 values.
    // Lithium of QC_A expected ten times too high fails in both replicates.
    QTest::newRow("example, one element misstated")
        << hrFiles(QStringLiteral("@EX/hr_export.csv"),
               QStringLiteral("@DATA/hr_stdqc_qc_a_lithium_tenfold.csv"))
            + withIndium()
        << "# QC not valid: 2 / 60"
        << QStringList { QStringLiteral("QC_A_1 : 7Li LR"), QStringLiteral("QC_A_2 : 7Li LR") };
}

void TestBatch::qcLines()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, countLine);
    QFETCH(QStringList, failures);

    const Outcome outcome = runWith(arguments);
    QVERIFY(outcome.finished);
    QCOMPARE(outcome.exitCode, 0);
    const QStringList lines = outcome.outLines();
    const QStringList tail = lines.mid(lines.size() - 2);
    QCOMPARE(tail,
        QStringList({ QStringLiteral("*** refreshing plots and tables ***"),
            QStringLiteral("*** end of processing ***") }));
    const int count
        = lines.indexOf(QRegularExpression(QStringLiteral("# QC not valid: \\d+ / \\d+")));
    if (countLine.isEmpty()) {
        QCOMPARE(count, -1);
        QVERIFY(!lines.contains(QStringLiteral("  Quality control validation is set")));
        QVERIFY(!lines.contains(QStringLiteral("*** process QC control ***")));
        return;
    }
    QVERIFY(count > 0);
    QCOMPARE(lines.at(count - 1), QStringLiteral("*** process QC control ***"));
    QCOMPARE(lines.at(count), countLine);
    QCOMPARE(lines.mid(count + 1, lines.size() - count - 3), failures);
    QVERIFY(QFile::exists(output));
}

void TestBatch::resultsFileHoldsEverySolution_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<bool>("hrExampleSolutions");

    const QString average = Data::ALL_AVG;
    const QString firstAverage = Data::FIRST_SEQ_AVG;
    const QString zero = QStringLiteral("STD_ZERO_STD");
    QTest::newRow("y-intercept") << hrExample() << QStringList { average, firstAverage, zero }
                                 << true;
    QTest::newRow("subtraction") << hrExample()
            + QStringList { QStringLiteral("--blank-mode"), QStringLiteral("subtract") }
                                 << QStringList { average, firstAverage } << true;
    QTest::newRow("zero standard from an average")
        << hrExample() + QStringList { QStringLiteral("--blank"), QStringLiteral("BLK_Avg_All") }
        << QStringList { average, firstAverage, zero } << true;
    QTest::newRow("single blank: no averages") << hrFiles(
        QStringLiteral("@DATA/hr_single_blank.csv"), QStringLiteral("@DATA/stdqc_li.csv"))
                                               << QStringList { zero } << false;
    QTest::newRow("no blank: nothing added")
        << hrFiles(QStringLiteral("@DATA/hr_no_blank.csv"), QStringLiteral("@DATA/stdqc_li.csv"))
        << QStringList() << false;
}

void TestBatch::resultsFileHoldsEverySolution()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, added);
    QFETCH(bool, hrExampleSolutions);

    const Outcome outcome = runWith(arguments);
    QVERIFY(outcome.finished);
    QCOMPARE(outcome.exitCode, 0);

    // The export's own names, from its first line (one per value pair).
    const QString data
        = expand(arguments.at(arguments.indexOf(QStringLiteral("--data")) + 1), output);
    QFile exportFile(data);
    QVERIFY(exportFile.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList fileNames = QString::fromUtf8(exportFile.readLine())
                                      .trimmed()
                                      .split(QLatin1Char(';'), Qt::SkipEmptyParts);
    QCOMPARE(fileNames.size(), hrExampleSolutions ? 53 : fileNames.size());
    QCOMPARE(resultSolutions(BatchProcess::contents(output)), fileNames + added);
}

void TestBatch::concentrationsOfAHandMadeRun()
{
    // Standards at 1, 2 and 5 ppb read 1100, 2100 and 5100 cps, the blank 100
    // cps: the line is exact, so every concentration is (cps - 100) / 1000.
    const Outcome outcome = runWith(
        hrFiles(QStringLiteral("@DATA/hr_single_blank.csv"), QStringLiteral("@DATA/stdqc_li.csv")));
    QVERIFY(outcome.finished);
    QCOMPARE(outcome.exitCode, 0);
    QVERIFY(outcome.outLines().contains(QStringLiteral(
        "7Li LR: slope = 1000.00000000, y-intercept =  100.00000000, r2 = 1.00000000")));

    const QStringList lines = csvLines(BatchProcess::contents(output));
    QCOMPARE(lines.first(), QStringLiteral(";;7Li LR;;;115In LR;;;"));
    const QHash<QString, QString> expected = { { QStringLiteral("BLK_1"), QString() },
        { QStringLiteral("STD_1"), QStringLiteral("1") },
        { QStringLiteral("STD_2"), QStringLiteral("2") },
        { QStringLiteral("STD_3"), QStringLiteral("5") },
        { QStringLiteral("QC_A"), QStringLiteral("2.5") },
        { QStringLiteral("River"), QStringLiteral("0.6") },
        { QStringLiteral("STD_ZERO_STD"), QString() } };
    int seen = 0;
    for (int row = 7; row < lines.size(); ++row) {
        const QStringList cells = lines.at(row).split(QLatin1Char(';'));
        if (!expected.contains(cells.first()))
            continue;
        ++seen;
        QCOMPARE(cells.at(2), expected.value(cells.first()));
        // No indium in the standards file: no line, no concentration.
        QCOMPARE(cells.mid(5, 3), QStringList({ QString(), QString(), QString() }));
    }
    QCOMPARE(seen, expected.size());
}

void TestBatch::successReplacesAnEarlierFile()
{
    QVERIFY(writeFile(output, EARLIER));
    const Outcome first = runWith(qExample());
    QVERIFY(first.finished);
    QCOMPARE(first.exitCode, 0);
    const QByteArray results = BatchProcess::contents(output);
    QVERIFY(results.startsWith(";;7Li #1 ;;;27Al #1 ;;;51V #2 ;;;"));
    QVERIFY(!results.contains(EARLIER));

    // A second run over the same files writes the same bytes.
    const Outcome second = runWith(qExample());
    QCOMPARE(second.exitCode, 0);
    QCOMPARE(BatchProcess::contents(output), results);
    QCOMPARE(second.out, first.out);
}

void TestBatch::namesGiveThePanelsPositions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("quadrupole");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("stdqc");
    // Positions picked by hand from the files, as the window's boxes hold them:
    // isReference (-1: correction off), isLR, isMR, isHR, checked groups LR/MR/HR
    // as 0/1, blank mode (0 none, 1 y-intercept, 2 subtract), blankSelection, QC.
    QTest::addColumn<QVector<int>>("positions");

    const QString hrData = QStringLiteral(EXAMPLES_DIR "/hr_export.csv");
    const QString hrStdqc = QStringLiteral(EXAMPLES_DIR "/hr_stdqc.csv");
    const QString qData = QStringLiteral(EXAMPLES_DIR "/q_export.csv");
    const QString qStdqc = QStringLiteral(EXAMPLES_DIR "/q_stdqc.csv");

    // Groups of hr_export.csv: LR Li Rb Sr Cd In Pb U, MR Al V Cr Fe Co Ni Cu Zn In, HR As Se In.
    QTest::newRow("indium, y-intercept on the first blank")
        << hrExample() + withIndium() << false << hrData << hrStdqc
        << QVector<int> { 0, 4, 8, 2, 1, 1, 1, 1, 0, 1 };
    QTest::newRow("drift check reference, MR only, fifth blank subtracted") << hrExample()
            + QStringList {
                  QStringLiteral("--is-ref"), QStringLiteral("VS_1"), QStringLiteral("--is-mr"),
                  QStringLiteral("59Co MR"), QStringLiteral("--is-groups"), QStringLiteral("MR"),
                  QStringLiteral("--blank-mode"), QStringLiteral("subtract"),
                  QStringLiteral("--blank"), QStringLiteral("BLK_5")
              } << false << hrData << hrStdqc << QVector<int> { 11, 0, 4, 0, 0, 1, 0, 2, 4, 1 };
    // Seven blanks, then BLK_Avg_All (7) and BLK_Avg_First_Seq (8).
    QTest::newRow("first-run average subtracted, no QC")
        << hrExample()
            + QStringList { QStringLiteral("--blank-mode"), QStringLiteral("subtract"),
                  QStringLiteral("--blank"), QStringLiteral("BLK_Avg_First_Seq"),
                  QStringLiteral("--no-qc") }
        << false << hrData << hrStdqc << QVector<int> { -1, 0, 0, 0, 1, 1, 1, 2, 8, 0 };
    // Every quadrupole isotope is in the LR group: In is the 16th, Rh the 14th.
    QTest::newRow("quadrupole indium, zero standard from the average")
        << qExample()
            + QStringList { QStringLiteral("--is-ref"), QStringLiteral("VS_1"),
                  QStringLiteral("--is-lr"), QStringLiteral("115In #1"), QStringLiteral("--blank"),
                  QStringLiteral("BLK_Avg_All") }
        << true << qData << qStdqc << QVector<int> { 11, 15, -1, -1, 1, 1, 1, 1, 7, 1 };
    QTest::newRow("quadrupole rhodium, LR only, no blank correction") << qExample()
            + QStringList {
                  QStringLiteral("--is-ref"), QStringLiteral("BLK_2"), QStringLiteral("--is-lr"),
                  QStringLiteral("103Rh #1"), QStringLiteral("--is-groups"), QStringLiteral("LR"),
                  QStringLiteral("--blank-mode"), QStringLiteral("none")
              } << true << qData << qStdqc << QVector<int> { 1, 13, -1, -1, 1, 0, 0, 0, 0, 1 };
}

void TestBatch::namesGiveThePanelsPositions()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, quadrupole);
    QFETCH(QString, data);
    QFETCH(QString, stdqc);
    QFETCH(QVector<int>, positions);

    const Outcome outcome = runWith(arguments);
    QVERIFY(outcome.finished);
    QCOMPARE(outcome.exitCode, 0);

    // The window's sequence with the positions its boxes would hold.
    ParserInHRElementCSV hrReader;
    ParserInAgilentCSV quadrupoleReader;
    ParserInSTDQC stdqcReader;
    ParserOutCSV writer;
    Processing engine;
    Data input(quadrupole ? static_cast<Parser *>(&quadrupoleReader) : &hrReader);
    Data work(&writer);
    QFile dataFile(data);
    QVERIFY(dataFile.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(input.executeParsing(&dataFile, &engine).code, 0);
    ProcessingRun::prepareWorkingSet(&input, &work, &engine, true);
    QFile stdqcFile(stdqc);
    QVERIFY(stdqcFile.open(QIODevice::ReadOnly | QIODevice::Text));
    input.loadParser(&stdqcReader);
    QCOMPARE(input.executeParsing(&stdqcFile, &engine).code, 0);

    RunOptions options;
    options.isCorrection = positions.at(0) != -1;
    options.isReference = positions.at(0);
    options.isLR = positions.at(1);
    options.isMR = positions.at(2);
    options.isHR = positions.at(3);
    options.correctLR = positions.at(4) == 1;
    options.correctMR = positions.at(5) == 1;
    options.correctHR = positions.at(6) == 1;
    options.yIntercept = positions.at(7) == 1;
    options.subBlank = positions.at(7) == 2;
    options.blankSelection = positions.at(8);
    options.qcValidation = positions.at(9) == 1;
    QBuffer trace;
    trace.open(QIODevice::WriteOnly);
    Trace::setDevice(&trace);
    ProcessingRun::run(options, &input, &work, &engine);
    Trace::setDevice(nullptr);

    QBuffer saved;
    saved.open(QIODevice::WriteOnly | QIODevice::Text);
    QCOMPARE(work.executeParsing(&saved, &engine).code, 0);
    QCOMPARE(BatchProcess::contents(output), saved.data());
}

void TestBatch::equivalentSpellingsGiveTheSameResults_data()
{
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");

    QTest::newRow("quadrupole name with its trailing blank") << qExample()
            + QStringList { QStringLiteral("--is-ref"), QStringLiteral("VS_1"),
                  QStringLiteral("--is-lr"), QStringLiteral("115In #1") }
                                                             << qExample()
            + QStringList { QStringLiteral("--is-ref"), QStringLiteral("VS_1"),
                  QStringLiteral("--is-lr"), QStringLiteral("115In #1 ") };
    QTest::newRow("all groups by default") << hrExample() + withIndium()
                                           << hrExample() + withIndium()
            + QStringList { QStringLiteral("--is-groups"), QStringLiteral("HR, LR,MR") };
    QTest::newRow("first entries by default")
        << hrExample() + QStringList { QStringLiteral("--is-ref"), QStringLiteral("BLK_1") }
        << hrExample()
            + QStringList { QStringLiteral("--is-ref"), QStringLiteral("BLK_1"),
                  QStringLiteral("--is-lr"), QStringLiteral("7Li LR"), QStringLiteral("--is-mr"),
                  QStringLiteral("27Al MR"), QStringLiteral("--is-hr"), QStringLiteral("75As HR"),
                  QStringLiteral("--blank-mode"), QStringLiteral("y-intercept"),
                  QStringLiteral("--blank"), QStringLiteral("BLK_1") };
    QTest::newRow("options in any order, written with =")
        << hrExample() + withIndium()
        << QStringList { QStringLiteral("--is-hr=115In HR"), QStringLiteral("--output=@OUT"),
               QStringLiteral("--is-mr"), QStringLiteral("115In MR"), QStringLiteral("--stdqc"),
               QStringLiteral("@EX/hr_stdqc.csv"), QStringLiteral("--is-ref"),
               QStringLiteral("BLK_1"), QStringLiteral("--data"),
               QStringLiteral("@EX/hr_export.csv"), QStringLiteral("--is-lr"),
               QStringLiteral("115In LR"), QStringLiteral("--instrument"),
               QStringLiteral("HR-ICP-MS") };
}

void TestBatch::equivalentSpellingsGiveTheSameResults()
{
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);

    const Outcome one = runWith(first);
    QVERIFY(one.finished);
    QCOMPARE(one.exitCode, 0);
    const QByteArray results = BatchProcess::contents(output);
    QVERIFY(!results.isEmpty());
    QVERIFY(QFile::remove(output));

    const Outcome other = runWith(second);
    QCOMPARE(other.exitCode, 0);
    QCOMPARE(BatchProcess::contents(output), results);
}

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
