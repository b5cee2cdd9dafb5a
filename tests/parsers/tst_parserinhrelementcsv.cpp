#include "ReaderTesting.h"
#include "parsers/ParserInHRElementCSV.h"

#include <QLocale>
#include <QtTest>

using namespace ReaderTesting;

class TestParserInHRElementCSV : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void reads_data();
    void reads();
};

void TestParserInHRElementCSV::reads_data()
{
    addInstrumentColumns();
    const QString hr = QStringLiteral("HR-ICP-MS");
    const QStringList twoSolutions { "BLK_1", "STD_1" };
    const QStringList lithium { "7Li LR" };

    QTest::newRow("example") << dataFile("hr_example.csv") << 0 << parsed(2, 2) << twoSolutions
                             << QStringList { "7Li LR", "56Fe MR" }
                             << DoubleList { 120, 80, 900, 3000 } << DoubleList { 5.4, 0, 18, 45 };
    // Also CRLF, a decimal comma, the tag in an rsd and no final line ending.
    QTest::newRow("Windows-1252 export")
        << dataFile("hr_windows1252.csv") << 0 << parsed(2, 2)
        << QStringList { QStringLiteral(u"Eau_µ_3"), QStringLiteral(u"Échantillon_2") }
        << QStringList { "7Li LR", "238U HR" } << DoubleList { 120, 10, 900, 30 }
        << DoubleList { 5.4, 0, 18, 0.45 };
    QTest::newRow("tag in an intensity, three-decimal comma")
        << QByteArray("BLK_1;STD_1\nLi7(LR);not def.;4.5;1,234;2\n") << 0 << parsed(1, 2)
        << twoSolutions << lithium << DoubleList { 0, 1.234 } << DoubleList { 0, 0.02468 };
    QTest::newRow("text cells and lines between values")
        << QByteArray("BLK_1;STD_1\nRun started\nLi7(LR);cps;120;%;4.5;;ok;900;2;not def\n"
                      "Total;x\n")
        << 0 << parsed(1, 2) << twoSolutions << lithium << DoubleList { 120, 900 }
        << DoubleList { 5.4, 18 };
    // It names the solutions, yet counts as an isotope: one slot more.
    QTest::newRow("first line that looks like an isotope line")
        << QByteArray("Co59(LR);A;\nLi7(LR);120;4.5;900;2;\n") << 0 << parsed(2, 2)
        << QStringList { "Co59(LR)", "A" } << lithium << DoubleList { 120, 0, 900, 0 }
        << DoubleList { 5.4, 0, 18, 0 };
    QTest::newRow("only the first line looks like one")
        << QByteArray("Co59(LR);A;\nno isotope here\n") << 0 << parsed(1, 0)
        << QStringList { "Co59(LR)", "A" } << QStringList() << DoubleList { 0, 0 }
        << DoubleList { 0, 0 };
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                   "BLK_1;STD_1\r\nLi7(LR);120;4.5;900;2")
                                     << 0 << parsed(1, 2) << twoSolutions << lithium
                                     << DoubleList { 120, 900 } << DoubleList { 5.4, 18 };

    const QString noElement = formatError(QStringLiteral("no element detected"), hr);
    addWholeRejection("empty file", QByteArray(), noElement);
    addWholeRejection(
        "near-miss isotope lines", ";;\nLi7 (LR);1;2\nLi7(lr);1;2\nLi7(LR) ;1;2\n", noElement);
    addWholeRejection("first line of empty cells", ";;;\nLi7(LR);120;4.5;\n",
        formatError(QStringLiteral("no solution detected"), hr));
    addWholeRejection("binary file",
        QByteArray("\x89PNG\r\n\x1A\n") + QByteArray(4, '\0') + "A;B\nLi7(LR);1;1;1;1;\n",
        noElement);

    // Lithium is stored, lead is refused: what the data set keeps.
    const auto rejectLead = [&](const char *name, const QByteArray &lines, const QString &message) {
        QTest::newRow(name) << "BLK_1;STD_1\nLi7(LR);120;4.5;900;2;\n" + lines << 1 << message
                            << twoSolutions << QStringList { "7Li LR", "208Pb LR" }
                            << DoubleList { 120, 0, 900, 0 } << DoubleList { 5.4, 0, 18, 0 };
    };
    rejectLead("one value missing", "Pb208(LR);5;1;900;\n", countMismatch("208Pb LR", hr));
    rejectLead("extra cells", "Pb208(LR);5;1;900;2;7;8;\n", countMismatch("208Pb LR", hr));
    rejectLead("rsd with percent", "Pb208(LR);5;1%;900;2;\n",
        InputParser::numberError(3, QStringLiteral("1%")));
    rejectLead("look-alike of the tag", "Pb208(LR);5;1;not defined;2;\n",
        InputParser::numberError(3, QStringLiteral("not defined")));
    rejectLead("other instrument's tag", "Run 2\nPb208(LR);5;1;900;<###> 2;\n",
        InputParser::numberError(4, QStringLiteral("<###> 2")));
}

void TestParserInHRElementCSV::reads()
{
    ParserInHRElementCSV reader;
    checkInstrumentRead(reader);
}

QTEST_GUILESS_MAIN(TestParserInHRElementCSV)
#include "tst_parserinhrelementcsv.moc"
