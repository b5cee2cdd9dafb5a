// Numbers as the readers read them, as the results files write them and as
// the report rounds them to their SD, and the run QC's limits as --qc-limits
// and a method file take them.
#include "model/Calibration.h"
#include "model/Measurements.h"
#include "model/Results.h"
#include "parsers/NumberFormat.h"
#include "parsers/NumberReader.h"
#include "parsers/OutputFile.h"
#include "parsers/QcLimitsText.h"
#include "parsers/ResultsWriter.h"
#include "parsers/RoundedValue.h"
#include "tests/parsers/PrintfSixDigits.h"

#include <QtTest>

#include <algorithm>
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
    void writtenAsPrintfRoundsTheExactValue_data();
    void writtenAsPrintfRoundsTheExactValue();
    void resultsHiddenBelowTheLimit();
    void resultsWrittenInBlocks();
    void qcLimits_data();
    void qcLimits();
    void roundedToTheirSd_data();
    void roundedToTheirSd();
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

void TestNumbers::writtenAsPrintfRoundsTheExactValue_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("count");

    // Bit patterns: every binary exponent, subnormals, inf and nan alike.
    QTest::newRow("bit patterns") << "bits" << 3000000;
    QTest::newRow("every binary exponent") << "exponents" << 1000000;
    QTest::newRow("few decimals, as instruments write them") << "decimals" << 1000000;
    // d.dddddd5 × 10^k for every k a double reaches, the doubles nearest and
    // two steps either side: where a shortcut would round the wrong way.
    QTest::newRow("around six-digit rounding boundaries") << "boundaries" << 400000;
    QTest::newRow("exact ties") << "ties" << 300000;
}

