#ifndef KETRION_TEXTFILE_H
#define KETRION_TEXTFILE_H

#include <QByteArray>
#include <QStringList>
#include <QVector>

#include <string_view>

class QIODevice;

// The lines of a text file as instrument computers write them: UTF-8 with or
// without byte-order mark, UTF-16/32 with one, or else Windows-1252; CRLF, LF
// or CR line endings; trailing empty lines dropped.
//
// The lines are kept as UTF-8 in one buffer, the file's own bytes when it is
// UTF-8: a reader splits and parses them without making text of every cell.
// Text that UTF-8 cannot carry (a lone UTF-16 surrogate) is kept all the same,
// encoded like any other character, so that decode() gives back what was read.
class TextFile
{
public:
    // Whole leaves the lines unsplit, for a reader that walks body() itself: a
    // file of millions of short lines then costs no more than its bytes.
    enum class Lines { Split, Whole };

    // Reads the device from its current position to its end.
    explicit TextFile(QIODevice *device, Lines lines = Lines::Split);
    explicit TextFile(const QByteArray &bytes, Lines lines = Lines::Split);

    // False when the bytes hold no text (a binary file): there are then no lines.
    bool isText() const { return text; }
    int lineCount() const { return int(m_lines.size()); }
    // Line n of the file (1-based) is line(n - 1), without its line ending.
    std::string_view line(int index) const
    {
        const Span &span = m_lines.at(index);
        return std::string_view(m_utf8.constData() + span.start, size_t(span.length));
    }
    QString lineText(int index) const { return decode(line(index)); }
    // The whole text as UTF-8 after its byte-order mark, line ends included.
    std::string_view body() const
    {
        return std::string_view(
            m_utf8.constData() + m_textStart, size_t(m_utf8.size() - m_textStart));
    }
    // Whether the line's text holds a UTF-16 surrogate without its pair, which
    // only a broken UTF-16 file gives. Regular expressions find nothing in it.
    bool holdsLoneSurrogate(int index) const;
    // Every line as text.
    QStringList lines() const;

    // The text of bytes cut from the lines.
    static QString decode(std::string_view utf8);
    // Text as the lines hold it.
    static QByteArray encode(const QString &text);

private:
    struct Span
    {
        int start;
        int length;
    };

    static bool looksBinary(const QByteArray &bytes);
    static bool isUtf8(const char *begin, const char *end);
    static QString decodeForeign(const QByteArray &bytes, int bodyStart);
    void splitLines();

    QByteArray m_utf8;
    int m_textStart = 0; // after the byte-order mark
    QVector<Span> m_lines;
    bool text = true;
    bool m_loneSurrogates = false; // in any line
};

#endif
