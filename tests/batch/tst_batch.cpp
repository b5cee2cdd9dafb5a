#include "batch/BatchProcess.h"

#include <QCryptographicHash>
#include <QImageReader>
#include <QtTest>

#include <csignal>
#include <unistd.h>

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

// Lithium on an exact line; one blank.
const QStringList LITHIUM = files("HR-ICP-MS", "@DATA/hr_single_blank.csv", "@DATA/stdqc_li.csv");

// The usual arsenic and cadmium equations on the generated quadrupole run,
// indium as its internal standard.
const QStringList EQUATIONS { "--interference",
    "[75As #1] = [75As #1] - 3.127 * ([77Se #1] - 0.815 * [82Se #1])", "--interference",
    "[111Cd #1] = [111Cd #1] - 1.073 * ([108Cd #1] - 0.712 * [106Cd #1])" };
const QStringList INTERFERED
    = files("Q-ICP-MS", "@DATA/interference_q.csv", "@DATA/interference_q_stdqc.csv")
    + QStringList { "--is-ref", "BLK_1", "--is-lr", "115In #1" };

// Red pixels in the reddest row: the dashed recovery bounds cross the IS
// plot, a calibration has only its QC dots in red.
int reddestRow(const QImage &image)
{
    int most = 0;
    for (int y = 0; y < image.height(); ++y) {
        int red = 0;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            red += qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
        }
        most = qMax(most, red);
    }
    return most;
}

// Started with its standard output a pipe that nobody reads any more, and
// SIGPIPE's default action, as under a shell whose reader has stopped.
class ClosedTraceProcess : public QProcess
{
protected:
    void setupChildProcess() override
    {
        int ends[2];
        if (::pipe(ends) == 0) {
            ::close(ends[0]);
            ::dup2(ends[1], STDOUT_FILENO);
            ::close(ends[1]);
        }
        std::signal(SIGPIPE, SIG_DFL);
    }
};

// The lines of a trace's interference block that a report's text lacks: the
// equations expanded in its method, what they did in a section of its own.
QStringList missingInterferenceLines(const QString &text, const QString &traceFile)
{
    const QStringList trace = QString::fromUtf8(BatchProcess::contents(traceFile)).split('\n');
    QStringList missing;
    for (int k = int(trace.indexOf(QRegularExpression("# interference correction: .*"))) + 1;
         k > 0 && !trace.at(k).startsWith('#'); ++k) {
        if (!text.contains(
                (trace.at(k).contains(" = ") ? " expanded: " : "\n") + trace.at(k) + '\n'))
            missing << trace.at(k);
    }
    return missing;
}

// The isotopes whose lines a trace says were rejected.
QStringList rejectedIn(const QString &trace)
{
    QStringList rejected;
    const QStringList lines = trace.split('\n');
    for (int k = int(lines.indexOf(QRegularExpression("# calibration rejected: .*"))) + 1;
         k > 0 && k < lines.size() && !lines.at(k).startsWith('#') && !lines.at(k).startsWith('*');
         ++k)
        rejected << lines.at(k).section(" : ", 0, 0);
    return rejected;
}

// Every reported value of a run worked out apart, read back from the
// report's results by check_report.py, the internal standards left out; the
// plots of the lines the trace rejected titled so; the run and batch QC's
// count and gap lines of the trace.
void checkReportedRun(const QString &text, const QString &pdf, const QString &expected,
    const QStringList &left, const QString &trace)
{
    for (const QString &line : QString::fromUtf8(BatchProcess::contents(expected + ".trace"))
                                   .split('\n')
                                   .filter(QRegularExpression("^# (run|sample) QC: "))) {
        const QString shown = line.mid(2, 1).toUpper() + line.mid(3);
        QVERIFY2(text.contains('\n' + shown + '\n'), qPrintable(line));
    }
    QStringList arguments { TEST_HELPERS_DIR "/batch/check_report.py", pdf, expected + ".long" };
    for (const QString &isotope : left)
        arguments << "--left" << isotope;
    for (const QString &isotope : rejectedIn(trace))
        arguments << "--rejected" << isotope;
    const Outcome checked = BatchProcess::run(PYTHON_PROGRAM, arguments);
    QVERIFY2(checked.exitCode == 0, qPrintable(checked.out + checked.err));
}

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
    void outputsThroughLinks_data();
    void outputsThroughLinks();
    void wholeRuns_data();
    void wholeRuns();
    void plots_data();
    void plots();
    void samplesTemplate();
    void methodSavedAsRead_data();
    void methodSavedAsRead();
    void driftUndone_data();
    void driftUndone();
    void interferenceUndone_data();
    void interferenceUndone();
    void methodEquations();
    void report_data();
    void report();
    void reportLongName_data();
    void reportLongName();
    void reportIdentifierNamesEachInput();
    void reportNamesTheBytesRead();
    void workbook_data();
    void workbook();

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

