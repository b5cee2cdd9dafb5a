// The three readers on the files of tests/data/readers, each beside the data
// set it must give (<case>.expected), and on hostile input.
#include "model/ExpectedConcentrations.h"
#include "model/Measurements.h"
#include "parsers/HighResolutionReader.h"
#include "parsers/QuadrupoleReader.h"
#include "parsers/StandardsReader.h"
#include "parsers/TextFile.h"

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
    auto *const end = std::to_chars(text, text + sizeof text, value).ptr;
    return QString::fromLatin1(text, int(end - text));
}

// An export and what the standards reader gave it, as the .expected files
// write them: per solution its name, type and, per isotope slot, intensity
// and deviation, or for the standards reader concentration and error.
QString dump(const Measurements &data, const ExpectedConcentrations *expected)
{
    const char *types[] = { "SAMPLE", "STD", "BLK", "QC" };
    QStringList lines;
    if (!expected)
        lines << (QStringList(QStringLiteral("isotopes")) + data.isotopeNames()).join('\t');
    for (int s = 0; s < data.solutionCount(); ++s) {
        const Solution &solution = data.solution(s);
        QStringList cells { solution.name(), QLatin1String(types[solution.type()]) };
        for (int i = 0; i < solution.isotopeCount(); ++i)
            cells << (expected
                    ? shortest(expected->value(s, i)) + ' ' + shortest(expected->error(s, i))
                    : shortest(solution.intensity(i)) + ' ' + shortest(solution.intensitySD(i)));
        lines << cells.join('\t');
    }
    return lines.join('\n');
}

// An export as an instrument reader leaves it for the standards reader, with
// every expected concentration at -1 to show which the reader left alone.
Measurements prepareStandards(
    const QStringList &solutions, const QStringList &elements, ExpectedConcentrations *expected)
{
    Measurements data;
    for (int i = 0; i < elements.size(); ++i)
        data.addIsotope(Isotope(elements.at(i), i + 1, Isotope::LR));
    for (const QString &name : solutions)
        data.addSolution(Solution(name, InstrumentReader::classify(name), int(elements.size())));
    *expected = ExpectedConcentrations(int(solutions.size()), int(elements.size()));
    for (int s = 0; s < solutions.size(); ++s) {
        for (int i = 0; i < elements.size(); ++i)
            expected->set(s, i, -1.0, -1.0);
    }
    return data;
}

// Reads the bytes with the named reader: an instrument's into data, or the
// standards reader for data into expected. "hung" when it took far too long.
Status read(
    const QString &reader, QByteArray bytes, Measurements *data, ExpectedConcentrations *expected)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QElapsedTimer clock;
    clock.start();
    Status result = reader == QLatin1String("standards")
        ? StandardsReader::read(&buffer, *data, expected)
        : InstrumentReader::create(reader)->read(&buffer, data);
    if (clock.elapsed() > HANG_MS)
        return Status::failure(QStringLiteral("hung after %1 ms").arg(clock.elapsed()));
    return result;
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
    void textAsDecoded_data();
    void textAsDecoded();
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
    QStringList expected_ = QString::fromUtf8(expectedFile.readAll()).split('\n');
    while (!expected_.isEmpty() && expected_.last().isEmpty())
        expected_.removeLast();
    // Header lines "key<TAB>value..." up to the message.
    QHash<QString, QStringList> header;
    while (!expected_.isEmpty() && !header.contains(QStringLiteral("message"))) {
        QStringList cells = expected_.takeFirst().split('\t');
        header.insert(cells.takeFirst(), cells);
    }

    const QString readerName = header.value(QStringLiteral("reader")).value(0);
    ExpectedConcentrations expected;
    Measurements data;
    const bool standards = readerName == QLatin1String("standards");
    if (standards) {
        data = prepareStandards(header.value(QStringLiteral("solutions")),
            header.value(QStringLiteral("elements")), &expected);
    } else {
        // An earlier file must leave no trace, success or not.
        data.addIsotope(Isotope(QStringLiteral("Old"), 1, Isotope::LR));
        data.addSolution(Solution(QStringLiteral("STD_old"), Solution::Standard, 1));
    }

    const Status result = read(readerName, input.readAll(), &data, &expected);
    QCOMPARE(QString::number(result.ok() ? 0 : 1), header.value(QStringLiteral("code")).value(0));
    QCOMPARE(result.message(),
        header.value(QStringLiteral("message")).value(0).replace(QLatin1String("\\n"), "\n"));
    QCOMPARE(dump(data, standards ? &expected : nullptr), expected_.join('\n'));
    if (!result.ok())
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
    Measurements data;
    data.addIsotope(Isotope(QStringLiteral("Li"), 7, Isotope::LR));
    // A standard whatever its name, so that it is looked up.
    data.addSolution(Solution(standard, Solution::Standard, 1));
    // Last on the line, so no empty cell stands right of the header.
    ExpectedConcentrations concentrations;
    const Status result = read(QStringLiteral("standards"),
        ("Element;QC_1;;" + header + "\nLi;5;3;4;2\n").toUtf8(), &data, &concentrations);
    QCOMPARE(result.ok(), expected);
    QCOMPARE(concentrations.value(0, 0), expected ? 4.0 : 0.0);
}

