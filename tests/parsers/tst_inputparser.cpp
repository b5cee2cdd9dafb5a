#include "parsers/InputParser.h"

#include <QtTest>

#include <charconv>
#include <cmath>

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
    void plainDecimalsCorrectlyRounded_data();
    void plainDecimalsCorrectlyRounded();
};

void TestInputParser::reads_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("values"); // empty: refused
    QTest::addColumn<QString>("localeAfter");

    QFile table(TEST_DATA_DIR "/numbers.txt");
    QVERIFY(table.open(QIODevice::ReadOnly));
    const QHash<QString, QString> tags { { "Q", AGILENT_TAG }, { "HR", HR_TAG }, { "-", "" } };
    while (!table.atEnd()) {
        const QString line = QString::fromUtf8(table.readLine()).chopped(1);
        if (line.startsWith('#'))
            continue;
        const QStringList fields = line.split('\t');
        const QString values = fields.value(2);
        QTest::newRow(qPrintable(fields.value(1) + " @" + fields.value(0)))
            << tags.value(fields.value(0)) << fields.value(1).split(';')
            << (values == "refused" ? QStringList() : values.split(';')) << fields.value(3);
    }
}

void TestInputParser::reads()
{
    QFETCH(QString, tag);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, values);
    QFETCH(QString, localeAfter);

    const TaggedReader reader(tag);
    for (int k = 0; k < cells.size(); ++k) {
        bool read = values.isEmpty();
        const double value = reader.toDouble(cells.at(k), &read);
        QCOMPARE(read, !values.isEmpty());
        const double expected = values.isEmpty() ? 0.0 : values.at(k).toDouble();
        QCOMPARE(value, expected);
        // A negative zero is the same "not measured" as 0 and must not be written "-0".
        QCOMPARE(std::signbit(value), std::signbit(expected));
    }
    QCOMPARE(QLocale::languageToString(QLocale().language()),
        localeAfter == "C" ? QStringLiteral("C") : localeAfter);
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
