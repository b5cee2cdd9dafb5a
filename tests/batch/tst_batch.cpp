#include "batch/BatchProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
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

QStringList quadrupole()
{
    return files("Q-ICP-MS", "@EX/q_export.csv", "@EX/q_stdqc.csv");
}

// Lithium on an exact line; one blank.
QStringList lithium(const QString &stdqc = "@DATA/stdqc_li.csv")
{
    return files("HR-ICP-MS", "@DATA/hr_single_blank.csv", stdqc);
}

// What the run was handed: the blank, the reference solution and the HR, MR
// and LR isotopes, as positions in the working set.
QString positions(int blank, int reference, int hrIso, int mrIso, int lrIso)
{
    return QStringLiteral("blank_id = %1, is_ref_id = %2, is_elements[0] = %3, "
                          "is_elements[1] = %4, is_elements[2] = %5")
        .arg(blank)
        .arg(reference)
        .arg(hrIso)
        .arg(mrIso)
        .arg(lrIso);
}

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
    void namesGivePositions_data();
    void namesGivePositions();
    void writesThroughPipes();
    void wholeRuns_data();
    void wholeRuns();
    void plots_data();
    void plots();

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
    // The other instrument's standards: not one isotope has a line.
    QTest::newRow("standards file of the other instrument")
        << files("Q-ICP-MS", "@EX/q_export.csv", "@EX/hr_stdqc.csv")
        << "No isotope of the data file has standards in hr_stdqc.csv: check the standards file "
           "and the instrument."
        << "# process calibration" << false;
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

void TestBatch::namesGivePositions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("names"); // as the configuration trace names them
    QTest::addColumn<QString>("positions");
    QTest::addColumn<QString>("warning");

    // hr_export.csv: VS_1 is solution 11, BLK_4 solution 8, the two averages
    // follow the 53 solutions; 115In LR, MR, HR are isotopes 4, 15, 18, the
    // first of each group 0 (7Li LR), 7 (27Al MR), 16 (75As HR).
    QTest::newRow("window defaults")
        << hr() << QStringList { "BLK_1" } << positions(-1, -1, -1, -1, -1) << QString();
    QTest::newRow("indium in every group, groups in any order, no blank")
        << hr()
            + QStringList { "--is-ref=VS_1", "--is-lr=115In LR", "--is-mr", "115In MR",
                  "--is-hr=115In HR", "--is-groups=HR, LR,MR", "--blank-mode=none" }
        << QStringList { "VS_1", "1 ; 1 ; 1", "115In LR", "115In MR", "115In HR" }
        << positions(-1, 11, 18, 15, 4) << QString();
    QTest::newRow("first isotopes by default, one group, a blank subtracted")
        << hr()
            + QStringList { "--is-ref", "VS_1", "--is-groups", "MR", "--blank-mode", "subtract",
                  "--blank", "BLK_4" }
        << QStringList { "VS_1", "0 ; 1 ; 0", "7Li LR", "27Al MR", "75As HR", "BLK_4" }
        << positions(8, 11, 16, 7, 0) << QString();
    QTest::newRow("no group checked, options before the files")
        << QStringList { "--is-groups=", "--is-ref", "BLK_1" } + hr()
        << QStringList { "BLK_1", "0 ; 0 ; 0", "7Li LR", "27Al MR", "75As HR", "BLK_1" }
        << positions(-1, 0, 16, 7, 0) << QString();
    // The averages are built before the subtraction: 53 + 1 is the second.
    QTest::newRow("average of the first blanks subtracted")
        << hr() + QStringList { "--blank-mode=subtract", "--blank=BLK_Avg_First_Seq" }
        << QStringList { "BLK_Avg_First_Seq" } << positions(54, -1, -1, -1, -1) << QString();
    // The boxes show a trailing blank, typed or not; no MR and HR isotopes.
    QTest::newRow("quadrupole indium")
        << quadrupole() + QStringList { "--is-ref=VS_2", "--is-lr=115In #1 " }
        << QStringList { "VS_2", "1 ; 1 ; 1", "115In #1 ", "", "", "BLK_1" }
        << positions(-1, 21, -1, -1, 15) << QString();
    // Goes on without subtracting, and says so.
    QTest::newRow("file without blanks")
        << files("HR-ICP-MS", "@DATA/hr_no_blank.csv", "@DATA/stdqc_li.csv")
            + QStringList { "--blank-mode=subtract" }
        << QStringList { "" } << positions(-1, -1, -1, -1, -1)
        << "No blank available for the subtraction: nothing subtracted\n";
}

void TestBatch::namesGivePositions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, names);
    QFETCH(QString, positions);
    QFETCH(QString, warning);

    const Outcome outcome = runWith(arguments);
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.err, warning);
    const QStringList lines = outcome.outLines();
    const QRegularExpression chosen("(?:status are: (.*)|(?:with |- )(.*) as the )");
    QStringList configured;
    for (int k = 0; k < lines.indexOf("# open QC-STD file"); ++k) {
        const QRegularExpressionMatch match = chosen.match(lines.at(k));
        if (match.hasMatch())
            configured.append(match.captured(1) + match.captured(2));
    }
    QCOMPARE(configured, names);
    QCOMPARE(lines.filter("blank_id = "), QStringList { positions });
    QVERIFY(BatchProcess::contents(output).startsWith(";;"));
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

