// The window's whole job, driven through its commands: open the files,
// process with the options set on the configuration tab, read the report,
// save the results and the plots.
#include "ModalAnswerer.h"

#include "app/Application.h"
#include "processing/ProcessingRun.h"
#include "processing/Trace.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QImageReader>
#include <QListWidget>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {

const QString DATA = QStringLiteral(TEST_DATA_DIR "/");
const QString EXAMPLES = QStringLiteral(TEST_HELPERS_DIR "/../examples/");
const QString RUN_HR = DATA + QStringLiteral("window_run_hr.csv");
const QString RUN_STDQC = DATA + QStringLiteral("window_run_stdqc.csv");
const QByteArray EARLIER = "results of an earlier run\n";

// Options as the rows write them: "is=BLK_1;lr=115In LR;boxes=010;yi=BLK_2;qc=0".
// is: IS reference solution (absent: correction off); lr, mr, hr: IS isotopes;
// boxes: the LR, MR, HR check boxes; yi or sub: the blank option and its blank
// (neither: no blank correction); qc=0 switches the validation off.
using Options = QMap<QString, QString>;

Options options(const QString &text)
{
    Options parsed;
    for (const QString &pair : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int at = pair.indexOf(QLatin1Char('='));
        parsed.insert(pair.left(at), pair.mid(at + 1));
    }
    return parsed;
}

QByteArray contents(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool writeFile(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList items(const QComboBox *combo)
{
    QStringList texts;
    for (int k = 0; k < combo->count(); ++k)
        texts << combo->itemText(k);
    return texts;
}

QStringList rows(const QListWidget *list)
{
    QStringList texts;
    for (int k = 0; k < list->count(); ++k)
        texts << list->item(k)->text();
    return texts;
}

// Lines that belong to the run's stages; the per-isotope calibration lines
// are left out.
QStringList stageLines(const QStringList &trace)
{
    QStringList stages;
    for (const QString &line : trace) {
        if (line.startsWith(QLatin1String("*** ")) || line.startsWith(QLatin1String("# "))
            || line.startsWith(QLatin1String("  ")) || line.startsWith(QLatin1String("blank_id")))
            stages << line;
    }
    return stages;
}

// What the calibration plot draws: every curve's points, by curve title.
QMap<QString, QVector<QPointF>> drawnPoints(const QwtPlot *plot)
{
    QMap<QString, QVector<QPointF>> points;
    for (const QwtPlotItem *item : plot->itemList(QwtPlotItem::Rtti_PlotCurve)) {
        const auto *curve = static_cast<const QwtPlotCurve *>(item);
        QVector<QPointF> &samples = points[curve->title().text()];
        for (size_t k = 0; k < curve->dataSize(); ++k)
            samples << curve->sample(int(k));
    }
    return points;
}

// Mean difference per colour channel, 0 to 255; images of other sizes differ fully.
double meanDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 255.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0.0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            sum += std::abs(qRed(p[col]) - qRed(q[col])) + std::abs(qGreen(p[col]) - qGreen(q[col]))
                + std::abs(qBlue(p[col]) - qBlue(q[col]));
        }
    }
    return sum / (3.0 * x.width() * x.height());
}

} // namespace

class TestApplicationRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openDataFile_data();
    void openDataFile();
    void cancelledDialogs_data();
    void cancelledDialogs();
    void chooseStandardsFile_data();
    void chooseStandardsFile();
    void rememberedIsotopesAfterRestart_data();
    void rememberedIsotopesAfterRestart();
    void fullTrace();
    void stageTrace_data();
    void stageTrace();
    void resultsFile_data();
    void resultsFile();
    void secondRunMatchesFreshRun_data();
    void secondRunMatchesFreshRun();
    void zeroStandardListedOnce();
    void noBlankForZeroStandard();
    void runStopsEarly_data();
    void runStopsEarly();
    void failedSaveKeepsEarlierFile_data();
    void failedSaveKeepsEarlierFile();
    void savePlot_data();
    void savePlot();

private:
    void newWindow();
    void load(const QString &instrument, const QString &fileName);
    void apply(const Options &chosen);
    // Presses "&Process"; the QC report, when it opens, is answered with OK.
    QList<ModalAnswerer::Seen> process();
    QString processAndSave(const QString &name);
    QStringList traceLines();
    void clearTrace();
    QAction *action(const QString &text) const;
    template<typename T> T *widget(const char *name) const
    {
        T *found = window->findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }

    QTemporaryDir settingsDir;
    QTemporaryDir work;
    QBuffer trace;
    std::unique_ptr<Application> window;
};