// A reader that has gone before the first line takes no results with it:
// the trace goes into a pipe whose reading end is closed before the program
// starts, as a reader that stopped early leaves it, and SIGPIPE is the
// default again. A named pipe named as output is written into, not replaced
// by a regular file.
void TestBatch::writesThroughPipes()
{
    const QStringList arguments = LITHIUM;
    QVERIFY(runWith(arguments).exitCode == 0);
    const QByteArray results = BatchProcess::contents(output);
    QVERIFY(results.startsWith(";;7Li LR;;;"));
    QVERIFY(QFile::remove(output));

    ClosedTraceProcess closed;
    QStringList command;
    for (const QString &argument : arguments)
        command << expand(argument, output);
    closed.start(PROGRAM, command);
    QVERIFY(closed.waitForFinished(60000));
    QCOMPARE(closed.exitStatus(), QProcess::NormalExit);
    QCOMPARE(closed.exitCode(), 0);
    QCOMPARE(BatchProcess::contents(output), results);

    const QString fifo = dir->filePath("fifo");
    QCOMPARE(QProcess::execute("mkfifo", { fifo }), 0);
    command.clear();
    for (const QString &argument : arguments)
        command << expand(argument, fifo);
    const Outcome outcome = BatchProcess::run("bash",
        QStringList { "-c",
            "timeout 20 cat \"$1\" > \"$1.copy\" & reader=$!; shift; \"$@\"; "
            "status=$?; wait $reader; exit $status",
            "bash", fifo, PROGRAM }
            + command);
    QCOMPARE(outcome.exitCode, 0);
    QVERIFY(!QFileInfo(fifo).isFile() && QFileInfo::exists(fifo));
    QCOMPARE(BatchProcess::contents(fifo + ".copy"), results);
}

// An output named through a symbolic link is the file the link names, whether
// that exists yet or not: a report through a link to the results file would
// replace the results by a PDF.
void TestBatch::outputsThroughLinks_data()
{
    QTest::addColumn<QStringList>("links"); // name=target, in the test's folder
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const auto run = [](const QString &output, const QStringList &more) {
        return files("HR-ICP-MS", "@EX/hr_export.csv", "@EX/hr_stdqc.csv").mid(0, 7)
            + QStringList { output } + more;
    };
    QTest::newRow("report through a dangling link to the output")
        << QStringList { "report.pdf=new.csv" }
        << run("@TMP/new.csv", { "--report", "@TMP/report.pdf" })
        << "'--report' names the '--output' file: @TMP/report.pdf.";
    QTest::newRow("long table through two links to the output")
        << QStringList { "a.csv=b.csv", "b.csv=new.csv" }
        << run("@TMP/new.csv", { "--long", "@TMP/a.csv" })
        << "'--long' names the '--output' file: @TMP/a.csv.";
    QTest::newRow("output through a dangling link to an absolute path")
        << QStringList { "out.csv=@TMP/long.csv" }
        << run("@TMP/out.csv", { "--long", "@TMP/long.csv" })
        << "'--long' names the '--output' file: @TMP/long.csv.";
}

