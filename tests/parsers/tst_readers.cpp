// The three readers on the files of tests/data/readers, each beside the data
// set it must give (<case>.expected), and on hostile input.
#include "model/Data.h"
#include "parsers/ParserInAgilentCSV.h"
#include "parsers/ParserInHRElementCSV.h"
#include "parsers/ParserInSTDQC.h"

#include <QtTest>

#include <charconv>
#include <memory>

namespace {

const QString CASES = QStringLiteral(TEST_DATA_DIR "/readers/");
// No read needs a fraction of this; an exponential one would need hours.
constexpr qint64 HANG_MS = 20000;

QString shortest(double value)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return QString::fromLatin1(text, int(end - text));
}

// The data set as the .expected files write it: per solution its name, type
// and, per isotope slot, intensity and deviation, or for the standards
// reader concentration and error.
QString dump(const Data &data, bool concentrations)
{
    const char *types[] = { "SAMPLE", "STD", "BLK", "QC" };
    QStringList lines;
    if (!concentrations)
        lines << (QStringList(QStringLiteral("isotopes")) + data.isotopeNames()).join('\t');
    for (int s = 0; s < data.solutionSize(); ++s) {
        const Solution *solution = data.getSolution(s);
        QStringList cells { solution->getName(), QLatin1String(types[solution->getType()]) };
        for (int i = 0; i < solution->getNbrElement(); ++i)
            cells << (concentrations
                    ? shortest(solution->getConcent(i)) + ' ' + shortest(solution->getConcentRSD(i))
                    : shortest(solution->getCps(i)) + ' ' + shortest(solution->getCpsSD(i)));
        lines << cells.join('\t');
    }
    return lines.join('\n');
}

ParseResult read(QByteArray bytes, Data *data)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QElapsedTimer clock;
    clock.start();
    const ParseResult result = data->executeParsing(&buffer, nullptr);
    if (clock.elapsed() > HANG_MS)
        qWarning("read took %lld ms", clock.elapsed());
    return clock.elapsed() > HANG_MS ? ParseResult { 2, QStringLiteral("hung") } : result;
}

std::unique_ptr<Parser> reader(const QString &name)
{
    if (name == ParserInAgilentCSV::ICP_MS_NAME)
        return std::make_unique<ParserInAgilentCSV>();
    if (name == ParserInHRElementCSV::ICP_MS_NAME)
        return std::make_unique<ParserInHRElementCSV>();
    return std::make_unique<ParserInSTDQC>();
}

// A data set as an instrument reader leaves it for the standards reader, with
// every concentration at -1 to show which the reader left alone.
void prepareStandards(Data &data, const QStringList &solutions, const QStringList &elements)
{
    for (int i = 0; i < elements.size(); ++i)
        data.addIso(Element(elements.at(i), i + 1, Element::LR));
    for (const QString &name : solutions) {
        Solution solution(name, elements.size(), Parser::classify(name));
        for (int i = 0; i < elements.size(); ++i) {
            solution.setConcent(i, -1.0);
            solution.setConcentRSD(i, -1.0);
        }
        data.addSolution(solution);
    }
}

} // namespace

class TestReaders : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void cases_data();
    void cases();
    void headerNamesSolutions_data();
    void headerNamesSolutions();
    void hostile_data();
    void hostile();
};

void TestReaders::cases_data()
{
    QTest::addColumn<QString>("name");
    const QStringList expected = QDir(CASES).entryList({ QStringLiteral("*.expected") });
    QVERIFY(expected.size() > 40);
    for (const QString &file : expected)
        QTest::newRow(qPrintable(file)) << file.chopped(9);
}

