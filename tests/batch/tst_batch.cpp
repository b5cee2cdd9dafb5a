#include "batch/BatchProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using BatchProcess::Outcome;

namespace {

const QString PROGRAM = QStringLiteral(KETRION_BATCH_PROGRAM);
const QByteArray EARLIER = "results of an earlier run\n";
const QString USAGE = QStringLiteral(
    "Usage: ketrion-batch --instrument HR-ICP-MS|Q-ICP-MS --data FILE --stdqc FILE --output FILE");

// Rows name files as @EX/name (examples), @DATA/name (test data), @OUT (the
// results file), @TMP/name (the test's folder, @NAME its name).
QString expand(QString text, const QString &output)
{
    const QFileInfo folder(QFileInfo(output).path());
    text.replace("@EX/", EXAMPLES_DIR "/").replace("@DATA/", TEST_DATA_DIR "/");
    return text.replace("@OUT", output)
        .replace("@TMP", folder.filePath())
        .replace("@NAME", folder.fileName());
}

QStringList files(const QString &instrument, const QString &data, const QString &stdqc)
{
    return { "--instrument", instrument, "--data", data, "--stdqc", stdqc, "--output", "@OUT" };
}

QStringList hr()
{
    return files("HR-ICP-MS", "@EX/hr_export.csv", "@EX/hr_stdqc.csv");
}

// Lithium on an exact line; one blank.
QStringList lithium(const QString &stdqc = "@DATA/stdqc_li.csv")
{
    return files("HR-ICP-MS", "@DATA/hr_single_blank.csv", stdqc);
}

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void help();
    void usageErrors_data();
    void usageErrors();
    void rejectedFiles_data();
    void rejectedFiles();
    void writesThroughPipes();
    void wholeRuns_data();
    void wholeRuns();

private:
    Outcome runWith(const QStringList &row)
    {
        QStringList arguments;
        for (const QString &argument : row)
            arguments.append(expand(argument, output));
        return BatchProcess::run(PROGRAM, arguments);
    }

    QScopedPointer<QTemporaryDir> dir;
    QString output;
};

void TestBatch::init()
{
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
    output = dir->filePath("results.csv");
    QFile earlier(output);
    QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write(EARLIER) == EARLIER.size());
}

void TestBatch::help()
{
    const Outcome outcome = runWith({ "--help" });
    QCOMPARE(outcome.exitCode, 0);
    QVERIFY(outcome.out.startsWith(USAGE));
    QCOMPARE(outcome.err, QString());
    for (const char *option : { "--is-ref", "--is-lr", "--is-mr", "--is-hr", "--is-groups",
             "--is-recovery LOW,HIGH", "--blank-mode", "--blank ", "--weighting none|1/x|1/x2",
             "--no-qc", "--long", "y-intercept|subtract|none" })
        QVERIFY2(outcome.out.contains(QLatin1String(option)), option);
}