void TestBatch::outputsThroughLinks()
{
    QFETCH(QStringList, links);
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    for (const QString &link : links) {
        const QString target = expand(link.section('=', 1), output);
        QVERIFY(QFile::link(target, dir->filePath(link.section('=', 0, 0))));
    }
    const Outcome outcome = runWith(arguments);
    QCOMPARE(outcome.exitCode, 2);
    QCOMPARE(outcome.errLines().value(0), "ketrion-batch: " + expand(message, output));
    QStringList written = QDir(dir->path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    QCOMPARE(written, QStringList { "results.csv" });
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

void TestBatch::plots_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("images"); // in @TMP/plots
    QTest::addColumn<QString>("errors");

    const QStringList recovery = files("HR-ICP-MS", "@DATA/recovery_hr.csv", "@DATA/stdqc_li.csv")
        + QStringList { "--is-ref", "BLK_1", "--is-mr", "115In MR" };
    const QStringList names { "calibration-7Li_LR.", "internal-standard-LR.",
        "internal-standard-MR." };
    QTest::newRow("png, folder made")
        << recovery + QStringList { "--is-lr", "115In LR", "--plots", "@TMP/plots" }
        << QStringList(names).replaceInStrings(".", ".png") << "";
    QTest::newRow("svg") << recovery
            + QStringList { "--is-lr=115In LR", "--plots=@TMP/plots", "--plot-format", "svg" }
                         << QStringList(names).replaceInStrings(".", ".svg") << "";
    QTest::newRow("pdf, MR corrected alone")
        << recovery + QStringList { "--plots", "@TMP/plots", "--plot-format=pdf", "--is-groups=MR" }
        << QStringList { "calibration-7Li_LR.pdf", "internal-standard-MR.pdf" } << "";
    // "7Li #1 " and "56Fe #2 "; In has no standards
    QTest::newRow("quadrupole names")
        << files("Q-ICP-MS", "@DATA/quadrupole_run.csv", "@DATA/quadrupole_run_stdqc.csv")
            + QStringList { "--is-ref=BLK_1", "--is-lr=115In #1", "--plots", "@TMP/plots" }
        << QStringList { "calibration-56Fe_2.png", "calibration-59Co_1.png",
               "calibration-7Li_1.png", "internal-standard-LR.png" }
        << "";
    // The second line of 56Fe MR must not overwrite the first one's image.
    QTest::newRow("repeated isotope")
        << files("HR-ICP-MS", "@DATA/repeated_isotope_hr.csv", "@DATA/not_measured_stdqc.csv")
            + QStringList { "--blank-mode=none", "--plots", "@TMP/plots", "--plot-format=svg" }
        << QStringList { "calibration-56Fe_MR-2.svg", "calibration-56Fe_MR.svg",
               "calibration-7Li_LR.svg" }
        << "56Fe MR is on lines 5 and 7 of the data file: the one on line 7 is named 56Fe MR "
           "(2).\n";
    // 75As HR has a single usable check: not corrected, no drift plot.
    QTest::newRow("drift factors")
        << files("HR-ICP-MS", "@DATA/drift_checks_hr.csv", "@DATA/drift_checks_stdqc.csv")
            + QStringList { "--drift=VS", "--plots", "@TMP/plots" }
        << QStringList { "calibration-59Co_MR.png", "calibration-75As_HR.png",
               "calibration-78Se_HR.png", "calibration-7Li_LR.png", "drift-115In_LR.png",
               "drift-59Co_MR.png", "drift-78Se_HR.png", "drift-7Li_LR.png" }
        << "";
}

// Drawn without a display or a session, and saying nothing about it.
void TestBatch::plots()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, images);
    QFETCH(QString, errors);

    QStringList command { "-u", "QT_QPA_PLATFORM", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u",
        "XDG_RUNTIME_DIR", PROGRAM };
    for (const QString &argument : arguments)
        command.append(expand(argument, output));
    const Outcome outcome = BatchProcess::run("env", command);
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.err, errors);

    const QDir plots(dir->filePath("plots"));
    QCOMPARE(plots.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), images);
    for (const QString &name : images) {
        const QByteArray bytes = BatchProcess::contents(plots.filePath(name));
        QVERIFY2(bytes.size() > 10000, qPrintable(name));
        if (name.endsWith(".svg")) {
            QVERIFY(bytes.startsWith("<?xml") && bytes.contains("viewBox=\"0 0 1200 800\""));
        } else if (name.endsWith(".pdf")) {
            QVERIFY(bytes.startsWith("%PDF-"));
        } else {
            QImageReader reader(plots.filePath(name));
            QCOMPARE(reader.format(), QByteArray("png"));
            const QImage image = reader.read();
            QCOMPARE(image.size(), QSize(1200, 800));
            const int red = reddestRow(image);
            QVERIFY2(name.startsWith("internal") ? red > 300 : red > 0 && red < 50,
                qPrintable(QStringLiteral("%1: %2").arg(name).arg(red)));
        }
    }
}

