// Damaged and hostile files against all three readers: each must end with a
// clear result in bounded time, never with a crash, a hang or wrong numbers.
#include "model/Data.h"
#include "parsers/InputParser.h"
#include "parsers/ParserInAgilentCSV.h"
#include "parsers/ParserInHRElementCSV.h"
#include "parsers/ParserInSTDQC.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QLocale>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

enum class Reader { Quadrupole, HighResolution, Standards };

const QString Q_INSTRUMENT = QStringLiteral(" (instrument set to 'Q-ICP-MS')");
const QString HR_INSTRUMENT = QStringLiteral(" (instrument set to 'HR-ICP-MS')");

// No pattern should need more than a fraction of this; an exponential one
// would need hours.
constexpr qint64 HANG_MS = 20000;

ParseResult read(Parser *parser, Data *data, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    data->loadParser(parser);
    return data->executeParsing(&buffer, nullptr);
}

std::unique_ptr<Parser> makeParser(Reader reader)
{
    switch (reader) {
    case Reader::Quadrupole:
        return std::make_unique<ParserInAgilentCSV>();
    case Reader::HighResolution:
        return std::make_unique<ParserInHRElementCSV>();
    case Reader::Standards:
        break;
    }
    return std::make_unique<ParserInSTDQC>();
}

// What the standards reader completes: one standard and one QC solution, Li and Pb.
void fillMeasured(Data *data, const QString &standard = QStringLiteral("STD_1"))
{
    data->clear();
    data->addIso(Element(QStringLiteral("Li"), 7, Element::LR));
    data->addIso(Element(QStringLiteral("Pb"), 208, Element::LR));
    data->addSolution(Solution(QStringLiteral("BLK_1"), 2, Solution::BLK));
    data->addSolution(Solution(standard, 2, Solution::STD));
    data->addSolution(Solution(QStringLiteral("QC_1"), 2, Solution::QC));
}

// A small valid file of each kind whose first value cell (Li in the first
// standard or solution) is `cell`, on line `cellLine`.
QByteArray fileWithCell(Reader reader, const QString &cell, int *cellLine)
{
    QString text;
    switch (reader) {
    case Reader::Quadrupole:
        *cellLine = 3;
        text = QStringLiteral("Report\nSample:;BLK_1;;STD_1;\nLi / 7 [#1];%1;4.5%;900;2%;\n");
        break;
    case Reader::HighResolution:
        *cellLine = 2;
        text = QStringLiteral(";BLK_1;;STD_1;\nLi7(LR);%1;4.5;900;2;\n");
        break;
    case Reader::Standards:
        *cellLine = 2;
        text = QStringLiteral("Element;STD_1;;QC_1;\nLi;%1;2;5;3\nPb;0.5;4;2;5\n");
        break;
    }
    return text.arg(cell).toUtf8();
}

// The value that `fileWithCell` put in the cell, after a successful read.
double readBack(Reader reader, const Data &data)
{
    if (reader == Reader::Standards)
        return data.getSolution(1)->getConcent(0);
    return data.getSolution(0)->getCps(0);
}

// Reads `file` with the reader; the standards reader completes the small
// measured set of fillMeasured.
ParseResult readFile(Reader reader, Data *data, const QByteArray &file)
{
    if (reader == Reader::Standards)
        fillMeasured(data);
    const auto parser = makeParser(reader);
    return read(parser.get(), data, file);
}

// A refused file leaves no solution, or no concentration in the standard.
bool nothingRead(Reader reader, const Data &data)
{
    if (reader == Reader::Standards)
        return data.getSolution(1)->getConcent(0) == 0.0;
    return data.solutionSize() == 0;
}

} // namespace

Q_DECLARE_METATYPE(Reader)

class TestHostileInput : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void refusedNumbers_data();
    void refusedNumbers();
    void keptNumbers_data();
    void keptNumbers();
    void catastrophicHeader_data();
    void catastrophicHeader();
    void longLines_data();
    void longLines();
    void onlySeparators_data();
    void onlySeparators();
    void manySolutions_data();
    void manySolutions();
    void manyHeaderCells();
    void headerMatching_data();
    void headerMatching();
    void nulBytes_data();
    void nulBytes();
};

