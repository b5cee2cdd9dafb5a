#include "model/Data.h"
#include "parsers/Parser.h"
#include "parsers/ParserOutCSV.h"
#include "processing/Processing.h"

#include <QBuffer>
#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <QTest>
#include <QTextStream>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Takes 40 bytes, then refuses every write like a full disk.
class FullDevice : public QIODevice
{
protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 len) override
    {
        if (room == 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 n = qMin(room, len);
        room -= n;
        return n;
    }

private:
    qint64 room = 40;
};

// Limits come only from blanks' concentrations: two blanks at 0 and 2s give sigma s.
void setLimits(Processing &engine, const QList<double> &sigmas)
{
    Data blanks;
    for (int i = 0; i < sigmas.size(); ++i)
        blanks.addIso(Element(QStringLiteral("X"), i + 1, Element::LR));
    blanks.addSolution(Solution(QStringLiteral("BLK_1"), sigmas.size(), Solution::BLK));
    blanks.addSolution(Solution(QStringLiteral("BLK_2"), sigmas.size(), Solution::BLK));
    for (int i = 0; i < sigmas.size(); ++i) {
        blanks.getSolution(0)->setCps(i, 1.0);
        blanks.getSolution(1)->setCps(i, 1.0);
        blanks.getSolution(1)->setConcent(i, 2.0 * sigmas.at(i));
    }
    engine.computeLimits(&blanks, { 0, 1 });
}

QString write(Data &data, Processing &engine, ParseResult *result = nullptr)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly | QIODevice::Text);
    ParserOutCSV writer;
    const ParseResult r = writer.parse(&buffer, &data, &engine);
    if (result)
        *result = r;
    return QString::fromUtf8(buffer.data());
}

} // namespace

class TestParserOutCSV : public QObject
{
    Q_OBJECT

private slots:
    // Every number is written with a decimal point, even after a reader
    // switched the default locale to French.
    void init() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void writesWholeLayout();
    void failedWriteIsReported();
    void numbersAsTheTextStreamWritesThem_data();
    void numbersAsTheTextStreamWritesThem();
};

void TestParserOutCSV::writesWholeLayout()
{
    Data data;
    data.addIso(Element(QStringLiteral("Li"), 7, Element::LR));
    data.addIso(Element(QStringLiteral("Pb"), 208, Element::LR));
    data.addIso(Element(QStringLiteral("Co"), 59, Element::MR));
    Processing engine;
    engine.init(3);
    setLimits(engine, { 0.01, 0.0002, 0.0 });
    // Concentration and RSD per isotope; a concentration of zero means "no result".
    const QList<QPair<QString, QList<double>>> solutions {
        { "River_A", { 1.25, 4, 0.001, 30, -0.5, 10 } },
        { "STD_1", { 2, 0, 0, 5, 12.345678, 1 } },
        { "S", { engine.getLOQ(0), 10, engine.getLOQ(1), qQNaN(), 0, 5 } },
    };
    for (const auto &solution : solutions) {
        Solution added(solution.first, 3, Parser::classify(solution.first));
        for (int i = 0; i < 3; ++i) {
            added.setConcent(i, solution.second.at(2 * i));
            added.setConcentRSD(i, solution.second.at(2 * i + 1));
        }
        data.addSolution(added);
    }

    ParseResult result;
    const QString text = write(data, engine, &result);
    QCOMPARE(result.code, 0);
    QCOMPARE(result.message, QStringLiteral("Done"));
    // Below the limit of quantification, even a zero one: "<LOQ"; at the limit, a value.
    QCOMPARE(text,
        QStringLiteral(
            ";;7Li LR;;;208Pb LR;;;59Co MR;;;\n"
            "\n"
            ";LOD (ppb) = ;0.03;;;0.0006;;;0;;;\n"
            ";LOQ (ppb) = ;0.1;;;0.002;;;0;;;\n"
            "\n"
            ";;Concentration (ppb);SD (ppb);RSD (%);Concentration (ppb);SD (ppb);RSD (%);"
            "Concentration (ppb);SD (ppb);RSD (%);\n"
            "\n"
            "River_A;;1.25;0.05;4;<LOQ;;;<LOQ;;;\n"
            "STD_1;;2;0;0;;;;12.3457;0.123457;1;\n"
            "S;;0.1;0.01;10;0.002;nan;nan;;;;\n"));
}

// A write that fails part-way, on a device and on a buffered full disk, and a
// save before the engine was sized for the data set.
void TestParserOutCSV::failedWriteIsReported()
{
    Data data;
    data.addIso(Element(QStringLiteral("Li"), 7, Element::LR));
    data.addSolution(Solution(QStringLiteral("S"), 1, Solution::SAMPLE));
    Processing engine;
    engine.init(1);
    ParserOutCSV writer;

    FullDevice device;
    device.open(QIODevice::WriteOnly);
    const ParseResult result = writer.parse(&device, &data, &engine);
    QCOMPARE(result.code, 1);
    QCOMPARE(result.message, QStringLiteral("No space left on device"));

    QFile full(QStringLiteral("/dev/full"));
    if (full.open(QIODevice::WriteOnly | QIODevice::Text)) {
        const ParseResult disk = writer.parse(&full, &data, &engine);
        QCOMPARE(disk.code, 1);
        QVERIFY(!disk.message.isEmpty() && disk.message != QStringLiteral("Done"));
    }

    // Limits for one isotope only: the writer must not read past them.
    Data wider;
    wider.addIso(Element(QStringLiteral("Li"), 7, Element::LR));
    wider.addIso(Element(QStringLiteral("Be"), 9, Element::LR));
    wider.addSolution(Solution(QStringLiteral("S"), 2, Solution::SAMPLE));
    ParseResult unsized;
    QVERIFY(write(wider, engine, &unsized).isEmpty());
    QCOMPARE(unsized.code, 1);
    QVERIFY(!unsized.message.isEmpty());
}

void TestParserOutCSV::numbersAsTheTextStreamWritesThem_data()
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

void TestParserOutCSV::numbersAsTheTextStreamWritesThem()
{
    QFETCH(QVector<double>, values);

    // Each value as the RSD of its own solution: a concentration of 1 is above
    // the zero LOQ, so all three cells are written.
    Data data;
    data.addIso(Element(QStringLiteral("Li"), 7, Element::LR));
    for (int s = 0; s < values.size(); ++s) {
        Solution solution(QStringLiteral("S"), 1, Solution::SAMPLE);
        solution.setConcent(0, 1.0);
        solution.setConcentRSD(0, values.at(s));
        data.addSolution(solution);
    }
    Processing engine;
    engine.init(1);

    const QStringList lines = write(data, engine).split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 7 + values.size() + 1);
    for (int s = 0; s < values.size(); ++s) {
        QString expected;
        QTextStream stream(&expected);
        stream << values.at(s);
        stream.flush();
        const QString cell = lines.at(7 + s).section(QLatin1Char(';'), 4, 4);
        if (cell != expected)
            QFAIL(qPrintable(QStringLiteral("%1 written as %2 instead of %3")
                                 .arg(values.at(s), 0, 'g', 17)
                                 .arg(cell, expected)));
    }
}

QTEST_GUILESS_MAIN(TestParserOutCSV)
#include "tst_parseroutcsv.moc"