// The template lists the export's samples and QC solutions; filled in as it
// is, it changes no value.
void TestBatch::samplesTemplate()
{
    const QString sheet = dir->filePath("sheet.csv");
    const Outcome written = runWith({ "--instrument", "HR-ICP-MS", "--data", "@EX/hr_export.csv",
        "--samples-template", sheet });
    QCOMPARE(written.exitCode, 0);
    QCOMPARE(BatchProcess::contents(sheet),
        BatchProcess::contents(TEST_DATA_DIR "/examples_template.csv"));
    const QString longFile = dir->filePath("long.csv");
    const Outcome run = runWith(files("HR-ICP-MS", "@EX/hr_export.csv", "@EX/hr_stdqc.csv")
        + QStringList { "--samples", sheet, "--long", longFile });
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(BatchProcess::contents(longFile),
        BatchProcess::contents(TEST_DATA_DIR "/runs/examples_defaults.long"));
}

void TestBatch::methodSavedAsRead_data()
{
    QTest::addColumn<QString>("method");
    // Written before the run QC's limits existed: at their defaults they stay out.
    QTest::newRow("default limits") << "method_examples_indium.ketrion-method";
    QTest::newRow("limits of their own") << "method_batch_qc.ketrion-method";
}

// A method read and saved again is the same file, byte for byte.
void TestBatch::methodSavedAsRead()
{
    QFETCH(QString, method);
    const QString file = TEST_DATA_DIR "/" + method;
    const QString saved = dir->filePath("saved.ketrion-method");
    QCOMPARE(runWith({ "--method", file, "--save-method", saved }).exitCode, 0);
    QCOMPARE(BatchProcess::contents(saved), BatchProcess::contents(file));
}

void TestBatch::driftUndone_data()
{
    QTest::addColumn<QString>("drift");
    // The late QC's concentration against the early one's, in percent, every isotope.
    QTest::addColumn<double>("lowest");
    QTest::addColumn<double>("highest");
    QTest::newRow("corrected") << "--drift=VS" << -2.0 << 2.0;
    // 20 % lost over the run, a little less against standards measured early on.
    QTest::newRow("as measured") << "--no-qc" << -25.0 << -15.0;
}

// A run losing 20 % of its sensitivity reads a QC alike early and late once
// its drift is corrected, and not without.
void TestBatch::driftUndone()
{
    QFETCH(QString, drift);
    QFETCH(double, lowest);
    QFETCH(double, highest);
    const QString longFile = dir->filePath("long.csv");
    const Outcome outcome = runWith(
        files("HR-ICP-MS", "@DATA/drift_generated_hr.csv", "@DATA/drift_generated_stdqc.csv")
        + QStringList { drift, "--long", longFile });
    QCOMPARE(outcome.exitCode, 0);
    QHash<QString, double> early; // per isotope
    QStringList compared;
    for (const QByteArray &line : BatchProcess::contents(longFile).split('\n')) {
        const QStringList cells = QString::fromUtf8(line).split(',');
        if (cells.size() < 4 || cells.at(3).isEmpty() || !cells.at(0).startsWith("QC_A_"))
            continue;
        if (cells.at(0) == "QC_A_1") {
            early.insert(cells.at(2), cells.at(3).toDouble());
            continue;
        }
        const double change = 100.0 * (cells.at(3).toDouble() / early.value(cells.at(2)) - 1.0);
        QVERIFY2(change >= lowest && change <= highest,
            qPrintable(QStringLiteral("%1: %2 %").arg(cells.at(2)).arg(change)));
        compared << cells.at(2);
    }
    QCOMPARE(compared, QStringList({ "7Li LR", "59Co MR", "75As HR" }));
}

void TestBatch::interferenceUndone_data()
{
    QTest::addColumn<QStringList>("equations");
    // The largest |found / true - 1| over the samples' As and Cd, in percent.
    QTest::addColumn<double>("lowest");
    QTest::addColumn<double>("highest");
    QTest::newRow("corrected") << EQUATIONS << 0.0 << 3.0;
    QTest::newRow("as measured") << QStringList() << 30.0 << 1000.0;
}