void TestBatch::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");

    QTest::newRow("unknown option")
        << hr() + QStringList { "--frobnicate" } << "Unknown option 'frobnicate'.";
    QTest::newRow("stray argument")
        << hr() + QStringList { "more.csv" } << "Unexpected argument 'more.csv'.";
    QTest::newRow("no standards file")
        << QStringList { "--instrument=HR-ICP-MS", "--data=@EX/hr_export.csv", "--output=@OUT" }
        << "Missing option '--stdqc'.";
    QTest::newRow("file name missing at the end")
        << QStringList(hr().mid(0, 7)) << "Missing value after '--output'.";
    QTest::newRow("empty file name")
        << hr() + QStringList { "--data=" } << "Missing file name after '--data'.";
    // On copies: a fault here would overwrite an input.
    QTest::newRow("results over the standards file, by another path")
        << files("HR-ICP-MS", "@TMP/export.csv", "@TMP/stdqc.csv")
            + QStringList { "--output", "@TMP/../@NAME/stdqc.csv" }
        << "'--output' names an input file: @TMP/../@NAME/stdqc.csv.";
    QTest::newRow("long table over the standards file")
        << files("HR-ICP-MS", "@TMP/export.csv", "@TMP/stdqc.csv")
            + QStringList { "--long", "@TMP/../@NAME/stdqc.csv" }
        << "'--long' names an input file: @TMP/../@NAME/stdqc.csv.";
    // Neither file exists yet.
    QTest::newRow("long table and results under one new name")
        << hr() + QStringList { "--output=@TMP/new.csv", "--long=@TMP/../@NAME/new.csv" }
        << "'--long' names the '--output' file: @TMP/../@NAME/new.csv.";
    QTest::newRow("instrument in lower case") << files("hr-icp-ms", "@EX/hr_export.csv",
        "@EX/hr_stdqc.csv") << "Unknown instrument 'hr-icp-ms': use HR-ICP-MS or Q-ICP-MS.";
    QTest::newRow("unknown blank mode")
        << hr() + QStringList { "--blank-mode", "subtraction" }
        << "Unknown blank mode 'subtraction': use y-intercept, subtract or none.";
    QTest::newRow("unknown group") << hr() + QStringList { "--is-ref=BLK_1", "--is-groups=LR,XR" }
                                   << "Unknown group 'XR' in '--is-groups': use LR, MR or HR.";
    QTest::newRow("weighting written as the window shows it")
        << hr() + QStringList { QString::fromUtf8("--weighting=1/x\u00b2") }
        << QString::fromUtf8("Unknown weighting '1/x\u00b2': use none, 1/x or 1/x2.");
    const QString bounds = "Invalid bounds '%1' for '--is-recovery': use LOW,HIGH, whole "
                           "percents with 0 <= LOW < HIGH.";
    QTest::newRow("equal recovery bounds")
        << hr() + QStringList { "--is-ref=BLK_1", "--is-recovery=60,60" } << bounds.arg("60,60");
    QTest::newRow("recovery bound with decimals")
        << hr() + QStringList { "--is-ref=BLK_1", "--is-recovery", "60,125.5" }
        << bounds.arg("60,125.5");
    QTest::newRow("negative recovery bound")
        << hr() + QStringList { "--is-ref=BLK_1", "--is-recovery=-10,125" }
        << bounds.arg("-10,125");

    // Names are looked up in the data file, in the lists the panel shows.
    QTest::newRow("average blank is no reference solution")
        << hr() + QStringList { "--is-ref", "BLK_Avg_All" }
        << "Unknown solution 'BLK_Avg_All' for '--is-ref'.";
    QTest::newRow("isotope of another group")
        << hr() + QStringList { "--is-ref=BLK_1", "--is-mr", "56Fe LR" }
        << "Unknown isotope '56Fe LR' for '--is-mr'.";
    // Options that would have no effect.
    QTest::newRow("IS groups without a reference")
        << hr() + QStringList { "--is-groups=LR" } << "'--is-groups' applies only with '--is-ref'.";
    QTest::newRow("blank without a blank mode")
        << hr() + QStringList { "--blank=BLK_1", "--blank-mode=none" }
        << "'--blank' applies only with '--blank-mode y-intercept' or '--blank-mode subtract'.";
    QTest::newRow("standard is no blank")
        << hr() + QStringList { "--blank=STD_1_1" } << "Unknown blank 'STD_1_1' for '--blank'.";
}

void TestBatch::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    const QString exportCopy = dir->filePath("export.csv");
    const QString stdqcCopy = dir->filePath("stdqc.csv");
    QVERIFY(QFile::copy(EXAMPLES_DIR "/hr_export.csv", exportCopy));
    QVERIFY(QFile::copy(EXAMPLES_DIR "/hr_stdqc.csv", stdqcCopy));

    const Outcome outcome = runWith(arguments);
    QCOMPARE(outcome.exitCode, 2);
    const QStringList err = outcome.errLines();
    QCOMPARE(err.value(0), "ketrion-batch: " + expand(reason, output));
    QCOMPARE(err.value(1), USAGE);
    // Refused before any processing starts; nothing written.
    QCOMPARE(outcome.out, QString());
    QCOMPARE(BatchProcess::contents(output), EARLIER);
    QCOMPARE(
        BatchProcess::contents(stdqcCopy), BatchProcess::contents(EXAMPLES_DIR "/hr_stdqc.csv"));
}

