#include "ReaderTesting.h"
#include "parsers/ParserInSTDQC.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QRegularExpression>
#include <QtTest>

using namespace ReaderTesting;

namespace {

// Marks a value the reader has not written.
constexpr double U = -1.0;

// A data set as an instrument reader leaves it: solutions typed by their
// names, one isotope per element name, every concentration still unwritten.
void fill(Data &data, const QStringList &solutions, const QStringList &elements)
{
    for (int i = 0; i < elements.size(); ++i)
        data.addIso(Element(elements.at(i), i + 1, Element::LR));
    for (const QString &name : solutions) {
        Solution solution(name, elements.size(), Parser::classify(name));
        for (int i = 0; i < elements.size(); ++i) {
            solution.setConcent(i, U);
            solution.setConcentRSD(i, U);
        }
        data.addSolution(solution);
    }
}

} // namespace

class TestParserInSTDQC : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void reads_data();
    void reads();
    void headerNamesSolutions_data();
    void headerNamesSolutions();
};

void TestParserInSTDQC::reads_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("solutions");
    QTest::addColumn<QStringList>("elements");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    // Solution after solution, isotope after isotope.
    QTest::addColumn<DoubleList>("concent");
    QTest::addColumn<DoubleList>("concentRSD");

    const QString done = QStringLiteral("Concentrations Introduced");
    const QStringList lithium { "Li" };
    const QStringList std1 { "STD_1" };

    // Blanks and samples are never looked up.
    QTest::newRow("example") << dataFile("stdqc_example.csv")
                             << QStringList { "BLK_1", "STD_1", "STD_2", "QC_1", "Sample" }
                             << QStringList { "Li", "Pb" } << 0 << done
                             << DoubleList { U, U, 1, 0.5, 10, 5, 5, 2, U, U }
                             << DoubleList { U, U, 2, 4, 2, 3, 3, 5, U, U };
    QTest::newRow("replicate and look-alike names, rightmost header wins")
        << QByteArray("Element;STD_1;;STD_12;\nLi;1;10;2;20\n")
        << QStringList { "STD_1", "STD_12", "STD_1_2", "STD_13" } << lithium << 0 << done
        << DoubleList { 1, 2, 1, 1 } << DoubleList { 10, 20, 10, 10 };
    // Quadrupole names end in a digit, not in a symbol.
    QTest::newRow("quadrupole names, first row of an element wins")
        << QByteArray("Element;STD_1;;STD_2;\nFe #2;1;2;10;2\nLi #1;5;1;50;1\nFe #2;9;9;9;9\n")
        << QStringList { "STD_1", "STD_2" } << QStringList { "Li #1", "Fe #2" } << 0 << done
        << DoubleList { 5, 1, 50, 10 } << DoubleList { 1, 2, 1, 2 };
    QTest::newRow("header line is no element row")
        << QByteArray("Li;STD_1;\nLi;5;1\n") << std1 << lithium << 0 << done << DoubleList { 5 }
        << DoubleList { 1 };
    QTest::newRow("rows that name no isotope")
        << QByteArray("Element;STD_1;\n\nppb;;\nli;2;2\nLi;1;1\n") << std1
        << QStringList { "Li", "Pb" } << 0 << done << DoubleList { 1, U } << DoubleList { 1, U };
    QTest::newRow("empty and missing cells read as zero")
        << QByteArray("Element;STD_1;;STD_2;\nLi;;2\n") << QStringList { "STD_1", "STD_2" }
        << lithium << 0 << done << DoubleList { 0, 0 } << DoubleList { 2, 0 };
    QTest::newRow("CRLF, byte-order mark, decimal commas")
        << QByteArray("\xEF\xBB\xBF"
                      "Element;STD_1;;STD_2\r\nLi;1,5;2;3;4,25\r\n\r\n")
        << QStringList { "STD_1", "STD_2" } << lithium << 0 << done << DoubleList { 1.5, 3 }
        << DoubleList { 2, 4.25 };
    QTest::newRow("Windows-1252") << QByteArray("Element;STD_\xB5g;\r\n\xC9l;4;1\r\n")
                                  << QStringList { QStringLiteral(u"STD_µg") }
                                  << QStringList { QStringLiteral(u"Él") } << 0 << done
                                  << DoubleList { 4 } << DoubleList { 1 };
    QTest::newRow("no standard, no QC")
        << QByteArray("nothing useful") << QStringList { "BLK_1", "S1" } << lithium << 0 << done
        << DoubleList { U, U } << DoubleList { U, U };

    QTest::newRow("solution not found")
        << QByteArray("Element;STD_1;;STD_2;\nLi;1;1;2;2\n")
        << QStringList { "STD_1", "STD_9", "STD_2" } << lithium << 1 << "Solution STD_9 Not found"
        << DoubleList { 1, U, U } << DoubleList { 1, U, U };
    QTest::newRow("empty file") << QByteArray() << QStringList { "BLK_1", "QC_1" } << lithium << 1
                                << "Solution QC_1 Not found" << DoubleList { U, U }
                                << DoubleList { U, U };
    QTest::newRow("unbalanced parenthesis matches nothing")
        << QByteArray("Element;STD_(1;\nLi;1;1\n") << QStringList { "STD_(1" } << lithium << 1
        << "Solution STD_(1 Not found" << DoubleList { U } << DoubleList { U };
    // Patterns that backtrack without end on a long name: each standard is tried
    // against both before the leftmost header takes it, which reads() times.
    const QString longName = QStringLiteral("STD_") + QString(40, 'a');
    QTest::newRow("catastrophic headers on long names")
        << QByteArray("Element;STD_a+X;;STD_(a+)+$;;(.*)*(.*)*(.*)*Y;\nLi;1;2;7;7;8;8\n")
        << QStringList(QVector<QString>(200, longName + 'X').toList()) << lithium << 0 << done
        << QVector<double>(200, 1).toList() << QVector<double>(200, 2).toList();
    QTest::newRow("overlapping alternation that matches")
        << QByteArray("Element;STD_(a|aa)+;\nLi;1;2\n") << QStringList { longName + "_2" }
        << lithium << 0 << done << DoubleList { 1 } << DoubleList { 2 };
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
    QElapsedTimer clock;
    clock.start();
    const ParseResult result = read(file, data);
    // A guard against a read that never ends (a header such as "(a+)+$"), not a speed target.
    QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed()) + " ms"));
    QCOMPARE(result.message, message);
    QCOMPARE(result.code, code);
    QCOMPARE(values(data, &Solution::getConcent), concent);
    QCOMPARE(values(data, &Solution::getConcentRSD), concentRSD);
    // Nothing else of the data set moves.
    QCOMPARE(data.solutionSize(), solutions.size());
    QCOMPARE(data.isoSize(), elements.size());
    QCOMPARE(values(data, &Solution::getCps).count(0.0), concent.size());
}

