// Damaged and hostile files against all three readers: each must end with a
// clear result in bounded time, never with a crash, a hang or wrong numbers.
#include "ReaderTesting.h"
#include "parsers/ParserInAgilentCSV.h"
#include "parsers/ParserInHRElementCSV.h"
#include "parsers/ParserInSTDQC.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QtTest>

#include <cmath>

using namespace ReaderTesting;

namespace {

enum class Reader { Quadrupole, HighResolution, Standards };

// No read should need more than a fraction of this; an exponential one would need hours.
constexpr qint64 HANG_MS = 20000;

} // namespace

Q_DECLARE_METATYPE(Reader)

class TestHostileInput : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void readsOrRefuses_data();
    void readsOrRefuses();
};

void TestHostileInput::readsOrRefuses_data()
{
    QTest::addColumn<Reader>("reader");
    QTest::addColumn<QByteArray>("file");
    // Empty on success, when the last solution's first value is checked instead.
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("value");

    const Reader q = Reader::Quadrupole;
    const Reader hr = Reader::HighResolution;
    const Reader std = Reader::Standards;
    // Small files whose last solution's first value cell is %1, on line 3, 2 and 2.
    const QString layout[] = { "Report\nSample:;BLK_1;;STD_1;\nLi / 7 [#1];120;4.5%;%1;2%;\n",
        ";BLK_1;;STD_1;\nLi7(LR);120;4.5;%1;2;\n", "Element;QC_1;;STD_1;\nLi;5;3;%1;2\n" };
    const auto cell = [&](Reader reader, const char *name, const char *text, QString message) {
        if (message.isNull())
            message = InputParser::numberError(reader == q ? 3 : 2, text);
        QTest::newRow(name) << reader << layout[int(reader)].arg(text).toUtf8() << message << 0.0;
    };
    // Read as numbers, these would flow silently into every result.
    cell(std, "standards: nan", "nan", QString());
    cell(q, "quadrupole: overflow", "1e400", QString());
    // Without a digit the cell is no value cell.
    cell(hr, "high resolution: nan", "nan",
        countMismatch(QStringLiteral("7Li LR"), QStringLiteral("HR-ICP-MS")));
    cell(q, "quadrupole: inf", "inf",
        "Input file format error: unrecognized pulse or rsd value for element '7Li #1 ' in "
        "solution ' STD_1' (instrument set for 'Q-ICP-MS')");
    // A negative zero is the same "not measured" as 0.
    cell(q, "quadrupole: -0,0", "-0,0", "");

    const QByteArray junk(4 * 1024 * 1024, 'x');
    QTest::newRow("quadrupole: huge line before the samples")
        << q << junk + "\nSample:;BLK_1;;STD_1;\nLi / 7 [#1];120;4.5%;900;2%;\n"
        << QString() << 900.0;
    // The box that shows the message must not receive megabytes.
    QTest::newRow("quadrupole: huge number")
        << q << "Sample:;BLK_1;;STD_1;\nLi / 7 [#1];" + QByteArray(4 << 20, '7') + ";4.5%;900;2%;\n"
        << InputParser::NUMBER_ERROR + "\n\nLine 2: '" + QString(40, '7') + QChar(0x2026) + "'"
        << 0.0;
    QTest::newRow("high resolution: huge text cell between values")
        << hr << ";BLK_1;;STD_1;\nLi7(LR);120;" + junk + ";4.5;900;2;\n"
        << QString() << 900.0;

    // Far more than any instrument runs: each value must still reach its own solution.
    QByteArray names, li, pb, header = "Element", standard = "Li";
    for (int k = 0; k < 100000; ++k) {
        const QByteArray number = QByteArray::number(k);
        names += ";S_" + number + ";";
        li += ";" + number + ";2";
        pb += ";" + QByteArray::number(2 * k) + ".5;10";
        header += ";STD_X" + number + ";";
        standard += ";0;0";
    }
    QTest::newRow("quadrupole: 100,000 solutions")
        << q << "Sample:" + names + "\nLi / 7 [#1]" + li + ";\nPb / 208 [#2]" + pb + ";\n"
        << QString() << 99999.0;
    QTest::newRow("high resolution: 100,000 solutions")
        << hr << names + "\nLi7(LR)" + li + ";\nPb208(LR)" + pb + ";\n"
        << QString() << 99999.0;
    QTest::newRow("standards: 100,000 header cells")
        << std << header + ";QC_1;;STD_1;\n" + standard + ";5;3;4;2\n"
        << QString() << 4.0;

    QByteArray separators(1024 * 1024, ';');
    for (int i = 0; i < 20000; ++i)
        separators += "\r\n;;;;;;;;";
    QTest::newRow("quadrupole: only separators")
        << q << "Sample:" + separators
        << formatError(QStringLiteral("no solution detected"), QStringLiteral("Q-ICP-MS")) << 0.0;
    QTest::newRow("high resolution: only separators")
        << hr << separators
        << formatError(QStringLiteral("no element detected"), QStringLiteral("HR-ICP-MS")) << 0.0;
    QTest::newRow("standards: only separators")
        << std << separators << QStringLiteral("Solution QC_1 Not found") << 0.0;

    // Refused whole rather than read with a value cut at the NUL.
    QTest::newRow("quadrupole: NUL in a value")
        << q << "Sample:;BLK_1;;STD_1;\nLi / 7 [#1];12" + QByteArray(1, '\0') + "0;4.5%;900;2%;\n"
        << formatError(QStringLiteral("no solution detected"), QStringLiteral("Q-ICP-MS")) << 0.0;
}

void TestHostileInput::readsOrRefuses()
{
    QFETCH(Reader, reader);
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(double, value);

    ParserInAgilentCSV quadrupole;
    ParserInHRElementCSV highResolution;
    ParserInSTDQC standards;
    Parser *parsers[] = { &quadrupole, &highResolution, &standards };
    Data data(parsers[int(reader)]);
    // What the standards reader completes.
    if (reader == Reader::Standards) {
        data.addIso(Element(QStringLiteral("Li"), 7, Element::LR));
        data.addSolution(Solution(QStringLiteral("QC_1"), 1, Solution::QC));
        data.addSolution(Solution(QStringLiteral("STD_1"), 1, Solution::STD));
    }
    QElapsedTimer clock;
    clock.start();
    const ParseResult result = read(file, data);
    QVERIFY2(clock.elapsed() < HANG_MS, qPrintable(QString::number(clock.elapsed()) + " ms"));

    if (!message.isEmpty()) {
        QCOMPARE(result.message, message);
        QCOMPARE(result.code, 1);
        // A refused number must not switch the convention of the cells after it.
        QCOMPARE(QLocale().language(), QLocale::C);
        return;
    }
    QCOMPARE(result.code, 0);
    const Solution *last = data.getSolution(data.solutionSize() - 1);
    const double read = reader == Reader::Standards ? last->getConcent(0) : last->getCps(0);
    QCOMPARE(read, value);
    QVERIFY2(!std::signbit(read), "a zero read with its minus sign");
}

QTEST_GUILESS_MAIN(TestHostileInput)
#include "tst_hostileinput.moc"
