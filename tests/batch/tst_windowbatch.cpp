// The window and the batch tool over the same files with the same options:
// the same results file and long table, byte for byte, and the same trace.
#include "ModalAnswerer.h"
#include "batch/BatchProcess.h"

#include "app/Application.h"
#include "processing/Trace.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// The value of "--name=value" among the options, or fallback.
QString option(const QStringList &options, const QString &name, const QString &fallback = {})
{
    const QString prefix = "--" + name + '=';
    for (const QString &argument : options) {
        if (argument.startsWith(prefix))
            return argument.mid(prefix.size());
    }
    return fallback;
}

// The tool's trace without the QC and IS recovery lines the window shows in
// its report dialog.
QStringList withoutFailureLines(const QStringList &lines)
{
    QStringList kept;
    bool failures = false;
    for (const QString &line : lines) {
        if (line.startsWith("*** ") || line.startsWith("# "))
            failures = false;
        if (!failures)
            kept << line;
        if (line.startsWith("# QC not valid: ") || line.startsWith("# IS recovery outside "))
            failures = true;
    }
    return kept;
}

} // namespace

class TestWindowBatch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void sameResultsAndTrace_data();
    void sameResultsAndTrace();

private:
    template<typename T> T *widget(const QByteArray &name) const
    {
        T *found = window->findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no widget %s", name.constData());
        return found;
    }
    // The tool compares isotope names without their trailing blanks.
    void choose(const QByteArray &name, const QString &text)
    {
        auto *combo = widget<QComboBox>(name);
        const int at = qMax(combo->findText(text), combo->findText(text + ' '));
        QVERIFY2(at != -1, qPrintable(text));
        combo->setCurrentIndex(at);
    }

    QTemporaryDir settingsDir;
    QTemporaryDir work;
    std::unique_ptr<Application> window;
};