void TestApplicationRun::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(settingsDir.isValid());
    QVERIFY(work.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestApplicationRun::init()
{
    QSettings(QStringLiteral("Ostrel"), QStringLiteral("Ketrion")).clear();
    clearTrace();
    Trace::setDevice(&trace);
    newWindow();
}

void TestApplicationRun::cleanup()
{
    window.reset();
    Trace::setDevice(nullptr);
}

void TestApplicationRun::newWindow()
{
    window = std::make_unique<Application>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

QAction *TestApplicationRun::action(const QString &text) const
{
    for (QAction *candidate : window->findChildren<QAction *>()) {
        if (candidate->text() == text)
            return candidate;
    }
    qFatal("no action %s", qPrintable(text));
    return nullptr;
}

void TestApplicationRun::load(const QString &instrument, const QString &fileName)
{
    auto *model = widget<QComboBox>("icpmsModel");
    model->setCurrentIndex(model->findText(instrument));
    ModalAnswerer answerer({ QMessageBox::Ok });
    window->loadDataFile(fileName);
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.seen().first().title, QStringLiteral("Parsing CSV"));
}

void TestApplicationRun::apply(const Options &chosen)
{
    const auto choose = [this](const char *name, const QString &text) {
        auto *combo = widget<QComboBox>(name);
        const int at = combo->findText(text);
        if (at == -1)
            qFatal("%s has no item %s", name, qPrintable(text));
        combo->setCurrentIndex(at);
    };
    widget<QGroupBox>("correctionIS")->setChecked(chosen.contains(QStringLiteral("is")));
    if (chosen.contains(QStringLiteral("is")))
        choose("echantIS", chosen.value(QStringLiteral("is")));
    const QString boxes = chosen.value(QStringLiteral("boxes"), QStringLiteral("111"));
    widget<QCheckBox>("correctISLR")->setChecked(boxes.at(0) == QLatin1Char('1'));
    widget<QCheckBox>("correctISMR")->setChecked(boxes.at(1) == QLatin1Char('1'));
    widget<QCheckBox>("correctISHR")->setChecked(boxes.at(2) == QLatin1Char('1'));
    if (chosen.contains(QStringLiteral("lr")))
        choose("comboISLR", chosen.value(QStringLiteral("lr")));
    if (chosen.contains(QStringLiteral("mr")))
        choose("comboISMR", chosen.value(QStringLiteral("mr")));
    widget<QCheckBox>("yIntercept")->setChecked(chosen.contains(QStringLiteral("yi")));
    widget<QCheckBox>("subBlank")->setChecked(chosen.contains(QStringLiteral("sub")));
    const QString blank = chosen.value(QStringLiteral("yi"), chosen.value(QStringLiteral("sub")));
    if (!blank.isEmpty())
        choose("blankSelection", blank);
    widget<QGroupBox>("controlQC")->setChecked(chosen.value(QStringLiteral("qc")) != "0");
}

QList<ModalAnswerer::Seen> TestApplicationRun::process()
{
    ModalAnswerer answerer({ QMessageBox::Ok, QMessageBox::Ok });
    action(QStringLiteral("&Process"))->trigger();
    return answerer.seen();
}

QString TestApplicationRun::processAndSave(const QString &name)
{
    process();
    const QString fileName = work.filePath(name);
    ModalAnswerer answerer({});
    if (!window->saveResults(fileName) || answerer.count() != 0)
        return QString();
    return fileName;
}

void TestApplicationRun::clearTrace()
{
    trace.close();
    trace.setData(QByteArray());
    if (!trace.open(QIODevice::WriteOnly | QIODevice::Text))
        qFatal("trace buffer");
}

QStringList TestApplicationRun::traceLines()
{
    return QString::fromUtf8(trace.data()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void TestApplicationRun::openDataFile_data()
{
    QTest::addColumn<QStringList>("reads"); // instrument|file, in order; the last one is checked
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("solutions");
    QTest::addColumn<int>("outputSolutions");
    QTest::addColumn<int>("isotopes");

    const QString hr = QStringLiteral("HR-ICP-MS|") + EXAMPLES + QStringLiteral("hr_export.csv");
    const QString q = QStringLiteral("Q-ICP-MS|") + EXAMPLES + QStringLiteral("q_export.csv");
    QTest::newRow("high-resolution example")
        << QStringList { hr } << "Parsing CSV"
        << "Parsed Elements 19\n\nParsed Solutions 53" << 53 << 55 << 19;
    QTest::newRow("quadrupole example")
        << QStringList { q } << "Parsing CSV"
        << "Parsed Elements 20\n\nParsed Solutions 53" << 53 << 55 << 20;
    QTest::newRow("high-resolution file read as quadrupole")
        << QStringList { QStringLiteral("Q-ICP-MS|") + EXAMPLES + QStringLiteral("hr_export.csv") }
        << "Parsing CSV"
        << "Input file format error: no solution detected (instrument set to 'Q-ICP-MS')" << 0 << 0
        << 0;
    QTest::newRow("quadrupole file read as high resolution, after a good read")
        << QStringList { hr,
               QStringLiteral("HR-ICP-MS|") + EXAMPLES + QStringLiteral("q_export.csv") }
        << "Parsing CSV"
        << "Input file format error: no element detected (instrument set to 'HR-ICP-MS')" << 0 << 0
        << 0;
    QTest::newRow("three blanks, two in the first run")
        << QStringList { QStringLiteral("HR-ICP-MS|") + RUN_HR } << "Parsing CSV"
        << "Parsed Elements 4\n\nParsed Solutions 9" << 9 << 11 << 4;
    QTest::newRow("no blank, so no average")
        << QStringList { QStringLiteral("HR-ICP-MS|") + DATA
               + QStringLiteral("window_run_no_blank_hr.csv") }
        << "Parsing CSV"
        << "Parsed Elements 2\n\nParsed Solutions 5" << 5 << 5 << 2;
    QTest::newRow("missing file after a good read")
        << QStringList { hr, QStringLiteral("HR-ICP-MS|") + DATA + QStringLiteral("nowhere.csv") }
        << "Read File"
        << "Cannot read file " + DATA + "nowhere.csv:\nNo such file or directory." << 53 << 55
        << 19;
}

void TestApplicationRun::openDataFile()
{
    QFETCH(QStringList, reads);
    QFETCH(QString, title);
    QFETCH(QString, message);
    QFETCH(int, solutions);
    QFETCH(int, outputSolutions);
    QFETCH(int, isotopes);

    ModalAnswerer::Seen last;
    bool accepted = false;
    for (const QString &read : reads) {
        const QStringList parts = read.split(QLatin1Char('|'));
        auto *model = widget<QComboBox>("icpmsModel");
        model->setCurrentIndex(model->findText(parts.at(0)));
        ModalAnswerer answerer({ QMessageBox::Ok });
        accepted = window->loadDataFile(parts.at(1));
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.unplanned(), 0);
        last = answerer.seen().first();
    }
    QCOMPARE(last.title, title);
    QCOMPARE(last.text, message);
    QCOMPARE(last.icon, title == "Read File" ? QMessageBox::Warning : QMessageBox::Information);

    const bool success = message.startsWith(QLatin1String("Parsed"));
    QCOMPARE(accepted, success);
    // A file that cannot be opened leaves what the earlier read showed.
    const bool shown = success || title == "Read File";
    QCOMPARE(action(QStringLiteral("&Process"))->isEnabled(), success);
    QCOMPARE(widget<QListWidget>("listViewInput")->count(), solutions);
    QCOMPARE(widget<QListWidget>("listViewOutput")->count(), outputSolutions);
    QCOMPARE(widget<QListWidget>("listCurves")->count(), isotopes);
    QCOMPARE(widget<QListWidget>("listEvol")->count(), isotopes);
    const QStringList patterns = shown ? QStringList { "BLK", "VS" } : QStringList {};
    QCOMPARE(items(widget<QComboBox>("evolChoice")), patterns);
    QCOMPARE(widget<QComboBox>("plotISchoice")->count(), shown ? 3 : 0);
    if (!shown) {
        QCOMPARE(widget<QComboBox>("comboISLR")->count(), 0);
        QCOMPARE(widget<QComboBox>("blankSelection")->count(), 0);
        QCOMPARE(widget<QComboBox>("echantIS")->count(), 0);
    }
    // The average blanks close the working set's list and are no IS reference.
    const QStringList output = rows(widget<QListWidget>("listViewOutput"));
    if (outputSolutions > solutions) {
        QCOMPARE(output.mid(solutions),
            (QStringList { "BLK_Avg_All", "BLK_Avg_First_Seq" })
                .mid(0, outputSolutions - solutions));
        QCOMPARE(widget<QComboBox>("echantIS")->count(), solutions);
    }
    if (shown) {
        // The internal-standard plot is drawn for the first entry, the LR isotope.
        const QString lr = widget<QComboBox>("comboISLR")->currentText();
        QCOMPARE(
            widget<QwtPlot>("graphIS")->title().text(), QStringLiteral("Internal Standard ") + lr);
    }
}

void TestApplicationRun::cancelledDialogs_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("title");

    QTest::newRow("data file") << "&Data File"
                               << "tab_input"
                               << "Choose a Data file";
    QTest::newRow("standards file") << "&STD-QC File"
                                    << "tab_input"
                                    << "Choose a file - QC & STD";
    QTest::newRow("results") << "&Save Output"
                             << "tab_output"
                             << "Choose a file name";
    QTest::newRow("plot") << "&Save Plot"
                          << "tabElmnt"
                          << "Save Current Plot";
}

void TestApplicationRun::cancelledDialogs()
{
    QFETCH(QString, command);
    QFETCH(QString, tab);
    QFETCH(QString, title);

    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    QVERIFY(window->chooseStdqcFile(RUN_STDQC));
    process();
    const QStringList before = rows(widget<QListWidget>("listViewOutput"));
    widget<QTabWidget>("tabs")->setCurrentWidget(widget<QWidget>(qPrintable(tab)));
    const QStringList filesBefore = QDir(work.path()).entryList(QDir::Files);

    // Nothing planned: the file dialog is dismissed as with Cancel.
    ModalAnswerer answerer({});
    action(command)->trigger();
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.seen().first().title, title);
    QCOMPARE(rows(widget<QListWidget>("listViewOutput")), before);
    QCOMPARE(QSettings(QStringLiteral("Ostrel"), QStringLiteral("Ketrion"))
                 .value(QStringLiteral("File"))
                 .toString(),
        RUN_STDQC);
    QCOMPARE(QDir(work.path()).entryList(QDir::Files), filesBefore);
    // Only a cancelled data file takes "&Process" away, until a file is read again.
    QCOMPARE(action(QStringLiteral("&Process"))->isEnabled(), command != "&Data File");
}