void TestHostileInput::refusedNumbers_data()
{
    QTest::addColumn<Reader>("reader");
    QTest::addColumn<QString>("cell");
    // Empty: the unreadable-number message for the cell's line.
    QTest::addColumn<QString>("message");

    // A spreadsheet writes these for missing or broken values; read as numbers
    // they would flow silently into the calibration and every result.
    const Reader std = Reader::Standards;
    QTest::newRow("standards: nan") << std << "nan" << QString();
    QTest::newRow("standards: NaN") << std << "NaN" << QString();
    QTest::newRow("standards: inf") << std << "inf" << QString();
    QTest::newRow("standards: -inf") << std << "-inf" << QString();
    QTest::newRow("standards: overflow") << std << "1e400" << QString();
    QTest::newRow("standards: negative overflow") << std << "-1e400" << QString();
    QTest::newRow("standards: French overflow") << std << "1,5e400" << QString();
    // Read as 0 it would pass for "not given".
    QTest::newRow("standards: underflow") << std << "1e-400" << QString();

    const Reader hr = Reader::HighResolution;
    QTest::newRow("high resolution: overflow") << hr << "1e400" << QString();
    QTest::newRow("high resolution: French overflow") << hr << "2,5E999" << QString();
    // Without a digit the cell is no value cell: the pairs then fall short.
    QTest::newRow("high resolution: nan")
        << hr << "nan"
        << "Input file format error:\n\nFor the element '7Li LR': values number detected do "
           "not match with solutions number"
            + HR_INSTRUMENT;

    const Reader q = Reader::Quadrupole;
    QTest::newRow("quadrupole: overflow") << q << "1e400" << QString();
    QTest::newRow("quadrupole: nan")
        << q << "nan"
        << "Input file format error: unrecognized pulse or rsd value for element '7Li #1 ' in "
           "solution ' BLK_1' (instrument set for 'Q-ICP-MS')";
    QTest::newRow("quadrupole: inf") << q << "inf"
                                     << "Input file format error: unrecognized pulse or rsd value "
                                        "for element '7Li #1 ' in solution ' BLK_1' (instrument "
                                        "set for 'Q-ICP-MS')";
}

void TestHostileInput::refusedNumbers()
{
    QFETCH(Reader, reader);
    QFETCH(QString, cell);
    QFETCH(QString, message);

    int line = 0;
    const QByteArray file = fileWithCell(reader, cell, &line);
    Data data;
    const ParseResult result = readFile(reader, &data, file);

    QCOMPARE(result.code, 1);
    QCOMPARE(result.message, message.isEmpty() ? InputParser::numberError(line, cell) : message);
    QCOMPARE(QLocale().language(), QLocale::C);
}

void TestHostileInput::keptNumbers_data()
{
    QTest::addColumn<Reader>("reader");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<double>("expected");

    const QList<QPair<Reader, QString>> readers { { Reader::Quadrupole, "quadrupole" },
        { Reader::HighResolution, "high resolution" }, { Reader::Standards, "standards" } };
    for (const auto &reader : readers) {
        const QByteArray name = reader.second.toUtf8();
        QTest::newRow(name + ": -0") << reader.first << "-0" << 0.0;
        QTest::newRow(name + ": -0.0") << reader.first << "-0.0" << 0.0;
        QTest::newRow(name + ": French -0,0") << reader.first << "-0,0" << 0.0;
        QTest::newRow(name + ": -0e5") << reader.first << "-0e5" << 0.0;
        QTest::newRow(name + ": largest magnitude") << reader.first << "1.7e308" << 1.7e308;
        QTest::newRow(name + ": tiny") << reader.first << "2.5e-300" << 2.5e-300;
    }
}

// Limits of the number range still read as numbers, and a negative zero is the
// same "not measured" as 0: it must not come back out as "-0".
void TestHostileInput::keptNumbers()
{
    QFETCH(Reader, reader);
    QFETCH(QString, cell);
    QFETCH(double, expected);

    int line = 0;
    const QByteArray file = fileWithCell(reader, cell, &line);
    Data data;
    const ParseResult result = readFile(reader, &data, file);

    QCOMPARE(result.code, 0);
    const double value = readBack(reader, data);
    QCOMPARE(value, expected);
    QVERIFY2(!std::signbit(value), "a zero read with its minus sign");
    QCOMPARE(QString::number(value), QString::number(expected));
}