void TestReaders::hostile_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QByteArray>("file");
    // Empty on success, when the last solution's first value is checked instead.
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("value");

    const QString q = QuadrupoleReader::ICP_MS_NAME;
    const QString hr = HighResolutionReader::ICP_MS_NAME;
    const QString std = QStringLiteral("standards");
    // The box that shows the message must not receive megabytes.
    QTest::newRow("quadrupole: huge number")
        << q << "Sample:;BLK_1;;STD_1;\nLi / 7 [#1];" + QByteArray(4 << 20, '7') + ";4.5%;900;2%;\n"
        << NumberReader::NUMBER_ERROR + "\n\nLine 2: '" + QString(40, '7') + QChar(0x2026) + "'"
        << 0.0;

    // Far more than any instrument runs: each value must still reach its own solution.
    QByteArray names;
    QByteArray li;
    QByteArray pb;
    QByteArray header = "Element";
    QByteArray standard = "Li";
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

    ExpectedConcentrations expected;
    Measurements data;
    if (reader == QLatin1String("standards"))
        data = prepareStandards({ "QC_1", "STD_1" }, { "Li" }, &expected);
    const Status result = ::read(reader, file, &data, &expected);
    QCOMPARE(result.message(), message.isEmpty() ? result.message() : message);
    QCOMPARE(result.ok(), message.isEmpty());
    if (message.isEmpty()) {
        const int last = data.solutionCount() - 1;
        QCOMPARE(reader == QLatin1String("standards") ? expected.value(last, 0)
                                                      : data.solution(last).intensity(0),
            value);
    }
}

void TestReaders::textAsDecoded_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    const auto utf16 = [](const QString &text) {
        return QByteArray("\xFF\xFE")
            + QByteArray(reinterpret_cast<const char *>(text.utf16()), int(text.size()) * 2);
    };
    // Kept in UTF-8 form, text that UTF-8 cannot carry must come back all the same.
    const QString lone = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b");
    const QString emoji = QString(QChar(0xDC00)) + QStringLiteral(";\U0001F600");
    QTest::newRow("UTF-16 with lone surrogates and a pair")
        << utf16(lone + QStringLiteral("\r\n") + emoji) << QStringList { lone, emoji };
    QTest::newRow("UTF-8: a mark inside a line and a noncharacter are text")
        << QByteArray("x\xEF\xBB\xBFy\n\xEF\xBF\xBE")
        << QStringList { QStringLiteral("x\uFEFFy"), QStringLiteral("\uFFFE") };
    QTest::newRow("UTF-8: the second of two marks dropped as the first character") << QByteArray(
        "\xEF\xBB\xBF\xEF\xBB\xBF\xC3\xA9") << QStringList { QStringLiteral("\u00E9") };
    QTest::newRow("Windows-1252") << QByteArray("caf\xE9\r\xA0\x80")
                                  << QStringList { QStringLiteral("caf\u00E9"),
                                         QStringLiteral("\u00A0\u20AC") };
    QTest::newRow("UTF-8 cut off at the end is Windows-1252")
        << QByteArray("a\xC3") << QStringList { QStringLiteral("a\u00C3") };
    QTest::newRow("encoded surrogate is no UTF-8")
        << QByteArray("\xED\xA0\x80") << QStringList { QStringLiteral("\u00ED\u00A0\u20AC") };
    QTest::newRow("CR, LF, CRLF and trailing empty lines")
        << QByteArray("a\r\n\rb\n\r\n\n") << QStringList { "a", "", "b" };
}

// Every line as the whole file decoded and split would give it.
void TestReaders::textAsDecoded()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);

    const TextFile file(bytes);
    QCOMPARE(file.lines(), lines);
    for (const QString &line : lines) {
        const QByteArray encoded = TextFile::encode(line);
        QCOMPARE(
            TextFile::decode(std::string_view(encoded.constData(), size_t(encoded.size()))), line);
    }
}

QTEST_GUILESS_MAIN(TestReaders)
#include "tst_readers.moc"