void TestApplicationRun::chooseStandardsFile_data()
{
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("warnings");

    QTest::newRow("one file") << QStringList { RUN_STDQC } << RUN_STDQC << 0;
    QTest::newRow("the later choice wins")
        << QStringList { RUN_STDQC, DATA + "window_run_stdqc_lithium_only.csv" }
        << DATA + "window_run_stdqc_lithium_only.csv" << 0;
    QTest::newRow("missing file keeps the earlier choice")
        << QStringList { RUN_STDQC, DATA + "gone.csv" } << RUN_STDQC << 1;
    QTest::newRow("missing file, nothing chosen before")
        << QStringList { DATA + "gone.csv" } << QString() << 1;
}

void TestApplicationRun::chooseStandardsFile()
{
    QFETCH(QStringList, choices);
    QFETCH(QString, stored);
    QFETCH(int, warnings);

    ModalAnswerer answerer({ QMessageBox::Ok });
    for (const QString &choice : choices)
        window->chooseStdqcFile(choice);
    QCOMPARE(answerer.count(), warnings);
    if (warnings) {
        const ModalAnswerer::Seen box = answerer.seen().first();
        QCOMPARE(box.title, QStringLiteral("Read File"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.text,
            QStringLiteral("Cannot read file %1gone.csv:\nNo such file or directory.").arg(DATA));
    }
    QSettings settings(QStringLiteral("Ostrel"), QStringLiteral("Ketrion"));
    QCOMPARE(settings.value(QStringLiteral("File")).toString(), stored);
    // Choosing reads nothing and touches no other key.
    QCOMPARE(settings.allKeys(), stored.isEmpty() ? QStringList {} : QStringList { "File" });
    QCOMPARE(window->findChild<QListWidget *>(QStringLiteral("listViewInput"))->count(), 0);
}

void TestApplicationRun::rememberedIsotopesAfterRestart_data()
{
    QTest::addColumn<QString>("firstFile");
    QTest::addColumn<QStringList>("chosen"); // LR, MR texts chosen before closing
    QTest::addColumn<QString>("instrument");
    QTest::addColumn<QString>("nextFile");
    QTest::addColumn<QStringList>("expected"); // LR, MR, HR texts after the next read

    const QString hrExample = EXAMPLES + QStringLiteral("hr_export.csv");
    QTest::newRow("same file") << RUN_HR << QStringList { "115In LR", "115In MR" } << "HR-ICP-MS"
                               << RUN_HR << QStringList { "115In LR", "115In MR", "" };
    QTest::newRow("other file with the same isotopes")
        << RUN_HR << QStringList { "115In LR", "115In MR" } << "HR-ICP-MS" << hrExample
        << QStringList { "115In LR", "115In MR", "75As HR" };
    // The example's first HR isotope stays; the stored LR text is not in the quadrupole file.
    QTest::newRow("stored texts absent from the next file")
        << RUN_HR << QStringList { "115In LR", "115In MR" } << "Q-ICP-MS"
        << EXAMPLES + QStringLiteral("q_export.csv") << QStringList { "7Li #1 ", "", "" };
}

void TestApplicationRun::rememberedIsotopesAfterRestart()
{
    QFETCH(QString, firstFile);
    QFETCH(QStringList, chosen);
    QFETCH(QString, instrument);
    QFETCH(QString, nextFile);
    QFETCH(QStringList, expected);

    load(QStringLiteral("HR-ICP-MS"), firstFile);
    apply(options(QStringLiteral("lr=%1;mr=%2").arg(chosen.at(0), chosen.at(1))));
    {
        ModalAnswerer answerer({ QMessageBox::Yes });
        QVERIFY(window->close());
    }
    window.reset();

    newWindow();
    // Before a file is read the boxes are empty whatever is stored.
    QCOMPARE(widget<QComboBox>("comboISLR")->count(), 0);
    load(instrument, nextFile);
    QCOMPARE(widget<QComboBox>("comboISLR")->currentText(), expected.at(0));
    QCOMPARE(widget<QComboBox>("comboISMR")->currentText(), expected.at(1));
    QCOMPARE(widget<QComboBox>("comboISHR")->currentText(), expected.at(2));
    QCOMPARE(items(widget<QComboBox>("plotISchoice")),
        (QStringList { "LR Internal Standard : " + expected.at(0),
            "MR Internal Standard : " + expected.at(1),
            "HR Internal Standard : " + expected.at(2) }));
}

void TestApplicationRun::fullTrace()
{
    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    QVERIFY(window->chooseStdqcFile(RUN_STDQC));
    apply(options(QStringLiteral("qc=1")));
    clearTrace();
    const QList<ModalAnswerer::Seen> boxes = process();

    // Lines and figures worked out by hand from the two files.
    const QStringList expected {
        "*** begin processing ***",
        "# Ketrion configuration:",
        "  Selected ICP instrument: HR-ICP-MS",
        "  No internal standard correction is applied",
        "  No blank correction is applied",
        "  Quality control validation is set",
        "# open QC-STD file",
        "# parse QC-STD file",
        "# init processing variables",
        "# add blk solutions",
        "# process calibration",
        "7Li LR: slope = 1030.76923077, y-intercept =  34.61538462, r2 = 0.99962422",
        "59Co MR: slope = 507.30769231, y-intercept =  43.84615385, r2 = 0.99999828",
        "blank_id = -1, is_ref_id = -1, is_elements[0] = -1, is_elements[1] = -1, "
        "is_elements[2] = -1",
        "*** process concentration ***",
        "*** process limits ***",
        "*** process QC control ***",
        "# QC not valid: 1 / 2",
        "*** refreshing plots and tables ***",
        "*** end of processing ***",
    };
    QCOMPARE(traceLines(), expected);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().className, QStringLiteral("QCDialog"));
}

