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
    // Whole runs whose files ketrion-batch is checked against, with every
    // option of the panel among them.
    const QStringList chosen { "not_measured", "quadrupole", "recovery_bounds_weighted",
        "examples_indium_no_blank", "examples_first_run_average_subtracted" };
    for (const auto &run : BatchProcess::wholeRuns()) {
        if (chosen.contains(run.first))
            QTest::newRow(qPrintable(run.first)) << run.second;
    }
}

void TestWindowBatch::sameResultsAndTrace()
{
    QFETCH(QStringList, options);

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
    const QStringList groups
        = option(options, "is-groups", "LR,MR,HR").remove(QLatin1Char(' ')).split(',');
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

    const QString expected = TEST_DATA_DIR "/runs/" + QString::fromLatin1(QTest::currentDataTag());
    const QStringList expectedTrace = QString::fromUtf8(BatchProcess::contents(expected + ".trace"))
                                          .split('\n', Qt::SkipEmptyParts);
    // Without QC the report opens only for recovery lines, which follow their count line.
    const int recoveryCount = expectedTrace.indexOf(QRegularExpression("# IS recovery outside .*"));
    const bool outside
        = recoveryCount != -1 && !expectedTrace.value(recoveryCount + 1).startsWith("*** ");
    QCOMPARE(reports, qc || outside ? 1 : 0);
    QCOMPARE(QString::fromUtf8(trace.data()).split('\n', Qt::SkipEmptyParts),
        withoutFailureLines(expectedTrace));
    QCOMPARE(BatchProcess::contents(windowFile), BatchProcess::contents(expected + ".csv"));
    if (QFileInfo::exists(expected + ".long"))
        QCOMPARE(BatchProcess::contents(windowLong), BatchProcess::contents(expected + ".long"));
}

QTEST_MAIN(TestWindowBatch)
#include "tst_windowbatch.moc"
