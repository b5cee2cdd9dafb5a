// The sample sheet's reader on quoted cells, its refusals with their line and
// column, and the template read back.
#include "model/Measurements.h"
#include "model/SampleSheet.h"
#include "parsers/SampleSheetReader.h"
#include "parsers/SampleSheetTemplate.h"

#include <QtTest>

namespace {

// Names a spreadsheet must quote in one sheet or another, and plain ones.
const QStringList SAMPLES { "River_01", "River, north", "River; south", "Pond \"B\"", " Lake ",
    "\"Q\"", "Tab\there" };

Measurements exported(const QStringList &samples)
{
    Measurements data;
    data.addIsotope(Isotope(QStringLiteral("Li"), 7, Isotope::LR));
    data.addSolution(Solution(QStringLiteral("BLK_1"), Solution::Blank, 1));
    data.addSolution(Solution(QStringLiteral("QC_A"), Solution::QualityControl, 1));
    for (const QString &name : samples)
        data.addSolution(Solution(name, Solution::Sample, 1));
    return data;
}

Status read(QByteArray bytes, const Measurements &data, SampleSheet *sheet)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return SampleSheetReader::read(&buffer, QStringLiteral("s.csv"), data, sheet);
}

// Per solution the sheet changed: "[name]=factor", its role and "<parent".
QString dump(const Measurements &data, const SampleSheet &sheet)
{
    QStringList lines;
    for (int s = 0; s < data.solutionCount(); ++s) {
        const QString role = QcRole::word(sheet.role(s));
        if (sheet.factor(s) == 1.0 && role.isEmpty())
            continue;
        QString line = QStringLiteral("[%1]=%2").arg(data.solution(s).name()).arg(sheet.factor(s));
        if (!role.isEmpty())
            line += ' ' + role;
        if (sheet.parent(s) != -1)
            line += '<' + data.solution(sheet.parent(s)).name();
        lines << line;
    }
    return lines.join(QStringLiteral(" | "));
}

} // namespace

class TestSampleSheet : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void cells_data();
    void cells();
    void refusals_data();
    void refusals() { cells(); }
    void templateReadsBack_data();
    void templateReadsBack();
};

void TestSampleSheet::cells_data()
{
    QTest::addColumn<QByteArray>("sheet");
    // The solutions the sheet changed, or the message of its refusal.
    QTest::addColumn<QString>("read");

    const QString s = QStringLiteral("Sample sheet s.csv, ");
    QTest::newRow("comma: a separator and a decimal comma in quotes, a quoted header")
        << QByteArray("\"solution\",\"dilution\"\n\"River, north\",\"1,5\"\n")
        << "[River, north]=1.5";
    QTest::newRow("semicolon: the separator in quotes, blanks around them") << QByteArray(
        "solution;dilution\n  \"River; south\" ;\t\"2,5\"\t\n") << "[River; south]=2.5";
    QTest::newRow("tab: a tab in quotes")
        << QByteArray("solution\tdilution\n\"Tab\there\"\t3\n") << "[Tab\there]=3";
    QTest::newRow("doubled quotes are one, a quote inside a cell is text") << QByteArray(
        "solution,dilution\n\"\"\"Q\"\"\",2\nPond \"B\",4\n") << "[Pond \"B\"]=4 | [\"Q\"]=2";
    QTest::newRow("quotes keep a name's blanks")
        << QByteArray("solution,dilution,role,parent\n\" Lake \",4,,\nRiver_01,,DUP,\" Lake \"\n")
        << "[River_01]=1 DUP< Lake  | [ Lake ]=4";
    QTest::newRow("without quotes a name is trimmed")
        << QByteArray("solution,dilution\n Lake ,4\n")
        << s + "line 2, column solution: 'Lake' is no solution of the data file.";
    QTest::newRow("numbers and roles trimmed in quotes too")
        << QByteArray("solution,dilution,role\n\"QC_A\",\" 2 \",\" lcs \"\n") << "[QC_A]=2 LCS";
    QTest::newRow("a line break in quotes: the lines after it counted") << QByteArray(
        "solution,dilution,role\r\nRiver_01,2,\"\r\n\"\r\n\"QC_A\",3,\"\n\n\r\"\r\n"
        "Pond \"B\",0\r\n") << s + "line 8, column dilution: '0' is not a number greater than 0.";
    QTest::newRow("a row of empty quoted cells is blank")
        << QByteArray("solution,dilution\n\"\",\"\"\nRiver_01,2\n") << "[River_01]=2";
    QTest::newRow("a dilution at the edge of the doubles")
        << QByteArray("solution,dilution\nRiver_01,1.7e308\n") << "[River_01]=1.7e+308";
}