void TestApplicationRun::stageTrace_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("configuration"); // lines between the instrument and "# open"
    QTest::addColumn<QStringList>("steps"); // from "# init processing variables" on

    const QStringList tail { "*** process concentration ***", "*** process limits ***" };
    const QStringList refresh { "*** refreshing plots and tables ***",
        "*** end of processing ***" };

    QTest::newRow("IS on every group, y-intercept with the first-run average")
        << "is=BLK_1;lr=115In LR;mr=115In MR;yi=BLK_Avg_First_Seq"
        << QStringList { "  Internal standard correction is set with:",
               "    - BLK_1 as the IS reference solution",
               "    - IS check boxes' status are: 1 ; 1 ; 1",
               "    - 115In LR as the IS-LR isotope reference",
               "    - 115In MR as the IS-MR isotope reference",
               "    -  as the IS-HR isotope reference",
               "  Y-intercept is set with BLK_Avg_First_Seq as the blank reference solution",
               "  Quality control validation is set" }
        << (QStringList { "# init processing variables", "# internal standard correction",
                "# add blk solutions", "# y intercept", "# process calibration",
                "blank_id = -1, is_ref_id = 0, is_elements[0] = -1, is_elements[1] = 3, "
                "is_elements[2] = 1" }
               + tail + QStringList { "*** process QC control ***", "# QC not valid: 0 / 2" }
               + refresh);
    // The MR isotope alone is left out of the subtraction; all three are mapped.
    QTest::newRow("IS on MR only, subtract a file blank, no QC")
        << "is=STD_1;lr=7Li LR;mr=115In MR;boxes=010;sub=BLK_3;qc=0"
        << QStringList { "  Internal standard correction is set with:",
               "    - STD_1 as the IS reference solution",
               "    - IS check boxes' status are: 0 ; 1 ; 0",
               "    - 7Li LR as the IS-LR isotope reference",
               "    - 115In MR as the IS-MR isotope reference",
               "    -  as the IS-HR isotope reference",
               "  Blank subtraction is set with BLK_3 as the blank reference solution" }
        << (QStringList { "# init processing variables", "# internal standard correction",
                "# substract blank", "# add blk solutions", "# process calibration",
                "blank_id = 6, is_ref_id = 2, is_elements[0] = -1, is_elements[1] = 3, "
                "is_elements[2] = 0" }
               + tail + refresh);
    // The average is built first so that it can be subtracted.
    QTest::newRow("subtract the average of all blanks")
        << "sub=BLK_Avg_All"
        << QStringList { "  No internal standard correction is applied",
               "  Blank subtraction is set with BLK_Avg_All as the blank reference solution",
               "  Quality control validation is set" }
        << (QStringList { "# init processing variables", "# add blk solutions", "# substract blank",
                "# process calibration",
                "blank_id = 9, is_ref_id = -1, is_elements[0] = -1, is_elements[1] = -1, "
                "is_elements[2] = -1" }
               + tail + QStringList { "*** process QC control ***", "# QC not valid: 1 / 2" }
               + refresh);
    QTest::newRow("y-intercept with a file blank")
        << "yi=BLK_2"
        << QStringList { "  No internal standard correction is applied",
               "  Y-intercept is set with BLK_2 as the blank reference solution",
               "  Quality control validation is set" }
        << (QStringList { "# init processing variables", "# add blk solutions", "# y intercept",
                "# process calibration",
                "blank_id = -1, is_ref_id = -1, is_elements[0] = -1, is_elements[1] = -1, "
                "is_elements[2] = -1" }
               + tail + QStringList { "*** process QC control ***", "# QC not valid: 1 / 2" }
               + refresh);
}