namespace {

double fromBits(quint64 bits)
{
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The values of one kind, from a fixed seed, handed to check() in turn.
template<typename Check> void generate(const QString &kind, int count, Check check)
{
    QRandomGenerator generator(2024);
    for (int k = 0; k < count; ++k) {
        const quint64 bits = generator.generate64();
        if (kind == QLatin1String("bits")) {
            check(fromBits(bits));
        } else if (kind == QLatin1String("exponents")) {
            // 2^-1074 up to the largest double, evenly over the 2046 exponents.
            const quint64 exponent = quint64(k % 2046 + 1) << 52;
            check(fromBits((bits & 0x800FFFFFFFFFFFFFULL) | exponent));
            check(fromBits(bits & 0x800FFFFFFFFFFFFFULL)); // subnormal
        } else if (kind == QLatin1String("decimals")) {
            check(double(qint64(bits % 20000000) - 10000000) / std::pow(10.0, int(bits >> 60)));
        } else if (kind == QLatin1String("boundaries")) {
            const QByteArray text = QByteArray::number(100000 + bits % 900000) + "5e"
                + QByteArray::number(int((bits >> 32) % 640) - 330);
            double value = 0.0;
            std::from_chars(text.constData(), text.constData() + text.size(), value);
            double below = value;
            double above = value;
            check(value);
            for (int step = 0; step < 2; ++step) {
                below = std::nextafter(below, 0.0);
                above = std::nextafter(above, std::numeric_limits<double>::infinity());
                check(below);
                check(above);
            }
        } else {
            // D × 10^k, D of seven digits ending in 5 and a multiple of 5^-k
            // when k < 0: representable, so the product or quotient is exact.
            const int e = int(bits % 26) - 10;
            const quint64 fives = quint64(std::pow(5.0, std::max(-e, 0)));
            const quint64 digits
                = (1000005 + (bits >> 8) % 8999990) / (10 * fives) * 10 * fives + 5 * fives;
            if (digits >= 10000000 || (e > 0 && digits * quint64(std::pow(5.0, e)) >> 53 != 0))
                continue;
            const double power = std::pow(10.0, std::abs(e)); // exact up to 10^22
            check(e < 0 ? -double(digits) / power : double(digits) * power);
        }
    }
}

} // namespace

// Against the C library's own rounding of the exact value, whatever path the
// writer takes for a magnitude.
void TestNumbers::writtenAsPrintfRoundsTheExactValue()
{
    QFETCH(QString, kind);
    QFETCH(int, count);

    QByteArray written;
    written.reserve(64);
    int checked = 0;
    int ties = 0;
    generate(kind, count, [&](double value) {
        written.resize(0);
        NumberFormat::append(written, value);
        const QByteArray expected = printfSixDigits(value);
        ++checked;
        if (written != expected)
            QFAIL(
                qPrintable(QStringLiteral("%1 written as %2 instead of %3")
                               .arg(value, 0, 'g', 17)
                               .arg(QString::fromLatin1(written), QString::fromLatin1(expected))));
        char plain[64];
        std::snprintf(plain, sizeof plain, "%g", std::fabs(value));
        ties += written.endsWith(plain) ? 0 : 1;
    });
    QVERIFY(checked > count / 2);
    // The ties' row must hold ties, which printf alone writes otherwise.
    QCOMPARE(ties > checked / 2, kind == QLatin1String("ties"));
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

// A results file larger than the blocks it is written in: every row once, in
// order, and the same bytes as when the writer's blocks are gathered whole.
void TestNumbers::resultsWrittenInBlocks()
{
    Measurements working;
    const int isotopes = 40;
    for (int i = 0; i < isotopes; ++i)
        working.addIsotope(Isotope(QStringLiteral("Li"), 6 + i, Isotope::LR));
    Calibration calibration;
    calibration.lines.resize(isotopes);
    const int solutions = 6000; // some 3 MB
    Results results(solutions, isotopes);
    for (int s = 0; s < solutions; ++s) {
        working.addSolution(Solution(QStringLiteral("S_%1").arg(s), Solution::Sample, isotopes));
        for (int i = 0; i < isotopes; ++i)
            results.set(s, i, 1000.0 + s + i / 64.0, 1.5);
    }
    QTemporaryDir folder;
    const QString target = folder.filePath("results.csv");
    QVERIFY(OutputFile::write(target, [&](QIODevice *device) {
        return ResultsWriter::write(device, working, calibration, results);
    }).ok());
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly) && file.size() > 2 * qint64(OutputFile::BLOCK));
    const QStringList lines = QString::fromLatin1(file.readAll()).split('\n');
    QCOMPARE(lines.size(), 7 + solutions + 1);
    for (int s = 0; s < solutions; ++s)
        QVERIFY(lines.at(7 + s).startsWith(QStringLiteral("S_%1;;%2;").arg(s).arg(1000 + s)));
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

void TestNumbers::roundedToTheirSd_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("sd");
    QTest::addColumn<QString>("shown"); // the value, " ± " and the SD

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("value to the SD's place")
        << 12.3456 << 0.0789 << QStringLiteral("12.346 ± 0.079");
    QTest::newRow("negative value") << -12.3456 << 0.0789 << QStringLiteral("-12.346 ± 0.079");
    QTest::newRow("SD carried to one digit more")
        << 12.3456 << 0.0996 << QStringLiteral("12.35 ± 0.10");
    QTest::newRow("SD carried to the units") << 123.456 << 9.96 << QStringLiteral("123 ± 10");
    QTest::newRow("SD of one digit keeps two") << 7.0 << 0.1 << QStringLiteral("7.00 ± 0.10");
    QTest::newRow("SD above the value") << 0.5 << 1.234 << QStringLiteral("0.5 ± 1.2");
    QTest::newRow("value below the SD's place") << 3.2 << 1234.0 << QStringLiteral("0 ± 1200");
    QTest::newRow("negative value rounded to zero")
        << -0.004 << 0.12 << QStringLiteral("0.00 ± 0.12");
    QTest::newRow("value carried") << 9.9996 << 0.012 << QStringLiteral("10.000 ± 0.012");
    QTest::newRow("zero value") << 0.0 << 0.05 << QStringLiteral("0.000 ± 0.050");
    QTest::newRow("half away from zero") << 2.25 << 1.2 << QStringLiteral("2.3 ± 1.2");
    QTest::newRow("negative half away from zero") << -2.25 << 1.2 << QStringLiteral("-2.3 ± 1.2");
    QTest::newRow("SD's half up") << 1.0 << 0.125 << QStringLiteral("1.00 ± 0.13");
    // 1.2344999 is 1.2345 in the long table: rounded from there, as a reader would.
    QTest::newRow("from the six digits written")
        << 1.2344999 << 0.012 << QStringLiteral("1.235 ± 0.012");
    QTest::newRow("large") << 1234567.0 << 12345.6 << QStringLiteral("1235000 ± 12000");
    QTest::newRow("small") << 1.23456e-7 << 1.2e-9 << QStringLiteral("0.0000001235 ± 0.0000000012");
    QTest::newRow("SD past the value's sixth digit")
        << 12345.6789 << 0.00123 << QStringLiteral("12345.7 ± 0.0012");
    QTest::newRow("large value, SD past its sixth digit")
        << 1234567.0 << 0.5 << QStringLiteral("1.23457e+06 ± 0.50");
    QTest::newRow("beyond fixed notation, small")
        << 1e-20 << 1e-22 << QStringLiteral("1e-20 ± 1e-22");
    QTest::newRow("beyond fixed notation, large")
        << 1e20 << 1e18 << QStringLiteral("1e+20 ± 1e+18");
    QTest::newRow("no SD") << 12.345678 << 0.0 << QStringLiteral("12.3457");
    QTest::newRow("SD not a number") << 12.345678 << nan << QStringLiteral("12.3457");
    QTest::newRow("SD infinite") << 12.345678 << inf << QStringLiteral("12.3457");
    QTest::newRow("SD negative") << 12.345678 << -0.1 << QStringLiteral("12.3457");
    QTest::newRow("value not a number") << nan << 0.1 << QStringLiteral("");
    QTest::newRow("value infinite") << -inf << 0.1 << QStringLiteral("");
}

void TestNumbers::roundedToTheirSd()
{
    QFETCH(double, value);
    QFETCH(double, sd);
    QFETCH(QString, shown);
    const RoundedValue rounded = RoundedValue::of(value, sd);
    const QStringList parts = shown.split(QString::fromUtf8(" \u00b1 "));
    QCOMPARE(rounded.value, parts.first());
    QCOMPARE(rounded.sd, parts.value(1));
    QCOMPARE(rounded.text(), shown);
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
