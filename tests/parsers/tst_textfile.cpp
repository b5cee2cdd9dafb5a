#include "parsers/TextFile.h"

#include <QBuffer>
#include <QtTest>

class TestTextFile : public QObject
{
    Q_OBJECT

private slots:
    void splitsLines_data();
    void splitsLines();
    void decodes_data();
    void decodes();
    void tellsBinaryFromText_data();
    void tellsBinaryFromText();
    void readsFromCurrentPosition();
};

void TestTextFile::splitsLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("LF") << QByteArray("a;b\nc\n") << QStringList { "a;b", "c" };
    QTest::newRow("CRLF") << QByteArray("a;b\r\nc\r\n") << QStringList { "a;b", "c" };
    QTest::newRow("CR alone") << QByteArray("a\rb\r") << QStringList { "a", "b" };
    QTest::newRow("mixed endings")
        << QByteArray("a\r\nb\nc\rd") << QStringList { "a", "b", "c", "d" };
    QTest::newRow("no final line ending")
        << QByteArray("a\nlast;1") << QStringList { "a", "last;1" };
    QTest::newRow("trailing empty lines") << QByteArray("a\r\n\r\n\r\n\n") << QStringList { "a" };
    QTest::newRow("empty lines inside kept")
        << QByteArray("a\n\nb\n") << QStringList { "a", "", "b" };
    QTest::newRow("empty first line kept") << QByteArray("\nb\n") << QStringList { "", "b" };
    QTest::newRow("blank last line kept") << QByteArray("a\n \n") << QStringList { "a", " " };
    QTest::newRow("only line endings") << QByteArray("\r\n\r\n") << QStringList();
}

void TestTextFile::splitsLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);

    const TextFile file(bytes);
    QVERIFY(file.isText());
    QCOMPARE(file.lines(), lines);
}

void TestTextFile::decodes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("firstLine");

    const QString accents = QString::fromUtf8("\xC3\x89"
                                              "chantillon_2;Eau_\xC2\xB5_3");
    QTest::newRow("UTF-8") << QByteArray("\xC3\x89"
                                         "chantillon_2;Eau_\xC2\xB5_3\n")
                           << accents;
    QTest::newRow("UTF-8 with byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                              "Sample:;A\r\n")
                                                << QStringLiteral("Sample:;A");
    QTest::newRow("byte-order mark alone") << QByteArray("\xEF\xBB\xBF") << QString();
    QTest::newRow("Windows-1252") << QByteArray("\xC9"
                                                "chantillon_2;Eau_\xB5_3\r\n")
                                  << accents;
    // Signs that only Windows-1252 has, not Latin-1.
    QTest::newRow("Windows-1252 euro and dash")
        << QByteArray("\x80;\x96\n") << QString::fromUtf8("\xE2\x82\xAC;\xE2\x80\x93");
    QTest::newRow("byte-order mark, then not UTF-8") << QByteArray("\xEF\xBB\xBF"
                                                                   "Eau_\xB5_3\n")
                                                     << QString::fromUtf8("Eau_\xC2\xB5_3");
    // A multi-byte sequence cut by the end of the file is not UTF-8.
    QTest::newRow("UTF-8 cut at the end")
        << QByteArray("ab\xC3") << QString::fromUtf8("ab\xC3\x83");
    QTest::newRow("UTF-16 little-endian") << QByteArray("\xFF\xFE"
                                                        "S\0:\0;\0\xE9\0\r\0\n\0",
        14) << QString::fromUtf8("S:;\xC3\xA9");
    QTest::newRow("UTF-16 big-endian")
        << QByteArray("\xFE\xFF\0S\0:\0;\0\xE9\0\n", 12) << QString::fromUtf8("S:;\xC3\xA9");
}

void TestTextFile::decodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, firstLine);

    const TextFile file(bytes);
    QVERIFY(file.isText());
    QCOMPARE(file.lines().value(0), firstLine);
}

void TestTextFile::tellsBinaryFromText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("text");

    QTest::newRow("NUL byte") << QByteArray("Sample:;A\n\0", 11) << false;
    QTest::newRow("zip header") << QByteArray("PK\x03\x04\x14\x00\x06\x00", 8) << false;
    QTest::newRow("control characters, no NUL")
        << QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08\x0E\x0F\x10\x11") << false;
    QTest::newRow("tabs and form feed") << QByteArray("a\tb\f\v\n") << true;
    QTest::newRow("end-of-file mark of old Windows tools") << QByteArray("a;b\r\n\x1A") << true;
    QTest::newRow("one stray control in a long line")
        << QByteArray("Sample:;") + QByteArray(200, 'A') + QByteArray("\x07\n") << true;
}

void TestTextFile::tellsBinaryFromText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, text);

    const TextFile file(bytes);
    QCOMPARE(file.isText(), text);
    if (!text)
        QVERIFY(file.lines().isEmpty());
}

void TestTextFile::readsFromCurrentPosition()
{
    QByteArray bytes("skipped\nkept\n");
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    buffer.readLine();
    QCOMPARE(TextFile(&buffer).lines(), QStringList { "kept" });
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