void TestApplicationRun::stageTrace()
{
    QFETCH(QString, chosen);
    QFETCH(QStringList, configuration);
    QFETCH(QStringList, steps);

    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    QVERIFY(window->chooseStdqcFile(RUN_STDQC));
    apply(options(chosen));
    clearTrace();
    const QList<ModalAnswerer::Seen> boxes = process();

    const QStringList expected = QStringList { "*** begin processing ***",
        "# Ketrion configuration:", "  Selected ICP instrument: HR-ICP-MS" }
        + configuration + QStringList { "# open QC-STD file", "# parse QC-STD file" } + steps;
    QCOMPARE(stageLines(traceLines()), expected);
    // The report opens exactly when the validation is on, and its count is written once.
    const bool qc = options(chosen).value(QStringLiteral("qc")) != "0";
    QCOMPARE(boxes.size(), qc ? 1 : 0);
    QCOMPARE(traceLines().filter(QStringLiteral("# QC not valid")).size(), qc ? 1 : 0);
}

void TestApplicationRun::resultsFile_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("expectedFile");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("failures");
    QTest::addColumn<QStringList>(
        "sampleRow"); // S_1 in the output table: 7Li LR concentration, RSD

    QTest::newRow("no correction")
        << ""
        << "window_run_plain_results.csv"
        << "Quality Control <b>Not valid</b> : 1 / 2" << QStringList { "QC_1 : 59Co MR" }
        << QStringList { "2.87687", "3.05" };
    QTest::newRow("IS on LR and MR, y-intercept with the first-run average")
        << "is=BLK_1;lr=115In LR;mr=115In MR;yi=BLK_Avg_First_Seq"
        << "window_run_is_yintercept_results.csv"
        << "Quality Control <b>Not valid</b> : 0 / 2" << QStringList {}
        << QStringList { "3.3913", "2.82" };
    QTest::newRow("subtract the average of all blanks")
        << "sub=BLK_Avg_All"
        << "window_run_subtract_average_results.csv"
        << "Quality Control <b>Not valid</b> : 1 / 2" << QStringList { "QC_1 : 59Co MR" }
        << QStringList { "2.87687", "3.06" };
}

