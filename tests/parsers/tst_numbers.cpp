// Numbers as the readers read them and as the results files write them, and
// the run QC's limits as --qc-limits and a method file take them.
#include "model/Calibration.h"
#include "model/Measurements.h"
#include "model/Results.h"
#include "parsers/NumberFormat.h"
#include "parsers/NumberReader.h"
#include "parsers/QcLimitsText.h"
#include "parsers/ResultsWriter.h"

#include <QtTest>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

const QString AGILENT_TAG = QStringLiteral("<###> ");
const QString HR_TAG = QStringLiteral("not def.");

} // namespace

class TestNumbers : public QObject
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
    void writtenAsTheTextStreamWritesThem_data();
    void writtenAsTheTextStreamWritesThem();
    void resultsHiddenBelowTheLimit();
    void qcLimits_data();
    void qcLimits();
};

void TestNumbers::reads_data()
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

void TestNumbers::reads()
{
    QFETCH(QString, tag);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, values);
    QFETCH(QString, localeAfter);

    const NumberReader reader(tag);
    for (int k = 0; k < cells.size(); ++k) {
        bool read = values.isEmpty();
        const double value = reader.read(cells.at(k), &read);
        QCOMPARE(read, !values.isEmpty());
        const double expected = values.isEmpty() ? 0.0 : values.at(k).toDouble();
        QCOMPARE(value, expected);
        // A negative zero is the same "not measured" as 0 and must not be written "-0".
        QCOMPARE(std::signbit(value), std::signbit(expected));
    }
    QCOMPARE(QLocale::languageToString(QLocale().language()),
        localeAfter == "C" ? QStringLiteral("C") : localeAfter);
}

void TestNumbers::plainDecimalsCorrectlyRounded_data()
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