void TestSampleSheet::refusals_data()
{
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QString>("read");

    const QString s = QStringLiteral("Sample sheet s.csv, ");
    QTest::newRow("a quoted blank is no blank row")
        << QByteArray("solution,dilution\n\"  \"\n")
        << s + "line 2, column solution: '  ' is no solution of the data file.";
    QTest::newRow("a quote never closed")
        << QByteArray("solution,dilution\nRiver_01,2\n\"Pond,3\nQC_A,4\n")
        << s + "line 3, column solution: '\"Pond,3' opens a quote that is never closed.";
    QTest::newRow("a quote never closed in the header")
        << QByteArray("solution,\"dilution\n")
        << s + "line 1, column 2: '\"dilution' opens a quote that is never closed.";
    QTest::newRow("text after the closing quote")
        << QByteArray("solution;dilution\nRiver_01;\"1\"5\n")
        << s + "line 2, column dilution: '\"1\"5' has text after its closing quote.";
    QTest::newRow("a quoted cell beyond the header")
        << QByteArray("solution\nRiver_01,\"x, y\"\n")
        << s + "line 2, column 2: 'x, y' is beyond the header's 1 columns.";
    QTest::newRow("mass_g without volume_ml in the header")
        << QByteArray("solution,mass_g\nRiver_01,0.25\n")
        << s
            + "line 1, column volume_ml: the header has no such column, but a mass_g column: "
              "give both mass_g and volume_ml or neither.";
    QTest::newRow("volume_ml without mass_g in the header, quoted")
        << QByteArray("\n\"Volume_ml\";solution\n")
        << s
            + "line 2, column mass_g: the header has no such column, but a volume_ml column: "
              "give both mass_g and volume_ml or neither.";
    QTest::newRow("a factor that overflows")
        << QByteArray("solution,dilution,mass_g,volume_ml\nRiver_01,1e300,1e-300,50\n")
        << s
            + "line 2, column mass_g: dilution x volume_ml / (1000 x mass_g) is no finite "
              "number above 0.";
    QTest::newRow("a factor that vanishes")
        << QByteArray("solution,dilution,mass_g,volume_ml\nRiver_01,1e-300,1e100,1e-100\n")
        << s
            + "line 2, column mass_g: dilution x volume_ml / (1000 x mass_g) is no finite "
              "number above 0.";

    QByteArray blank = "solution,dilution\n";
    for (int k = 0; k < 1000000; ++k)
        blank += k % 2 ? "\r\n" : ",\n";
    QTest::newRow("a million blank lines")
        << blank + "River_01,x\n"
        << s + "line 1000002, column dilution: 'x' is not a number greater than 0.";
}

void TestSampleSheet::cells()
{
    QFETCH(QByteArray, sheet);
    QFETCH(QString, read);

    const Measurements data = exported(SAMPLES);
    SampleSheet filled(data.solutionCount());
    const Status status = ::read(sheet, data, &filled);
    QCOMPARE(status.ok() ? dump(data, filled) : status.message(), read);
}

void TestSampleSheet::templateReadsBack_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QByteArray>("separator");

    QTest::newRow("comma") << QStringList { " Lake ", "\"Q\"", "Pond \"B\"", "Line\nbreak" }
                           << QByteArray(",");
    QTest::newRow("semicolon") << QStringList { "River, north", "\tTabbed", "Return\r" }
                               << QByteArray(";");
    QTest::newRow("tab, every separator in a name") << SAMPLES << QByteArray("\t");
}

// A template filled in with a dilution per row reads back onto the names it
// was written for.
void TestSampleSheet::templateReadsBack()
{
    QFETCH(QStringList, names);
    QFETCH(QByteArray, separator);

    const Measurements data = exported(names);
    QByteArray sheet = SampleSheetTemplate::format(data);
    QCOMPARE(sheet.left(9), "solution" + separator);
    const QByteArray row = separator + "1" + separator.repeated(5) + '\n';
    QStringList expected;
    int at = 0;
    for (int s = 1; s < data.solutionCount(); ++s) {
        at = sheet.indexOf(row, at);
        QVERIFY(at != -1);
        const QByteArray dilution = QByteArray::number(s + 1);
        sheet.replace(at + 1, 1, dilution);
        at += row.size();
        expected << QStringLiteral("[%1]=%2").arg(data.solution(s).name()).arg(s + 1);
    }
    QCOMPARE(sheet.indexOf(row), -1);
    SampleSheet filled(data.solutionCount());
    const Status status = read(sheet, data, &filled);
    QVERIFY2(status.ok(), qPrintable(status.message()));
    QCOMPARE(dump(data, filled), expected.join(QStringLiteral(" | ")));
}

QTEST_GUILESS_MAIN(TestSampleSheet)
#include "tst_samplesheet.moc"
