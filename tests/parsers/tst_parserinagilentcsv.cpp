#include "ReaderTesting.h"
#include "model/Data.h"
#include "parsers/ParserInAgilentCSV.h"

#include <QFile>
#include <QLocale>
#include <QtTest>

using DoubleList = QList<double>;
using TypeList = QList<int>;

using namespace ReaderTesting;

namespace {

QStringList isotopeNames(const Data &data)
{
    QStringList names;
    for (int i = 0; i < data.isoSize(); ++i)
        names << data.getIso(i).getName();
    return names;
}

const QString QUADRUPOLE = QStringLiteral("Q-ICP-MS");
const QString NO_SOLUTION = formatError(QStringLiteral("no solution detected"), QUADRUPOLE);
const QString NO_ELEMENT = formatError(QStringLiteral("no element detected"), QUADRUPOLE);

QString unrecognized(const QString &isotope, const QString &solution)
{
    return QStringLiteral("Input file format error: unrecognized pulse or rsd value for element '")
        + isotope + QStringLiteral("' in solution ' ") + solution
        + QStringLiteral("' (instrument set for 'Q-ICP-MS')");
}

QString countMismatch(const QString &isotope)
{
    return ReaderTesting::countMismatch(isotope, QUADRUPOLE);
}

} // namespace

class TestParserInAgilentCSV : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void reads_data();
    void reads();
    void rejects_data();
    void rejects();
    void readsFiles_data();
    void readsFiles();
    void replacesPreviousContents();
};

