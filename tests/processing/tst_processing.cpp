// The engine where a whole run cannot pin it down; the whole runs are checked
// against worked-out files by the batch tests.
#include "model/ExpectedConcentrations.h"
#include "model/Measurements.h"
#include "parsers/HighResolutionReader.h"
#include "parsers/InstrumentReader.h"
#include "parsers/StandardsReader.h"
#include "processing/CalibrationFit.h"
#include "processing/ProcessingRun.h"
#include "processing/QualityControlCheck.h"
#include "processing/Trace.h"

#include <QBuffer>
#include <QTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(Calibration::Weighting)

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

// Equal within a relative 1e-9; a not-a-number expectation takes any undefined result.
bool close(double actual, double expected)
{
    if (std::isnan(expected))
        return !std::isfinite(actual);
    return std::fabs(actual - expected) <= 1e-9 * qMax(1.0, std::fabs(expected));
}

} // namespace

class TestProcessing : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        sink.setData(QByteArray());
        sink.open(QIODevice::WriteOnly);
        Trace::setDevice(&sink);
    }
    void cleanup()
    {
        Trace::setDevice(nullptr);
        sink.close();
    }

    void calibration_data();
    void calibration();
    void qualityControl_data();
    void qualityControl();
    void internalStandardKept();
    void monitorChoices_data();
    void monitorChoices();

private:
    QBuffer sink; // the trace, kept out of the test log
};

void TestProcessing::calibration_data()
{
    QTest::addColumn<bool>("zeroStandard"); // the first standard is the zero standard
    QTest::addColumn<QVector<double>>("conc");
    QTest::addColumn<QVector<double>>("cps");
    QTest::addColumn<Calibration::Weighting>("weighting");
    // slope, intercept, their variances, r2; all 0 when no line can be fitted
    QTest::addColumn<QVector<double>>("line");
    QTest::addColumn<int>("points");

    const auto none = Calibration::Weighting::None;
    // A blank that gave nothing for the isotope is no point at zero.
    QTest::newRow("zero standard with no signal left out")
        << true << QVector<double> { 0, 1, 2, 3 } << QVector<double> { 0, 110, 210, 310 } << none
        << QVector<double> { 100, 10, 0, 0, 1 } << 3;
    QTest::newRow("two points store their undefined variances")
        << false << QVector<double> { 1, 2 } << QVector<double> { 110, 210 } << none
        << QVector<double> { 100, 10, NaN, NaN, 1 } << 2;
    QTest::newRow("single usable standard")
        << false << QVector<double> { 1, 0, 0 } << QVector<double> { 300, 0, 0 } << none
        << QVector<double> { 0, 0, 0, 0, 0 } << 1;
    QTest::newRow("equal intensities: no r2, no variances")
        << false << QVector<double> { 1, 2, 4 } << QVector<double> { 50, 50, 50 } << none
        << QVector<double> { 0, 50, 0, 0, 0 } << 3;
    QTest::newRow("weighted, zero standard alone")
        << true << QVector<double> { 0 } << QVector<double> { 12 }
        << Calibration::Weighting::InverseX << QVector<double> { 0, 0, 0, 0, 0 } << 1;
}

void TestProcessing::calibration()
{
    QFETCH(bool, zeroStandard);
    QFETCH(QVector<double>, conc);
    QFETCH(QVector<double>, cps);
    QFETCH(Calibration::Weighting, weighting);
    QFETCH(QVector<double>, line);
    QFETCH(int, points);

    // Standards named STD_k, the first one the zero standard on request.
    Measurements data;
    data.addIsotope(Isotope(QStringLiteral("Co"), 59, Isotope::LR));
    ExpectedConcentrations expected(int(conc.size()), 1);
    for (int k = 0; k < conc.size(); ++k) {
        Solution standard(
            k == 0 && zeroStandard ? Solution::ZERO_STANDARD_NAME : QStringLiteral("STD_%1").arg(k),
            Solution::Standard, 1);
        standard.setReading(0, cps.at(k), 0.0);
        data.addSolution(standard);
        expected.set(k, 0, conc.at(k), 0.0);
    }
    const CalibrationLine fitted = CalibrationFit::fit(data, expected, 0, weighting);
    const double found[] = { fitted.slope, fitted.intercept, fitted.slopeVariance,
        fitted.interceptVariance, fitted.r2 };
    for (int k = 0; k < 5; ++k)
        QVERIFY2(close(found[k], line.at(k)), qPrintable(QString::number(found[k])));
    QCOMPARE(fitted.points.size(), points);
}

void TestProcessing::qualityControl_data()
{
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("error");
    QTest::addColumn<double>("computed");
    QTest::addColumn<double>("rsd");
    QTest::addColumn<bool>("fails");
    QTest::newRow("intervals apart") << 10.0 << 5.0 << 10.8 << 2.0 << true;
    QTest::newRow("expected upper bound inside") << 10.0 << 10.0 << 10.8 << 2.0 << false;
    QTest::newRow("expected lower bound inside") << 10.0 << 5.0 << 9.4 << 2.0 << false;
    QTest::newRow("computed inside expected") << 10.0 << 20.0 << 10.8 << 2.0 << false;
    QTest::newRow("touching at expected upper bound") << 10.0 << 10.0 << 12.5 << 12.0 << false;
    QTest::newRow("touching at expected lower bound") << 10.0 << 10.0 << 8.0 << 12.5 << false;
    QTest::newRow("computed below") << 10.0 << 5.0 << 9.0 << 2.0 << true;
    QTest::newRow("no widths, equal") << 10.0 << 0.0 << 10.0 << 0.0 << false;
    QTest::newRow("no computed value skipped") << 10.0 << 5.0 << 0.0 << 2.0 << false;
    QTest::newRow("not-a-number concentration fails") << 10.0 << 5.0 << NaN << 2.0 << true;
}

