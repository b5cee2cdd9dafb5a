#include "ReaderTesting.h"
#include "model/Data.h"
#include "parsers/ParserInHRElementCSV.h"

#include <QFile>
#include <QLocale>
#include <QtTest>

using DoubleList = QList<double>;

using namespace ReaderTesting;

namespace {

// Display name and element text of every isotope, as "59Co LR/Co".
QStringList isotopes(const Data &data)
{
    QStringList names;
    for (int i = 0; i < data.isoSize(); ++i)
        names << data.getIso(i).getName() + QLatin1Char('/') + data.getIso(i).getElement();
    return names;
}

const QString HIGH_RESOLUTION = QStringLiteral("HR-ICP-MS");
const QString NO_SOLUTION = formatError(QStringLiteral("no solution detected"), HIGH_RESOLUTION);
const QString NO_ELEMENT = formatError(QStringLiteral("no element detected"), HIGH_RESOLUTION);

QString countMismatch(const QString &isotope)
{
    return ReaderTesting::countMismatch(isotope, HIGH_RESOLUTION);
}

} // namespace

class TestParserInHRElementCSV : public QObject
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
};

void TestParserInHRElementCSV::reads_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("solutions");
    QTest::addColumn<QStringList>("isotopes");
    QTest::addColumn<DoubleList>("cps");
    QTest::addColumn<DoubleList>("cpsSD");

    const QStringList twoSolutions { "BLK_1", "STD_1" };
    const QStringList lithium { "7Li LR/Li" };
    const QString oneByTwo = QStringLiteral("Parsed Elements 1\n\nParsed Solutions 2");

    QTest::newRow("example") << QByteArray(";BLK_1;;STD_1;\nLi7(LR);120;4.5;900;2;\n"
                                           "Fe56(MR);80;not def.;3000;1.5;\n")
                             << "Parsed Elements 2\n\nParsed Solutions 2" << twoSolutions
                             << QStringList { "7Li LR/Li", "56Fe MR/Fe" }
                             << DoubleList { 120, 80, 900, 3000 } << DoubleList { 5.4, 0, 18, 45 };
    QTest::newRow("undefined intensity")
        << QByteArray("BLK_1;STD_1\nLi7(LR);not def.;4.5;900;2\n") << oneByTwo << twoSolutions
        << lithium << DoubleList { 0, 900 } << DoubleList { 0, 18 };
    QTest::newRow("same element, two resolutions")
        << QByteArray("A\nFe56(MR);10;1;\nFe57(HR);20;1;\n")
        << "Parsed Elements 2\n\nParsed Solutions 1" << QStringList { "A" }
        << QStringList { "56Fe MR/Fe", "57Fe HR/Fe" } << DoubleList { 10, 20 }
        << DoubleList { 0.1, 0.2 };
    QTest::newRow("text cells between values skipped")
        << QByteArray("BLK_1;STD_1\nLi7(LR);cps;120;%;4.5;;ok;900;2;not def\n") << oneByTwo
        << twoSolutions << lithium << DoubleList { 120, 900 } << DoubleList { 5.4, 18 };
    QTest::newRow("isotope lines among other lines")
        << QByteArray("BLK_1;STD_1\nRun started\nLi7(LR);120;4.5;900;2\nTotal;x\n"
                      "U238(HR);5;10;7;10\n")
        << "Parsed Elements 2\n\nParsed Solutions 2" << twoSolutions
        << QStringList { "7Li LR/Li", "238U HR/U" } << DoubleList { 120, 5, 900, 7 }
        << DoubleList { 5.4, 0.5, 18, 0.7 };
    QTest::newRow("decimal commas")
        << QByteArray("BLK_1;STD_1\nLi7(LR);120,5;2;1,234;10,0\n") << oneByTwo << twoSolutions
        << lithium << DoubleList { 120.5, 1.234 } << DoubleList { 2.41, 0.1234 };
    // Its cells name the solutions, yet it counts as an isotope: one slot more.
    QTest::newRow("first line that looks like an isotope line")
        << QByteArray("Co59(LR);A;\nLi7(LR);120;4.5;900;2;\n")
        << "Parsed Elements 2\n\nParsed Solutions 2" << QStringList { "Co59(LR)", "A" } << lithium
        << DoubleList { 120, 0, 900, 0 } << DoubleList { 5.4, 0, 18, 0 };
    QTest::newRow("only the first line looks like an isotope line")
        << QByteArray("Co59(LR);A;\nno isotope here\n") << "Parsed Elements 1\n\nParsed Solutions 0"
        << QStringList { "Co59(LR)", "A" } << QStringList() << DoubleList { 0, 0 }
        << DoubleList { 0, 0 };
    QTest::newRow("CRLF, byte-order mark, no final line ending")
        << QByteArray("\xEF\xBB\xBF"
                      "BLK_1;STD_1\r\nLi7(LR);120;4.5;900;2")
        << oneByTwo << twoSolutions << lithium << DoubleList { 120, 900 } << DoubleList { 5.4, 18 };
    QTest::newRow("Windows-1252 names") << QByteArray("Eau_\xB5_3;\xC9"
                                                      "chantillon_2\r\nLi7(LR);1;0;2;0\r\n\r\n\r\n")
                                        << oneByTwo
                                        << QStringList { QString::fromUtf8("Eau_\xC2\xB5_3"),
                                               QString::fromUtf8("\xC3\x89"
                                                                 "chantillon_2") }
                                        << lithium << DoubleList { 1, 2 } << DoubleList { 0, 0 };
}