// The generator's chloride and molybdenum oxide taken off give each sample's
// true arsenic and cadmium back within the noise.
void TestBatch::interferenceUndone()
{
    QFETCH(QStringList, equations);
    QFETCH(double, lowest);
    QFETCH(double, highest);
    const QString longFile = dir->filePath("long.csv");
    QCOMPARE(runWith(INTERFERED + equations + QStringList { "--long", longFile }).exitCode, 0);
    QHash<QString, double> truth; // "solution isotope"
    const QList<QByteArray> rows
        = BatchProcess::contents(TEST_DATA_DIR "/interference_true.csv").split('\n');
    const QStringList isotopes = QString::fromUtf8(rows.first()).split(';');
    for (const QByteArray &row : rows.mid(1)) {
        const QStringList cells = QString::fromUtf8(row).split(';');
        for (int k = 1; k < cells.size(); ++k)
            truth.insert(cells.at(0) + ' ' + isotopes.value(k), cells.at(k).toDouble());
    }
    double largest = 0.0;
    int compared = 0;
    for (const QByteArray &line : BatchProcess::contents(longFile).split('\n')) {
        const QStringList cells = QString::fromUtf8(line).split(',');
        const QString key = cells.value(0) + ' ' + cells.value(2);
        if (!truth.contains(key) || cells.value(3).isEmpty())
            continue;
        largest = qMax(largest, 100.0 * qAbs(cells.at(3).toDouble() / truth.value(key) - 1.0));
        ++compared;
    }
    // 82Se not measured in two samples, 111Cd in one.
    QCOMPARE(compared, equations.isEmpty() ? 23 : 21);
    QVERIFY2(largest >= lowest && largest <= highest, qPrintable(QString::number(largest)));
}

// A method keeps the equations as written, and the command line's replace them.
void TestBatch::methodEquations()
{
    const QString method = dir->filePath("m.ketrion-method");
    QCOMPARE(runWith(QStringList { "--instrument", "Q-ICP-MS" } + EQUATIONS
                 + QStringList { "--save-method", method })
                 .exitCode,
        0);
    QVERIFY(BatchProcess::contents(method).contains(
        "\"interference\": [\n        \"[75As #1] = [75As #1] - 3.127 * ([77Se #1] - 0.815 * "
        "[82Se #1])\",\n        \"[111Cd #1] = [111Cd #1] - 1.073 * ([108Cd #1] - 0.712 * "
        "[106Cd #1])\"\n    ],\n"));
    const Outcome run = runWith(INTERFERED + QStringList { "--method", method });
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.toUtf8(), BatchProcess::contents(TEST_DATA_DIR "/runs/interference.trace"));
    QCOMPARE(BatchProcess::contents(output),
        BatchProcess::contents(TEST_DATA_DIR "/runs/interference.csv"));
    const Outcome replaced = runWith(
        INTERFERED + QStringList { "--method", method, "--interference", EQUATIONS.at(3) });
    QVERIFY(replaced.out.contains("# interference correction: 1 equation\n111Cd #1 = "));
}

void TestBatch::report_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("sections"); // beside those of every report
    QTest::addColumn<QStringList>("left"); // the internal standards
    QTest::addColumn<QStringList>("said"); // lines of its own
    const QStringList checks { "IS recovery", "Rejected calibrations" };
    struct Extra
    {
        QStringList options;
        QStringList sections;
        QStringList left;
        QStringList said;
    };
    const QHash<QString, Extra> extra {
        { "digest_mass_volume",
            { { "--acceptance=0.99,10" }, checks, { "115In LR" },
                { "Sample_A — sample; dilution 10, mass 0.2503 g, volume 50 mL, F 1.9976; mg/kg",
                    "Sample_B — sample; dilution 1, mass 0.5 g, volume 25 mL, F 0.05; mg/kg",
                    "QC_1 — QC; dilution 2, F 2; µg/L" } } },
        { "examples_drift_indium_accepted",
            { {}, checks + QStringList("Drift correction"), { "115In LR" }, {} } },
        { "interference",
            { { "--acceptance=0.99,10" }, checks + QStringList("Interference correction"),
                { "115In #1" }, {} } },
        { "run_qc", { {}, { "Run QC", "To rerun" }, {}, {} } },
        { "batch_qc", { {}, { "Batch QC" }, {}, {} } },
        { "batch_qc_with_run_qc", { {}, { "Run QC", "To rerun", "Batch QC" }, {}, {} } }
    };
    for (const auto &run : BatchProcess::wholeRuns()) {
        if (!extra.contains(run.first))
            continue;
        const Extra &more = extra[run.first];
        QTest::newRow(qPrintable(run.first))
            << run.second + more.options << more.sections << more.left << more.said;
    }
}

