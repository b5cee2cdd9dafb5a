#include "parsers/TextFile.h"

#include <QIODevice>
#include <QTextCodec>

TextFile::TextFile(QIODevice *device) : TextFile(device->readAll()) { }

static const char UTF8_BOM[] = "\xEF\xBB\xBF";

// The codec announced by a UTF-16 or UTF-32 byte-order mark, or null.
static QTextCodec *wideCodec(const QByteArray &bytes)
{
    QTextCodec *codec = QTextCodec::codecForUtfText(bytes, nullptr);
    return codec && !bytes.startsWith(UTF8_BOM) ? codec : nullptr;
}

TextFile::TextFile(const QByteArray &bytes)
{
    QTextCodec *wide = wideCodec(bytes);
    // UTF-16 and UTF-32 hold NUL bytes that are text.
    if (!wide && looksBinary(bytes)) {
        text = false;
        return;
    }

    const QString all = wide ? wide->toUnicode(bytes) : decode(bytes);
    const int size = all.size();
    const QChar *chars = all.constData();
    int start = all.startsWith(QChar(QChar::ByteOrderMark)) ? 1 : 0;
    for (int i = start; i < size; ++i) {
        const ushort c = chars[i].unicode();
        if (c != '\n' && c != '\r')
            continue;
        content.append(all.mid(start, i - start));
        if (c == '\r' && i + 1 < size && chars[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < size)
        content.append(all.mid(start));
    while (!content.isEmpty() && content.last().isEmpty())
        content.removeLast();
}

bool TextFile::looksBinary(const QByteArray &bytes)
{
    // Text never holds NUL; a few stray control characters are tolerated, as
    // some Windows tools end files with SUB (0x1A).
    int controls = 0;
    for (const char b : bytes) {
        const uchar c = uchar(b);
        if (c == 0)
            return true;
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\v' && c != '\f' && c != '\r' && c != 0x1A
            && c != 0x1B)
            ++controls;
    }
    return controls > bytes.size() / 100;
}

QString TextFile::decode(const QByteArray &bytes)
{
    const QByteArray body = bytes.startsWith(UTF8_BOM) ? bytes.mid(3) : bytes;
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    QString utf8 = QTextCodec::codecForMib(106)->toUnicode(body.constData(), body.size(), &state);
    // A sequence cut off at the end is held back by the codec, not counted as invalid.
    if (state.invalidChars == 0 && state.remainingChars == 0)
        return utf8;
    // Not UTF-8: exports from Windows machines are then in their usual code page.
    if (QTextCodec *windows = QTextCodec::codecForName("Windows-1252"))
        return windows->toUnicode(body);
    return QString::fromLatin1(body);
}
