#include "model/Data.h"
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

// Accepts `capacity` bytes, then refuses every write like a full disk.
class FullDevice : public QIODevice
{
public:
    explicit FullDevice(qint64 capacity) : capacity(capacity) { }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 len) override
    {
        const qint64 room = capacity - accepted;
        if (room <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 n = qMin(room, len);
        accepted += n;
        return n;
    }

private:
    qint64 capacity;
    qint64 accepted = 0;
};

// Limits come only from blanks' concentrations: two blanks at 0 and 2s give sigma s.
void setLimits(Processing &engine, const QList<double> &sigmas)
{
    Data blanks;
    for (int i = 0; i < sigmas.size(); ++i)
        blanks.addIso(Element(QStringLiteral("X"), i + 1, Element::LR));
    blanks.addSolution(Solution(QStringLiteral("BLK_1"), sigmas.size(), Solution::BLK));
    blanks.addSolution(Solution(QStringLiteral("BLK_2"), sigmas.size(), Solution::BLK));
    for (int i = 0; i < sigmas.size(); ++i)
        blanks.getSolution(1)->setConcent(i, 2.0 * sigmas.at(i));
    engine.computeLimits(&blanks, { 0, 1 });
}

// One isotope, one solution: enough for every write to have something to say.
void fillOneSample(Data &data, const QString &isotope, int mass, Element::Resolution resol)
{
    data.addIso(Element(isotope, mass, resol));
    data.addSolution(Solution(QStringLiteral("S"), 1, Solution::SAMPLE));
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
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void writesWholeLayout();
    void cellGroup_data();
    void cellGroup();
    void noIsotopes();
    void decimalPointWhateverDefaultLocale();
    void failedWriteIsReported_data();
    void failedWriteIsReported();
    void fullDiskFile();
    void engineNotSizedForDataSet();
    void numbersAsTheTextStreamWritesThem_data();
    void numbersAsTheTextStreamWritesThem();
};

void TestParserOutCSV::writesWholeLayout()
{
    Data data;
    data.addIso(Element(QStringLiteral("Li"), 7, Element::LR));
    data.addIso(Element(QStringLiteral("Pb"), 208, Element::LR));
    data.addSolution(Solution(QStringLiteral("River_A"), 2, Solution::SAMPLE));
    data.addSolution(Solution(QStringLiteral("STD_1"), 2, Solution::STD));
    data.getSolution(0)->setConcent(0, 1.25);
    data.getSolution(0)->setConcentRSD(0, 4.0);
    data.getSolution(0)->setConcent(1, 0.001);
    data.getSolution(0)->setConcentRSD(1, 30.0);
    data.getSolution(1)->setConcent(0, 2.0);
    data.getSolution(1)->setConcentRSD(0, 0.0);

    Processing engine;
    engine.init(2);
    setLimits(engine, { 0.01, 0.0002 });

    ParseResult result;
    const QString text = write(data, engine, &result);
    QCOMPARE(result.code, 0);
    QCOMPARE(result.message, QStringLiteral("Done"));
    QCOMPARE(text,
        QStringLiteral(";;7Li LR;;;208Pb LR;;;\n"
                       "\n"
                       ";LOD (ppb) = ;0.03;;;0.0006;;;\n"
                       ";LOQ (ppb) = ;0.1;;;0.002;;;\n"
                       "\n"
                       ";;Concentration (ppb);SD (ppb);RSD (%);"
                       "Concentration (ppb);SD (ppb);RSD (%);\n"
                       "\n"
                       "River_A;;1.25;0.05;4;<LOQ;;;\n"
                       "STD_1;;2;0;0;;;;\n"));
}

void TestParserOutCSV::cellGroup_data()
{
    QTest::addColumn<double>("sigma");
    QTest::addColumn<double>("concent");
    QTest::addColumn<bool>("atLoq");
    QTest::addColumn<double>("rsd");
    QTest::addColumn<QString>("cells");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("zero below positive LOQ") << 1.0 << 0.0 << false << 5.0 << ";;;";
    QTest::newRow("negative below positive LOQ") << 0.1 << -0.2 << false << 5.0 << "<LOQ;;;";
    QTest::newRow("negative with zero LOQ") << 0.0 << -0.5 << false << 10.0 << "<LOQ;;;";
    QTest::newRow("equal to LOQ is a value") << 0.25 << 0.0 << true << 10.0 << "2.5;0.25;10;";
    QTest::newRow("six significant digits")
        << 0.0 << 12.345678 << false << 1.0 << "12.3457;0.123457;1;";
    QTest::newRow("exponent form") << 0.0 << 1.5e6 << false << 2.0 << "1.5e+06;30000;2;";
    QTest::newRow("not a number RSD") << 0.0 << 3.0 << false << nan << "3;nan;nan;";
}

