#include "model/Data.h"
#include "parsers/Parser.h"

#include <QBuffer>
#include <QtTest>
#include <cmath>

using IntList = QList<int>;

namespace {

// Records what the data set hands to its reader.
class RecordingParser : public Parser
{
public:
    ParseResult parse(QIODevice *file, Data *data, Processing *) override
    {
        lastFile = file;
        lastData = data;
        ParseResult result;
        result.code = 1;
        result.message = QStringLiteral("from the reader");
        return result;
    }
    QIODevice *lastFile = nullptr;
    Data *lastData = nullptr;
};

// One solution per letter: B blank, S standard, Q QC, anything else a sample.
void addSolutions(Data &data, const QString &types, int isotopes)
{
    const QString letters = QStringLiteral("xSBQ"); // in Solution::Type order
    for (int k = 0; k < types.size(); ++k)
        data.addSolution(Solution(QStringLiteral("sol%1").arg(k), isotopes,
            Solution::Type(qMax(0, letters.indexOf(types.at(k))))));
}

// Every name, type, value and index list of the data set, for comparing two of them whole.
QStringList snapshot(const Data &data)
{
    QStringList lines;
    for (const IntList &list :
        { data.getLrIndexes(), data.getMrIndexes(), data.getHrIndexes(), data.getBlkIndexes() }) {
        lines.append(QString());
        for (int k : list)
            lines.last() += QString::number(k) + QLatin1Char(' ');
    }
    for (int i = 0; i < data.isoSize(); ++i)
        lines.append(data.getIso(i).getName());
    for (int s = 0; s < data.solutionSize(); ++s) {
        const Solution *sol = data.getSolution(s);
        QString line = sol->getName() + QString::number(sol->getType());
        for (int i = 0; i < data.isoSize(); ++i)
            line += QStringLiteral(" %1/%2/%3/%4")
                        .arg(sol->getCps(i))
                        .arg(sol->getCpsSD(i))
                        .arg(sol->getConcent(i))
                        .arg(sol->getConcentRSD(i));
        lines.append(line);
    }
    return lines;
}

} // namespace

class TestData : public QObject
{
    Q_OBJECT

private slots:
    void groupsParserAndClear();
    void blanks_data();
    void blanks();
    void addBLKmoy_data();
    void addBLKmoy();
    void containsSolution();
    void copyData();
};

void TestData::groupsParserAndClear()
{
    RecordingParser first, second;
    Data data(&first);
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
    QCOMPARE(data.mapLR(-1) + data.mapMR(-1) + data.mapHR(-1) + data.mapBLK(-1), -4);

    // The reader in place gets the file and this data set; its result comes back as is.
    data.loadParser(&second);
    QBuffer buffer;
    const ParseResult result = data.executeParsing(&buffer, nullptr);
    QCOMPARE(first.lastData, nullptr);
    QCOMPARE(second.lastData, &data);
    QCOMPARE(second.lastFile, &buffer);
    QCOMPARE(result.message, QStringLiteral("from the reader"));
    QCOMPARE(data.isoSize(), 6);

    data.clear();
    QCOMPARE(data.isoSize() + data.solutionSize(), 0);
    QCOMPARE(data.getLrIndexes() + data.getMrIndexes() + data.getHrIndexes(), IntList {});
    QCOMPARE(data.getParser(), &second);
    // Positions start again from 0.
    QCOMPARE(data.addSolution(Solution(QStringLiteral("BLK_9"), 0, Solution::BLK)), 0);
    QCOMPARE(data.getBlkIndexes(), IntList { 0 });
}

void TestData::blanks_data()
{
    QTest::addColumn<QString>("types");
    QTest::addColumn<IntList>("blanks");
    QTest::addColumn<IntList>("firstRun");

    QTest::newRow("no blank") << "xSQ" << IntList {} << IntList {};
    QTest::newRow("run inside") << "xxBBxxxB" << IntList { 2, 3, 7 } << IntList { 2, 3 };
    QTest::newRow("single leading blank") << "BxBB" << IntList { 0, 2, 3 } << IntList { 0 };
    QTest::newRow("run at the end") << "xSBB" << IntList { 2, 3 } << IntList { 2, 3 };
}

void TestData::blanks()
{
    QFETCH(QString, types);
    QFETCH(IntList, blanks);
    QFETCH(IntList, firstRun);

    Data data;
    addSolutions(data, types, 0);
    QCOMPARE(data.solutionSize(), types.size());
    QCOMPARE(data.getBlkIndexes(), blanks);
    QCOMPARE(data.firstBlankRun(), firstRun);
}

