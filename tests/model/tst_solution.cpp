#include "model/Data.h"
#include "model/Solution.h"

#include <QtTest>
#include <cmath>
#include <functional>

using Getter = std::function<double(const Solution &, int)>;
using Setter = std::function<void(Solution &, int, double)>;
Q_DECLARE_METATYPE(Getter)
Q_DECLARE_METATYPE(Setter)

class TestSolution : public QObject
{
    Q_OBJECT

private slots:
    void construction_data();
    void construction();
    void sharedLists_data();
    void sharedLists();
    void zeroStandardFollowsBlank();
    void cpsRSD_data();
    void cpsRSD();
};

void TestSolution::construction_data()
{
    QTest::addColumn<int>("nbrElement");
    QTest::addColumn<int>("type");

    QTest::newRow("three isotopes") << 3 << int(Solution::SAMPLE);
    QTest::newRow("one isotope blank") << 1 << int(Solution::BLK);
    QTest::newRow("no isotope") << 0 << int(Solution::STD);
    QTest::newRow("negative count") << -2 << int(Solution::QC);
}

void TestSolution::construction()
{
    QFETCH(int, nbrElement);
    QFETCH(int, type);

    const Solution s(QStringLiteral("S1"), nbrElement, Solution::Type(type));
    QCOMPARE(s.getName(), QStringLiteral("S1"));
    QCOMPARE(s.getNbrElement(), nbrElement);
    QCOMPARE(int(s.getType()), type);
    for (int i = 0; i < nbrElement; ++i) {
        QCOMPARE(s.getCps(i), 0.0);
        QCOMPARE(s.getCpsSD(i), 0.0);
        QCOMPARE(s.getConcent(i), 0.0);
        QCOMPARE(s.getConcentRSD(i), 0.0);
    }
}

void TestSolution::sharedLists_data()
{
    QTest::addColumn<Setter>("set");
    QTest::addColumn<Getter>("get");

    QTest::newRow("cps") << Setter([](Solution &s, int i, double v) { s.setCps(i, v); })
                         << Getter([](const Solution &s, int i) { return s.getCps(i); });
    QTest::newRow("cpsSD") << Setter([](Solution &s, int i, double v) { s.setCpsSD(i, v); })
                           << Getter([](const Solution &s, int i) { return s.getCpsSD(i); });
    QTest::newRow("concent") << Setter([](Solution &s, int i, double v) { s.setConcent(i, v); })
                             << Getter([](const Solution &s, int i) { return s.getConcent(i); });
    QTest::newRow("concentRSD") << Setter([](Solution &s, int i, double v) {
        s.setConcentRSD(i, v);
    }) << Getter([](const Solution &s, int i) { return s.getConcentRSD(i); });
}

// Every way of copying a solution shares the lists, in both directions.
void TestSolution::sharedLists()
{
    QFETCH(Setter, set);
    QFETCH(Getter, get);

    Solution source(QStringLiteral("BLK_1"), 3, Solution::BLK);
    Solution constructed(source);
    Solution assigned(QStringLiteral("other"), 3, Solution::SAMPLE);
    assigned = source;
    Solution copied = source.copy(QStringLiteral("renamed"), Solution::STD);
    Data data;
    data.addSolution(source);
    Solution *stored = data.getSolution(0);

    set(source, 1, 2.5);
    for (const Solution *s :
        std::initializer_list<const Solution *> { &constructed, &assigned, &copied, stored })
        QCOMPARE(get(*s, 1), 2.5);

    // Writes through any copy reach the source and all other copies.
    set(copied, 2, 7.0);
    set(*stored, 0, -1.0);
    for (const Solution *s :
        std::initializer_list<const Solution *> { &source, &constructed, &assigned, &copied }) {
        QCOMPARE(get(*s, 2), 7.0);
        QCOMPARE(get(*s, 0), -1.0);
    }

    // A solution built separately never shares.
    const Solution fresh(QStringLiteral("BLK_1"), 3, Solution::BLK);
    QCOMPARE(get(fresh, 1), 0.0);
}

void TestSolution::zeroStandardFollowsBlank()
{
    Solution blank(QStringLiteral("BLK_2"), 2, Solution::BLK);
    const Solution zero = blank.copy(Solution::ZERO_STD_NAME, Solution::STD);
    blank.setCps(0, 5.0);

    QCOMPARE(zero.getCps(0), 5.0);
    QCOMPARE(zero.getName(), QStringLiteral("STD_ZERO_STD"));
    QCOMPARE(zero.getType(), Solution::STD);
    QCOMPARE(zero.getNbrElement(), 2);
    QCOMPARE(blank.getType(), Solution::BLK);
    QCOMPARE(blank.getName(), QStringLiteral("BLK_2"));
}

void TestSolution::cpsRSD_data()
{
    QTest::addColumn<double>("cps");
    QTest::addColumn<double>("sd");
    QTest::addColumn<double>("rsd");

    QTest::newRow("percent of the intensity") << 200.0 << 3.0 << 1.5;
    QTest::newRow("negative intensity") << -200.0 << 3.0 << -1.5;
    QTest::newRow("no deviation") << 50.0 << 0.0 << 0.0;
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
    // Computed on demand: a later change of the intensity is reflected.
    s.setCps(1, 2 * cps);
    if (std::isfinite(rsd))
        QCOMPARE(s.getCpsRSD(1), rsd / 2);
}

QTEST_APPLESS_MAIN(TestSolution)
#include "tst_solution.moc"
