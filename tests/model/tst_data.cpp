#include "model/Data.h"
#include "parsers/Parser.h"

#include <QBuffer>
#include <QtTest>
#include <cmath>

using IntList = QList<int>;
using DoubleList = QList<double>;

namespace {

// Records what the data set hands to its reader.
class RecordingParser : public Parser
{
public:
    explicit RecordingParser(int code) : code(code) { }
    ParseResult parse(QIODevice *file, Data *data, Processing *processing) override
    {
        lastFile = file;
        lastData = data;
        lastProcessing = processing;
        ++calls;
        ParseResult result;
        result.code = code;
        result.message = QStringLiteral("reader %1").arg(code);
        return result;
    }
    int code;
    int calls = 0;
    QIODevice *lastFile = nullptr;
    Data *lastData = nullptr;
    Processing *lastProcessing = nullptr;
};

Solution::Type typeOf(QChar c)
{
    switch (c.toLatin1()) {
    case 'B':
        return Solution::BLK;
    case 'S':
        return Solution::STD;
    case 'Q':
        return Solution::QC;
    default:
        return Solution::SAMPLE;
    }
}

// One solution per letter: B blank, S standard, Q QC, anything else a sample.
void addSolutions(Data &data, const QString &types, int isotopes)
{
    for (int k = 0; k < types.size(); ++k)
        data.addSolution(Solution(QStringLiteral("sol%1").arg(k), isotopes, typeOf(types.at(k))));
}

} // namespace

class TestData : public QObject
{
    Q_OBJECT

private slots:
    void resolutionGroups_data();
    void resolutionGroups();
    void blankIndexes_data();
    void blankIndexes();
    void addBLKmoy_data();
    void addBLKmoy();
    void firstBlankRun_data();
    void firstBlankRun();
    void containsSolution_data();
    void containsSolution();
    void copyDataIsIndependent();
    void copyDataReplacesContent();
    void clearKeepsParser();
    void parserSwap();
};

void TestData::resolutionGroups_data()
{
    QTest::addColumn<IntList>("resolutions");
    QTest::addColumn<IntList>("lr");
    QTest::addColumn<IntList>("mr");
    QTest::addColumn<IntList>("hr");

    QTest::newRow("LR, NOT_DEFINED, HR")
        << IntList { Element::LR, Element::NOT_DEFINED, Element::HR } << IntList { 0, 1 }
        << IntList {} << IntList { 2 };
    QTest::newRow("quadrupole") << IntList { 3, 3, 3, 3 } << IntList { 0, 1, 2, 3 } << IntList {}
                                << IntList {};
    QTest::newRow("interleaved") << IntList { Element::HR, Element::MR, Element::LR, Element::HR,
        Element::MR } << IntList { 2 }
                                 << IntList { 1, 4 } << IntList { 0, 3 };
    QTest::newRow("empty") << IntList {} << IntList {} << IntList {} << IntList {};
}

void TestData::resolutionGroups()
{
    QFETCH(IntList, resolutions);
    QFETCH(IntList, lr);
    QFETCH(IntList, mr);
    QFETCH(IntList, hr);

    Data data;
    for (int k = 0; k < resolutions.size(); ++k)
        QCOMPARE(data.addIso(
                     Element(QStringLiteral("X"), k + 1, Element::Resolution(resolutions.at(k)))),
            k);
    QCOMPARE(data.isoSize(), resolutions.size());
    QCOMPARE(data.getLrIndexes(), lr);
    QCOMPARE(data.getMrIndexes(), mr);
    QCOMPARE(data.getHrIndexes(), hr);

    for (int k = 0; k < lr.size(); ++k)
        QCOMPARE(data.mapLR(k), lr.at(k));
    for (int k = 0; k < mr.size(); ++k)
        QCOMPARE(data.mapMR(k), mr.at(k));
    for (int k = 0; k < hr.size(); ++k)
        QCOMPARE(data.mapHR(k), hr.at(k));
    QCOMPARE(data.mapLR(-1), -1);
    QCOMPARE(data.mapMR(-1), -1);
    QCOMPARE(data.mapHR(-1), -1);
    QCOMPARE(data.mapBLK(-1), -1);
    // The isotope is stored as given.
    if (!resolutions.isEmpty())
        QCOMPARE(data.getIso(resolutions.size() - 1).getMasse(), resolutions.size());
}

