#include "parsers/TextFile.h"

#include <QBuffer>
#include <QTextCodec>

#include <algorithm>
#include <cstring>

namespace {

// What is left of the device. A buffer's bytes are shared rather than copied:
// the command line reads the export into one, which it keeps for the report.
QByteArray rest(QIODevice *device)
{
    auto *buffer = qobject_cast<QBuffer *>(device);
    if (!buffer || (buffer->openMode() & QIODevice::Text) || !buffer->isReadable())
        return device->readAll();
    QByteArray bytes = buffer->data().mid(int(buffer->pos()));
    buffer->seek(buffer->size());
    return bytes;
}

const char UTF8_BOM[] = "\xEF\xBB\xBF";

// The codec announced by a UTF-16 or UTF-32 byte-order mark, or null.
QTextCodec *wideCodec(const QByteArray &bytes)
{
    QTextCodec *codec = QTextCodec::codecForUtfText(bytes, nullptr);
    return codec && !bytes.startsWith(UTF8_BOM) ? codec : nullptr;
}

bool startsWithMark(const char *begin, const char *end)
{
    return end - begin >= 3 && std::memcmp(begin, UTF8_BOM, 3) == 0;
}

constexpr quint64 ONES = 0x0101010101010101ULL;
constexpr quint64 HIGHS = 0x8080808080808080ULL;

quint64 wordAt(const char *p)
{
    quint64 word = 0;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Whether one of eight bytes is below 0x20 or from 0x80: the bytes of a
// number, a name or a separator are neither, so most words need no more look.
bool special(quint64 word)
{
    return (((word - ONES * 0x20) | word) & HIGHS) != 0;
}

// Written by TextFile::encode() as ED A0..BF: UTF-8 itself has no such bytes.
bool containsLoneSurrogate(const char *bytes, size_t size)
{
    for (size_t k = 0; k + 1 < size; ++k) {
        if (uchar(bytes[k]) == 0xED && uchar(bytes[k + 1]) >= 0xA0)
            return true;
    }
    return false;
}

const char *find(const char *begin, const char *end, char c)
{
    const void *found = std::memchr(begin, c, size_t(end - begin));
    return found ? static_cast<const char *>(found) : end;
}

} // namespace

TextFile::TextFile(QIODevice *device, Lines lines) : TextFile(rest(device), lines) { }

TextFile::TextFile(const QByteArray &bytes, Lines lines)
{
    QTextCodec *wide = wideCodec(bytes);
    // UTF-16 and UTF-32 hold NUL bytes that are text.
    if (!wide && looksBinary(bytes)) {
        text = false;
        return;
    }

    const char *begin = bytes.constData();
    const char *end = begin + bytes.size();
    const int body = startsWithMark(begin, end) ? 3 : 0;
    if (!wide && isUtf8(begin + body, end)) {
        // The file itself, not a copy. A second mark is a character, which the
        // first-character rule below drops like any mark of the other encodings.
        m_utf8 = bytes;
        m_textStart = startsWithMark(begin + body, end) ? body + 3 : body;
    } else {
        m_utf8 = encode(wide ? wide->toUnicode(bytes) : decodeForeign(bytes, body));
        m_textStart
            = startsWithMark(m_utf8.constData(), m_utf8.constData() + m_utf8.size()) ? 3 : 0;
        m_loneSurrogates = containsLoneSurrogate(m_utf8.constData(), m_utf8.size());
    }
    if (lines == Lines::Split)
        splitLines();
}

bool TextFile::holdsLoneSurrogate(int index) const
{
    const std::string_view bytes = line(index);
    return m_loneSurrogates && containsLoneSurrogate(bytes.data(), bytes.size());
}

void TextFile::splitLines()
{
    const char *data = m_utf8.constData();
    const char *end = data + m_utf8.size();
    const char *lineStart = data + m_textStart;
    const char *lf = find(lineStart, end, '\n');
    const char *cr = find(lineStart, end, '\r');
    for (const char *stop = std::min(lf, cr); stop != end; stop = std::min(lf, cr)) {
        m_lines.append({ int(lineStart - data), int(stop - lineStart) });
        if (*stop == '\r' && stop + 1 < end && stop[1] == '\n')
            ++stop;
        lineStart = stop + 1;
        if (lf < lineStart)
            lf = find(lineStart, end, '\n');
        if (cr < lineStart)
            cr = find(lineStart, end, '\r');
    }
    if (lineStart < end)
        m_lines.append({ int(lineStart - data), int(end - lineStart) });
    while (!m_lines.isEmpty() && m_lines.last().length == 0)
        m_lines.removeLast();
}

QStringList TextFile::lines() const
{
    QStringList all;
    all.reserve(lineCount());
    for (int n = 0; n < lineCount(); ++n)
        all.append(lineText(n));
    return all;
}

bool TextFile::looksBinary(const QByteArray &bytes)
{
    // Text never holds NUL; a few stray control characters are tolerated, as
    // some Windows tools end files with SUB (0x1A).
    int controls = 0;
    const auto control = [&controls](const char b) {
        const uchar c = uchar(b);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\v' && c != '\f' && c != '\r' && c != 0x1A
            && c != 0x1B)
            ++controls;
        return c == 0;
    };
    const char *p = bytes.constData();
    const char *end = p + bytes.size();
    for (; end - p >= 8; p += 8) {
        if (!special(wordAt(p)))
            continue;
        for (int k = 0; k < 8; ++k) {
            if (control(p[k]))
                return true;
        }
    }
    for (; p < end; ++p) {
        if (control(*p))
            return true;
    }
    return controls > bytes.size() / 100;
}