void TestApplicationRun::resultsFile()
{
    QFETCH(QString, chosen);
    QFETCH(QString, expectedFile);
    QFETCH(QString, label);
    QFETCH(QStringList, failures);
    QFETCH(QStringList, sampleRow);

    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    QVERIFY(window->chooseStdqcFile(RUN_STDQC));
    apply(options(chosen));
    auto *output = widget<QListWidget>("listViewOutput");
    output->setCurrentRow(rows(output).indexOf(QStringLiteral("S_1")));
    auto *curves = widget<QListWidget>("listCurves");
    curves->setCurrentRow(0);

    const QList<ModalAnswerer::Seen> boxes = process();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title, QStringLiteral("Quality Controls"));
    QCOMPARE(boxes.first().text, label);
    QCOMPARE(boxes.first().items, failures);

    // The views follow the run for the rows picked before it.
    const QAbstractItemModel *table = widget<QTableView>("tableViewOutput")->model();
    QCOMPARE(table->index(0, 0).data().toString(), QStringLiteral("7Li LR"));
    QCOMPARE(table->index(0, 3).data().toString(), sampleRow.at(0));
    QCOMPARE(table->index(0, 4).data().toString(), sampleRow.at(1));
    QVERIFY(widget<QwtPlot>("graphElement")->title().text().contains(QStringLiteral("7Li LR")));

    const QString saved = work.filePath(expectedFile);
    ModalAnswerer quiet({});
    QVERIFY(window->saveResults(saved));
    QCOMPARE(quiet.count(), 0);
    QCOMPARE(contents(saved), contents(DATA + expectedFile));
}

void TestApplicationRun::secondRunMatchesFreshRun_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("secondStandards");

    const QString all = RUN_STDQC;
    QTest::newRow("IS and y-intercept, then none")
        << "is=BLK_1;lr=115In LR;mr=115In MR;yi=BLK_Avg_First_Seq"
        << "" << all;
    // The IS isotopes were left out of the first calibration: no line of them may stay.
    QTest::newRow("IS left out, then calibrated") << "is=BLK_1;lr=115In LR;mr=115In MR;yi=BLK_1"
                                                  << "yi=BLK_1" << all;
    QTest::newRow("subtraction, then y-intercept")
        << "sub=BLK_Avg_All"
        << "is=STD_1;lr=115In LR;boxes=100;yi=BLK_Avg_All" << all;
    QTest::newRow("y-intercept, then subtraction") << "yi=BLK_2"
                                                   << "sub=BLK_2" << all;
    // An element the second standards file lacks keeps no value of the first.
    QTest::newRow("standards file changed between the runs")
        << "yi=BLK_1"
        << "yi=BLK_1" << DATA + "window_run_stdqc_lithium_only.csv";
}

void TestApplicationRun::secondRunMatchesFreshRun()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, secondStandards);

    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    QVERIFY(window->chooseStdqcFile(RUN_STDQC));
    apply(options(first));
    const QString firstRun = processAndSave(QStringLiteral("first.csv"));
    QVERIFY(!firstRun.isEmpty());
    QVERIFY(window->chooseStdqcFile(secondStandards));
    apply(options(second));
    const QString again = processAndSave(QStringLiteral("again.csv"));
    QVERIFY(!again.isEmpty());
    const QStringList listAfterTwo = rows(widget<QListWidget>("listViewOutput"));

    newWindow();
    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    apply(options(second));
    const QString fresh = processAndSave(QStringLiteral("fresh.csv"));
    QVERIFY(!fresh.isEmpty());

    QVERIFY(contents(firstRun) != contents(fresh));
    QCOMPARE(contents(again), contents(fresh));
    QCOMPARE(listAfterTwo, rows(widget<QListWidget>("listViewOutput")));
}

void TestApplicationRun::zeroStandardListedOnce()
{
    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    QVERIFY(window->chooseStdqcFile(RUN_STDQC));
    auto *output = widget<QListWidget>("listViewOutput");
    const QStringList afterRead = rows(output);

    apply(options(QStringLiteral("yi=BLK_2;qc=0")));
    process();
    process();
    QCOMPARE(rows(output), afterRead + QStringList { "STD_ZERO_STD" });

    // The row shows the zero standard: the blank's intensities.
    output->setCurrentRow(output->count() - 1);
    const QAbstractItemModel *table = widget<QTableView>("tableViewOutput")->model();
    QCOMPARE(table->index(0, 1).data().toString(), QStringLiteral("120.00"));
    QCOMPARE(table->index(2, 1).data().toString(), QStringLiteral("70.00"));

    // A run without it rebuilds the working set without it, and its row goes.
    apply(options(QStringLiteral("sub=BLK_2;qc=0")));
    process();
    QCOMPARE(rows(output), afterRead);
    QVERIFY(output->currentRow() < output->count());
}