void TestParserOutCSV::cellGroup()
{
    QFETCH(double, sigma);
    QFETCH(double, concent);
    QFETCH(bool, atLoq);
    QFETCH(double, rsd);
    QFETCH(QString, cells);

    Data data;
    fillOneSample(data, QStringLiteral("Co"), 59, Element::MR);
    Processing engine;
    engine.init(1);
    setLimits(engine, { sigma });
    data.getSolution(0)->setConcent(0, atLoq ? engine.getLOQ(0) : concent);
    data.getSolution(0)->setConcentRSD(0, rsd);

    const QStringList lines = write(data, engine).split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 9); // seven header lines, the solution, the final line feed
    QCOMPARE(lines.at(7), QStringLiteral("S;;") + cells);
    QVERIFY(lines.at(8).isEmpty());
}

void TestParserOutCSV::noIsotopes()
{
    Data data;
    data.addSolution(Solution(QStringLiteral("Sample_1"), 0, Solution::SAMPLE));
    data.addSolution(Solution(QStringLiteral("BLK_1"), 0, Solution::BLK));
    Processing engine;

    ParseResult result;
    const QString text = write(data, engine, &result);
    QCOMPARE(result.code, 0);
    QCOMPARE(text,
        QStringLiteral(";;\n\n;LOD (ppb) = ;\n;LOQ (ppb) = ;\n\n;;\n\nSample_1;;\nBLK_1;;\n"));
}

void TestParserOutCSV::decimalPointWhateverDefaultLocale()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    Data data;
    fillOneSample(data, QStringLiteral("U"), 238, Element::HR);
    data.getSolution(0)->setConcent(0, 1234.5678);
    data.getSolution(0)->setConcentRSD(0, 2.5);
    Processing engine;
    engine.init(1);
    setLimits(engine, { 0.05 });

    const QStringList lines = write(data, engine).split(QLatin1Char('\n'));
    QCOMPARE(lines.at(2), QStringLiteral(";LOD (ppb) = ;0.15;;;"));
    QCOMPARE(lines.at(7), QStringLiteral("S;;1234.57;30.8642;2.5;"));
}

void TestParserOutCSV::failedWriteIsReported_data()
{
    QTest::addColumn<qint64>("capacity");
    QTest::newRow("device refuses the first byte") << qint64(0);
    QTest::newRow("device fills up after a few lines") << qint64(40);
}

void TestParserOutCSV::failedWriteIsReported()
{
    QFETCH(qint64, capacity);
    Data data;
    fillOneSample(data, QStringLiteral("Li"), 7, Element::LR);
    Processing engine;
    engine.init(1);

    FullDevice device(capacity);
    device.open(QIODevice::WriteOnly);
    ParserOutCSV writer;
    const ParseResult result = writer.parse(&device, &data, &engine);
    QCOMPARE(result.code, 1);
    QCOMPARE(result.message, QStringLiteral("No space left on device"));
}

void TestParserOutCSV::fullDiskFile()
{
    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly | QIODevice::Text))
        QSKIP("no /dev/full on this system");
    Data data;
    fillOneSample(data, QStringLiteral("Li"), 7, Element::LR);
    Processing engine;
    engine.init(1);

    ParserOutCSV writer;
    const ParseResult result = writer.parse(&full, &data, &engine);
    QCOMPARE(result.code, 1);
    QVERIFY(!result.message.isEmpty());
    QVERIFY(result.message != QStringLiteral("Done"));
}

void TestParserOutCSV::engineNotSizedForDataSet()
{
    Data data;
    data.addIso(Element(QStringLiteral("Li"), 7, Element::LR));
    data.addIso(Element(QStringLiteral("Be"), 9, Element::LR));
    Processing engine;
    engine.init(1);

    ParseResult result;
    const QString text = write(data, engine, &result);
    QCOMPARE(result.code, 1);
    QVERIFY(!result.message.isEmpty());
    QVERIFY(text.isEmpty());
}

void TestParserOutCSV::numbersAsTheTextStreamWritesThem_data()
{
    QTest::addColumn<QVector<double>>("values");

    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("special values") << QVector<double> { 0.0, -0.0, inf, -inf, nan, -nan,
        std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max(),
        std::numeric_limits<double>::min(), -std::numeric_limits<double>::max() };
    // Where the layout switches between plain and exponent notation.
    QTest::newRow("notation thresholds") << QVector<double> { 1e-4, 9.99999e-5, 0.000099999949,
        0.00009999995, 1e-5, 999999.0, 999999.4, 999999.5, 1e6, 99999.95, 9.999995, 123456, 1234567,
        -1e-5, -999999.5, 1e15, 9.99999e14, 1e-300, 1.5e300 };
    // Exactly halfway between two six-digit neighbours: the stream rounds away from zero.
    QTest::newRow("exact ties") << QVector<double> { 296158.5, 113532.5, -629324.5, 0.5, 2.5,
        1.0000005e10, 12345.65, 0.0001234565, 1234565.0, 3.0000125, 1.5e-5, 100000.5 };
    QTest::newRow("everyday results") << QVector<double> { 1.25, 0.05, 4.0, 12.345678, 0.123457,
        1.5e6, 30000.0, 0.0296533, 2.5e-3, 8.8, 0.1 + 0.2, 1.0 / 3.0, -2.0 / 3.0 };

    // Values of every magnitude, and raw bit patterns, from a fixed seed.
    QVector<double> random;
    QRandomGenerator generator(42);
    for (int k = 0; k < 200000; ++k) {
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