void TestParserInAgilentCSV::reads_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("solutions");
    QTest::addColumn<TypeList>("types");
    QTest::addColumn<QStringList>("isotopes");
    QTest::addColumn<DoubleList>("cps");
    QTest::addColumn<DoubleList>("cpsSD");

    const QStringList twoSolutions { "BLK_1", "STD_1" };
    const TypeList blankAndStandard { Solution::BLK, Solution::STD };
    const QStringList lithium { "7Li #1 " };

    QTest::newRow("example") << QByteArray("Instrument report (ignored)\n"
                                           "Sample:;BLK_1;;STD_1;\n"
                                           "Li / 7 [#1];120;4.5%;900;2%;\n")
                             << twoSolutions << blankAndStandard << lithium
                             << DoubleList { 120, 900 } << DoubleList { 5.4, 18 };
    QTest::newRow("undefined intensity and rsd")
        << QByteArray("Sample:;BLK_1;;STD_1;\nLi / 7 [#1];<###> ;4.5%;900;<###> ;\n")
        << twoSolutions << blankAndStandard << lithium << DoubleList { 0, 900 }
        << DoubleList { 0, 0 };
    QTest::newRow("rsd with and without percent")
        << QByteArray("Sample:;BLK_1;;STD_1;\nLi / 7 [#1];120;4.5%;120;4.5;\n") << twoSolutions
        << blankAndStandard << lithium << DoubleList { 120, 120 } << DoubleList { 5.4, 5.4 };
    QTest::newRow("decimal commas")
        << QByteArray("Sample:;BLK_1;;STD_1;\nLi / 7 [#1];120,5;2%;1,234;10,0%;\n") << twoSolutions
        << blankAndStandard << lithium << DoubleList { 120.5, 1.234 }
        << DoubleList { 2.41, 0.1234 };
    QTest::newRow("first cell of the sample line dropped whole")
        << QByteArray("Sample: Run 5;A;;B;\nLi / 7 [#1];1;0;2;0;\n") << QStringList { "A", "B" }
        << TypeList { Solution::SAMPLE, Solution::SAMPLE } << lithium << DoubleList { 1, 2 }
        << DoubleList { 0, 0 };
    QTest::newRow("classification")
        << QByteArray("Sample:;QC_1;STD_QC_2;Run2_BLK_1;blk_1;\n"
                      "Li / 7 [#1];1;1;2;1;3;1;4;1;\n")
        << QStringList { "QC_1", "STD_QC_2", "Run2_BLK_1", "blk_1" }
        << TypeList { Solution::QC, Solution::STD, Solution::BLK, Solution::SAMPLE } << lithium
        << DoubleList { 1, 2, 3, 4 } << DoubleList { 0.01, 0.02, 0.03, 0.04 };
    // No slot was counted for an isotope above the sample line.
    QTest::newRow("isotope line before the sample line skipped")
        << QByteArray(
               "Fe / 56 [#2];5;1%;6;1%;\nSample:;BLK_1;;STD_1;\nLi / 7 [#1];120;4.5%;900;2%;\n")
        << twoSolutions << blankAndStandard << lithium << DoubleList { 120, 900 }
        << DoubleList { 5.4, 18 };
    QTest::newRow("sample line that looks like an isotope line")
        << QByteArray("Sample:;Li / 7 [#1];\nPb / 208 [#2];100;1%;\n")
        << QStringList { "Li / 7 [#1]" } << TypeList { Solution::SAMPLE }
        << QStringList { "208Pb #2 " } << DoubleList { 100 } << DoubleList { 1 };
    QTest::newRow("other lines ignored")
        << QByteArray("Sample:;BLK_1;;STD_1;\nTotal;12;13;\nLi / 7 [#1];120;4.5%;900;2%;\n"
                      "Li / 7 [#1] no separator\n;;\n")
        << twoSolutions << blankAndStandard << lithium << DoubleList { 120, 900 }
        << DoubleList { 5.4, 18 };
    QTest::newRow("same isotope twice gives two isotopes")
        << QByteArray("Sample:;A;\nCo / 59 [#1];10;1%;\nCo / 59 [#1];20;1%;\n")
        << QStringList { "A" } << TypeList { Solution::SAMPLE }
        << QStringList { "59Co #1 ", "59Co #1 " } << DoubleList { 10, 20 }
        << DoubleList { 0.1, 0.2 };
    QTest::newRow("three-digit mass, several isotopes")
        << QByteArray("Sample:;BLK_1;;STD_1;\nLi / 7 [#1];120;4.5%;900;2%;\n"
                      "U / 238 [#3];50;10%;7000;1%;\n")
        << twoSolutions << blankAndStandard << QStringList { "7Li #1 ", "238U #3 " }
        << DoubleList { 120, 50, 900, 7000 } << DoubleList { 5.4, 5, 18, 70 };
    QTest::newRow("CRLF, byte-order mark, no final line ending")
        << QByteArray("\xEF\xBB\xBFSample:;BLK_1;;STD_1;\r\nLi / 7 [#1];120;4.5%;900;2%")
        << twoSolutions << blankAndStandard << lithium << DoubleList { 120, 900 }
        << DoubleList { 5.4, 18 };
    QTest::newRow("Windows-1252 names")
        << QByteArray("Sample:;Eau_\xB5_3;;\xC9"
                      "chantillon_2;\r\nLi / 7 [#1];1;0;2;0;\r\n\r\n")
        << QStringList { QString::fromUtf8("Eau_\xC2\xB5_3"),
               QString::fromUtf8("\xC3\x89"
                                 "chantillon_2") }
        << TypeList { Solution::SAMPLE, Solution::SAMPLE } << lithium << DoubleList { 1, 2 }
        << DoubleList { 0, 0 };
}

void TestParserInAgilentCSV::reads()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, solutions);
    QFETCH(TypeList, types);
    QFETCH(QStringList, isotopes);
    QFETCH(DoubleList, cps);
    QFETCH(DoubleList, cpsSD);

    ParserInAgilentCSV reader;
    Data data(&reader);
    const ParseResult result = read(file, data);
    QCOMPARE(result.message,
        QStringLiteral("Parsed Elements %1\n\nParsed Solutions %2")
            .arg(isotopes.size())
            .arg(solutions.size()));
    QCOMPARE(result.code, 0);
    QCOMPARE(solutionNames(data), solutions);
    for (int s = 0; s < data.solutionSize(); ++s) {
        QCOMPARE(int(data.getSolution(s)->getType()), types.at(s));
        QCOMPARE(data.getSolution(s)->getNbrElement(), isotopes.size());
    }
    QCOMPARE(isotopeNames(data), isotopes);
    QCOMPARE(data.getLrIndexes().size(), isotopes.size());
    QCOMPARE(values(data, &Solution::getCps), cps);
    QCOMPARE(values(data, &Solution::getCpsSD), cpsSD);
}

