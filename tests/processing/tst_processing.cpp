// The engine where a whole run cannot pin it down; the whole runs are checked
// against worked-out files by the batch tests.
#include "model/ExpectedConcentrations.h"
#include "model/Measurements.h"
#include "parsers/HighResolutionReader.h"
#include "parsers/InstrumentReader.h"
#include "parsers/InterferenceEquation.h"
#include "parsers/StandardsReader.h"
#include "processing/CalibrationFit.h"
#include "processing/InterferenceCorrection.h"
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

// Texts that are no equation, for TestProcessing::equations().
void addSyntaxErrors()
{
    const QString deep = "[75As #1] = " + QString(101, '(') + "[77Se #1]" + QString(101, ')');
    QTest::newRow("empty") << "" << 1 << "unfinished: expected an isotope in square brackets";
    QTest::newRow("left side a number") << "2 * [75As #1] = [77Se #1]" << 1
                                        << "unexpected '2': expected an isotope in square brackets";
    QTest::newRow("no equals sign")
        << "[75As #1] [77Se #1]" << 11 << "unexpected '[': expected '='";
    QTest::newRow("unary plus") << "[75As #1] = +[77Se #1]" << 13
                                << "unexpected '+': expected an isotope in square brackets, a "
                                   "number, '-' or '('";
    QTest::newRow("decimal comma") << "[75As #1] = 0,5 * [77Se #1]" << 14
                                   << "unexpected ',': expected '+', '-', '*' or the end";
    QTest::newRow("exponent without digits")
        << "[75As #1] = 2e * [77Se #1]" << 15 << "unexpected ' ': expected the exponent's digits";
    QTest::newRow("a point alone")
        << "[75As #1] = . * [77Se #1]" << 14 << "unexpected ' ': expected digits";
    QTest::newRow("unclosed parenthesis")
        << "[75As #1] = ([77Se #1]" << 23 << "unfinished: expected '+', '-', '*' or ')'";
    QTest::newRow("unclosed name") << "[75As #1] = [77Se #1" << 21 << "unfinished: expected ']'";
    QTest::newRow("a character beyond 16 bits unexpected")
        << QString::fromUtf8("[75As #1] = \U0001F9EA") << 13
        << QString::fromUtf8("unexpected '\U0001F9EA': expected an isotope in square brackets, "
                             "a number, '-' or '('");
    QTest::newRow("overflow") << "[75As #1] = 1e309 * [77Se #1]" << 13 << "number out of range";
    QTest::newRow("underflow") << "[75As #1] = [77Se #1] * 1e-400" << 25 << "number out of range";
    QTest::newRow("nested too deep") << deep << 113 << "parentheses nested more than 100 deep";
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
    void equations_data();
    void equations();
    void interferenceApplied();

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

void TestProcessing::equations_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position"); // 0: accepted
    QTest::addColumn<QString>("said"); // the reason, or the expanded form
    QTest::newRow("EPA arsenic")
        << "[75As #1] = [75As #1] - 3.127 * ([77Se #1] - 0.815 * [82Se #1])" << 0
        << "75As #1 = 1 x 75As #1 - 3.127 x 77Se #1 + 2.5485 x 82Se #1";
    QTest::newRow("blanks, tabs, numbers, unary minus, the target first")
        << "\t[ 75As #1\t] =.5*[77Se #1]-2.*-[82Se #1]+1E-3*[75As #1] " << 0
        << "75As #1 = 0.001 x 75As #1 + 0.5 x 77Se #1 + 2 x 82Se #1";
    QTest::newRow("numbers combined, the target no term")
        << "[75As #1] = (2 - 1) * [77Se #1]" << 0 << "75As #1 = 1 x 77Se #1";
    QTest::newRow("cancelled target, the first sign its own")
        << "[75As #1] = [75As #1] - [75As #1] - -0 * [82Se #1] - [77Se #1]" << 0
        << "75As #1 = -1 x 77Se #1";
    addSyntaxErrors();
    QTest::newRow("a name's case and blanks, before a syntax error")
        << "[75As #1] = [77se #1] - [77Se  #1] -" << 13 << "unknown isotope '77se #1'";
    QTest::newRow("IS target") << "[115In #1] = [115In #1] - [77Se #1]" << 1
                               << "'115In #1' is the IS isotope of a group corrected";
    QTest::newRow("target given twice") << "[82Se #1] = [82Se #1] - [77Se #1]" << 1
                                        << "'82Se #1' is the target of an earlier equation";
    QTest::newRow("product by its form")
        << "[75As #1] = [75As #1] + ([82Se #1] - [82Se #1]) * [77Se #1]" << 49
        << "a product of two isotope terms";
    QTest::newRow("product through a number")
        << "[75As #1] = 2 * [77Se #1] * 3 * [82Se #1]" << 31 << "a product of two isotope terms";
    QTest::newRow("the leftmost fault")
        << "[75As #1] = 5 + [77Se #1] * [82Se #1]" << 13 << "a number added to isotopes";
    QTest::newRow("numbers added in parentheses")
        << "[75As #1] = [77Se #1] - (2 * 3)" << 25 << "a number added to isotopes";
    QTest::newRow("a negative number added")
        << "[75As #1] = [77Se #1] + -5" << 25 << "a number added to isotopes";
    QTest::newRow("after a character beyond 16 bits")
        << QString::fromUtf8("[75As #1] = [\U0001F9EA] - 5") << 19 << "a number added to isotopes";
    QTest::newRow("no isotope") << "[75As #1] =  3" << 14 << "no isotope left on the right side";
    QTest::newRow("coefficient beyond a double")
        << "[75As #1] = 1e300 * 1e300 * [77Se #1]" << 13 << "a coefficient out of range";
}