void TestHostileInput::catastrophicHeader_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("standard");
    QTest::addColumn<bool>("found");

    const QString longA = QStringLiteral("STD_") + QString(40, QLatin1Char('a'));
    const QString longFail = longA + QLatin1Char('X');
    QTest::newRow("nested plus, end anchor") << "STD_(a+)+$" << longFail << false;
    QTest::newRow("nested plus") << "STD_(a+)+" << longFail << false;
    QTest::newRow("alternation of equals") << "STD_(a|a)+" << longFail << false;
    QTest::newRow("overlapping alternation") << "STD_(a|aa)+" << longFail << false;
    QTest::newRow("nested star") << "STD_(a*)*" << longFail << false;
    QTest::newRow("polynomial stars") << "(.*)*(.*)*(.*)*Y" << longFail << false;
    QTest::newRow("bare pattern of the kind")
        << "(a+)+$" << QString(longFail).remove(0, 4) << false;
    // The same patterns still find what they really match.
    QTest::newRow("nested plus that matches") << "STD_(a+)+" << longA << true;
    QTest::newRow("matches with a replicate number") << "STD_(a|aa)+" << longA + "_2" << true;
}

void TestHostileInput::catastrophicHeader()
{
    QFETCH(QString, header);
    QFETCH(QString, standard);
    QFETCH(bool, found);

    Data data;
    fillMeasured(&data, standard);
    const QByteArray file
        = (QStringLiteral("Element;") + header + QStringLiteral(";;QC_1;\nLi;1;2;5;3\n")).toUtf8();
    ParserInSTDQC parser;
    QElapsedTimer clock;
    clock.start();
    const ParseResult result = read(&parser, &data, file);
    QVERIFY2(clock.elapsed() < HANG_MS, qPrintable(QString::number(clock.elapsed()) + " ms"));

    if (found) {
        QCOMPARE(result.code, 0);
        QCOMPARE(data.getSolution(1)->getConcent(0), 1.0);
    } else {
        QCOMPARE(result.code, 1);
        QCOMPARE(result.message, "Solution " + standard + " Not found");
    }
}

void TestHostileInput::longLines_data()
{
    QTest::addColumn<Reader>("reader");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("code");
    // The value read for Li in the first solution or standard on success.
    QTest::addColumn<double>("value");
    // The message on failure.
    QTest::addColumn<QString>("message");

    const QByteArray junk(4 * 1024 * 1024, 'x');
    const QByteArray digits(4 * 1024 * 1024, '7');

    QTest::newRow("quadrupole: huge line before the samples")
        << Reader::Quadrupole << junk + "\nSample:;BLK_1;;STD_1;\nLi / 7 [#1];120;4.5%;900;2%;\n"
        << 0 << 120.0 << QString();
    QTest::newRow("quadrupole: huge solution name")
        << Reader::Quadrupole << "Sample:;BLK_" + junk + ";;STD_1;\nLi / 7 [#1];120;4.5%;900;2%;\n"
        << 0 << 120.0 << QString();
    // The box that shows the message must not receive megabytes.
    QTest::newRow("quadrupole: huge number")
        << Reader::Quadrupole << "Sample:;BLK_1;;STD_1;\nLi / 7 [#1];" + digits + ";4.5%;900;2%;\n"
        << 1 << 0.0
        << InputParser::NUMBER_ERROR + "\n\nLine 2: '" + QString(40, QLatin1Char('7'))
            + QChar(0x2026) + "'";
    QTest::newRow("high resolution: huge comment line")
        << Reader::HighResolution << ";BLK_1;;STD_1;\n" + junk + "\nLi7(LR);120;4.5;900;2;\n"
        << 0 << 120.0 << QString();
    QTest::newRow("high resolution: huge text cell between values")
        << Reader::HighResolution << ";BLK_1;;STD_1;\nLi7(LR);120;" + junk + ";4.5;900;2;\n"
        << 0 << 120.0 << QString();
    QTest::newRow("standards: huge header cell")
        << Reader::Standards << "Element;STD_1;;" + junk + ";;QC_1;\nLi;3;2;0;0;5;3\n"
        << 0 << 3.0 << QString();
    QTest::newRow("standards: huge row without an element")
        << Reader::Standards << "Element;STD_1;;QC_1;\n" + junk + "\nLi;3;2;5;3\n"
        << 0 << 3.0 << QString();
}

void TestHostileInput::longLines()
{
    QFETCH(Reader, reader);
    QFETCH(QByteArray, file);
    QFETCH(int, code);
    QFETCH(double, value);
    QFETCH(QString, message);

    Data data;
    const ParseResult result = readFile(reader, &data, file);

    QCOMPARE(result.code, code);
    if (code == 0)
        QCOMPARE(readBack(reader, data), value);
    else
        QCOMPARE(result.message, message);
}