void TestParserInAgilentCSV::rejects_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("solutions");
    QTest::addColumn<QStringList>("isotopes");
    // Intensities of the first solution after the rejection, one per isotope.
    QTest::addColumn<DoubleList>("firstCps");

    QTest::newRow("empty file") << QByteArray() << NO_SOLUTION << 0 << QStringList()
                                << DoubleList();
    QTest::newRow("no sample line") << QByteArray("Li / 7 [#1];120;4.5%;\nSample;A;\n")
                                    << NO_SOLUTION << 0 << QStringList() << DoubleList();
    QTest::newRow("sample line without names")
        << QByteArray("Sample: Run 5;;;\nLi / 7 [#1];120;4.5%;\n") << NO_SOLUTION << 0
        << QStringList() << DoubleList();
    QTest::newRow("no isotope line") << QByteArray("Sample:;A;\nLi / 7 [1];120;4.5%;\n")
                                     << NO_ELEMENT << 0 << QStringList() << DoubleList();
    QTest::newRow("isotope lines only before the sample line")
        << QByteArray("Li / 7 [#1];120;4.5%;\nSample:;A;\n") << NO_ELEMENT << 0 << QStringList()
        << DoubleList();
    QTest::newRow("binary file") << QByteArray("PK\x03\x04") + QByteArray(2, '\0')
            + "Sample:;A;\nLi / 7 [#1];1;1;\n"
                                 << NO_SOLUTION << 0 << QStringList() << DoubleList();

    const QByteArray header("Sample:;BLK_1;;STD_1;\nLi / 7 [#1];120;4.5%;900;2%;\n");
    QTest::newRow("text in an intensity cell")
        << header + "Pb / 208 [#2];abc;1%;900;2%;\n"
        << unrecognized("208Pb #2 ", "BLK_1") << 2 << QStringList { "7Li #1 ", "208Pb #2 " }
        << DoubleList { 120, 0 };
    QTest::newRow("text in the second solution's rsd")
        << header + "Pb / 208 [#2];5;1%;900;n.d.;\n"
        << unrecognized("208Pb #2 ", "STD_1") << 2 << QStringList { "7Li #1 ", "208Pb #2 " }
        << DoubleList { 120, 0 };
    QTest::newRow("tag without its blank")
        << header + "Pb / 208 [#2];<###>;1%;900;2%;\n"
        << unrecognized("208Pb #2 ", "BLK_1") << 2 << QStringList { "7Li #1 ", "208Pb #2 " }
        << DoubleList { 120, 0 };
    QTest::newRow("other instrument's tag")
        << header + "Pb / 208 [#2];5;not def.;900;2%;\n"
        << unrecognized("208Pb #2 ", "BLK_1") << 2 << QStringList { "7Li #1 ", "208Pb #2 " }
        << DoubleList { 120, 0 };
    QTest::newRow("bad cell beyond the last pair")
        << header + "Pb / 208 [#2];5;1%;900;2%;7;comment;\n"
        << unrecognized("208Pb #2 ", "STD_1") << 2 << QStringList { "7Li #1 ", "208Pb #2 " }
        << DoubleList { 120, 0 };
    QTest::newRow("missing value as an empty cell")
        << header + "Pb / 208 [#2];5;;900;2%;\n"
        << countMismatch("208Pb #2 ") << 2 << QStringList { "7Li #1 ", "208Pb #2 " }
        << DoubleList { 120, 0 };
    QTest::newRow("one pair too many")
        << header + "Pb / 208 [#2];5;1%;900;2%;7;1%;\n"
        << countMismatch("208Pb #2 ") << 2 << QStringList { "7Li #1 ", "208Pb #2 " }
        << DoubleList { 120, 0 };
    // The isotope then comes from the row number: no symbol, no mass.
    QTest::newRow("row number before the isotope cell")
        << QByteArray("Sample:;BLK_1;;STD_1;\n12;Li / 7 [#1];120;4.5%;900;2%;\n")
        << countMismatch("-1 ") << 2 << QStringList { "-1 " } << DoubleList { 0 };
    QTest::newRow("number with a unit")
        << header + "Pb / 208 [#2];5;1%;12 cps;2%;\n"
        << InputParser::numberError(3, QStringLiteral("12 cps")) << 2
        << QStringList { "7Li #1 ", "208Pb #2 " } << DoubleList { 120, 0 };
    QTest::newRow("percent in an intensity")
        << QByteArray("\r\n") + header + "Pb / 208 [#2];5;1%;120%;2%;\n"
        << InputParser::numberError(4, QStringLiteral("120%")) << 2
        << QStringList { "7Li #1 ", "208Pb #2 " } << DoubleList { 120, 0 };
    QTest::newRow("unreadable rsd")
        << header + "Pb / 208 [#2];5;1.5.2%;900;2%;\n"
        << InputParser::numberError(3, QStringLiteral("1.5.2%")) << 2
        << QStringList { "7Li #1 ", "208Pb #2 " } << DoubleList { 120, 0 };
}

