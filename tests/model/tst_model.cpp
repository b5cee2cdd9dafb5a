#include "model/Data.h"

#include <QtTest>

using IntList = QList<int>;

namespace {

// One solution per letter: B blank, S standard, Q QC, anything else a sample.
void addSolutions(Data &data, const QString &types, int isotopes)
{
    const QString letters = QStringLiteral("xSBQ"); // in Solution::Type order
    for (int k = 0; k < types.size(); ++k)
        data.addSolution(Solution(QStringLiteral("sol%1").arg(k), isotopes,
            Solution::Type(qMax(0, letters.indexOf(types.at(k))))));
}

} // namespace

class TestModel : public QObject
{
    Q_OBJECT

private slots:
    void groupsAndSharing();
    void blanks_data();
    void blanks();
    void addBLKmoy_data();
    void addBLKmoy();
    void copyData();
};

void TestModel::groupsAndSharing()
{
    Data data;
    const Element::Resolution resolutions[]
        = { Element::HR, Element::MR, Element::NOT_DEFINED, Element::HR, Element::MR, Element::LR };
    for (int k = 0; k < 6; ++k)
        QCOMPARE(data.addIso(Element(QStringLiteral("X"), k, resolutions[k])), k);
    addSolutions(data, QStringLiteral("BxB"), 6);
    // Quadrupole isotopes belong to the LR group.
    QCOMPARE(data.getLrIndexes(), (IntList { 2, 5 }));
    QCOMPARE(data.getMrIndexes(), (IntList { 1, 4 }));
    QCOMPARE(data.getHrIndexes(), (IntList { 0, 3 }));
    QCOMPARE((IntList { data.mapLR(1), data.mapMR(0), data.mapHR(1), data.mapBLK(1) }),
        (IntList { 5, 1, 3, 2 }));
    QCOMPARE(data.mapLR(-1) + data.mapBLK(-1), -2);
    data.clear();

    // The zero standard made from a blank shares its values and marks.
    Solution blank(QStringLiteral("BLK_2"), 2, Solution::BLK);
    data.addSolution(blank);
    const Solution zero = blank.copy(Solution::ZERO_STD_NAME, Solution::STD);
    data.getSolution(0)->setCps(0, 5.0);
    blank.setMeasured(1, true);
    QCOMPARE(zero.getCps(0), 5.0);
    QCOMPARE(zero.isMeasured(1), true);
    QCOMPARE(zero.getType(), Solution::STD);
}

void TestModel::blanks_data()
{
    QTest::addColumn<QString>("types");
    QTest::addColumn<IntList>("blanks");
    QTest::addColumn<IntList>("firstRun");

    QTest::newRow("no blank") << "xSQ" << IntList {} << IntList {};
    QTest::newRow("run inside") << "xxBBBxxB" << IntList { 2, 3, 4, 7 } << IntList { 2, 3, 4 };
    QTest::newRow("single leading blank") << "BxBB" << IntList { 0, 2, 3 } << IntList { 0 };
}

void TestModel::blanks()
{
    QFETCH(QString, types);
    QFETCH(IntList, blanks);
    QFETCH(IntList, firstRun);

    Data data;
    addSolutions(data, types, 0);
    QCOMPARE(data.getBlkIndexes(), blanks);
    QCOMPARE(data.firstBlankRun(), firstRun);
}

void TestModel::addBLKmoy_data()
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

void TestModel::addBLKmoy()
{
    QFETCH(IntList, positions);
    QFETCH(int, silent);
    QFETCH(double, averageCps);
    QFETCH(double, averageSd);

    // Two isotopes: the second carries ten times the first's values.
    Data data;
    data.addIso(Element(QStringLiteral("Co"), 59, Element::LR));
    data.addIso(Element(QStringLiteral("In"), 115, Element::HR));
    addSolutions(data, QStringLiteral("xBxB"), 2);
    const double cps[] = { 10, 100, 40, 200 };
    const double sd[] = { 1, 9, -2, -5 };
    for (int s = 0; s < 4; ++s) {
        for (int i = 0; i < 2; ++i) {
            data.getSolution(s)->setCps(i, s == silent ? 0.0 : cps[s] * (1 + 9 * i));
            data.getSolution(s)->setCpsSD(i, (s == silent ? 50 : sd[s]) * (1 + 9 * i));
        }
    }

    data.addBLKmoy(positions, Data::ALL_AVG);

    QCOMPARE(data.getBlkIndexes(), averageCps < 0.0 ? (IntList { 1, 3 }) : (IntList { 1, 3, 4 }));
    if (averageCps < 0.0)
        return;
    const Solution *average = data.getSolution(4);
    QCOMPARE(average->getName(), Data::ALL_AVG);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(average->isMeasured(i), averageCps != 0.0);
        QCOMPARE(average->getCps(i), averageCps * (1 + 9 * i));
        QCOMPARE(average->getCpsSD(i), averageSd * (1 + 9 * i));
    }
}

// A copy owns its values and keeps the marks decided on the values as read,
// whatever later corrections make of the values.
void TestModel::copyData()
{
    Data source;
    source.addIso(Element(QStringLiteral("Co"), 59, Element::LR));
    source.addIso(Element(QStringLiteral("Fe"), 56, Element::MR));
    source.addIso(Element(QStringLiteral("Sc"), 45, Element::MR));
    addSolutions(source, QStringLiteral("BxS"), 3);
    const double cps[3][3] = { { 40, 5, 100 }, { 90, 7, 0 }, { 0, 0, 0 } };
    for (int s = 0; s < 3; ++s) {
        for (int i = 0; i < 3; ++i)
            source.getSolution(s)->setCps(i, cps[s][i]);
    }
    source.getSolution(2)->setConcent(1, 3.0);

    Data copy;
    copy.copyData(&source);
    copy.addBLKmoy({ 0, 2 }, Data::ALL_AVG);
    // A second copy drops what the earlier one gained; a copy into itself keeps it.
    copy.copyData(&source);
    copy.copyData(&copy);
    QCOMPARE(copy.solutionSize(), 3);
    QCOMPARE(copy.getMrIndexes(), (IntList { 1, 2 }));
    QCOMPARE(copy.getBlkIndexes(), IntList { 0 });
    QCOMPARE(copy.getSolution(2)->getConcent(1), 3.0);

    copy.getSolution(0)->setCps(0, 0.0); // a blank subtracted from itself
    copy.getSolution(1)->setCps(1, 0.5);
    QCOMPARE(source.getSolution(1)->getCps(1), 7.0);
    QCOMPARE(copy.getSolution(0)->isMeasured(0), true);
    QCOMPARE(copy.getSolution(2)->isMeasured(0), false);

    // Scandium, the MR group's IS, is missing in the sample: its MR values go with it.
    const int groupIS[] = { -1, 2, -1 };
    copy.markMissingIS(groupIS);
    QCOMPARE(copy.getSolution(1)->isMeasured(1), false);
    QCOMPARE(copy.getSolution(1)->isMeasured(0), true);
    QCOMPARE(copy.getSolution(0)->isMeasured(1), true);
}

QTEST_APPLESS_MAIN(TestModel)
#include "tst_model.moc"
