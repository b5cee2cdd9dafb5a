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

// Lithium on an exact line; one blank.
const QStringList LITHIUM { "--instrument", "HR-ICP-MS", "--data", "@DATA/hr_single_blank.csv",
    "--stdqc", "@DATA/stdqc_li.csv", "--output", "@OUT" };

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void help();
    void failures_data();
    void failures();
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

void TestBatch::failures_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("resultsWritten");
    QTest::addColumn<QString>("lastTraceLine");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QFile table(TEST_DATA_DIR "/batch_failures.txt");
    QVERIFY(table.open(QIODevice::ReadOnly | QIODevice::Text));
    while (!table.atEnd()) {
        const QString line = QString::fromUtf8(table.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        QStringList fields = line.split('|');
        for (QString &field : fields)
            field = field.trimmed();
        const QString words = QString(fields.value(3))
                                  .replace("@HR",
                                      "--instrument HR-ICP-MS --data @EX/hr_export.csv "
                                      "--stdqc @EX/hr_stdqc.csv --output @OUT")
                                  .replace("@LI",
                                      "--instrument HR-ICP-MS --data "
                                      "@DATA/hr_single_blank.csv --output @OUT");
        QTest::newRow(qPrintable(fields.value(4).left(60)))
            << fields.value(0).toInt() << (fields.value(1) == "written") << fields.value(2)
            << QProcess::splitCommand(words) << QString(fields.value(4)).replace("\\n", "\n");
    }
}

void TestBatch::failures()
{
    QFETCH(int, status);
    QFETCH(bool, resultsWritten);
    QFETCH(QString, lastTraceLine);
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    // Copies: a fault here would overwrite an input.
    QVERIFY(QFile::copy(EXAMPLES_DIR "/hr_export.csv", dir->filePath("export.csv")));
    QVERIFY(QFile::copy(EXAMPLES_DIR "/hr_stdqc.csv", dir->filePath("stdqc.csv")));

    const Outcome outcome = runWith(arguments);
    QCOMPARE(outcome.exitCode, status);
    if (status == 2)
        QCOMPARE(outcome.errLines().mid(0, 2),
            QStringList({ "ketrion-batch: " + expand(message, output), USAGE }));
    else
        QCOMPARE(outcome.err, expand(message, output) + '\n');
    QCOMPARE(outcome.outLines().value(outcome.outLines().size() - 1), lastTraceLine);
    // Nothing else written, nothing half-written left behind.
    const QByteArray results = BatchProcess::contents(output);
    QVERIFY2(resultsWritten ? results.startsWith(";;7Li LR;;;") : results == EARLIER,
        results.left(40).constData());
    QCOMPARE(QDir(dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
        QStringList({ "export.csv", "results.csv", "stdqc.csv" }));
    QCOMPARE(BatchProcess::contents(dir->filePath("stdqc.csv")),
        BatchProcess::contents(EXAMPLES_DIR "/hr_stdqc.csv"));
}

// A reader that stops early takes no results with it, and a named pipe named
// as output is written into, not replaced by a regular file.
void TestBatch::writesThroughPipes()
{
    const QStringList arguments = LITHIUM;
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
