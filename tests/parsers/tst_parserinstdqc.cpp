#include "ReaderTesting.h"
#include "model/Data.h"
#include "parsers/ParserInSTDQC.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QtTest>

using DoubleList = QList<double>;

using namespace ReaderTesting;

namespace {

// Marks a value the reader has not written.
constexpr double UNTOUCHED = -1.0;

// A data set as an instrument reader leaves it: solutions typed by their
// names, one isotope per element name, every concentration still unwritten.
void fill(Data &data, const QStringList &solutions, const QStringList &elements)
{
    for (int i = 0; i < elements.size(); ++i)
        data.addIso(Element(elements.at(i), i + 1, Element::LR));
    for (const QString &name : solutions) {
        Solution solution(name, elements.size(), Parser::classify(name));
        for (int i = 0; i < elements.size(); ++i) {
            solution.setConcent(i, UNTOUCHED);
            solution.setConcentRSD(i, UNTOUCHED);
        }
        data.addSolution(solution);
    }
}

const QString DONE = QStringLiteral("Concentrations Introduced");

} // namespace

class TestParserInSTDQC : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void reads_data();
    void reads();
    void readsExampleFile();
    void pathologicalHeaderStaysQuick();
};

void TestParserInSTDQC::reads_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("solutions");
    QTest::addColumn<QStringList>("elements");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<DoubleList>("concent");
    QTest::addColumn<DoubleList>("concentRSD");

    const double U = UNTOUCHED;
    const QStringList lithium { "Li" };
    const QStringList std1 { "STD_1" };

    QTest::newRow("example") << QByteArray(
        "Element;STD_1;;STD_2;;QC_1;\nLi;1;2;10;2;5;3\nPb;0.5;4;5;3;2;5\n")
                             << QStringList { "STD_1", "STD_2", "QC_1" }
                             << QStringList { "Li", "Pb" } << 0 << DONE
                             << DoubleList { 1, 0.5, 10, 5, 5, 2 }
                             << DoubleList { 2, 4, 2, 3, 3, 5 };
    QTest::newRow("replicates share their column")
        << QByteArray("Element;STD_1;\nLi;4;1\n") << QStringList { "STD_1_1", "STD_1_2", "STD_11" }
        << lithium << 0 << DONE << DoubleList { 4, 4, 4 } << DoubleList { 1, 1, 1 };
    QTest::newRow("look-alike names, rightmost header wins")
        << QByteArray("Element;STD_1;;STD_12;\nLi;1;10;2;20\n")
        << QStringList { "STD_1", "STD_12", "STD_1_2", "STD_13" } << lithium << 0 << DONE
        << DoubleList { 1, 2, 1, 1 } << DoubleList { 10, 20, 10, 10 };
    QTest::newRow("same header twice")
        << QByteArray("Element;STD_1;;STD_1;\nLi;1;1;2;2\n") << std1 << lithium << 0 << DONE
        << DoubleList { 2 } << DoubleList { 2 };
    QTest::newRow("header read as pattern")
        << QByteArray("Element;QC_STD.1;\nLi;7;1\n") << QStringList { "QC_STDX1" } << lithium << 0
        << DONE << DoubleList { 7 } << DoubleList { 1 };
    QTest::newRow("invalid header beside a valid one")
        << QByteArray("Element;STD_(1;;STD_1;\nLi;1;1;2;2\n") << std1 << lithium << 0 << DONE
        << DoubleList { 2 } << DoubleList { 2 };
    QTest::newRow("blanks and samples never looked up")
        << QByteArray("Element;BLK_1;;S1;;STD_1;\nLi;1;1;2;2;3;3\n")
        << QStringList { "BLK_1", "S1", "STD_1" } << lithium << 0 << DONE << DoubleList { U, U, 3 }
        << DoubleList { U, U, 3 };
    QTest::newRow("first row of an element wins")
        << QByteArray("Element;STD_1;\nLi;1;1\nLi;9;9\n") << std1 << QStringList { "Li", "Li" } << 0
        << DONE << DoubleList { 1, 1 } << DoubleList { 1, 1 };
    // Rows named like quadrupole isotopes end in a digit, not in a symbol.
    QTest::newRow("quadrupole element names")
        << QByteArray("Element;STD_1;;STD_2;\nFe #2;1;2;10;2\nLi #1;5;1;50;1\n")
        << QStringList { "STD_1", "STD_2" } << QStringList { "Li #1", "Fe #2" } << 0 << DONE
        << DoubleList { 5, 1, 50, 10 } << DoubleList { 1, 2, 1, 2 };
    QTest::newRow("header line is no element row")
        << QByteArray("Li;STD_1;\nLi;5;1\n") << std1 << lithium << 0 << DONE << DoubleList { 5 }
        << DoubleList { 1 };
    QTest::newRow("element without a row unchanged")
        << QByteArray("Element;STD_1;\nLi;1;1\nCo;2;2\n") << std1 << QStringList { "Li", "Pb" } << 0
        << DONE << DoubleList { 1, U } << DoubleList { 1, U };
    QTest::newRow("element names are case-sensitive")
        << QByteArray("Element;STD_1;\nli;1;1\nLI;2;2\n") << std1 << lithium << 0 << DONE
        << DoubleList { U } << DoubleList { U };
    QTest::newRow("cells past the row end read as zero")
        << QByteArray("Element;STD_1;;STD_2;\nLi;1\n") << QStringList { "STD_1", "STD_2" }
        << lithium << 0 << DONE << DoubleList { 1, 0 } << DoubleList { 0, 0 };
    QTest::newRow("empty cells read as zero")
        << QByteArray("Element;STD_1;\nLi;;\n") << std1 << lithium << 0 << DONE << DoubleList { 0 }
        << DoubleList { 0 };
    QTest::newRow("other lines ignored")
        << QByteArray("Element;STD_1;\n\nppb;;\nLi;3;1\n") << std1 << lithium << 0 << DONE
        << DoubleList { 3 } << DoubleList { 1 };
    QTest::newRow("decimal commas") << QByteArray("Element;STD_1;\nLi;1,5;2,5\n") << std1 << lithium
                                    << 0 << DONE << DoubleList { 1.5 } << DoubleList { 2.5 };
    QTest::newRow("CRLF and byte-order mark")
        << QByteArray("\xEF\xBB\xBF"
                      "Element;STD_1;;STD_2\r\nLi;1;2;3;4\r\n\r\n")
        << QStringList { "STD_1", "STD_2" } << lithium << 0 << DONE << DoubleList { 1, 3 }
        << DoubleList { 2, 4 };
    QTest::newRow("Windows-1252") << QByteArray("Element;STD_\xB5g;\r\n\xC9l;4;1\r\n")
                                  << QStringList { QString::fromUtf8("STD_\xC2\xB5g") }
                                  << QStringList { QString::fromUtf8("\xC3\x89l") } << 0 << DONE
                                  << DoubleList { 4 } << DoubleList { 1 };
    QTest::newRow("no standard, no QC")
        << QByteArray("nothing useful") << QStringList { "BLK_1", "S1" } << lithium << 0 << DONE
        << DoubleList { U, U } << DoubleList { U, U };

    QTest::newRow("solution not found")
        << QByteArray("Element;STD_1;;STD_2;\nLi;1;1;2;2\n")
        << QStringList { "STD_1", "STD_9", "STD_2" } << lithium << 1 << "Solution STD_9 Not found"
        << DoubleList { 1, U, U } << DoubleList { 1, U, U };
    QTest::newRow("empty file") << QByteArray() << QStringList { "BLK_1", "QC_1" } << lithium << 1
                                << "Solution QC_1 Not found" << DoubleList { U, U }
                                << DoubleList { U, U };
    QTest::newRow("suffix other than digits")
        << QByteArray("Element;QC_A;\nLi;1;1\n") << QStringList { "QC_A_3", "QC_A_B" } << lithium
        << 1 << "Solution QC_A_B Not found" << DoubleList { 1, U } << DoubleList { 1, U };
    QTest::newRow("header case differs")
        << QByteArray("Element;std_1;\nLi;1;1\n") << std1 << lithium << 1
        << "Solution STD_1 Not found" << DoubleList { U } << DoubleList { U };
    QTest::newRow("unbalanced parenthesis matches nothing")
        << QByteArray("Element;STD_(1;\nLi;1;1\n") << QStringList { "STD_(1" } << lithium << 1
        << "Solution STD_(1 Not found" << DoubleList { U } << DoubleList { U };
    QTest::newRow("catastrophic header matches nothing")
        << QByteArray("Element;STD_(a+)+;\nLi;1;1\n")
        << QStringList { QStringLiteral("STD_") + QString(40, QLatin1Char('a')) + QLatin1Char('!') }
        << lithium << 1
        << QStringLiteral("Solution STD_") + QString(40, QLatin1Char('a'))
            + QStringLiteral("! Not found")
        << DoubleList { U } << DoubleList { U };
    // The failing solution is read whole before any value is stored.
    QTest::newRow("unreadable number")
        << QByteArray("Element;STD_1;;STD_2;\nLi;1;1;2;2\nPb;3;3;x;4\n")
        << QStringList { "STD_1", "STD_2" } << QStringList { "Li", "Pb" } << 1
        << InputParser::numberError(3, QStringLiteral("x")) << DoubleList { 1, 3, U, U }
        << DoubleList { 1, 3, U, U };
    QTest::newRow("binary file") << QByteArray("PK\x03\x04") + QByteArray(8, '\0')
            + "Element;STD_1;\nLi;1;1\n"
                                 << std1 << lithium << 1
                                 << "Input file format error: the standards file holds no text"
                                 << DoubleList { U } << DoubleList { U };
}

