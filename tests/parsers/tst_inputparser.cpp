#include "parsers/InputParser.h"
#include "parsers/Parser.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QtTest>

#include <charconv>
#include <cmath>

Q_DECLARE_METATYPE(Solution::Type)

namespace {

// The number reading of a reader whose undefined-value tag is chosen by the test.
class TaggedReader : public InputParser
{
public:
    explicit TaggedReader(const QString &tag) : tag(tag) { }
    QString getNotDefinedTag() const override { return tag; }

private:
    QString tag;
};

const QString AGILENT_TAG = QStringLiteral("<###> ");
const QString HR_TAG = QStringLiteral("not def.");

} // namespace

class TestInputParser : public QObject
{
    Q_OBJECT

private slots:
    // Every case starts from the neutral locale, whatever the one before switched to.
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void reads_data();
    void reads();
    void switchLasts_data();
    void switchLasts();
    void classify_data();
    void classify();
    void plainDecimalsCorrectlyRounded_data();
    void plainDecimalsCorrectlyRounded();
};

void TestInputParser::reads_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("expected");
    QTest::addColumn<QLocale::Language>("localeAfter");

    const QLocale::Language neutral = QLocale::C;
    const auto row = [](const char *name, const QString &text, double expected,
                         QLocale::Language localeAfter = QLocale::C) {
        QTest::newRow(name) << AGILENT_TAG << text << true << expected << localeAfter;
    };
    row("empty cell", "", 0.0);
    row("quadrupole tag with its blank", "<###> ", 0.0);
    QTest::newRow("high-resolution tag") << HR_TAG << "not def." << true << 0.0 << neutral;
    QTest::newRow("empty tag, empty cell") << QString() << "" << true << 0.0 << neutral;
    row("exponent", "1.5e3", 1500.0);
    row("many digits", "123456.789012345678", 123456.789012345678);
    // Put after a switching row: it passes only if init() restored the neutral locale.
    row("decimal comma", "-2,5", -2.5, QLocale::French);
    row("point after a comma case", "2.5", 2.5);
    // Three decimals after a comma look like a thousands group: still French.
    row("comma, three decimals below one", "0,123", 0.123, QLocale::French);
    row("comma, three decimals", "1,234", 1.234, QLocale::French);
    row("comma group and point", "1,234.5", 1234.5, QLocale::English);
    // A negative zero is the same "not measured" as 0 and must not be written "-0".
    row("-0", "-0", 0.0);
    row("-0e5", "-0e5", 0.0);
    row("French -0,0", "-0,0", 0.0, QLocale::French);
    row("largest magnitude", "-1.7e308", -1.7e308);
    row("tiny", "2.5e-300", 2.5e-300);

    // Refused, and no convention switched to.
    const auto refused = [](const char *text, const QString &tag = AGILENT_TAG) {
        QTest::newRow(text) << tag << text << false << 0.0 << QLocale::C;
    };
    for (const char *text : { "abc", "12 cps", "<###>", "not def.", "1.2.3", "-" })
        refused(text);
    refused("4.5%", HR_TAG);
    refused("Not def.", HR_TAG);
    // Every convention reads these; taken as numbers they would reach every
    // result. An underflow read as 0 would pass for "not given".
    for (const char *text : { "nan", "NaN", "inf", "-inf", "1e400", "-1e400", "1,5e400", "1e-400" })
        refused(text);
}

void TestInputParser::reads()
{
    QFETCH(QString, tag);
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, expected);
    QFETCH(QLocale::Language, localeAfter);

    bool read = !ok;
    const double value = TaggedReader(tag).toDouble(text, &read);
    QCOMPARE(read, ok);
    QCOMPARE(value, expected);
    QCOMPARE(std::signbit(value), std::signbit(expected));
    QCOMPARE(QLocale().language(), localeAfter);
}

