// Numbers as the results file writes them, where it writes "<LOQ", and a
// write that fails. The layout itself is checked by the whole runs.
#include "model/Data.h"
#include "parsers/ParserOutCSV.h"
#include "processing/Processing.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

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

} // namespace

class TestParserOutCSV : public QObject
{
    Q_OBJECT

private slots:
    // Every number is written with a decimal point, even after a reader
    // switched the default locale to French.
    void init() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void numbersAsTheTextStreamWritesThem_data();
    void numbersAsTheTextStreamWritesThem();
    void failedWriteIsReported();
};

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

    // Two blanks at 0 and 0.02 ppb give an LOQ of 0.1; a concentration just
    // under it is hidden, one at it shown. Then each value as the RSD of a
    // solution at 1 ppb, so that all three cells are written.
    Data data;
    data.addIso(Element(QStringLiteral("Li"), 7, Element::LR));
    for (const double c : { 0.0, 0.02 }) {
        Solution blank(QStringLiteral("BLK"), 1, Solution::BLK);
        blank.setCps(0, 1.0);
        blank.setConcent(0, c);
        data.addSolution(blank);
    }
    Processing engine;
    engine.init(1);
    engine.computeLimits(&data, { 0, 1 });
    const double loq = engine.getLOQ(0);
    for (const double c : { std::nextafter(loq, 0.0), loq })
        data.getSolution(data.addSolution(Solution(QStringLiteral("S"), 1, Solution::SAMPLE)))
            ->setConcent(0, c);
    for (const double value : values) {
        Solution solution(QStringLiteral("S"), 1, Solution::SAMPLE);
        solution.setConcent(0, 1.0);
        solution.setConcentRSD(0, value);
        data.addSolution(solution);
    }

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QCOMPARE(ParserOutCSV().parse(&buffer, &data, &engine).code, 0);
    const QStringList lines = QString::fromUtf8(buffer.data()).split('\n');
    QCOMPARE(
        lines.mid(7, 4), QStringList({ "BLK;;;;;", "BLK;;<LOQ;;;", "S;;<LOQ;;;", "S;;0.1;0;0;" }));
    QCOMPARE(lines.size(), 11 + values.size() + 1);
    for (int s = 0; s < values.size(); ++s) {
        QString expected;
        QTextStream(&expected) << values.at(s);
        const QString cell = lines.at(11 + s).section(QLatin1Char(';'), 4, 4);
        if (cell != expected)
            QFAIL(qPrintable(QStringLiteral("%1 written as %2 instead of %3")
                                 .arg(values.at(s), 0, 'g', 17)
                                 .arg(cell, expected)));
    }
}

// A write that fails part-way, and a save before the engine was sized for the data set.
void TestParserOutCSV::failedWriteIsReported()
{
    Data data;
    data.addIso(Element(QStringLiteral("Li"), 7, Element::LR));
    data.addSolution(Solution(QStringLiteral("S"), 1, Solution::SAMPLE));
    Processing engine;
    engine.init(1);
    FullDevice device;
    device.open(QIODevice::WriteOnly);
    const ParseResult full = ParserOutCSV().parse(&device, &data, &engine);
    QCOMPARE(full.code, 1);
    QCOMPARE(full.message, QStringLiteral("No space left on device"));

    // Limits for one isotope only: the writer must not read past them.
    data.addIso(Element(QStringLiteral("Be"), 9, Element::LR));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QCOMPARE(ParserOutCSV().parse(&buffer, &data, &engine).code, 1);
    QCOMPARE(buffer.size(), 0);
}

QTEST_GUILESS_MAIN(TestParserOutCSV)
#include "tst_parseroutcsv.moc"