void TestApplicationRun::noBlankForZeroStandard()
{
    load(QStringLiteral("HR-ICP-MS"), DATA + QStringLiteral("window_run_no_blank_hr.csv"));
    QVERIFY(window->chooseStdqcFile(RUN_STDQC));
    QCOMPARE(widget<QComboBox>("blankSelection")->currentIndex(), -1);
    apply(options(QStringLiteral("qc=0")));
    widget<QCheckBox>("yIntercept")->setChecked(true);
    const QStringList before = rows(widget<QListWidget>("listViewOutput"));

    QCOMPARE(process().size(), 0);
    QCOMPARE(window->statusBar()->currentMessage(), ProcessingRun::NO_ZERO_STD_BLANK);
    QVERIFY(traceLines().contains(QStringLiteral("# no blank available: no zero standard added")));
    QCOMPARE(traceLines().last(), QStringLiteral("*** end of processing ***"));
    QCOMPARE(rows(widget<QListWidget>("listViewOutput")), before);
    // Calibrated from the three standards alone: a line and a sample result exist.
    auto *output = widget<QListWidget>("listViewOutput");
    output->setCurrentRow(rows(output).indexOf(QStringLiteral("S_1")));
    QCOMPARE(widget<QTableView>("tableViewOutput")->model()->index(0, 3).data().toString(),
        QStringLiteral("2.87687"));

    // The message is about that run only.
    widget<QCheckBox>("yIntercept")->setChecked(false);
    process();
    QCOMPARE(window->statusBar()->currentMessage(), QString());
}

void TestApplicationRun::runStopsEarly_data()
{
    QTest::addColumn<QString>("standards"); // empty: never chosen
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("lastTrace");

    QTest::newRow("no standards file chosen") << ""
                                              << "Read QC-STD File"
                                              << "You have to load a QC-STD Concentrations File"
                                              << "# open QC-STD file";
    QTest::newRow("standards file moved away")
        << "moved"
        << "Read File"
        << "Cannot read STD QC Concentration file @:\nNo such file or directory."
        << "# open QC-STD file";
    QTest::newRow("standards file without the QC solution")
        << DATA + "window_run_stdqc_without_qc.csv"
        << "Parsing CSV"
        << "Solution QC_1 Not found"
        << "# parse QC-STD file";
}

void TestApplicationRun::runStopsEarly()
{
    QFETCH(QString, standards);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QString, lastTrace);

    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    // An earlier good run whose results must stay on screen and in the file.
    QVERIFY(window->chooseStdqcFile(RUN_STDQC));
    apply(options(QString()));
    const QString before = processAndSave(QStringLiteral("before.csv"));
    QVERIFY(!before.isEmpty());
    auto *output = widget<QListWidget>("listViewOutput");
    output->setCurrentRow(rows(output).indexOf(QStringLiteral("S_1")));
    const QString shown
        = widget<QTableView>("tableViewOutput")->model()->index(0, 3).data().toString();
    QVERIFY(!shown.isEmpty());
    auto *curves = widget<QListWidget>("listCurves");
    curves->setCurrentRow(2);
    const auto drawn = drawnPoints(widget<QwtPlot>("graphElement"));
    QVERIFY(drawn.value(QStringLiteral("QC")).size() == 1);

    QString chosen = standards;
    if (standards.isEmpty()) {
        QSettings(QStringLiteral("Ostrel"), QStringLiteral("Ketrion"))
            .remove(QStringLiteral("File"));
    } else if (standards == "moved") {
        chosen = work.filePath(QStringLiteral("standards.csv"));
        QVERIFY(QFile::copy(RUN_STDQC, chosen));
        QVERIFY(window->chooseStdqcFile(chosen));
        QVERIFY(QFile::remove(chosen));
        text.replace(QLatin1Char('@'), chosen);
    } else {
        QVERIFY(window->chooseStdqcFile(chosen));
    }
    apply(options(QStringLiteral("is=BLK_1;lr=115In LR;mr=115In MR;yi=BLK_1")));
    clearTrace();

    const QList<ModalAnswerer::Seen> boxes = process();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title, title);
    QCOMPARE(boxes.first().text, text);
    QCOMPARE(boxes.first().icon,
        title == "Parsing CSV" ? QMessageBox::Information : QMessageBox::Warning);
    QCOMPARE(traceLines().last(), lastTrace);
    QVERIFY(action(QStringLiteral("&Process"))->isEnabled());
    QCOMPARE(widget<QTableView>("tableViewOutput")->model()->index(0, 3).data().toString(), shown);
    // Drawn again from the same expected values: QC_1 keeps its place.
    curves->setCurrentRow(0);
    curves->setCurrentRow(2);
    QCOMPARE(drawnPoints(widget<QwtPlot>("graphElement")), drawn);
    const QString after = work.filePath(QStringLiteral("after.csv"));
    QVERIFY(window->saveResults(after));
    QCOMPARE(contents(after), contents(before));
}