// The report's text as pdftotext extracts it: every section, every page
// numbered against the document's page count, the same identifier for the
// same inputs and method and another for another method, the inputs'
// SHA-256, one unit word throughout, the line's units, and the reported
// values of the long table worked out apart.
void TestBatch::report()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, sections);
    QFETCH(QStringList, left);
    QFETCH(QStringList, said);
    QString trace;
    const auto reportText = [&](const QStringList &more, const QString &pdf) {
        const Outcome run
            = runWith(arguments + more + QStringList { "--output", "@OUT", "--report", pdf });
        trace = run.out;
        return run.exitCode == 0 ? BatchProcess::run("pdftotext", { "-layout", pdf, "-" }).out : "";
    };
    const QString other = reportText({ "--weighting=1/x" }, dir->filePath("c.pdf"));
    const QString again = reportText({}, dir->filePath("b.pdf"));
    const QString text = reportText({}, dir->filePath("a.pdf"));
    const QRegularExpression identifier("Report identifier: ([0-9a-f]{12})\n");
    const QString id = identifier.match(text).captured(1);
    QVERIFY(!id.isEmpty() && id == identifier.match(again).captured(1));
    QVERIFY(identifier.match(other).hasMatch() && identifier.match(other).captured(1) != id);

    sections += QStringList { "Inputs", "Method", "Calibration", "Quality control", "Results",
        "Calibration plots", "Warnings", "Review", "End of report" };
    // Without roles the report reads as it did before the run and batch QC.
    QCOMPARE(text.contains("Run QC"), sections.contains("Run QC"));
    QCOMPARE(text.contains("Batch QC"), sections.contains("Batch QC"));
    for (const QString &section : sections)
        QVERIFY2(
            section.isEmpty() || text.contains(QRegularExpression("(^|\n|\f)" + section + "\n")),
            qPrintable(section));
    const QString info = BatchProcess::run("pdfinfo", { dir->filePath("a.pdf") }).out;
    const int pageCount = QRegularExpression("Pages: +(\\d+)").match(info).captured(1).toInt();
    const QStringList pages = text.split('\f');
    QCOMPARE(pages.size(), pageCount + 1); // after the last form feed, nothing
    for (int page = 0; page < pageCount; ++page)
        QVERIFY(pages.at(page).contains("Ketrion run report " + id)
            && pages.at(page).contains(
                QStringLiteral("Page %1 of %2").arg(page + 1).arg(pageCount)));
    for (const char *input : { "data", "stdqc", "samples" }) {
        const QString file = BatchProcess::value(arguments, input);
        QVERIFY(file.isEmpty()
            || text.contains(
                QCryptographicHash::hash(BatchProcess::contents(file), QCryptographicHash::Sha256)
                    .toHex()));
    }
    QCOMPARE(text.count("ppb"), 1);
    QVERIFY(
        text.contains("Concentrations in µg/L (= ppb); a weighed sample's results in mg/kg.\n"));
    QVERIFY(text.contains("Slope in cps per µg/L, intercept in cps, LOD and LOQ in µg/L.\n"));
    for (const QString &line : said)
        QVERIFY2(text.contains(
                     QRegularExpression("(\\n|\\f)" + QRegularExpression::escape(line) + '\n')),
            qPrintable(line));

    const QString expected = TEST_DATA_DIR "/runs/" + QString::fromLatin1(QTest::currentDataTag());
    checkReportedRun(text, dir->filePath("a.pdf"), expected, left, trace);
    QCOMPARE(missingInterferenceLines(text, expected + ".trace"), QStringList());
}