void TestParserInSTDQC::headerNamesSolutions_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("standard");

    // Plain names, which the reader compares as text, then pattern text.
    const QList<QPair<QString, QString>> pairs { { "STD_1", "STD_1" }, { "STD_1", "STD_12" },
        { "STD_1", "STD_1_2" }, { "STD_1", "STD_1_" }, { "STD_1", "STD_1__2" },
        { "STD_1", "STD_1_a" }, { "STD_1", "XSTD_1" }, { "STD_1", "std_1" },
        { "STD_1", QStringLiteral(u"STD_1\u0663") }, { "", "12" }, { "", "STD_1" },
        { "STD 1", "STD 1_3" }, { "STD.1", "STDX1_4" }, { "STD_1|QC_9", "QC_9" },
        { "STD_[12]", "STD_2_1" }, { "STD_{1}", "STD_{1}" } };
    for (const auto &pair : pairs)
        QTest::newRow(qPrintable("'" + pair.first + "' against " + pair.second))
            << pair.first << pair.second;
}

// Whatever shortcut the reader takes, a header names exactly the solutions that
// the pattern "^" + header + "(_?\d+)?$" matches.
void TestParserInSTDQC::headerNamesSolutions()
{
    QFETCH(QString, header);
    QFETCH(QString, standard);

    const QRegularExpression rule("^" + header + "(_?\\d+)?$");
    const bool expected = rule.isValid() && rule.match(standard).hasMatch();

    ParserInSTDQC reader;
    Data data(&reader);
    data.addIso(Element(QStringLiteral("Li"), 7, Element::LR));
    // A standard whatever its name, so that it is looked up.
    data.addSolution(Solution(standard, 1, Solution::STD));
    // Last on the line, so no empty cell stands right of the header.
    const ParseResult result = read(("Element;QC_1;;" + header + "\nLi;5;3;4;2\n").toUtf8(), data);
    QCOMPARE(result.code, expected ? 0 : 1);
    QCOMPARE(data.getSolution(0)->getConcent(0), expected ? 4.0 : 0.0);
}

QTEST_GUILESS_MAIN(TestParserInSTDQC)
#include "tst_parserinstdqc.moc"