void TestData::blankIndexes_data()
{
    QTest::addColumn<QString>("types");
    QTest::addColumn<IntList>("blanks");

    QTest::newRow("sample, blank, standard, blank") << "xBSB" << IntList { 1, 3 };
    QTest::newRow("no blank") << "xSQ" << IntList {};
    QTest::newRow("only blanks") << "BBB" << IntList { 0, 1, 2 };
}

void TestData::blankIndexes()
{
    QFETCH(QString, types);
    QFETCH(IntList, blanks);

    Data data;
    data.addIso(Element(QStringLiteral("Co"), 59, Element::LR));
    for (int k = 0; k < types.size(); ++k)
        QCOMPARE(data.addSolution(Solution(QString::number(k), 1, typeOf(types.at(k)))), k);
    QCOMPARE(data.solutionSize(), types.size());
    QCOMPARE(data.getBlkIndexes(), blanks);
    for (int k = 0; k < blanks.size(); ++k)
        QCOMPARE(data.mapBLK(k), blanks.at(k));
}

void TestData::addBLKmoy_data()
{
    QTest::addColumn<DoubleList>("cps");
    QTest::addColumn<DoubleList>("sd");
    QTest::addColumn<IntList>("positions");
    QTest::addColumn<bool>("added");
    QTest::addColumn<double>("averageCps");
    QTest::addColumn<double>("averageSd");

    // Solutions 0..3; the types do not matter to the average.
    const DoubleList cps { 10, 100, 40, 200 };
    const DoubleList sd { 1, 5, 2, 9 };
    QTest::newRow("two blanks") << cps << sd << IntList { 1, 3 } << true << 150.0 << 9.0;
    QTest::newRow("largest deviation wins whatever the order")
        << cps << DoubleList { 1, 9, 2, 5 } << IntList { 3, 1 } << true << 150.0 << 9.0;
    QTest::newRow("all four") << cps << sd << IntList { 0, 1, 2, 3 } << true << 87.5 << 9.0;
    QTest::newRow("single position adds nothing")
        << cps << sd << IntList { 1 } << false << 0.0 << 0.0;
    QTest::newRow("empty list adds nothing") << cps << sd << IntList {} << false << 0.0 << 0.0;
    QTest::newRow("duplicate counted once")
        << cps << sd << IntList { 1, 1 } << true << 100.0 << 5.0;
    QTest::newRow("duplicate among others")
        << cps << sd << IntList { 1, 3, 3 } << true << 150.0 << 9.0;
    QTest::newRow("missing position ignored")
        << cps << sd << IntList { 1, 42 } << true << 100.0 << 5.0;
    QTest::newRow("negative deviations give zero")
        << cps << DoubleList { -1, -5, -2, -9 } << IntList { 1, 3 } << true << 150.0 << 0.0;
    QTest::newRow("no position names a solution")
        << cps << sd << IntList { 40, 41 } << true << qQNaN() << 0.0;
}

void TestData::addBLKmoy()
{
    QFETCH(DoubleList, cps);
    QFETCH(DoubleList, sd);
    QFETCH(IntList, positions);
    QFETCH(bool, added);
    QFETCH(double, averageCps);
    QFETCH(double, averageSd);

    // Two isotopes: the second carries ten times the first's values.
    Data data;
    data.addIso(Element(QStringLiteral("Co"), 59, Element::LR));
    data.addIso(Element(QStringLiteral("In"), 115, Element::HR));
    addSolutions(data, QStringLiteral("xBxB"), 2);
    for (int s = 0; s < cps.size(); ++s) {
        for (int i = 0; i < 2; ++i) {
            const double factor = i == 0 ? 1.0 : 10.0;
            data.getSolution(s)->setCps(i, cps.at(s) * factor);
            data.getSolution(s)->setCpsSD(i, sd.at(s) * factor);
            data.getSolution(s)->setConcent(i, 3.0);
            data.getSolution(s)->setConcentRSD(i, 4.0);
        }
    }

    data.addBLKmoy(positions, Data::ALL_AVG);

    if (!added) {
        QCOMPARE(data.solutionSize(), 4);
        QCOMPARE(data.getBlkIndexes(), (IntList { 1, 3 }));
        QCOMPARE(data.containsSolution(Data::ALL_AVG), -1);
        return;
    }
    QCOMPARE(data.solutionSize(), 5);
    QCOMPARE(data.containsSolution(Data::ALL_AVG), 4);
    QCOMPARE(data.getBlkIndexes(), (IntList { 1, 3, 4 }));
    const Solution *average = data.getSolution(4);
    QCOMPARE(average->getType(), Solution::BLK);
    QCOMPARE(average->getNbrElement(), 2);
    for (int i = 0; i < 2; ++i) {
        const double factor = i == 0 ? 1.0 : 10.0;
        if (std::isnan(averageCps))
            QVERIFY(std::isnan(average->getCps(i)));
        else
            QCOMPARE(average->getCps(i), averageCps * factor);
        QCOMPARE(average->getCpsSD(i), averageSd * factor);
        QCOMPARE(average->getConcent(i), 0.0);
        QCOMPARE(average->getConcentRSD(i), 0.0);
    }
    // The sources are read, not changed.
    QCOMPARE(data.getSolution(1)->getCps(0), cps.at(1));
}