// Each refusal at the first fault reading left to right, its position in
// characters; an accepted equation's expanded form.
void TestProcessing::equations()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(QString, said);
    InterferenceEquation::Names names;
    names.isotopes = QStringList { "75As #1", "77Se #1", "82Se #1", "115In #1",
        QString::fromUtf8("\U0001F9EA") };
    names.internalStandards = QStringList { "115In #1" };
    names.earlierTargets = QStringList { "82Se #1" };
    const InterferenceEquation equation(text);
    const InterferenceEquation::Fault fault = equation.check(names);
    QCOMPARE(fault.position, position);
    QCOMPARE(position == 0 ? equation.expanded() : fault.reason, said);
}

// Every equation reads the values and marks before any of them: cobalt's
// lithium is lithium as measured. A term not measured leaves the target not
// measured; a target not measured stays so; the SDs add in quadrature.
void TestProcessing::interferenceApplied()
{
    Measurements working;
    working.addIsotope(Isotope("Li", 7, Isotope::LR));
    working.addIsotope(Isotope("Co", 59, Isotope::LR));
    working.addIsotope(Isotope("As", 75, Isotope::LR));
    const struct
    {
        const char *name;
        Solution::Type type;
        double values[3]; // 0: not measured
    } rows[] = { { "S_1", Solution::Sample, { 100, 10, 2 } },
        { "S_2", Solution::Sample, { 100, 10, 0 } }, { "S_3", Solution::Sample, { 0, 10, 2 } },
        { "QC_1", Solution::QualityControl, { 100, 1, 2 } },
        { "BLK_Avg_All", Solution::Blank, { 100, 10, 0 } } };
    for (const auto &row : rows) {
        Solution solution(QLatin1String(row.name), row.type, 3);
        for (int i = 0; i < 3; ++i)
            solution.setReading(i, row.values[i], 0.5 * (i + 1));
        working.addSolution(solution);
    }
    QVector<InterferenceCorrection::Equation> equations;
    QString refusal;
    QVERIFY(InterferenceCorrection::resolve(
        { "[7Li LR] = [7Li LR] - 0.5 * [59Co LR]",
            "[59Co LR] = [59Co LR] - 2 * ([7Li LR] - 1.5 * [75As LR])" },
        working, {}, &equations, &refusal));
    const InterferenceCorrection::Report report
        = InterferenceCorrection::apply(&working, 4, equations);

    const Solution &first = working.solution(0);
    QCOMPARE(first.intensity(0), 95.0);
    QCOMPARE(first.intensitySD(0), std::sqrt(0.25 + 0.25));
    QCOMPARE(first.intensity(1), -184.0);
    QCOMPARE(first.intensitySD(1), std::sqrt(1.0 + 1.0 + 20.25));
    QVERIFY(working.solution(1).isMeasured(0) && !working.solution(1).isMeasured(1));
    QVERIFY(!working.solution(2).isMeasured(0) && !working.solution(2).isMeasured(1));
    QVERIFY(!working.solution(4).isMeasured(1));
    QCOMPARE(report.lines(working),
        QStringList(
            { "# interference correction: 2 equations", "7Li LR = 1 x 7Li LR - 0.5 x 59Co LR",
                "59Co LR = 1 x 59Co LR - 2 x 7Li LR + 3 x 75As LR",
                "7Li LR: largest correction 5.0 % of the signal at S_1",
                "59Co LR: 2 solutions without a value (a term not measured)",
                "59Co LR: largest correction 1940.0 % of the signal at S_1" }));
}

QTEST_GUILESS_MAIN(TestProcessing)
#include "tst_processing.moc"