void TestParserInHRElementCSV::reads()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(QStringList, solutions);
    QFETCH(QStringList, isotopes);
    QFETCH(DoubleList, cps);
    QFETCH(DoubleList, cpsSD);

    ParserInHRElementCSV reader;
    Data data(&reader);
    const ParseResult result = read(file, data);
    QCOMPARE(result.message, message);
    QCOMPARE(result.code, 0);
    QCOMPARE(solutionNames(data), solutions);
    for (int s = 0; s < data.solutionSize(); ++s)
        QCOMPARE(data.getSolution(s)->getType(), Parser::classify(solutions.at(s)));
    QCOMPARE(::isotopes(data), isotopes);
    QCOMPARE(values(data, &Solution::getCps), cps);
    QCOMPARE(values(data, &Solution::getCpsSD), cpsSD);
}

void TestParserInHRElementCSV::rejects_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("solutions");
    QTest::addColumn<QStringList>("isotopes");
    // Intensities of the first solution after the rejection, one per isotope slot.
    QTest::addColumn<DoubleList>("firstCps");

    QTest::newRow("empty file") << QByteArray() << NO_ELEMENT << 0 << QStringList() << DoubleList();
    // The element check comes first.
    QTest::newRow("no isotope line, no names")
        << QByteArray(";;\nLi7 (LR);1;2\nLi7(lr);1;2\nLi7(LR) ;1;2\n") << NO_ELEMENT << 0
        << QStringList() << DoubleList();
    QTest::newRow("empty first line")
        << QByteArray("\nLi7(LR);120;4.5;\n") << NO_SOLUTION << 0 << QStringList() << DoubleList();
    QTest::newRow("first line of empty cells") << QByteArray(";;;\nLi7(LR);120;4.5;\n")
                                               << NO_SOLUTION << 0 << QStringList() << DoubleList();
    QTest::newRow("binary file") << QByteArray("\x89PNG\r\n\x1A\n") + QByteArray(4, '\0')
            + "A;B\nLi7(LR);1;1;1;1;\n"
                                 << NO_ELEMENT << 0 << QStringList() << DoubleList();

    const QByteArray start("BLK_1;STD_1\nLi7(LR);120;4.5;900;2;\n");
    QTest::newRow("one value missing")
        << start + "Pb208(LR);5;1;900;\n"
        << countMismatch("208Pb LR") << 2 << QStringList { "7Li LR/Li", "208Pb LR/Pb" }
        << DoubleList { 120, 0 };
    QTest::newRow("extra cells") << start + "Pb208(LR);5;1;900;2;7;8;\n"
                                 << countMismatch("208Pb LR") << 2
                                 << QStringList { "7Li LR/Li", "208Pb LR/Pb" }
                                 << DoubleList { 120, 0 };
    QTest::newRow("row number before the isotope cell")
        << start + "12;Pb208(HR);5;1;900;2;\n"
        << countMismatch("12 LR") << 2 << QStringList { "7Li LR/Li", "12 LR/" }
        << DoubleList { 120, 0 };
    QTest::newRow("rsd with percent")
        << start + "Pb208(LR);5;1%;900;2;\n"
        << InputParser::numberError(3, QStringLiteral("1%")) << 2
        << QStringList { "7Li LR/Li", "208Pb LR/Pb" } << DoubleList { 120, 0 };
    QTest::newRow("look-alike of the tag")
        << start + "Pb208(LR);5;1;not defined;2;\n"
        << InputParser::numberError(3, QStringLiteral("not defined")) << 2
        << QStringList { "7Li LR/Li", "208Pb LR/Pb" } << DoubleList { 120, 0 };
    QTest::newRow("other instrument's tag")
        << start + "Run 2\nPb208(LR);5;1;900;<###> 2;\n"
        << InputParser::numberError(4, QStringLiteral("<###> 2")) << 2
        << QStringList { "7Li LR/Li", "208Pb LR/Pb" } << DoubleList { 120, 0 };
}

