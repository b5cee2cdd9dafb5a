// The window and the batch tool over the same files with the same options:
// the same results file, byte for byte, and the same trace.
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
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString PROGRAM = QStringLiteral(KETRION_BATCH_PROGRAM);

// One option set, in the batch tool's terms; empty texts keep a default.
struct Choice
{
    QString instrument;
    QString data;
    QString stdqc;
    QString isRef; // empty: no internal-standard correction
    QString isLR;
    QString isMR;
    QString isHR;
    QString groups = QStringLiteral("LR,MR,HR");
    QString blankMode = QStringLiteral("y-intercept");
    QString blank;
    bool qc = true;

    QStringList arguments(const QString &output) const
    {
        QStringList list { QStringLiteral("--instrument"), instrument, QStringLiteral("--data"),
            data, QStringLiteral("--stdqc"), stdqc, QStringLiteral("--output"), output,
            QStringLiteral("--is-groups"), groups, QStringLiteral("--blank-mode"), blankMode };
        const QPair<const char *, QString> named[] = { { "--is-ref", isRef }, { "--is-lr", isLR },
            { "--is-mr", isMR }, { "--is-hr", isHR }, { "--blank", blank } };
        for (const auto &option : named) {
            if (!option.second.isEmpty())
                list << QLatin1String(option.first) << option.second;
        }
        if (!qc)
            list << QStringLiteral("--no-qc");
        return list;
    }
};

QByteArray contents(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The batch tool's trace without the failure lines that the window shows in
// its QC dialog instead.
QStringList withoutFailureLines(const QStringList &lines)
{
    QStringList kept;
    bool failures = false;
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("*** ")))
            failures = false;
        if (!failures)
            kept << line;
        if (line.startsWith(QLatin1String("# QC not valid: ")))
            failures = true;
    }
    return kept;
}

} // namespace

Q_DECLARE_METATYPE(Choice)

class TestWindowBatch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void sameResultsAndTrace_data();
    void sameResultsAndTrace();

private:
    // Sets the window as a user would for this choice and presses "&Process".
    void runWindow(const Choice &choice);
    template<typename T> T *widget(const char *name) const
    {
        T *found = window->findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    void choose(const char *name, const QString &text);

    QTemporaryDir settingsDir;
    QTemporaryDir work;
    QBuffer trace;
    std::unique_ptr<Application> window;
};