// Each run of tests/data/runs.txt against its results file and trace, worked
// out apart from the program; a run without a results file is refused.
void TestBatch::wholeRuns_data()
{
    QTest::addColumn<QStringList>("arguments");
    QFile runs(TEST_DATA_DIR "/runs.txt");
    QVERIFY(runs.open(QIODevice::ReadOnly | QIODevice::Text));
    while (!runs.atEnd()) {
        const QString line = QString::fromUtf8(runs.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        QStringList arguments = QProcess::splitCommand(line);
        const QString name = arguments.takeFirst();
        for (int k = 1; k < arguments.size(); ++k) {
            if (arguments.at(k - 1) == "--data" || arguments.at(k - 1) == "--stdqc")
                arguments[k].prepend("@DATA/");
        }
        QTest::newRow(qPrintable(name)) << arguments;
    }
}

void TestBatch::wholeRuns()
{
    QFETCH(QStringList, arguments);
    const QString expected = TEST_DATA_DIR "/runs/" + QString::fromLatin1(QTest::currentDataTag());
    const Outcome outcome = runWith(arguments + QStringList { "--output", "@OUT" });
    const bool refused = !QFileInfo::exists(expected + ".csv");
    QCOMPARE(outcome.exitCode, refused ? 1 : 0);
    QCOMPARE(outcome.out.toUtf8(), BatchProcess::contents(expected + ".trace"));
    QCOMPARE(BatchProcess::contents(output),
        refused ? EARLIER : BatchProcess::contents(expected + ".csv"));
}

void TestBatch::plots_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // a usage error's first line
    QTest::addColumn<QStringList>("images"); // in @TMP/plots

    const QStringList recovery = files("HR-ICP-MS", "@DATA/recovery_hr.csv", "@DATA/stdqc_li.csv")
        + QStringList { "--is-ref", "BLK_1", "--is-lr", "115In LR", "--is-mr", "115In MR" };
    const QStringList names { "calibration-7Li_LR.", "internal-standard-LR.",
        "internal-standard-MR." };
    QTest::newRow("png, folder made")
        << recovery + QStringList { "--plots", "@TMP/plots" } << 0 << QString()
        << QStringList(names).replaceInStrings(".", ".png");
    QTest::newRow("svg") << recovery + QStringList { "--plots=@TMP/plots", "--plot-format", "svg" }
                         << 0 << QString() << QStringList(names).replaceInStrings(".", ".svg");
    QTest::newRow("pdf, MR corrected alone")
        << recovery + QStringList { "--plots", "@TMP/plots", "--plot-format=pdf", "--is-groups=MR" }
        << 0 << QString() << QStringList { "calibration-7Li_LR.pdf", "internal-standard-MR.pdf" };
    // "7Li #1 " and "56Fe #2 "; In has no standards
    QTest::newRow("quadrupole names")
        << files("Q-ICP-MS", "@DATA/quadrupole_run.csv", "@DATA/quadrupole_run_stdqc.csv")
            + QStringList { "--is-ref=BLK_1", "--is-lr=115In #1", "--plots", "@TMP/plots" }
        << 0 << QString()
        << QStringList { "calibration-56Fe_2.png", "calibration-59Co_1.png",
               "calibration-7Li_1.png", "internal-standard-LR.png" };
    QTest::newRow("folder under the results file")
        << recovery + QStringList { "--plots", "@OUT/plots" } << 1
        << "Cannot create folder @OUT/plots:\n@OUT is not a folder." << QStringList();
    QTest::newRow("folder named as the results file")
        << recovery + QStringList { "--plots", "@TMP/../@NAME/results.csv" } << 2
        << "ketrion-batch: '--plots' names the '--output' file: @TMP/../@NAME/results.csv."
        << QStringList();
}

// Drawn without a display: QT_QPA_PLATFORM and the displays are taken away.
void TestBatch::plots()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(QStringList, images);

    QStringList command { "-u", "QT_QPA_PLATFORM", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY",
        "XDG_RUNTIME_DIR=" + dir->path(), PROGRAM };
    for (const QString &argument : arguments)
        command.append(expand(argument, output));
    const Outcome outcome = BatchProcess::run("env", command);
    QCOMPARE(outcome.exitCode, exitCode);
    QCOMPARE(outcome.errLines().value(0), expand(message, output).section('\n', 0, 0));
    QCOMPARE(outcome.errLines().value(1),
        exitCode == 2 ? USAGE : expand(message, output).section('\n', 1, 1));
    // The results file comes first and stays.
    QCOMPARE(BatchProcess::contents(output) == EARLIER, exitCode == 2);

    const QDir plots(dir->filePath("plots"));
    QCOMPARE(plots.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), images);
    for (const QString &name : images) {
        const QByteArray bytes = BatchProcess::contents(plots.filePath(name));
        QVERIFY2(bytes.size() > 10000, qPrintable(name));
        if (name.endsWith(".svg")) {
            QVERIFY(bytes.startsWith("<?xml") && bytes.contains("viewBox=\"0 0 1200 800\""));
        } else if (name.endsWith(".pdf")) {
            // 1200 x 800 pixels at the plot's resolution: a page of their proportions
            const QRegularExpressionMatch page
                = QRegularExpression("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]")
                      .match(QString::fromLatin1(bytes.constData(), bytes.size()));
            QVERIFY(bytes.startsWith("%PDF-") && page.hasMatch());
            QCOMPARE(page.captured(1).toDouble() * 2.0, page.captured(2).toDouble() * 3.0);
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

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
