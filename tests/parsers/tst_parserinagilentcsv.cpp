#include "ReaderTesting.h"
#include "parsers/ParserInAgilentCSV.h"

#include <QLocale>
#include <QtTest>

using namespace ReaderTesting;

class TestParserInAgilentCSV : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void reads_data();
    void reads();
};

void TestParserInAgilentCSV::reads_data()
{
    addInstrumentColumns();
    const QString q = QStringLiteral("Q-ICP-MS");
    const QStringList twoSolutions { "BLK_1", "STD_1" };
    const QStringList lithium { "7Li #1 " };
    const QStringList lithiumLead { "7Li #1 ", "208Pb #2 " };

    QTest::newRow("example") << dataFile("agilent_example.csv") << 0 << parsed(1, 2) << twoSolutions
                             << lithium << DoubleList { 120, 900 } << DoubleList { 5.4, 18 };
    // Also CRLF, decimal commas and the undefined tag in intensity and rsd cells.
    QTest::newRow("Windows-1252 export")
        << dataFile("agilent_windows1252_crlf.csv") << 0 << parsed(2, 3)
        << QStringList { QStringLiteral(u"Eau_µ_3"), QStringLiteral(u"Échantillon_2"), "STD_1" }
        << lithiumLead << DoubleList { 120.5, 1500, 80, 0, 900, 20000 }
        << DoubleList { 5.4225, 18, 0, 0, 18, 160 };
    QTest::newRow("rsd with and without percent, three-decimal comma")
        << QByteArray("Sample: Run 5;BLK_1;;STD_1;\nLi / 7 [#1];1,234;10%;120;4.5;\n") << 0
        << parsed(1, 2) << twoSolutions << lithium << DoubleList { 1.234, 120 }
        << DoubleList { 0.1234, 5.4 };
    QTest::newRow("isotope line before a sample line that looks like one")
        << QByteArray("Fe / 56 [#2];5;1%;6;1%;\nSample:;Li / 7 [#1];;STD_1;\n"
                      "Pb / 208 [#2];100;1%;900;2%;\n")
        << 0 << parsed(1, 2) << QStringList { "Li / 7 [#1]", "STD_1" }
        << QStringList { "208Pb #2 " } << DoubleList { 100, 900 } << DoubleList { 1, 18 };
    QTest::newRow("other lines among the isotopes")
        << QByteArray("Sample:;QC_1;;Run2_BLK_1;\nTotal;12;13;\nLi / 7 [#1];120;4.5%;900;2%;\n"
                      "Li / 7 [#1] no separator\n;;\nU / 238 [#3];50;10%;7000;1%;\n")
        << 0 << parsed(2, 2) << QStringList { "QC_1", "Run2_BLK_1" }
        << QStringList { "7Li #1 ", "238U #3 " } << DoubleList { 120, 50, 900, 7000 }
        << DoubleList { 5.4, 5, 18, 70 };
    QTest::newRow("byte-order mark, no final line ending")
        << QByteArray("\xEF\xBB\xBFSample:;BLK_1;;STD_1;\r\nLi / 7 [#1];120;4.5%;900;2%") << 0
        << parsed(1, 2) << twoSolutions << lithium << DoubleList { 120, 900 }
        << DoubleList { 5.4, 18 };

    const QString noSolution = formatError(QStringLiteral("no solution detected"), q);
    const QString noElement = formatError(QStringLiteral("no element detected"), q);
    addWholeRejection("empty file", QByteArray(), noSolution);
    addWholeRejection("no sample line", "Li / 7 [#1];120;4.5%;\nSample;A;\n", noSolution);
    addWholeRejection(
        "sample line without names", "Sample: Run 5;;;\nLi / 7 [#1];120;4.5%;\n", noSolution);
    addWholeRejection("no isotope line", "Sample:;A;\nLi / 7 [1];120;4.5%;\n", noElement);
    addWholeRejection("isotope lines only before the sample line",
        "Li / 7 [#1];120;4.5%;\nSample:;A;\n", noElement);
    addWholeRejection("binary file",
        QByteArray("PK\x03\x04") + QByteArray(2, '\0') + "Sample:;A;\nLi / 7 [#1];1;1;\n",
        noSolution);

    // Lithium is stored, lead is refused: what the data set keeps.
    const auto rejectLead = [&](const char *name, const QByteArray &lines, const QString &message) {
        QTest::newRow(name) << "Sample:;BLK_1;;STD_1;\nLi / 7 [#1];120;4.5%;900;2%;\n" + lines << 1
                            << message << twoSolutions << lithiumLead
                            << DoubleList { 120, 0, 900, 0 } << DoubleList { 5.4, 0, 18, 0 };
    };
    const auto unrecognized = [](const QString &solution) {
        return QStringLiteral("Input file format error: unrecognized pulse or rsd value for "
                              "element '208Pb #2 ' in solution ' ")
            + solution + QStringLiteral("' (instrument set for 'Q-ICP-MS')");
    };
    rejectLead("tag without its blank", "Pb / 208 [#2];<###>;1%;900;2%;\n", unrecognized("BLK_1"));
    rejectLead("other instrument's tag in the second rsd", "Pb / 208 [#2];5;1%;900;not def.;\n",
        unrecognized("STD_1"));
    rejectLead("bad cell beyond the last pair", "Pb / 208 [#2];5;1%;900;2%;7;comment;\n",
        unrecognized("STD_1"));
    rejectLead("value missing", "Pb / 208 [#2];5;;900;2%;\n", countMismatch("208Pb #2 ", q));
    rejectLead(
        "one pair too many", "Pb / 208 [#2];5;1%;900;2%;7;1%;\n", countMismatch("208Pb #2 ", q));
    rejectLead("percent in an intensity", "Run 2\nPb / 208 [#2];5;1%;120%;2%;\n",
        InputParser::numberError(4, QStringLiteral("120%")));
    rejectLead("unreadable rsd", "Pb / 208 [#2];5;1.5.2%;900;2%;\n",
        InputParser::numberError(3, QStringLiteral("1.5.2%")));
}

void TestParserInAgilentCSV::reads()
{
    ParserInAgilentCSV reader;
    checkInstrumentRead(reader);
}

QTEST_GUILESS_MAIN(TestParserInAgilentCSV)
#include "tst_parserinagilentcsv.moc"