void TestData::firstBlankRun_data()
{
    QTest::addColumn<QString>("types");
    QTest::addColumn<IntList>("run");

    QTest::newRow("no blank") << "xxSQ" << IntList {};
    QTest::newRow("empty data set") << "" << IntList {};
    QTest::newRow("blanks at 2, 3 and 7") << "xxBBxxxB" << IntList { 2, 3 };
    QTest::newRow("all blanks") << "BBB" << IntList { 0, 1, 2 };
    QTest::newRow("single leading blank") << "BxBB" << IntList { 0 };
    QTest::newRow("run at the end") << "xSBB" << IntList { 2, 3 };
}

void TestData::firstBlankRun()
{
    QFETCH(QString, types);
    QFETCH(IntList, run);

    Data data;
    addSolutions(data, types, 0);
    QCOMPARE(data.firstBlankRun(), run);
}

void TestData::containsSolution_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<int>("position");

    const QStringList names { "BLK_1", "STD_1", "BLK_Avg_All", "STD_1" };
    QTest::newRow("exact name") << names << "BLK_Avg_All" << 2;
    QTest::newRow("first of two") << names << "STD_1" << 1;
    QTest::newRow("letter case differs") << names << "blk_avg_all" << -1;
    QTest::newRow("prefix only") << names << "BLK" << -1;
    QTest::newRow("zero standard not yet added") << names << "STD_ZERO_STD" << -1;
    QTest::newRow("empty data set") << QStringList {} << "BLK_1" << -1;
}

void TestData::containsSolution()
{
    QFETCH(QStringList, names);
    QFETCH(QString, wanted);
    QFETCH(int, position);

    Data data;
    for (const QString &name : names)
        data.addSolution(Solution(name, 0, Parser::classify(name)));
    QCOMPARE(data.containsSolution(wanted), position);
}

void TestData::copyDataIsIndependent()
{
    RecordingParser sourceReader(0), copyWriter(0);
    Data source(&sourceReader);
    source.addIso(Element(QStringLiteral("Co"), 59, Element::LR));
    source.addIso(Element(QStringLiteral("In"), 115, Element::HR));
    source.addIso(Element(QStringLiteral("Fe"), 56, Element::MR));
    addSolutions(source, QStringLiteral("BxSQ"), 3);
    for (int s = 0; s < 4; ++s) {
        for (int i = 0; i < 3; ++i) {
            Solution *sol = source.getSolution(s);
            sol->setCps(i, 1000 * s + i);
            sol->setCpsSD(i, 100 * s + i);
            sol->setConcent(i, 10 * s + i);
            sol->setConcentRSD(i, s + 0.5 * i);
        }
    }

    Data copy(&copyWriter);
    copy.copyData(&source);

    QCOMPARE(copy.getParser(), &copyWriter);
    QCOMPARE(copy.isoSize(), 3);
    QCOMPARE(copy.solutionSize(), 4);
    QCOMPARE(copy.getLrIndexes(), source.getLrIndexes());
    QCOMPARE(copy.getMrIndexes(), source.getMrIndexes());
    QCOMPARE(copy.getHrIndexes(), source.getHrIndexes());
    QCOMPARE(copy.getBlkIndexes(), source.getBlkIndexes());
    for (int i = 0; i < 3; ++i)
        QCOMPARE(copy.getIso(i).getName(), source.getIso(i).getName());
    for (int s = 0; s < 4; ++s) {
        const Solution *from = source.getSolution(s);
        const Solution *to = copy.getSolution(s);
        QCOMPARE(to->getName(), from->getName());
        QCOMPARE(to->getType(), from->getType());
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(to->getCps(i), from->getCps(i));
            QCOMPARE(to->getCpsSD(i), from->getCpsSD(i));
            QCOMPARE(to->getConcent(i), from->getConcent(i));
            QCOMPARE(to->getConcentRSD(i), from->getConcentRSD(i));
        }
    }

    // No list is shared: writes on either side stay there.
    copy.getSolution(2)->setCps(1, -1.0);
    copy.getSolution(2)->setCpsSD(1, -2.0);
    copy.getSolution(2)->setConcent(1, -3.0);
    copy.getSolution(2)->setConcentRSD(1, -4.0);
    QCOMPARE(source.getSolution(2)->getCps(1), 2001.0);
    QCOMPARE(source.getSolution(2)->getCpsSD(1), 201.0);
    QCOMPARE(source.getSolution(2)->getConcent(1), 21.0);
    QCOMPARE(source.getSolution(2)->getConcentRSD(1), 2.5);
    source.getSolution(0)->setCps(0, 77.0);
    QCOMPARE(copy.getSolution(0)->getCps(0), 0.0);
}