void TestWindowBatch::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(settingsDir.isValid());
    QVERIFY(work.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestWindowBatch::cleanup()
{
    window.reset();
    Trace::setDevice(nullptr);
}

void TestWindowBatch::choose(const char *name, const QString &text)
{
    auto *combo = widget<QComboBox>(name);
    // The batch tool compares isotope names without their trailing blanks.
    int at = -1;
    for (int k = 0; k < combo->count() && at == -1; ++k) {
        if (combo->itemText(k) == text || combo->itemText(k).trimmed() == text)
            at = k;
    }
    if (at == -1)
        qFatal("%s has no item %s", name, qPrintable(text));
    combo->setCurrentIndex(at);
}

void TestWindowBatch::runWindow(const Choice &choice)
{
    QSettings(QStringLiteral("Ostrel"), QStringLiteral("Ketrion")).clear();
    window = std::make_unique<Application>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    choose("icpmsModel", choice.instrument);
    {
        ModalAnswerer answerer({ QMessageBox::Ok });
        QVERIFY(window->loadDataFile(choice.data));
        QCOMPARE(answerer.count(), 1);
    }
    QVERIFY(window->chooseStdqcFile(choice.stdqc));

    // The boxes start on their first entries, as the batch tool's defaults.
    widget<QGroupBox>("correctionIS")->setChecked(!choice.isRef.isEmpty());
    if (!choice.isRef.isEmpty())
        choose("echantIS", choice.isRef);
    const QStringList groups = choice.groups.split(QLatin1Char(','));
    widget<QCheckBox>("correctISLR")->setChecked(groups.contains(QStringLiteral("LR")));
    widget<QCheckBox>("correctISMR")->setChecked(groups.contains(QStringLiteral("MR")));
    widget<QCheckBox>("correctISHR")->setChecked(groups.contains(QStringLiteral("HR")));
    if (!choice.isLR.isEmpty())
        choose("comboISLR", choice.isLR);
    if (!choice.isMR.isEmpty())
        choose("comboISMR", choice.isMR);
    if (!choice.isHR.isEmpty())
        choose("comboISHR", choice.isHR);
    widget<QCheckBox>("yIntercept")->setChecked(choice.blankMode == QLatin1String("y-intercept"));
    widget<QCheckBox>("subBlank")->setChecked(choice.blankMode == QLatin1String("subtract"));
    if (!choice.blank.isEmpty())
        choose("blankSelection", choice.blank);
    widget<QGroupBox>("controlQC")->setChecked(choice.qc);

    QAction *process = nullptr;
    for (QAction *candidate : window->findChildren<QAction *>()) {
        if (candidate->text() == QLatin1String("&Process"))
            process = candidate;
    }
    QVERIFY(process && process->isEnabled());
    trace.close();
    trace.setData(QByteArray());
    QVERIFY(trace.open(QIODevice::ReadWrite | QIODevice::Text));
    Trace::setDevice(&trace);
    // The QC report, when it opens, is answered with OK.
    ModalAnswerer answerer({ QMessageBox::Ok });
    process->trigger();
    Trace::setDevice(nullptr);
    QCOMPARE(answerer.count(), choice.qc ? 1 : 0);
}

void TestWindowBatch::sameResultsAndTrace_data()
{
    QTest::addColumn<Choice>("choice");

    const QString examples = QStringLiteral(TEST_HELPERS_DIR "/../examples/");
    Choice hr;
    hr.instrument = QStringLiteral("HR-ICP-MS");
    hr.data = examples + QStringLiteral("hr_export.csv");
    hr.stdqc = examples + QStringLiteral("hr_stdqc.csv");
    Choice q;
    q.instrument = QStringLiteral("Q-ICP-MS");
    q.data = examples + QStringLiteral("q_export.csv");
    q.stdqc = examples + QStringLiteral("q_stdqc.csv");

    Choice choice = hr;
    choice.isRef = QStringLiteral("BLK_1");
    choice.isLR = QStringLiteral("115In LR");
    choice.isMR = QStringLiteral("115In MR");
    choice.isHR = QStringLiteral("115In HR");
    QTest::newRow("indium in every group, zero standard") << choice;

    choice = hr;
    choice.isRef = QStringLiteral("VS_1");
    choice.isMR = QStringLiteral("59Co MR");
    choice.groups = QStringLiteral("MR");
    choice.blankMode = QStringLiteral("subtract");
    choice.blank = QStringLiteral("BLK_5");
    QTest::newRow("one group, fifth blank subtracted") << choice;

    choice = hr;
    choice.blankMode = QStringLiteral("subtract");
    choice.blank = QStringLiteral("BLK_Avg_First_Seq");
    choice.qc = false;
    QTest::newRow("first-run average subtracted, no QC") << choice;

    choice = hr;
    choice.blankMode = QStringLiteral("none");
    QTest::newRow("no correction at all") << choice;

    choice = q;
    choice.isRef = QStringLiteral("VS_1");
    choice.isLR = QStringLiteral("115In #1");
    choice.blank = QStringLiteral("BLK_Avg_All");
    QTest::newRow("quadrupole indium, zero standard from the average") << choice;

    choice = q;
    choice.isRef = QStringLiteral("BLK_2");
    choice.isLR = QStringLiteral("103Rh #1");
    choice.groups = QStringLiteral("LR");
    choice.blankMode = QStringLiteral("none");
    QTest::newRow("quadrupole rhodium, no blank correction") << choice;

    choice = hr;
    choice.data = QStringLiteral(TEST_DATA_DIR "/hr_no_blank.csv");
    choice.stdqc = QStringLiteral(TEST_DATA_DIR "/stdqc_li.csv");
    QTest::newRow("no blank for the zero standard") << choice;
}

void TestWindowBatch::sameResultsAndTrace()
{
    QFETCH(Choice, choice);

    runWindow(choice);
    if (QTest::currentTestFailed())
        return;
    const QString windowFile = work.filePath(QStringLiteral("window.csv"));
    {
        ModalAnswerer answerer({});
        QVERIFY(window->saveResults(windowFile));
        QCOMPARE(answerer.count(), 0);
    }
    const QStringList windowTrace
        = QString::fromUtf8(trace.data()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);

    const QString batchFile = work.filePath(QStringLiteral("batch.csv"));
    const BatchProcess::Outcome batch = BatchProcess::run(PROGRAM, choice.arguments(batchFile));
    QVERIFY(batch.finished);
    QCOMPARE(batch.exitCode, 0);

    const QByteArray results = contents(windowFile);
    QVERIFY(!results.isEmpty());
    QCOMPARE(contents(batchFile), results);
    QCOMPARE(withoutFailureLines(batch.outLines()), windowTrace);
}

QTEST_MAIN(TestWindowBatch)
#include "tst_windowbatch.moc"