// Valid as Qt's UTF-8 codec judges it. Only the runs of bytes from 0x80 need
// its judgement: an ASCII byte ends any sequence, complete or not.
bool TextFile::isUtf8(const char *begin, const char *end)
{
    QTextCodec *utf8 = QTextCodec::codecForMib(106);
    const char *p = begin;
    while (p < end) {
        while (end - p >= 8 && (wordAt(p) & HIGHS) == 0)
            p += 8;
        while (p < end && uchar(*p) < 0x80)
            ++p;
        const char *run = p;
        while (p < end && uchar(*p) >= 0x80)
            ++p;
        if (run == p)
            continue;
        // A sequence cut off at the end is held back by the codec, not counted as invalid.
        QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
        utf8->toUnicode(run, int(p - run), &state);
        if (state.invalidChars != 0 || state.remainingChars != 0)
            return false;
    }
    return true;
}

// Not UTF-8: exports from Windows machines are then in their usual code page.
QString TextFile::decodeForeign(const QByteArray &bytes, int bodyStart)
{
    const QByteArray body = bytes.mid(bodyStart);
    if (QTextCodec *windows = QTextCodec::codecForName("Windows-1252"))
        return windows->toUnicode(body);
    return QString::fromLatin1(body);
}

// Every UTF-16 code unit, paired or not, is written the UTF-8 way: a lone
// surrogate as the three bytes of its value, which decode() reads back.
QByteArray TextFile::encode(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() * 3);
    const ushort *units = text.utf16();
    const int size = text.size();
    for (int i = 0; i < size; ++i) {
        uint c = units[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < size && units[i + 1] >= 0xDC00
            && units[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        if (c < 0x80) {
            out.append(char(c));
        } else if (c < 0x800) {
            out.append(char(0xC0 | c >> 6)).append(char(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.append(char(0xE0 | c >> 12)).append(char(0x80 | (c >> 6 & 0x3F)));
            out.append(char(0x80 | (c & 0x3F)));
        } else {
            out.append(char(0xF0 | c >> 18)).append(char(0x80 | (c >> 12 & 0x3F)));
            out.append(char(0x80 | (c >> 6 & 0x3F))).append(char(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

// The inverse of encode(), and of the UTF-8 that isUtf8() accepted. A
// sequence cut off by the end of the bytes gives one U+FFFD a byte.
QString TextFile::decode(std::string_view utf8)
{
    QString text(int(utf8.size()), Qt::Uninitialized);
    QChar *out = text.data();
    const auto *p = reinterpret_cast<const uchar *>(utf8.data());
    const uchar *end = p + utf8.size();
    while (p < end) {
        const uint lead = *p;
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (end - p < length) {
            *out++ = QChar(QChar::ReplacementCharacter);
            ++p;
            continue;
        }
        uint c = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k)
            c = c << 6 | (p[k] & 0x3F);
        p += length;
        if (c >= 0x10000) {
            *out++ = QChar(QChar::highSurrogate(c));
            *out++ = QChar(QChar::lowSurrogate(c));
        } else {
            *out++ = QChar(ushort(c));
        }
    }
    text.truncate(int(out - text.constData()));
    return text;
}