void TestParserInHRElementCSV::rejects()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(int, solutions);
    QFETCH(QStringList, isotopes);
    QFETCH(DoubleList, firstCps);

    ParserInHRElementCSV reader;
    Data data(&reader);
    const ParseResult result = read(file, data);
    QCOMPARE(result.message, message);
    QCOMPARE(result.code, 1);
    QCOMPARE(data.solutionSize(), solutions);
    QCOMPARE(::isotopes(data), isotopes);
    QCOMPARE(firstSolutionCps(data), firstCps);
}

void TestParserInHRElementCSV::readsFiles_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QStringList>("solutions");
    QTest::addColumn<QStringList>("isotopes");
    QTest::addColumn<DoubleList>("cps");
    QTest::addColumn<DoubleList>("cpsSD");

    QTest::newRow("example") << "hr_example.csv" << QStringList { "BLK_1", "STD_1" }
                             << QStringList { "7Li LR/Li", "56Fe MR/Fe" }
                             << DoubleList { 120, 80, 900, 3000 } << DoubleList { 5.4, 0, 18, 45 };
    QTest::newRow("Windows export")
        << "hr_windows1252.csv"
        << QStringList { QString::fromUtf8("Eau_\xC2\xB5_3"),
               QString::fromUtf8("\xC3\x89"
                                 "chantillon_2") }
        << QStringList { "7Li LR/Li", "238U HR/U" } << DoubleList { 120, 10, 900, 30 }
        << DoubleList { 5.4, 0, 18, 0.45 };
}

void TestParserInHRElementCSV::readsFiles()
{
    QFETCH(QString, fileName);
    QFETCH(QStringList, solutions);
    QFETCH(QStringList, isotopes);
    QFETCH(DoubleList, cps);
    QFETCH(DoubleList, cpsSD);

    QFile file(QStringLiteral(TEST_DATA_DIR "/") + fileName);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    ParserInHRElementCSV reader;
    Data data(&reader);
    const ParseResult result = data.executeParsing(&file, nullptr);
    QCOMPARE(result.code, 0);
    QCOMPARE(solutionNames(data), solutions);
    QCOMPARE(::isotopes(data), isotopes);
    QCOMPARE(values(data, &Solution::getCps), cps);
    QCOMPARE(values(data, &Solution::getCpsSD), cpsSD);
}

QTEST_GUILESS_MAIN(TestParserInHRElementCSV)
#include "tst_parserinhrelementcsv.moc"