void TestBatch::reportLongName_data()
{
    QTest::addColumn<QString>("run"); // of tests/data/runs
    QTest::addColumn<QString>("name"); // renamed
    QTest::addColumn<QString>("longName"); // 200 characters
    QTest::addColumn<QStringList>("left");
    QString words = "Sample_A digested in aqua regia and made up to volume";
    while (words.size() < 190)
        words += " then diluted";
    QTest::newRow("wrapped at its blanks")
        << "hand_checked"
        << "Sample_A" << (words.left(190) + " replicate") << QStringList("115In LR");
    QTest::newRow("one word, wrapped where it must")
        << "hand_checked"
        << "Sample_A" << ("Sample_A_" + QString(183, 'x') + "_rep_two") << QStringList("115In LR");
    QTest::newRow("shortened in a matrix")
        << "examples_defaults"
        << "River_01" << ("River_01_" + QString(183, 'y') + "_rep_two") << QStringList();
}

// A name too long for a line keeps its values: wrapped in full above them, or
// shortened with an ellipsis in a matrix's row.
void TestBatch::reportLongName()
{
    QFETCH(QString, run);
    QFETCH(QString, name);
    QFETCH(QString, longName);
    QFETCH(QStringList, left);
    QCOMPARE(longName.size(), 200);
    QStringList arguments;
    for (const auto &whole : BatchProcess::wholeRuns()) {
        if (whole.first == run)
            arguments = whole.second;
    }
    // Where the name stands between before and after.
    const auto renamed
        = [&](const QString &from, const QString &to, const QString &before, const QString &after) {
              QByteArray bytes = BatchProcess::contents(from);
              bytes.replace((before + name + after).toUtf8(), (before + longName + after).toUtf8());
              QFile file(to);
              return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
          };
    const QString data = BatchProcess::value(arguments, "data");
    QVERIFY(renamed(data, dir->filePath("data.csv"), ";", ";"));
    arguments.replaceInStrings(
        QRegularExpression("^--data=.*"), "--data=" + dir->filePath("data.csv"));
    QVERIFY(renamed(TEST_DATA_DIR "/runs/" + run + ".long", dir->filePath("run.long"), "\n", ","));
    const QString pdf = dir->filePath("report.pdf");
    QCOMPARE(runWith(arguments + QStringList { "--output", "@OUT", "--report", pdf }).exitCode, 0);
    QStringList checking { TEST_HELPERS_DIR "/batch/check_report.py", pdf,
        dir->filePath("run.long") };
    for (const QString &isotope : left)
        checking << "--left" << isotope;
    const Outcome checked = BatchProcess::run(PYTHON_PROGRAM, checking);
    QVERIFY2(checked.exitCode == 0 && checked.out.contains(" checked in a "),
        qPrintable(checked.out + checked.err));
}

// The identifier names the bytes of each input apart: a standards file
// without its last line end and a sample sheet with one more leading blank
// line read alike and follow each other into the same stream of bytes, yet
// they are other files.
void TestBatch::reportIdentifierNamesEachInput()
{
    const QByteArray standards = BatchProcess::contents(TEST_DATA_DIR "/hand_checked_stdqc.csv");
    const QByteArray sheet = BatchProcess::contents(TEST_DATA_DIR "/digest_mass_volume_sheet.csv");
    QVERIFY(standards.endsWith('\n'));
    const auto identifier = [&](const QByteArray &standardsBytes, const QByteArray &sheetBytes) {
        for (const auto &file : { qMakePair(QStringLiteral("stdqc.csv"), standardsBytes),
                 qMakePair(QStringLiteral("sheet.csv"), sheetBytes) }) {
            QFile copy(dir->filePath(file.first));
            if (!copy.open(QIODevice::WriteOnly) || copy.write(file.second) != file.second.size())
                return QString();
        }
        const QString pdf = dir->filePath("report.pdf");
        const Outcome run = runWith({ "--instrument", "HR-ICP-MS", "--data",
            "@DATA/hand_checked_hr.csv", "--stdqc", "@TMP/stdqc.csv", "--samples", "@TMP/sheet.csv",
            "--output", "@OUT", "--report", pdf });
        const QString text = BatchProcess::run("pdftotext", { pdf, "-" }).out;
        return run.exitCode == 0
            ? QRegularExpression("Report identifier: ([0-9a-f]{12})\n").match(text).captured(1)
            : QString();
    };
    const QString first = identifier(standards, sheet);
    const QString moved = identifier(standards.chopped(1), '\n' + sheet);
    QVERIFY(!first.isEmpty() && !moved.isEmpty());
    QVERIFY2(first != moved, qPrintable(first));
    QCOMPARE(identifier(standards, sheet), first);
}