void TestProcessing::qualityControl()
{
    QFETCH(double, expected);
    QFETCH(double, error);
    QFETCH(double, computed);
    QFETCH(double, rsd);
    QFETCH(bool, fails);

    Measurements working;
    working.addIsotope(Isotope(QStringLiteral("Co"), 59, Isotope::LR));
    working.addSolution(Solution(QStringLiteral("QC_1"), Solution::QualityControl, 1));
    working.solution(0).setReading(0, 1.0, 0.0);
    ExpectedConcentrations given(1, 1);
    given.set(0, 0, expected, error);
    Results results(1, 1);
    results.set(0, 0, computed, rsd);
    Calibration calibration;
    calibration.lines.append(CalibrationLine());
    calibration.lines[0].slope = 1.0;
    const QcReport report = QualityControlCheck::check(working, given, results, calibration);
    QCOMPARE(
        report.failureLines(working), fails ? QStringList { "QC_1 : 59Co LR" } : QStringList());
    QCOMPARE(report.checks.size(), 1);
}

// The IS isotope keeps the reference's intensity wherever it was measured:
// neither the correction nor the blank subtraction leaves it otherwise.
void TestProcessing::internalStandardKept()
{
    QFile exportFile(QStringLiteral(TEST_DATA_DIR "/not_measured_hr.csv"));
    QFile standards(QStringLiteral(TEST_DATA_DIR "/not_measured_stdqc.csv"));
    Measurements data;
    ExpectedConcentrations expected;
    QVERIFY(exportFile.open(QIODevice::ReadOnly) && standards.open(QIODevice::ReadOnly));
    QVERIFY(HighResolutionReader().read(&exportFile, &data).ok());
    QVERIFY(StandardsReader::read(&standards, data, &expected).ok());
    RunOptions options; // lithium as IS, BLK_3 subtracted
    options.internalStandard = true;
    options.reference = data.solution(0).name();
    options.groups[Isotope::MR].corrected = false;
    options.groups[Isotope::HR].corrected = false;
    options.blankMode = RunOptions::BlankMode::Subtract;
    options.blank = QStringLiteral("BLK_3");
    const RunOutcome outcome = ProcessingRun::process(data, expected, options);
    QVERIFY(outcome.ok());
    QCOMPARE(data.solution(0).intensity(0), 100.0);
    QCOMPARE(outcome.working.solution(2).intensity(0), 100.0);
    QCOMPARE(outcome.working.solution(7).intensity(0), 100.0);
}

void TestProcessing::monitorChoices_data()
{
    QTest::addColumn<QString>("names"); // the export's solutions, in run order
    QTest::addColumn<QString>("choices");
    QTest::newRow("with and without '_', a name that is a family too")
        << "VS;VS2;VSX_1;VS_3;QC_1;QC_1_2;Mid_1;Mid_2"
        << "VS;QC_1;Mid";
    QTest::newRow("digits continue a family's own") << "Well_01;Well_02;Well_1;Well_10"
                                                    << "Well;Well_1";
    QTest::newRow("each name once") << "BLK;STD_1;Sample_1x;Sample_2x"
                                    << "";
    QTest::newRow("ASCII digits only") << QString::fromUtf8("VS_\u0661;VS_\u0662") << "";
    QTest::newRow("blanks measure the background")
        << "BLK_1;VS_1;BLK_2;VS_2;Rinse_BLK_1;Rinse_BLK_2"
        << "VS";
}

// The monitors offered are those a run accepts: two solutions or more.
void TestProcessing::monitorChoices()
{
    QFETCH(QString, names);
    QFETCH(QString, choices);
    Measurements data;
    data.addIsotope(Isotope(QStringLiteral("Co"), 59, Isotope::LR));
    for (const QString &name : names.split(';'))
        data.addSolution(Solution(name, InstrumentReader::classify(name), 1));
    const QStringList offered = ProcessingRun::monitorChoices(data);
    QCOMPARE(offered.join(';'), choices);
    // Each solution's name is offered exactly when it names another solution too.
    for (const QString &name : names.split(';') + offered) {
        RunOptions options;
        options.blankMode = RunOptions::BlankMode::None;
        options.drift = true;
        options.driftMonitor = name;
        const RunOutcome outcome = ProcessingRun::process(
            data, ExpectedConcentrations(data.solutionCount(), 1), options);
        QVERIFY2((outcome.refusal != RunOutcome::Refusal::UnknownName) == offered.contains(name),
            qPrintable(name));
    }
}

QTEST_GUILESS_MAIN(TestProcessing)
#include "tst_processing.moc"