void TestData::copyDataReplacesContent()
{
    Data source;
    source.addIso(Element(QStringLiteral("Co"), 59, Element::NOT_DEFINED));
    addSolutions(source, QStringLiteral("BB"), 1);
    source.getSolution(0)->setCps(0, 10);
    source.getSolution(1)->setCps(0, 30);

    Data work;
    work.copyData(&source);
    work.addBLKmoy(work.getBlkIndexes(), Data::ALL_AVG);
    QCOMPARE(work.solutionSize(), 3);
    QCOMPARE(work.getSolution(2)->getCps(0), 20.0);

    // A second copy drops the average of the earlier run.
    work.copyData(&source);
    QCOMPARE(work.solutionSize(), 2);
    QCOMPARE(work.isoSize(), 1);
    QCOMPARE(work.getBlkIndexes(), (IntList { 0, 1 }));
    QCOMPARE(work.getLrIndexes(), (IntList { 0 }));
    QCOMPARE(work.containsSolution(Data::ALL_AVG), -1);

    // Copying a data set into itself keeps it.
    work.copyData(&work);
    QCOMPARE(work.solutionSize(), 2);
    QCOMPARE(work.getSolution(1)->getCps(0), 30.0);
}

void TestData::clearKeepsParser()
{
    RecordingParser reader(0);
    Data data(&reader);
    data.addIso(Element(QStringLiteral("Co"), 59, Element::HR));
    data.addIso(Element(QStringLiteral("Fe"), 56, Element::MR));
    data.addIso(Element(QStringLiteral("Li"), 7, Element::LR));
    addSolutions(data, QStringLiteral("BxB"), 3);
    data.clear();
    QCOMPARE(data.isoSize(), 0);
    QCOMPARE(data.solutionSize(), 0);
    QVERIFY(data.getBlkIndexes().isEmpty());
    QVERIFY(data.getLrIndexes().isEmpty());
    QVERIFY(data.getMrIndexes().isEmpty());
    QVERIFY(data.getHrIndexes().isEmpty());
    QCOMPARE(data.getParser(), &reader);
    // Positions start again from 0.
    QCOMPARE(data.addSolution(Solution(QStringLiteral("BLK_9"), 0, Solution::BLK)), 0);
    QCOMPARE(data.getBlkIndexes(), (IntList { 0 }));
}

void TestData::parserSwap()
{
    RecordingParser first(0), second(1);
    Data data(&first);
    data.addIso(Element(QStringLiteral("Co"), 59, Element::LR));
    QBuffer buffer;
    buffer.open(QIODevice::ReadOnly);

    data.loadParser(&second);
    const ParseResult result = data.executeParsing(&buffer, nullptr);
    QCOMPARE(first.calls, 0);
    QCOMPARE(second.calls, 1);
    QCOMPARE(second.lastData, &data);
    QCOMPARE(second.lastFile, static_cast<QIODevice *>(&buffer));
    // The reader's result comes back unchanged.
    QCOMPARE(result.code, 1);
    QCOMPARE(result.message, QStringLiteral("reader 1"));
    // Changing the reader leaves the data alone.
    QCOMPARE(data.isoSize(), 1);
}

QTEST_APPLESS_MAIN(TestData)
#include "tst_data.moc"
