#include "parsers/TextFile.h"

#include <QtTest>

class TestTextFile : public QObject
{
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
};

void TestTextFile::reads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("text");
    QTest::addColumn<QStringList>("lines");

    const auto text = [](const char *name, const QByteArray &bytes, const QStringList &lines) {
        QTest::newRow(name) << bytes << true << lines;
    };
    text("empty file", QByteArray(), {});
    text("mixed endings, no final one", "a;b\r\nb\nc\rd", { "a;b", "b", "c", "d" });
    text("CR alone at the end", "a\rb\r", { "a", "b" });
    text("trailing empty lines", "a\r\n\r\n\r\n\n", { "a" });
    text("empty lines before and inside kept", "\na\n\nb\n", { "", "a", "", "b" });
    text("blank last line kept", "a\n \n", { "a", " " });
    text("only line endings", "\r\n\r\n", {});

    // "\xC9t\xE9" is Windows-1252 for "Été".
    const QString accents = QStringLiteral(u"Été_2;Eau_µ_3");
    text("UTF-8", "\xC3\x89t\xC3\xA9_2;Eau_\xC2\xB5_3\n", { accents });
    text("UTF-8 with byte-order mark", "\xEF\xBB\xBFSample:;A\r\n", { "Sample:;A" });
    text("Windows-1252", "\xC9t\xE9_2;Eau_\xB5_3\r\n", { accents });
    // Signs that only Windows-1252 has, not Latin-1.
    text("Windows-1252 euro and dash", "\x80;\x96\n", { QStringLiteral(u"€;–") });
    text("byte-order mark, then not UTF-8", "\xEF\xBB\xBFWater_\xB5_3\n",
        { QStringLiteral(u"Water_µ_3") });
    // A multi-byte sequence cut by the end of the file is not UTF-8.
    text("UTF-8 cut at the end", "ab\xC3", { QStringLiteral(u"abÃ") });
    // NUL bytes that are text.
    text("UTF-16 little-endian", QByteArray("\xFF\xFES\0:\0;\0\xE9\0\r\0\n\0", 14),
        { QStringLiteral(u"S:;é") });
    text("UTF-16 big-endian", QByteArray("\xFE\xFF\0S\0:\0;\0\xE9\0\n", 12),
        { QStringLiteral(u"S:;é") });
    text("tabs and form feed", "a\tb\f\v\n", { "a\tb\f\v" });
    text("end-of-file mark of old Windows tools", "a;b\r\n\x1A", { "a;b", "\x1A" });
    text("one stray control in a long line",
        QByteArray("Sample:;") + QByteArray(200, 'A') + QByteArray("\x07\n"),
        { "Sample:;" + QString(200, 'A') + "\x07" });

    QTest::newRow("NUL byte") << QByteArray("Sample:;A\n\0", 11) << false << QStringList();
    QTest::newRow("zip header") << QByteArray("PK\x03\x04\x14\x00\x06\x00", 8) << false
                                << QStringList();
    QTest::newRow("control characters, no NUL")
        << QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08\x0E\x0F\x10\x11") << false << QStringList();
}

void TestTextFile::reads()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, text);
    QFETCH(QStringList, lines);

    const TextFile file(bytes);
    QCOMPARE(file.isText(), text);
    QCOMPARE(file.lines(), lines);
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