void TestHostileInput::onlySeparators_data()
{
    QTest::addColumn<Reader>("reader");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");

    const QByteArray oneLine(1024 * 1024, ';');
    QByteArray manyLines;
    for (int i = 0; i < 20000; ++i)
        manyLines += ";;;;;;;;\r\n";

    const QString noSolution = "Input file format error: no solution detected" + Q_INSTRUMENT;
    const QString noElement = "Input file format error: no element detected" + HR_INSTRUMENT;
    const QString notFound = QStringLiteral("Solution STD_1 Not found");
    QTest::newRow("quadrupole: one line") << Reader::Quadrupole << oneLine << noSolution;
    QTest::newRow("quadrupole: many lines") << Reader::Quadrupole << manyLines << noSolution;
    QTest::newRow("quadrupole: empty sample line")
        << Reader::Quadrupole << "Sample:" + oneLine + "\n" + manyLines << noSolution;
    QTest::newRow("high resolution: one line") << Reader::HighResolution << oneLine << noElement;
    QTest::newRow("high resolution: many lines")
        << Reader::HighResolution << manyLines << noElement;
    QTest::newRow("standards: one line") << Reader::Standards << oneLine << notFound;
    QTest::newRow("standards: many lines") << Reader::Standards << manyLines << notFound;
}

void TestHostileInput::onlySeparators()
{
    QFETCH(Reader, reader);
    QFETCH(QByteArray, file);
    QFETCH(QString, message);

    Data data;
    QElapsedTimer clock;
    clock.start();
    const ParseResult result = readFile(reader, &data, file);
    QVERIFY2(clock.elapsed() < HANG_MS, qPrintable(QString::number(clock.elapsed()) + " ms"));

    QCOMPARE(result.code, 1);
    QCOMPARE(result.message, message);
    QVERIFY(nothingRead(reader, data));
}

void TestHostileInput::manySolutions_data()
{
    QTest::addColumn<Reader>("reader");

    QTest::newRow("quadrupole") << Reader::Quadrupole;
    QTest::newRow("high resolution") << Reader::HighResolution;
}

// A batch far larger than any instrument runs: every solution keeps its own values.
void TestHostileInput::manySolutions()
{
    QFETCH(Reader, reader);
    const int count = 100000;

    QByteArray names = reader == Reader::Quadrupole ? "Sample:" : "";
    QByteArray li = reader == Reader::Quadrupole ? "Li / 7 [#1]" : "Li7(LR)";
    QByteArray pb = reader == Reader::Quadrupole ? "Pb / 208 [#2]" : "Pb208(LR)";
    for (int k = 0; k < count; ++k) {
        const QByteArray number = QByteArray::number(k);
        names += ";S_" + number + ";";
        li += ";" + number + ";2";
        pb += ";" + QByteArray::number(2 * k) + ".5;10";
    }
    const QByteArray file = names + "\n" + li + ";\n" + pb + ";\n";

    Data data;
    const ParseResult result = readFile(reader, &data, file);

    QCOMPARE(result.code, 0);
    QCOMPARE(result.message, QStringLiteral("Parsed Elements 2\n\nParsed Solutions 100000"));
    QCOMPARE(data.solutionSize(), count);
    for (const int k : { 0, 1, 54321, count - 1 }) {
        const Solution *solution = data.getSolution(k);
        QCOMPARE(solution->getName(), QStringLiteral("S_%1").arg(k));
        QCOMPARE(solution->getCps(0), double(k));
        QCOMPARE(solution->getCps(1), 2 * k + 0.5);
        QCOMPARE(solution->getCpsSD(1), (2 * k + 0.5) / 10);
    }
}

// A header row of a hundred thousand cells, the wanted column the last one.
void TestHostileInput::manyHeaderCells()
{
    const int count = 100000;
    QByteArray header = "Element";
    QByteArray li = "Li";
    for (int j = 0; j < count; ++j) {
        header += ";STD_X" + QByteArray::number(j) + ";";
        li += ";0;0";
    }
    const QByteArray file = header + ";STD_1;;QC_1;\n" + li + ";3;2;5;3\n";

    Data data;
    fillMeasured(&data);
    ParserInSTDQC parser;
    QElapsedTimer clock;
    clock.start();
    const ParseResult result = read(&parser, &data, file);
    QVERIFY2(clock.elapsed() < HANG_MS, qPrintable(QString::number(clock.elapsed()) + " ms"));

    QCOMPARE(result.code, 0);
    QCOMPARE(data.getSolution(1)->getConcent(0), 3.0);
    QCOMPARE(data.getSolution(1)->getConcentRSD(0), 2.0);
    QCOMPARE(data.getSolution(2)->getConcent(0), 5.0);
}

