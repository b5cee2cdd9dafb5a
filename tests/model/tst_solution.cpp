#include "model/Data.h"
#include "model/Solution.h"

#include <QtTest>
#include <cmath>

class TestSolution : public QObject
{
    Q_OBJECT

private slots:
    void copiesShareLists();
    void cpsRSD_data();
    void cpsRSD();
};

// Every way of copying shares all four lists in both directions; the zero
// standard made from a blank follows the blank.
void TestSolution::copiesShareLists()
{
    Solution blank(QStringLiteral("BLK_2"), 3, Solution::BLK);
    const Solution constructed(blank);
    Solution assigned(QStringLiteral("other"), 3, Solution::SAMPLE);
    assigned = blank;
    Solution zero = blank.copy(Solution::ZERO_STD_NAME, Solution::STD);
    Data data;
    data.addSolution(blank);
    Solution *stored = data.getSolution(0);

    blank.setCps(0, 5.0);
    zero.setCpsSD(1, 6.0);
    stored->setConcent(2, 7.0);
    assigned.setConcentRSD(0, 8.0);
    for (const Solution *s : std::initializer_list<const Solution *> {
             &blank, &constructed, &assigned, &zero, stored }) {
        QCOMPARE(s->getCps(0), 5.0);
        QCOMPARE(s->getCpsSD(1), 6.0);
        QCOMPARE(s->getConcent(2), 7.0);
        QCOMPARE(s->getConcentRSD(0), 8.0);
    }
    QCOMPARE(zero.getName(), QStringLiteral("STD_ZERO_STD"));
    QCOMPARE(zero.getType(), Solution::STD);
    QCOMPARE(zero.getNbrElement(), 3);
    QCOMPARE(blank.getName(), QStringLiteral("BLK_2"));
    QCOMPARE(blank.getType(), Solution::BLK);
    // Only the constructor makes new lists, all zeros; a count below one makes
    // empty ones instead of failing.
    const Solution fresh(QStringLiteral("BLK_2"), 3, Solution::BLK);
    QCOMPARE(
        fresh.getCps(0) + fresh.getCpsSD(1) + fresh.getConcent(2) + fresh.getConcentRSD(0), 0.0);
    QCOMPARE(Solution(QStringLiteral("none"), -2, Solution::STD).getNbrElement(), -2);
}

void TestSolution::cpsRSD_data()
{
    QTest::addColumn<double>("cps");
    QTest::addColumn<double>("sd");
    QTest::addColumn<double>("rsd");

    QTest::newRow("percent of the intensity") << 200.0 << 3.0 << 1.5;
    QTest::newRow("negative intensity") << -200.0 << 3.0 << -1.5;
    QTest::newRow("zero intensity is infinite") << 0.0 << 3.0 << qInf();
    QTest::newRow("zero over zero is not a number") << 0.0 << 0.0 << qQNaN();
}

void TestSolution::cpsRSD()
{
    QFETCH(double, cps);
    QFETCH(double, sd);
    QFETCH(double, rsd);

    Solution s(QStringLiteral("S"), 2, Solution::SAMPLE);
    s.setCps(1, cps);
    s.setCpsSD(1, sd);
    const double got = s.getCpsRSD(1);
    if (std::isnan(rsd))
        QVERIFY(std::isnan(got));
    else
        QCOMPARE(got, rsd);
}

QTEST_APPLESS_MAIN(TestSolution)
#include "tst_solution.moc"