void TestBatch::rejectedFiles_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("lastTraceLine");
    QTest::addColumn<bool>("resultsWritten");

    const QString missing = QStringLiteral(TEST_DATA_DIR "/no_such_file.csv");
    QTest::newRow("data file missing")
        << files("HR-ICP-MS", missing, "@EX/hr_stdqc.csv")
        << QStringLiteral("Cannot read file %1:\nNo such file or directory.").arg(missing)
        << QString() << false;
    QTest::newRow("high-resolution export read as quadrupole")
        << files("Q-ICP-MS", "@EX/hr_export.csv", "@EX/hr_stdqc.csv")
        << "Input file format error: no solution detected (instrument set to 'Q-ICP-MS')"
        << QString() << false;
    // The standards file is read after the configuration trace, as in the window.
    QTest::newRow("standards file missing")
        << files("HR-ICP-MS", "@EX/hr_export.csv", missing)
        << QStringLiteral("Cannot read STD QC Concentration file %1:\nNo such file or directory.")
               .arg(missing)
        << "# open QC-STD file" << false;
    // Its IS factor would wipe out the group; refused before the standards are read.
    QTest::newRow("reference solution without its IS value")
        << files("HR-ICP-MS", "@DATA/not_measured_hr.csv", "@DATA/not_measured_stdqc.csv")
            + QStringList { "--is-ref=Sample_B", "--is-lr=115In LR", "--is-groups=MR,LR" }
        << "The IS reference solution Sample_B has no value for 115In LR: choose another "
           "reference solution or isotope."
        << "# open QC-STD file" << false;
    QTest::newRow("standards file without a QC column")
        << lithium("@DATA/stdqc_without_qc_column.csv") << "Solution QC_A Not found"
        << "# parse QC-STD file" << false;
    // The run went through, only the save failed.
    QTest::newRow("results folder missing")
        << hr() + QStringList { "--output=@TMP/no/results.csv" }
        << "Cannot write file @TMP/no/results.csv:\nNo such file or directory."
        << "*** end of processing ***" << false;
    // The results file written before it stays.
    QTest::newRow("long table folder missing")
        << hr() + QStringList { "--long=@TMP/no/long.csv" }
        << "Cannot write file @TMP/no/long.csv:\nNo such file or directory."
        << "*** end of processing ***" << true;
}

void TestBatch::rejectedFiles()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QFETCH(QString, lastTraceLine);
    QFETCH(bool, resultsWritten);

    const Outcome outcome = runWith(arguments);
    QCOMPARE(outcome.exitCode, 1);
    QCOMPARE(outcome.err, expand(message, output) + '\n');
    QCOMPARE(outcome.outLines().value(outcome.outLines().size() - 1), lastTraceLine);
    // Nothing else written, nothing half-written left behind.
    const QByteArray results = BatchProcess::contents(output);
    QVERIFY2(resultsWritten ? results.startsWith(";;7Li LR;;;") : results == EARLIER,
        results.left(40).constData());
    QCOMPARE(QDir(dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
        QStringList { "results.csv" });
}

// A reader that stops early takes no results with it, and a named pipe named
// as output is written into, not replaced by a regular file.
void TestBatch::writesThroughPipes()
{
    const QStringList arguments = lithium();
    QVERIFY(runWith(arguments).exitCode == 0);
    const QByteArray results = BatchProcess::contents(output);
    QVERIFY(results.startsWith(";;7Li LR;;;"));

    const QString fifo = dir->filePath("fifo");
    QCOMPARE(QProcess::execute("mkfifo", { fifo }), 0);
    QStringList command;
    for (const QString &argument : arguments)
        command << expand(argument, fifo);
    const Outcome outcome = BatchProcess::run("bash",
        QStringList { "-c",
            "timeout 20 cat \"$1\" > \"$1.copy\" & reader=$!; shift; \"$@\" | head -1; "
            "status=${PIPESTATUS[0]}; wait $reader; exit $status",
            "bash", fifo, PROGRAM }
            + command);
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.out, QStringLiteral("*** begin processing ***\n"));
    QVERIFY(!QFileInfo(fifo).isFile() && QFileInfo::exists(fifo));
    QCOMPARE(BatchProcess::contents(fifo + ".copy"), results);
}

// Each run of tests/data/runs.txt against its results file, trace, errors
// and long table, worked out apart from the program; a run without a results
// file is refused.
void TestBatch::wholeRuns_data()
{
    QTest::addColumn<QStringList>("arguments");
    for (const auto &run : BatchProcess::wholeRuns())
        QTest::newRow(qPrintable(run.first)) << run.second;
}

void TestBatch::wholeRuns()
{
    QFETCH(QStringList, arguments);
    const QString expected = TEST_DATA_DIR "/runs/" + QString::fromLatin1(QTest::currentDataTag());
    const bool refused = !QFileInfo::exists(expected + ".csv");
    const bool longTable = QFileInfo::exists(expected + ".long");
    const QString longFile = dir->filePath("long.csv");
    const Outcome outcome = runWith(arguments + QStringList { "--output", "@OUT" }
        + (longTable ? QStringList { "--long", longFile } : QStringList()));
    QCOMPARE(outcome.exitCode, refused ? 1 : 0);
    QCOMPARE(outcome.out.toUtf8(), BatchProcess::contents(expected + ".trace"));
    QCOMPARE(outcome.err.toUtf8(), BatchProcess::contents(expected + ".err"));
    QCOMPARE(BatchProcess::contents(output),
        refused ? EARLIER : BatchProcess::contents(expected + ".csv"));
    if (longTable)
        QCOMPARE(BatchProcess::contents(longFile), BatchProcess::contents(expected + ".long"));
}

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