void TestNumbers::plainDecimalsCorrectlyRounded()
{
    QFETCH(QStringList, texts);

    const NumberReader reader(AGILENT_TAG);
    for (const QString &text : texts) {
        bool ok = false;
        const double value = reader.read(text, &ok);
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

void TestNumbers::writtenAsTheTextStreamWritesThem_data()
{
    QTest::addColumn<QVector<double>>("values");

    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Special values; where the layout switches between plain and exponent
    // notation; exact ties between two six-digit neighbours, which the stream
    // rounds away from zero.
    QTest::newRow("edges") << QVector<double> { 0.0, -0.0, inf, -inf, nan, -nan,
        std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max(),
        std::numeric_limits<double>::min(), 1e-4, 9.99999e-5, 0.000099999949, 0.00009999995, 1e-5,
        999999.0, 999999.4, 999999.5, 1e6, 99999.95, 9.999995, 1234567, -1e-5, 1e15, 9.99999e14,
        1e-300, 1.5e300, 296158.5, -629324.5, 0.5, 2.5, 1.0000005e10, 12345.65, 0.0001234565,
        1234565.0, 3.0000125, 1.5e-5, 100000.5, 0.1 + 0.2, -2.0 / 3.0 };

    // Values of every magnitude, and raw bit patterns, from a fixed seed.
    QVector<double> random;
    QRandomGenerator generator(42);
    for (int k = 0; k < 20000; ++k) {
        double value = 0.0;
        if (k % 3 == 0) {
            value = (generator.generateDouble() - 0.5) * std::pow(10.0, generator.bounded(-20, 20));
        } else if (k % 3 == 1) {
            const quint64 bits = generator.generate64();
            std::memcpy(&value, &bits, sizeof value);
        } else {
            // Few decimals, as instruments and hand-made files write them.
            value = double(generator.bounded(-10000000, 10000000))
                / std::pow(10.0, generator.bounded(0, 9));
        }
        random.append(value);
    }
    QTest::newRow("random") << random;
}

// With a decimal point, even after a reader switched the default locale to French.
void TestNumbers::writtenAsTheTextStreamWritesThem()
{
    QFETCH(QVector<double>, values);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    for (const double value : values) {
        QString expected;
        QTextStream(&expected) << value;
        QByteArray written;
        NumberFormat::append(written, value);
        if (QString::fromLatin1(written) != expected)
            QFAIL(qPrintable(QStringLiteral("%1 written as %2 instead of %3")
                                 .arg(value, 0, 'g', 17)
                                 .arg(QString::fromLatin1(written), expected)));
    }
}

// A concentration just under the limit of quantification is "<LOQ", one at it is shown.
void TestNumbers::resultsHiddenBelowTheLimit()
{
    Measurements working;
    working.addIsotope(Isotope(QStringLiteral("Li"), 7, Isotope::LR));
    Calibration calibration;
    calibration.lines.append(CalibrationLine());
    calibration.lines[0].loq = 0.1;
    Results results(3, 1);
    const double values[] = { 0.0, std::nextafter(0.1, 0.0), 0.1 };
    for (int s = 0; s < 3; ++s) {
        working.addSolution(Solution(QStringLiteral("S"), Solution::Sample, 1));
        results.set(s, 0, values[s], 0.0);
    }
    const QStringList lines
        = QString::fromLatin1(ResultsWriter::format(working, calibration, results)).split('\n');
    QCOMPARE(lines.at(3), QStringLiteral(";LOQ (ppb) = ;0.1;;;"));
    QCOMPARE(lines.mid(7, 3), QStringList({ "S;;;;;", "S;;<LOQ;;;", "S;;0.1;0;0;" }));
}

void TestNumbers::qcLimits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written"); // empty: refused
    const QString defaults = "ICV=90-110,CCV=90-110,LLCCV=70-130,ICB=0.5,CCB=1,EVERY=10,RPD=20,"
                             "MS=75-125,LCS=80-120,MB=0.5";
    const auto with = [&defaults](const QString &from, const QString &to) {
        return QString(defaults).replace(from, to);
    };
    QTest::newRow("decimal range") << "ICV=92.5-107.5" << with("ICV=90-110", "ICV=92.5-107.5");
    QTest::newRow("items trimmed, in any order")
        << " EVERY=12 , CCB=2" << with("CCB=1,EVERY=10", "CCB=2,EVERY=12");
    QTest::newRow("no leading digit, low 0")
        << "ICB=.25,LLCCV=0-130" << with("70-130,ICB=0.5", "0-130,ICB=0.25");
    QTest::newRow("small factor written without exponent")
        << "CCB=0.0000001" << with("CCB=1", "CCB=0.0000001");
    QTest::newRow("one solution between checks") << "EVERY=1" << with("EVERY=10", "EVERY=1");
    QTest::newRow("batch limits") << "MB=2,LCS=85.5-115,RPD=30"
                                  << with("RPD=20,MS=75-125,LCS=80-120,MB=0.5",
                                         "RPD=30,MS=75-125,LCS=85.5-115,MB=2");
    for (const char *refused :
        { "EVERY=0", "EVERY=12.0", "CCB=+1", "ICB=1e-1", "ICB=0", "ICV=-5-110", "ICV=110-110",
            "ICV=90-110-120", "ICV", "icv=90-110", "CCV=90-110,CCV=90-110", "ICV=90-110,", "",
            "RPD=0", "RPD=10-20", "MS=125-75", "MB=0" })
        QTest::newRow(refused) << refused << QString();
}

// As --qc-limits and a method take them: what is accepted is written back
// whole, in the keys' order.
void TestNumbers::qcLimits()
{
    QFETCH(QString, text);
    QFETCH(QString, written);
    QcLimits limits;
    const QString reason = QcLimitsText::parse(text, QStringLiteral("'--qc-limits'"), &limits);
    const bool accepted = reason.isEmpty() && limits.problem().isEmpty();
    QCOMPARE(accepted ? QcLimitsText::format(limits) : QString(), written);
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