void TestData::addBLKmoy_data()
{
    QTest::addColumn<IntList>("positions");
    QTest::addColumn<int>("silent"); // a blank that measured nothing, deviation 50
    QTest::addColumn<double>("averageCps"); // -1 when nothing is added, 0 when none measured
    QTest::addColumn<double>("averageSd");

    // Solutions 0..3: intensities 10, 100, 40, 200, deviations 1, 9, -2, -5.
    QTest::newRow("largest deviation, not the last") << IntList { 3, 1 } << -1 << 150.0 << 9.0;
    QTest::newRow("single position adds nothing") << IntList { 1 } << -1 << -1.0 << 0.0;
    QTest::newRow("duplicate counted once") << IntList { 1, 3, 3 } << -1 << 150.0 << 9.0;
    QTest::newRow("duplicate alone") << IntList { 1, 1 } << -1 << 100.0 << 9.0;
    QTest::newRow("missing position ignored") << IntList { 0, 42 } << -1 << 10.0 << 1.0;
    QTest::newRow("negative deviations give zero") << IntList { 2, 3 } << -1 << 120.0 << 0.0;
    QTest::newRow("unmeasured blank left out") << IntList { 1, 2, 3 } << 2 << 150.0 << 9.0;
    QTest::newRow("no blank measured") << IntList { 1, 1 } << 1 << 0.0 << 0.0;
    QTest::newRow("no position names a solution") << IntList { 40, 41 } << -1 << 0.0 << 0.0;
}

void TestData::addBLKmoy()
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

    if (averageCps < 0.0) {
        QCOMPARE(data.solutionSize(), 4);
        QCOMPARE(data.getBlkIndexes(), (IntList { 1, 3 }));
        return;
    }
    QCOMPARE(data.containsSolution(Data::ALL_AVG), 4);
    QCOMPARE(data.getBlkIndexes(), (IntList { 1, 3, 4 }));
    const Solution *average = data.getSolution(4);
    QCOMPARE(average->getType(), Solution::BLK);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(average->isMeasured(i), averageCps != 0.0);
        QCOMPARE(average->getCps(i), averageCps * (1 + 9 * i));
        QCOMPARE(average->getCpsSD(i), averageSd * (1 + 9 * i));
    }
}

void TestData::containsSolution()
{
    Data data;
    QCOMPARE(data.containsSolution(QStringLiteral("BLK_1")), -1);
    for (const char *name : { "BLK_1", "STD_1", "BLK_Avg_All", "STD_1" })
        data.addSolution(Solution(name, 0, Solution::SAMPLE));
    QCOMPARE(data.containsSolution(QStringLiteral("BLK_Avg_All")), 2);
    QCOMPARE(data.containsSolution(QStringLiteral("STD_1")), 1);
    QCOMPARE(data.containsSolution(QStringLiteral("blk_avg_all")), -1);
    QCOMPARE(data.containsSolution(QStringLiteral("BLK")), -1);
}

void TestData::copyData()
{
    RecordingParser writer;
    Data source;
    source.addIso(Element(QStringLiteral("Co"), 59, Element::LR));
    source.addIso(Element(QStringLiteral("In"), 115, Element::HR));
    source.addIso(Element(QStringLiteral("Fe"), 56, Element::MR));
    addSolutions(source, QStringLiteral("BxSB"), 3);
    for (int s = 0; s < 4; ++s) {
        for (int i = 0; i < 3; ++i) {
            Solution *sol = source.getSolution(s);
            sol->setCps(i, 1000 * s + i);
            sol->setCpsSD(i, 100 * s + i);
            sol->setConcent(i, 10 * s + i);
            sol->setConcentRSD(i, s + 0.5 * i);
        }
    }
    const QStringList original = snapshot(source);

    Data copy(&writer);
    copy.copyData(&source);
    copy.addBLKmoy(copy.getBlkIndexes(), Data::ALL_AVG);
    // A second copy drops what the earlier one gained; a copy into itself keeps it.
    copy.copyData(&source);
    copy.copyData(&copy);
    QCOMPARE(copy.getParser(), &writer);
    QCOMPARE(snapshot(copy), original);

    // No list is shared: writes on either side stay there.
    Solution *copied = copy.getSolution(2);
    copied->setCps(1, -1.0);
    copied->setCpsSD(1, -2.0);
    copied->setConcent(1, -3.0);
    copied->setConcentRSD(1, -4.0);
    QCOMPARE(snapshot(source), original);
    source.getSolution(0)->setCps(0, 77.0);
    QCOMPARE(copy.getSolution(0)->getCps(0), 0.0);
}

QTEST_APPLESS_MAIN(TestData)
#include "tst_data.moc"