void TestReaders::cases()
{
    QFETCH(QString, name);
    QFile expectedFile(CASES + name + ".expected");
    QFile input(CASES + name + ".csv");
    QVERIFY(expectedFile.open(QIODevice::ReadOnly | QIODevice::Text)
        && input.open(QIODevice::ReadOnly));
    QStringList expected = QString::fromUtf8(expectedFile.readAll()).split('\n');
    while (!expected.isEmpty() && expected.last().isEmpty())
        expected.removeLast();
    // Header lines "key<TAB>value..." up to the message.
    QHash<QString, QStringList> header;
    while (!expected.isEmpty() && !header.contains(QStringLiteral("message"))) {
        QStringList cells = expected.takeFirst().split('\t');
        header.insert(cells.takeFirst(), cells);
    }

    const QString readerName = header.value(QStringLiteral("reader")).value(0);
    const std::unique_ptr<Parser> parser = reader(readerName);
    Data data(parser.get());
    const bool standards = !header.value(QStringLiteral("solutions")).isEmpty()
        || !header.value(QStringLiteral("elements")).isEmpty();
    if (standards) {
        prepareStandards(data, header.value(QStringLiteral("solutions")),
            header.value(QStringLiteral("elements")));
    } else {
        // An earlier file must leave no trace, success or not.
        data.addIso(Element(QStringLiteral("Old"), 1, Element::LR));
        data.addSolution(Solution(QStringLiteral("STD_old"), 1, Solution::STD));
    }

    const ParseResult result = read(input.readAll(), &data);
    QCOMPARE(QString::number(result.code), header.value(QStringLiteral("code")).value(0));
    QCOMPARE(result.message,
        header.value(QStringLiteral("message")).value(0).replace(QLatin1String("\\n"), "\n"));
    QCOMPARE(dump(data, standards), expected.join('\n'));
    if (result.code != 0)
        QCOMPARE(QLocale().language(), QLocale::C);
}

void TestReaders::headerNamesSolutions_data()
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
void TestReaders::headerNamesSolutions()
{
    QFETCH(QString, header);
    QFETCH(QString, standard);

    const QRegularExpression rule("^" + header + "(_?\\d+)?$");
    const bool expected = rule.isValid() && rule.match(standard).hasMatch();
    ParserInSTDQC standards;
    Data data(&standards);
    data.addIso(Element(QStringLiteral("Li"), 7, Element::LR));
    // A standard whatever its name, so that it is looked up.
    data.addSolution(Solution(standard, 1, Solution::STD));
    // Last on the line, so no empty cell stands right of the header.
    const ParseResult result = read(("Element;QC_1;;" + header + "\nLi;5;3;4;2\n").toUtf8(), &data);
    QCOMPARE(result.code, expected ? 0 : 1);
    QCOMPARE(data.getSolution(0)->getConcent(0), expected ? 4.0 : 0.0);
}

void TestReaders::hostile_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QByteArray>("file");
    // Empty on success, when the last solution's first value is checked instead.
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("value");

    const QString q = ParserInAgilentCSV::ICP_MS_NAME;
    const QString hr = ParserInHRElementCSV::ICP_MS_NAME;
    const QString std;
    // The box that shows the message must not receive megabytes.
    QTest::newRow("quadrupole: huge number")
        << q << "Sample:;BLK_1;;STD_1;\nLi / 7 [#1];" + QByteArray(4 << 20, '7') + ";4.5%;900;2%;\n"
        << InputParser::NUMBER_ERROR + "\n\nLine 2: '" + QString(40, '7') + QChar(0x2026) + "'"
        << 0.0;

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
    QTest::newRow("standards: 100,000 header cells")
        << std << header + ";QC_1;;STD_1;\n" + standard + ";5;3;4;2\n"
        << QString() << 4.0;

    QByteArray separators(1024 * 1024, ';');
    for (int i = 0; i < 20000; ++i)
        separators += "\r\n;;;;;;;;";
    QTest::newRow("high resolution: only separators")
        << hr << separators
        << "Input file format error: no element detected (instrument set to 'HR-ICP-MS')" << 0.0;
}

void TestReaders::hostile()
{
    QFETCH(QString, reader);
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(double, value);

    const std::unique_ptr<Parser> parser = ::reader(reader);
    Data data(parser.get());
    if (reader.isEmpty())
        prepareStandards(data, { "QC_1", "STD_1" }, { "Li" });
    const ParseResult result = read(file, &data);
    QCOMPARE(result.message, message.isEmpty() ? result.message : message);
    QCOMPARE(result.code, message.isEmpty() ? 0 : 1);
    if (message.isEmpty()) {
        const Solution *last = data.getSolution(data.solutionSize() - 1);
        QCOMPARE(reader.isEmpty() ? last->getConcent(0) : last->getCps(0), value);
    }
}

QTEST_GUILESS_MAIN(TestReaders)
#include "tst_readers.moc"
