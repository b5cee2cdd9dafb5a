#include "model/Measurements.h"

#include <QtTest>

using IntList = QVector<int>;

namespace {

// One solution per letter: B blank, S standard, Q QC, anything else a sample.
void addSolutions(Measurements &data, const QString &types, int isotopes)
{
    const QString letters = QStringLiteral("xSBQ"); // in Solution::Type order
    for (int k = 0; k < types.size(); ++k)
        data.addSolution(Solution(QStringLiteral("sol%1").arg(k),
            Solution::Type(qMax(0, letters.indexOf(types.at(k)))), isotopes));
}

} // namespace

// Average blanks; how the data set serves a run is checked by the whole runs.
class TestModel : public QObject
{
    Q_OBJECT

private slots:
    void addAverageBlank_data();
    void addAverageBlank();
};

void TestModel::addAverageBlank_data()
{
    QTest::addColumn<IntList>("positions");
    QTest::addColumn<int>("silent"); // a blank that measured nothing, deviation 50
    QTest::addColumn<double>("averageCps"); // -1 when nothing is added, 0 when none measured
    QTest::addColumn<double>("averageSd");

    // Solutions 0..3: intensities 10, 100, 40, 200, deviations 1, 9, -2, -5.
    QTest::newRow("largest deviation, not the last") << IntList { 3, 1 } << -1 << 150.0 << 9.0;
    QTest::newRow("single position adds nothing") << IntList { 1 } << -1 << -1.0 << 0.0;
    QTest::newRow("negative deviations give zero") << IntList { 2, 3 } << -1 << 120.0 << 0.0;
    QTest::newRow("unmeasured blank left out") << IntList { 1, 2, 3 } << 2 << 150.0 << 9.0;
    QTest::newRow("no blank measured") << IntList { 1, 1 } << 1 << 0.0 << 0.0;
}

void TestModel::addAverageBlank()
{
    QFETCH(IntList, positions);
    QFETCH(int, silent);
    QFETCH(double, averageCps);
    QFETCH(double, averageSd);

    // Two isotopes: the second carries ten times the first's values.
    Measurements data;
    data.addIsotope(Isotope(QStringLiteral("Co"), 59, Isotope::LR));
    data.addIsotope(Isotope(QStringLiteral("In"), 115, Isotope::HR));
    addSolutions(data, QStringLiteral("xBxB"), 2);
    const double cps[] = { 10, 100, 40, 200 };
    const double sd[] = { 1, 9, -2, -5 };
    for (int s = 0; s < 4; ++s) {
        for (int i = 0; i < 2; ++i)
            data.solution(s).setReading(i, s == silent ? 0.0 : cps[s] * (1 + 9 * i),
                (s == silent ? 50 : sd[s]) * (1 + 9 * i));
    }

    const Measurements copy = data;
    data.addAverageBlank(positions, Measurements::ALL_BLANKS_AVERAGE);
    // A copy holds its own values.
    data.solution(1).setIntensity(0, -1.0);
    QCOMPARE(copy.solution(1).intensity(0), silent == 1 ? 0.0 : 100.0);

    QCOMPARE(data.blanks(), averageCps < 0.0 ? (IntList { 1, 3 }) : (IntList { 1, 3, 4 }));
    if (averageCps < 0.0)
        return;
    const Solution &average = data.solution(4);
    QCOMPARE(average.name(), Measurements::ALL_BLANKS_AVERAGE);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(average.isMeasured(i), averageCps != 0.0);
        QCOMPARE(average.intensity(i), averageCps * (1 + 9 * i));
        QCOMPARE(average.intensitySD(i), averageSd * (1 + 9 * i));
    }
}

QTEST_APPLESS_MAIN(TestModel)
#include "tst_model.moc"