void TestWindowBatch::initTestCase()
{
    QVERIFY(settingsDir.isValid() && work.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestWindowBatch::cleanup()
{
    window.reset();
    Trace::setDevice(nullptr);
}

void TestWindowBatch::sameResultsAndTrace_data()
{
    QTest::addColumn<QStringList>("options");
    // Worked out apart from the program; empty when only the two are compared.
    QTest::addColumn<QString>("expectedResults");
    QTest::addColumn<QString>("expectedTrace");
    QTest::addColumn<QString>("expectedLong");

    const QString examples = TEST_HELPERS_DIR "/../examples/";
    const QStringList hr { "--instrument=HR-ICP-MS", "--data=" + examples + "hr_export.csv",
        "--stdqc=" + examples + "hr_stdqc.csv" };
    const QStringList quadrupole { "--instrument=Q-ICP-MS", "--data=" + examples + "q_export.csv",
        "--stdqc=" + examples + "q_stdqc.csv" };

    QTest::newRow("indium in every group, zero standard from the first blank") << hr
            + QStringList { "--is-ref=BLK_1", "--is-lr=115In LR", "--is-mr=115In MR",
                  "--is-hr=115In HR" } << QString() << QString() << QString();
    QTest::newRow("no internal standard, first-run average subtracted, no QC")
        << hr + QStringList { "--blank-mode=subtract", "--blank=BLK_Avg_First_Seq", "--no-qc" }
        << QString() << QString() << QString();
    QTest::newRow("quadrupole indium on LR only, zero standard from the average") << quadrupole
            + QStringList { "--is-ref=VS_1", "--is-lr=115In #1", "--is-groups=LR",
                  "--blank=BLK_Avg_All" } << QString() << QString() << QString();
    // Without QC validation the window reports the recovery in a dialog of its own.
    QTest::newRow("weighted 1/x2, narrow IS recovery bounds, no QC") << hr
            + QStringList { "--is-ref=BLK_1", "--is-lr=115In LR", "--is-mr=115In MR",
                  "--is-hr=115In HR", "--weighting=1/x2", "--is-recovery=90,110",
                  "--no-qc" } << QString() << QString() << QString();
    // A blank, the QC and a sample each lack a value, another sample its IS;
    // only LR is corrected, so MR takes no IS uncertainty.
    QTest::newRow("values not measured") << QStringList { "--instrument=HR-ICP-MS",
        "--data=" TEST_DATA_DIR "/not_measured_hr.csv",
        "--stdqc=" TEST_DATA_DIR "/not_measured_stdqc.csv", "--is-ref=BLK_1", "--is-lr=115In LR",
        "--is-mr=45Sc MR", "--is-groups=LR", "--blank=BLK_Avg_First_Seq", "--weighting=none",
        "--is-recovery=60,125" } << "runs/not_measured.csv"
                                         << "runs/not_measured.trace"
                                         << "not_measured_long.csv";
}

void TestWindowBatch::sameResultsAndTrace()
{
    QFETCH(QStringList, options);
    QFETCH(QString, expectedResults);
    QFETCH(QString, expectedTrace);
    QFETCH(QString, expectedLong);

    // The panel set as a user would for these options; what they leave out
    // stays as the window starts.
    QSettings(QStringLiteral("Ostrel"), QStringLiteral("Ketrion")).clear();
    window = std::make_unique<Application>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    choose("icpmsModel", option(options, "instrument"));
    {
        ModalAnswerer answerer({ QMessageBox::Ok });
        QVERIFY(window->loadDataFile(option(options, "data")));
        QCOMPARE(answerer.count(), 1);
    }
    QVERIFY(window->chooseStdqcFile(option(options, "stdqc")));
    const QString reference = option(options, "is-ref");
    widget<QGroupBox>("correctionIS")->setChecked(!reference.isEmpty());
    if (!reference.isEmpty())
        choose("echantIS", reference);
    const QStringList groups = option(options, "is-groups", "LR,MR,HR").split(',');
    for (const QByteArray group : { "LR", "MR", "HR" }) {
        widget<QCheckBox>("correctIS" + group)->setChecked(groups.contains(group));
        const QString isotope = option(options, QString::fromLatin1("is-" + group.toLower()));
        if (!isotope.isEmpty())
            choose("comboIS" + group, isotope);
    }
    const QString blankMode = option(options, "blank-mode", "y-intercept");
    widget<QCheckBox>("yIntercept")->setChecked(blankMode == "y-intercept");
    widget<QCheckBox>("subBlank")->setChecked(blankMode == "subtract");
    if (!option(options, "blank").isEmpty())
        choose("blankSelection", option(options, "blank"));
    QString weighting = option(options, "weighting", "none");
    choose("weighting",
        weighting == "none" ? "None" : weighting.replace("x2", QString::fromUtf8("x\u00b2")));
    const QStringList bounds = option(options, "is-recovery", "60,125").split(',');
    widget<QSpinBox>("recoveryHigh")->setValue(bounds.at(1).toInt());
    widget<QSpinBox>("recoveryLow")->setValue(bounds.at(0).toInt());
    const bool qc = !options.contains("--no-qc");
    widget<QGroupBox>("controlQC")->setChecked(qc);
    if (QTest::currentTestFailed())
        return;

    QAction *process = nullptr;
    for (QAction *candidate : window->findChildren<QAction *>()) {
        if (candidate->text() == "&Process")
            process = candidate;
    }
    QVERIFY(process && process->isEnabled());
    QBuffer trace;
    QVERIFY(trace.open(QIODevice::ReadWrite | QIODevice::Text));
    Trace::setDevice(&trace);
    int reports = 0;
    {
        ModalAnswerer answerer({ QMessageBox::Ok }); // the report, when it opens
        process->trigger();
        Trace::setDevice(nullptr);
        reports = answerer.count();
    }
    const QString windowFile = work.filePath("window.csv");
    const QString windowLong = work.filePath("window-long.csv");
    {
        ModalAnswerer answerer({});
        QVERIFY(window->saveResults(windowFile));
        QVERIFY(window->saveResults(windowLong, ProcessingRun::Layout::Long));
        QCOMPARE(answerer.count(), 0);
    }

    const QString batchFile = work.filePath("batch.csv");
    const QString batchLong = work.filePath("batch-long.csv");
    const BatchProcess::Outcome batch = BatchProcess::run(KETRION_BATCH_PROGRAM,
        options + QStringList { "--output=" + batchFile, "--long=" + batchLong });
    QCOMPARE(batch.exitCode, 0);
    const QByteArray longTable = BatchProcess::contents(windowLong);
    QVERIFY(!longTable.isEmpty());
    QCOMPARE(BatchProcess::contents(batchLong), longTable);
    // Without QC the report opens only for recovery lines, which follow their count line.
    const QStringList batchLines = batch.outLines();
    const int recoveryCount = batchLines.indexOf(QRegularExpression("# IS recovery outside .*"));
    const bool outside
        = recoveryCount != -1 && !batchLines.value(recoveryCount + 1).startsWith("*** ");
    QCOMPARE(reports, qc || outside ? 1 : 0);
    const QByteArray results = BatchProcess::contents(windowFile);
    QVERIFY(!results.isEmpty());
    QCOMPARE(BatchProcess::contents(batchFile), results);
    QCOMPARE(withoutFailureLines(batchLines),
        QString::fromUtf8(trace.data()).split('\n', Qt::SkipEmptyParts));
    if (!expectedResults.isEmpty()) {
        QCOMPARE(results, BatchProcess::contents(TEST_DATA_DIR "/" + expectedResults));
        QCOMPARE(batch.out.toUtf8(), BatchProcess::contents(TEST_DATA_DIR "/" + expectedTrace));
    }
    // Line by line, so that a failure names the row.
    if (!expectedLong.isEmpty())
        QCOMPARE(QString::fromUtf8(longTable).split('\n'),
            QString::fromUtf8(BatchProcess::contents(TEST_DATA_DIR "/" + expectedLong))
                .split('\n'));
}

QTEST_MAIN(TestWindowBatch)
#include "tst_windowbatch.moc"