void TestHostileInput::headerMatching_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("standard");

    // Plain names, which the reader compares as text.
    const QStringList plainNames { "STD_1", "STD_12", "STD_1_2", "STD_1_", "STD_1__2", "STD_1_a",
        "STD_1a", "XSTD_1", "STD_", "std_1", "STD_1\u0663", "STD_1_\u0663" };
    for (const QString &name : plainNames)
        QTest::newRow(qPrintable("STD_1 against " + name)) << "STD_1" << name;
    QTest::newRow("empty header, digits") << ""
                                          << "12";
    QTest::newRow("empty header, replicate digits") << ""
                                                    << "_12";
    QTest::newRow("empty header, standard") << ""
                                            << "STD_1";
    QTest::newRow("header with a blank") << "STD 1"
                                         << "STD 1_3";
    QTest::newRow("non-ASCII header") << "STD_\u00e9"
                                      << "STD_\u00e9_2";
    // Pattern text.
    QTest::newRow("dot") << "STD.1"
                         << "STDX1_4";
    QTest::newRow("alternation") << "STD_1|QC_9"
                                 << "QC_9";
    QTest::newRow("class") << "STD_[12]"
                           << "STD_2_1";
    QTest::newRow("escaped digit") << "STD_\\d"
                                   << "STD_7";
    QTest::newRow("unbalanced parenthesis") << "STD_(1"
                                            << "STD_(1";
    QTest::newRow("braces") << "STD_{1}"
                            << "STD_{1}";
}

// Whatever shortcut the reader takes, a header names exactly the solutions that
// the pattern "^" + header + "(_?\d+)?$" matches.
void TestHostileInput::headerMatching()
{
    QFETCH(QString, header);
    QFETCH(QString, standard);

    const QRegularExpression rule("^" + header + "(_?\\d+)?$");
    const bool expected = rule.isValid() && rule.match(standard).hasMatch();

    Data data;
    fillMeasured(&data, standard);
    // Last on the line, so no empty cell stands right of the header.
    const QByteArray file = ("Element;QC_1;;" + header + "\nLi;5;3;4;2\n").toUtf8();
    ParserInSTDQC parser;
    const ParseResult result = read(&parser, &data, file);

    QCOMPARE(result.code, expected ? 0 : 1);
    QCOMPARE(data.getSolution(1)->getConcent(0), expected ? 4.0 : 0.0);
}

void TestHostileInput::nulBytes_data()
{
    QTest::addColumn<Reader>("reader");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");

    const QString noSolution = "Input file format error: no solution detected" + Q_INSTRUMENT;
    const QString noElement = "Input file format error: no element detected" + HR_INSTRUMENT;
    const QString noText
        = QStringLiteral("Input file format error: the standards file holds no text");
    const QByteArray nul(1, '\0');

    QTest::newRow("quadrupole: NUL in a value")
        << Reader::Quadrupole << "Sample:;BLK_1;;STD_1;\nLi / 7 [#1];12" + nul + "0;4.5%;900;2%;\n"
        << noSolution;
    QTest::newRow("quadrupole: NUL in a name")
        << Reader::Quadrupole << "Sample:;BLK" + nul + "_1;;STD_1;\nLi / 7 [#1];1;4;9;2;\n"
        << noSolution;
    QTest::newRow("quadrupole: only NUL bytes")
        << Reader::Quadrupole << QByteArray(4096, '\0') << noSolution;
    QTest::newRow("high resolution: NUL in a value")
        << Reader::HighResolution << ";BLK_1;;STD_1;\nLi7(LR);1" + nul + "20;4.5;900;2;\n"
        << noElement;
    QTest::newRow("high resolution: NUL at the end")
        << Reader::HighResolution << ";BLK_1;;STD_1;\nLi7(LR);120;4.5;900;2;\n" + nul << noElement;
    QTest::newRow("standards: NUL in a concentration")
        << Reader::Standards << "Element;STD_1;;QC_1;\nLi;1" + nul + ";2;5;3\n"
        << noText;
    QTest::newRow("standards: NUL at the start")
        << Reader::Standards << nul + "Element;STD_1;;QC_1;\nLi;1;2;5;3\n"
        << noText;
}

// A NUL byte makes the file binary: refused whole rather than read with a
// value cut at the NUL.
void TestHostileInput::nulBytes()
{
    QFETCH(Reader, reader);
    QFETCH(QByteArray, file);
    QFETCH(QString, message);

    Data data;
    const ParseResult result = readFile(reader, &data, file);

    QCOMPARE(result.code, 1);
    QCOMPARE(result.message, message);
    QVERIFY(nothingRead(reader, data));
}

QTEST_GUILESS_MAIN(TestHostileInput)
#include "tst_hostileinput.moc"