void TestParserInSTDQC::reads()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, solutions);
    QFETCH(QStringList, elements);
    QFETCH(int, code);
    QFETCH(QString, message);
    QFETCH(DoubleList, concent);
    QFETCH(DoubleList, concentRSD);

    ParserInSTDQC reader;
    Data data(&reader);
    fill(data, solutions, elements);
    const ParseResult result = read(file, data);
    QCOMPARE(result.message, message);
    QCOMPARE(result.code, code);
    QCOMPARE(values(data, &Solution::getConcent), concent);
    QCOMPARE(values(data, &Solution::getConcentRSD), concentRSD);
    // Nothing else of the data set moves.
    QCOMPARE(data.solutionSize(), solutions.size());
    QCOMPARE(data.isoSize(), elements.size());
    for (int s = 0; s < data.solutionSize(); ++s) {
        QCOMPARE(data.getSolution(s)->getName(), solutions.at(s));
        for (int i = 0; i < data.isoSize(); ++i)
            QCOMPARE(data.getSolution(s)->getCps(i), 0.0);
    }
}

void TestParserInSTDQC::readsExampleFile()
{
    QFile file(QStringLiteral(TEST_DATA_DIR "/stdqc_example.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    ParserInSTDQC reader;
    Data data(&reader);
    fill(data, { "BLK_1", "STD_1", "STD_2", "QC_1", "Sample" }, { "Li", "Pb" });
    const ParseResult result = data.executeParsing(&file, nullptr);
    QCOMPARE(result.code, 0);
    QCOMPARE(data.getSolution(2)->getConcent(0), 10.0);
    QCOMPARE(data.getSolution(2)->getConcentRSD(0), 2.0);
    QCOMPARE(data.getSolution(2)->getConcent(1), 5.0);
    QCOMPARE(data.getSolution(2)->getConcentRSD(1), 3.0);
    QCOMPARE(data.getSolution(3)->getConcent(1), 2.0);
    QCOMPARE(data.getSolution(0)->getConcent(0), UNTOUCHED);

    // Not a CSV at all: a spreadsheet saved under the wrong name.
    QFile spreadsheet(QStringLiteral(TEST_DATA_DIR "/standards_xlsx_instead_of_csv.dat"));
    QVERIFY(spreadsheet.open(QIODevice::ReadOnly));
    QCOMPARE(data.executeParsing(&spreadsheet, nullptr).code, 1);
    QCOMPARE(data.getSolution(2)->getConcent(0), 10.0);
}

void TestParserInSTDQC::pathologicalHeaderStaysQuick()
{
    // Every solution is tried against the pathological header before the
    // rightmost header takes it: unbounded backtracking would take seconds.
    const QString name = QStringLiteral("STD_") + QString(40, QLatin1Char('a')) + QLatin1Char('!');
    ParserInSTDQC reader;
    Data data(&reader);
    QStringList names;
    for (int s = 0; s < 300; ++s)
        names << name;
    fill(data, names, { "Li" });
    QElapsedTimer timer;
    timer.start();
    const ParseResult result = read("Element;STD_(a+)+;;STD_a+!;\nLi;1;1;2;3\n", data);
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(result.code, 0);
    QCOMPARE(data.getSolution(299)->getConcent(0), 2.0);
    QCOMPARE(data.getSolution(299)->getConcentRSD(0), 3.0);
}

QTEST_GUILESS_MAIN(TestParserInSTDQC)
#include "tst_parserinstdqc.moc"