void TestInputParser::switchLasts_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<double>>("expected");
    QTest::addColumn<QLocale::Language>("localeAfter");

    // Once French, a point still reads through the neutral fallback.
    QTest::newRow("French stays") << QStringList { "2,5", "4.5", "7" }
                                  << QList<double> { 2.5, 4.5, 7.0 } << QLocale::French;
    QTest::newRow("English then French")
        << QStringList { "1,234.5", "0,123" } << QList<double> { 1234.5, 0.123 } << QLocale::French;
    QTest::newRow("French then English") << QStringList { "0,5", "2,000.25", "1,5" }
                                         << QList<double> { 0.5, 2000.25, 1.5 } << QLocale::French;
    QTest::newRow("English stays")
        << QStringList { "1,000.5", "3.5" } << QList<double> { 1000.5, 3.5 } << QLocale::English;
}

void TestInputParser::switchLasts()
{
    QFETCH(QStringList, texts);
    QFETCH(QList<double>, expected);
    QFETCH(QLocale::Language, localeAfter);

    const TaggedReader reader(AGILENT_TAG);
    for (int n = 0; n < texts.size(); ++n) {
        bool ok = false;
        QCOMPARE(reader.toDouble(texts.at(n), &ok), expected.at(n));
        QVERIFY(ok);
    }
    QCOMPARE(QLocale().language(), localeAfter);
}

void TestInputParser::classify_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Solution::Type>("type");

    QTest::newRow("blank tag inside") << "Run2_BLK_1" << Solution::BLK;
    QTest::newRow("lower-case blank") << "blk_1" << Solution::SAMPLE;
    QTest::newRow("standard before QC") << "STD_QC_1" << Solution::STD;
    QTest::newRow("QC then standard") << "QC_STD_2" << Solution::STD;
    QTest::newRow("blank before standard") << "STD_BLK_1" << Solution::BLK;
    QTest::newRow("QC") << "QC_1" << Solution::QC;
    QTest::newRow("standard without underscore") << "STD1" << Solution::SAMPLE;
    QTest::newRow("empty") << "" << Solution::SAMPLE;
}

void TestInputParser::classify()
{
    QFETCH(QString, name);
    QFETCH(Solution::Type, type);
    QCOMPARE(Parser::classify(name), type);
}

void TestInputParser::plainDecimalsCorrectlyRounded_data()
{
    QTest::addColumn<QStringList>("texts");

    // Around the 15-digit limit of exact arithmetic and the longest exact
    // power of ten, where a shortcut would first go wrong.
    QTest::newRow("edges") << QStringList { "0", "-0", "0.1", "0.30000000000000004",
        "999999999999999", "9999999999999999", "0.000000000000001", "123456789012345.6",
        "1.23456789012345", "12345678901234567890", "9007199254740993", "0.1000000000000000055511",
        "000000000000000000001.5", "-4503599627370497.5", "2.2250738585072014" };

    // Instrument-like cells of every length, from a fixed seed.
    QStringList random;
    QRandomGenerator generator(7);
    for (int k = 0; k < 100000; ++k) {
        const int digits = generator.bounded(1, 21);
        QString text = generator.bounded(4) == 0 ? QStringLiteral("-") : QString();
        const int point = generator.bounded(0, digits + 1);
        for (int d = 0; d < digits; ++d) {
            if (d == point && d > 0)
                text += QLatin1Char('.');
            text += QChar('0' + generator.bounded(10));
        }
        random << text;
    }
    QTest::newRow("random") << random;
}

void TestInputParser::plainDecimalsCorrectlyRounded()
{
    QFETCH(QStringList, texts);

    TaggedReader reader(AGILENT_TAG);
    for (const QString &text : texts) {
        bool ok = false;
        const double value = reader.toDouble(text, &ok);
        QVERIFY2(ok, qPrintable(text));
        // The general conversion rounds correctly; -0 is read as 0.
        const QByteArray ascii = text.toLatin1();
        double expected = 0.0;
        std::from_chars(ascii.constData(), ascii.constData() + ascii.size(), expected);
        expected += 0.0;
        if (value != expected || std::signbit(value) != std::signbit(expected))
            QFAIL(qPrintable(QStringLiteral("%1 read as %2 instead of %3")
                                 .arg(text)
                                 .arg(value, 0, 'g', 17)
                                 .arg(expected, 0, 'g', 17)));
    }
    QCOMPARE(QLocale().language(), QLocale::C);
}

QTEST_GUILESS_MAIN(TestInputParser)
#include "tst_inputparser.moc"