void TestApplicationRun::failedSaveKeepsEarlierFile_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("reason");

    QTest::newRow("target is a folder") << "folder"
                                        << "Filename refers to a directory";
    QTest::newRow("folder does not exist") << "no folder"
                                           << "No such file or directory";
    // The finished file cannot take the name: the system gives no reason.
    QTest::newRow("renaming fails") << "long name"
                                    << "";
    // The writer's own failure: the file size limit refuses its bytes.
    QTest::newRow("writing fails") << "size limit"
                                   << "File too large";
}

void TestApplicationRun::failedSaveKeepsEarlierFile()
{
    QFETCH(QString, how);
    QFETCH(QString, reason);

    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    QVERIFY(window->chooseStdqcFile(RUN_STDQC));
    process();

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QString target;
    if (how == "folder") {
        target = folder.filePath(QStringLiteral("results.csv"));
        QVERIFY(QDir().mkdir(target));
    } else if (how == "no folder") {
        target = folder.filePath(QStringLiteral("missing/results.csv"));
    } else {
        const QString name = how == "long name" ? QString(250, QLatin1Char('r')) : "results.csv";
        target = folder.filePath(name);
        QVERIFY(writeFile(target, EARLIER));
    }

    ModalAnswerer answerer({ QMessageBox::Ok });
    bool saved = true;
    if (how == "size limit") {
        rlimit previous {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
        const auto signal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = previous;
        small.rlim_cur = 0;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        saved = window->saveResults(target);
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, signal);
    } else {
        saved = window->saveResults(target);
    }
    QVERIFY(!saved);
    QCOMPARE(answerer.count(), 1);
    const ModalAnswerer::Seen box = answerer.seen().first();
    QCOMPARE(box.title, QStringLiteral("Save File"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    const QString start = QStringLiteral("Cannot write file %1:\n").arg(target);
    QVERIFY2(
        box.text.startsWith(start) && box.text.endsWith(QLatin1Char('.')), qPrintable(box.text));
    if (!reason.isEmpty())
        QCOMPARE(box.text.mid(start.size()), reason + QLatin1Char('.'));

    if (how == "long name" || how == "size limit")
        QCOMPARE(contents(target), EARLIER);
    // No temporary file is left beside it.
    const QStringList left = QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QCOMPARE(left.size(), how == "no folder" ? 0 : 1);
}

void TestApplicationRun::savePlot_data()
{
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("plot");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written"); // empty: nothing written, a warning instead

    QTest::newRow("calibration") << "tabElmnt"
                                 << "graphElement"
                                 << "cal.jpg"
                                 << "cal.jpg";
    QTest::newRow("internal standard") << "tabIS"
                                       << "graphIS"
                                       << "is.jpg"
                                       << "is.jpg";
    QTest::newRow("evolution, not the IS plot") << "tabEvol"
                                                << "graphEvol"
                                                << "evol.jpg"
                                                << "evol.jpg";
    QTest::newRow("no suffix gets the offered one") << "tabElmnt"
                                                    << "graphElement"
                                                    << "calibration"
                                                    << "calibration.jpg";
    QTest::newRow("upper-case suffix") << "tabIS"
                                       << "graphIS"
                                       << "IS.JPG"
                                       << "IS.JPG";
    QTest::newRow("unknown suffix") << "tabEvol"
                                    << "graphEvol"
                                    << "evol.xyz"
                                    << "";
    QTest::newRow("folder does not exist") << "tabElmnt"
                                           << "graphElement"
                                           << "none/cal.jpg"
                                           << "";
}

void TestApplicationRun::savePlot()
{
    QFETCH(QString, tab);
    QFETCH(QString, plot);
    QFETCH(QString, name);
    QFETCH(QString, written);

    load(QStringLiteral("HR-ICP-MS"), RUN_HR);
    QVERIFY(window->chooseStdqcFile(RUN_STDQC));
    process();
    widget<QListWidget>("listCurves")->setCurrentRow(0);
    widget<QListWidget>("listEvol")->setCurrentRow(0);
    auto *tabs = widget<QTabWidget>("tabs");
    tabs->setCurrentWidget(widget<QWidget>(qPrintable(tab)));
    QVERIFY(action(QStringLiteral("&Save Plot"))->isEnabled());
    const QSize size = widget<QwtPlot>(qPrintable(plot))->size();

    QTemporaryDir folder;
    ModalAnswerer answerer({ QMessageBox::Ok });
    const bool saved = window->savePlot(folder.filePath(name));
    QCOMPARE(saved, !written.isEmpty());
    if (written.isEmpty()) {
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.seen().first().title, QStringLiteral("Save Plot"));
        QVERIFY(answerer.seen().first().text.startsWith(
            QStringLiteral("Cannot write file %1:\n").arg(folder.filePath(name))));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList {});
        return;
    }
    QCOMPARE(answerer.count(), 0);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList { written });
    QImageReader reader(folder.filePath(written));
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    const QImage image = reader.read();
    QCOMPARE(image.size(), size);
    // The picture is that plot's and no other's, up to the JPEG losses.
    for (const char *other : { "graphElement", "graphIS", "graphEvol" }) {
        const double difference = meanDifference(image, widget<QwtPlot>(other)->grab().toImage());
        if (plot == QLatin1String(other))
            QVERIFY2(difference < 4.0, qPrintable(QString::number(difference)));
        else
            QVERIFY2(difference > 8.0, qPrintable(QString::number(difference)));
    }
}

QTEST_MAIN(TestApplicationRun)
#include "tst_applicationrun.moc"