void TestParserInAgilentCSV::rejects()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(int, solutions);
    QFETCH(QStringList, isotopes);
    QFETCH(DoubleList, firstCps);

    ParserInAgilentCSV reader;
    Data data(&reader);
    const ParseResult result = read(file, data);
    QCOMPARE(result.message, message);
    QCOMPARE(result.code, 1);
    QCOMPARE(data.solutionSize(), solutions);
    QCOMPARE(isotopeNames(data), isotopes);
    for (int s = 0; s < data.solutionSize(); ++s)
        QCOMPARE(data.getSolution(s)->getNbrElement(), isotopes.size());
    QCOMPARE(firstSolutionCps(data), firstCps);
}

void TestParserInAgilentCSV::readsFiles_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("solutions");
    QTest::addColumn<DoubleList>("cps");
    QTest::addColumn<DoubleList>("cpsSD");

    QTest::newRow("example") << "agilent_example.csv"
                             << "Parsed Elements 1\n\nParsed Solutions 2"
                             << QStringList { "BLK_1", "STD_1" } << DoubleList { 120, 900 }
                             << DoubleList { 5.4, 18 };
    QTest::newRow("Windows export") << "agilent_windows1252_crlf.csv"
                                    << "Parsed Elements 2\n\nParsed Solutions 3"
                                    << QStringList { QString::fromUtf8("Eau_\xC2\xB5_3"),
                                           QString::fromUtf8("\xC3\x89"
                                                             "chantillon_2"),
                                           "STD_1" }
                                    << DoubleList { 120.5, 1500, 80, 0, 900, 20000 }
                                    << DoubleList { 5.4225, 18, 0, 0, 18, 160 };
}

void TestParserInAgilentCSV::readsFiles()
{
    QFETCH(QString, fileName);
    QFETCH(QString, message);
    QFETCH(QStringList, solutions);
    QFETCH(DoubleList, cps);
    QFETCH(DoubleList, cpsSD);

    // Opened as the window opens it, in text mode.
    QFile file(QStringLiteral(TEST_DATA_DIR "/") + fileName);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    ParserInAgilentCSV reader;
    Data data(&reader);
    const ParseResult result = data.executeParsing(&file, nullptr);
    QCOMPARE(result.message, message);
    QCOMPARE(result.code, 0);
    QCOMPARE(solutionNames(data), solutions);
    QCOMPARE(values(data, &Solution::getCps), cps);
    QCOMPARE(values(data, &Solution::getCpsSD), cpsSD);
}

void TestParserInAgilentCSV::replacesPreviousContents()
{
    ParserInAgilentCSV reader;
    Data data(&reader);
    QCOMPARE(
        read("Sample:;A;B;C;\nLi / 7 [#1];1;0;2;0;3;0;\nPb / 208 [#1];1;0;2;0;3;0;\n", data).code,
        0);
    const ParseResult second = read("Sample:;STD_1;\nCo / 59 [#1];10;1%;\n", data);
    QCOMPARE(second.code, 0);
    QCOMPARE(solutionNames(data), QStringList { "STD_1" });
    QCOMPARE(isotopeNames(data), QStringList { "59Co #1 " });
    QCOMPARE(data.getSolution(0)->getCps(0), 10.0);
}

QTEST_GUILESS_MAIN(TestParserInAgilentCSV)
#include "tst_parserinagilentcsv.moc"
