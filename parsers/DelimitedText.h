#ifndef KETRION_DELIMITEDTEXT_H
#define KETRION_DELIMITEDTEXT_H

#include <QByteArray>
#include <QString>

#include <string_view>

// The cells of separated text as spreadsheets write them (RFC 4180): a cell
// whose first character past its blanks is a double quote runs to the next
// lone quote and may hold the separator, line breaks and doubled quotes, each
// pair one quote. Other cells are taken as they stand, trimmed, quotes and all,
// so that text written without quotes reads as it always did.
class DelimitedText
{
public:
    struct Cell
    {
        QString text; // unquoted: trimmed
        bool quoted = false;
        int line = 0; // where the cell starts
        // For a message: the cell as written, unquoted or with a problem; a
        // quote never closed to the end of its line.
        std::string_view written;
    };
    enum class Problem { None, QuoteNotClosed, TextAfterQuote };

    // text: UTF-8 with CRLF, LF or CR line ends.
    DelimitedText(std::string_view text, char separator);

    void setSeparator(char separator) { m_separator = separator; }
    bool atEnd() const { return m_at == m_end; }
    // The line, from 1, that the next cell starts on.
    int line() const { return m_line; }
    // The line ahead as it stands, and past it to the next one.
    std::string_view restOfLine() const;
    void skipLine();

    // Reads the next cell; rowEnds tells whether a line end or the end of the
    // text followed it. On a problem the text is left at its end.
    Problem read(Cell *cell, bool *rowEnds);

    // The cell that read() gives back as text, quoted only where it must be.
    static QByteArray written(const QString &text, char separator);

private:
    bool isBlank(char c) const { return (c == ' ' || c == '\t') && c != m_separator; }
    bool endsCell(char c) const { return c == m_separator || c == '\n' || c == '\r'; }
    const char *lineEnd(const char *from) const;
    const char *cellEnd(const char *from) const;
    Problem readQuoted(const char *quote, Cell *cell);
    bool finishCell();
    void countLineEnds(const char *from, const char *to);

    const char *m_at;
    const char *m_end;
    char m_separator;
    int m_line = 1;
};

#endif