// The report names the bytes the run read: a standards file that is a pipe
// gives its contents once, and once the results are written whoever opens it
// again reads something else.
void TestBatch::reportNamesTheBytesRead()
{
    const QString pipe = dir->filePath("stdqc.fifo");
    const QString results = dir->filePath("fresh.csv");
    QCOMPARE(QProcess::execute("mkfifo", { pipe }), 0);
    QProcess writer;
    writer.start("sh",
        { "-c",
            "cat \"$1\" > \"$2\"; while [ ! -e \"$3\" ]; do sleep 0.05; done; "
            "echo changed > \"$2\"",
            "sh", TEST_DATA_DIR "/stdqc_li.csv", pipe, results });
    const QString pdf = dir->filePath("report.pdf");
    QStringList arguments = files("HR-ICP-MS", "@DATA/hr_single_blank.csv", pipe);
    arguments.last() = results;
    const Outcome run = runWith(arguments + QStringList { "--report", pdf });
    writer.kill();
    writer.waitForFinished();
    QCOMPARE(run.exitCode, 0);
    const QString text = BatchProcess::run("pdftotext", { pdf, "-" }).out;
    QVERIFY(text.contains(QCryptographicHash::hash(
        BatchProcess::contents(TEST_DATA_DIR "/stdqc_li.csv"), QCryptographicHash::Sha256)
                              .toHex()));
}

void TestBatch::workbook_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected"); // the whole run worked out apart; empty: none
    // Dilutions, solids in mg/kg beside waters in µg/L, rejected lines,
    // names a long table quotes.
    const QStringList chosen { "water_dilutions", "digest_mass_volume", "examples_accepted",
        "names", "batch_qc_with_run_qc" };
    for (const auto &run : BatchProcess::wholeRuns()) {
        if (chosen.contains(run.first))
            QTest::newRow(qPrintable(run.first))
                << run.second << TEST_DATA_DIR "/runs/" + run.first;
    }
    // A sample named by its number: a name in the sheets, not a number.
    QTest::newRow("numbered sample") << QStringList { "--instrument=HR-ICP-MS",
        "--data=@TMP/numbered_hr.csv", "--stdqc=@DATA/stdqc_li.csv" }
                                     << QString();
}

// The workbook read back by openpyxl against the long table: the sheets, every
// field of the Long sheet, the Results matrix with its fills, comments and
// grey qualifiers, the limits, the QC values, the inputs' SHA-256 and the
// frozen panes. The other outputs stay as they are without it.
void TestBatch::workbook()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    QByteArray numbered = BatchProcess::contents(TEST_DATA_DIR "/hr_single_blank.csv");
    QFile renamed(dir->filePath("numbered_hr.csv"));
    QVERIFY(renamed.open(QIODevice::WriteOnly)
        && renamed.write(numbered.replace(";River;", ";007;")) == numbered.size());
    renamed.close();

    const QString longFile = dir->filePath("long.csv");
    const QString book = dir->filePath("run.xlsx");
    const Outcome outcome = runWith(
        arguments + QStringList { "--output", "@OUT", "--long", longFile, "--xlsx", book });
    QCOMPARE(outcome.exitCode, 0);
    if (!expected.isEmpty()) {
        QCOMPARE(outcome.out.toUtf8(), BatchProcess::contents(expected + ".trace"));
        QCOMPARE(BatchProcess::contents(output), BatchProcess::contents(expected + ".csv"));
        QCOMPARE(BatchProcess::contents(longFile), BatchProcess::contents(expected + ".long"));
    }
    QStringList inputs;
    for (const char *input : { "data", "stdqc", "samples" }) {
        const QString file = expand(BatchProcess::value(arguments, input), output);
        if (!file.isEmpty())
            inputs << file;
    }
    const Outcome checked = BatchProcess::run(PYTHON_PROGRAM,
        QStringList { TEST_HELPERS_DIR "/batch/check_workbook.py", "--qualified",
            expected.isEmpty() ? "0" : "2", "--trace",
            expected.isEmpty() ? QString() : expected + ".trace", book,
            expected.isEmpty() ? longFile : expected + ".long" }
            + inputs);
    QVERIFY2(checked.exitCode == 0, qPrintable(checked.out + checked.err));
}

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
