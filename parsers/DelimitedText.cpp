#include "parsers/DelimitedText.h"

#include "parsers/TextFile.h"

#include <cstring>

namespace {

// A message shows a cell's first 40 characters: no need to decode megabytes.
constexpr size_t SHOWN_BYTES = 160;

} // namespace

DelimitedText::DelimitedText(std::string_view text, char separator)
    : m_at(text.data()), m_end(text.data() + text.size()), m_separator(separator)
{ }

const char *DelimitedText::lineEnd(const char *from) const
{
    while (from < m_end && *from != '\n' && *from != '\r')
        ++from;
    return from;
}

std::string_view DelimitedText::restOfLine() const
{
    return std::string_view(m_at, size_t(lineEnd(m_at) - m_at));
}

void DelimitedText::skipLine()
{
    m_at += restOfLine().size();
    finishCell();
}

const char *DelimitedText::cellEnd(const char *from) const
{
    while (from < m_end && !endsCell(*from))
        ++from;
    return from;
}

// Past the separator or line end after a cell: whether the row ended.
bool DelimitedText::finishCell()
{
    if (m_at == m_end)
        return true;
    const char c = *m_at++;
    if (c == m_separator)
        return false;
    if (c == '\r' && m_at < m_end && *m_at == '\n')
        ++m_at;
    ++m_line;
    return true;
}

void DelimitedText::countLineEnds(const char *from, const char *to)
{
    for (const char *p = from; p < to; ++p) {
        if (*p == '\n' || (*p == '\r' && (p + 1 == to || p[1] != '\n')))
            ++m_line;
    }
}

DelimitedText::Problem DelimitedText::read(Cell *cell, bool *rowEnds)
{
    const char *start = m_at;
    const char *first = start;
    while (first < m_end && isBlank(*first))
        ++first;
    cell->line = m_line;
    cell->quoted = first < m_end && *first == '"';
    if (!cell->quoted) {
        m_at = cellEnd(start);
        cell->written = std::string_view(start, size_t(m_at - start));
        cell->text = TextFile::decode(cell->written).trimmed();
    } else if (const Problem problem = readQuoted(first, cell); problem != Problem::None) {
        // A quote never closed runs to the end: its line is enough to find it.
        const char *shown = problem == Problem::QuoteNotClosed ? lineEnd(start) : cellEnd(m_at);
        cell->written = std::string_view(start, size_t(shown - start)).substr(0, SHOWN_BYTES);
        m_at = m_end;
        return problem;
    }
    *rowEnds = finishCell();
    return Problem::None;
}

// From the opening quote to the blanks after the closing one.
DelimitedText::Problem DelimitedText::readQuoted(const char *quote, Cell *cell)
{
    QByteArray bytes;
    const char *from = quote + 1;
    for (;;) {
        const void *found = std::memchr(from, '"', size_t(m_end - from));
        const char *next = found ? static_cast<const char *>(found) : m_end;
        bytes.append(from, int(next - from));
        countLineEnds(from, next);
        if (next == m_end)
            return Problem::QuoteNotClosed;
        if (next + 1 == m_end || next[1] != '"') {
            m_at = next + 1;
            break;
        }
        bytes.append('"');
        from = next + 2;
    }
    cell->text = TextFile::decode(std::string_view(bytes.constData(), size_t(bytes.size())));
    while (m_at < m_end && isBlank(*m_at))
        ++m_at;
    return m_at == m_end || endsCell(*m_at) ? Problem::None : Problem::TextAfterQuote;
}

QByteArray DelimitedText::written(const QString &text, char separator)
{
    QByteArray bytes = text.toUtf8();
    // A quote inside a cell is text: only one that opens it asks for quotes.
    const bool quoted = text != text.trimmed() || bytes.startsWith('"') || bytes.contains(separator)
        || bytes.contains('\n') || bytes.contains('\r');
    if (!quoted)
        return bytes;
    return '"' + bytes.replace("\"", "\"\"") + '"';
}
