#include "parsers/ExportCells.h"

#include "parsers/PlainDecimal.h"

bool ExportCells::next(std::string_view *cell)
{
    const size_t size = m_line.size();
    while (m_position < size && m_line[m_position] == ';')
        ++m_position;
    if (m_position == size)
        return false;
    // Cells are short: a loop beats a call to memchr.
    size_t end = m_position + 1;
    while (end < size && m_line[end] != ';')
        ++end;
    *cell = m_line.substr(m_position, end - m_position);
    m_position = end;
    return true;
}

bool ExportCells::next(std::string_view *cell, bool percent, double *value, bool *plain)
{
    const size_t size = m_line.size();
    while (m_position < size && m_line[m_position] == ';')
        ++m_position;
    const char *begin = m_line.data() + m_position;
    if (size - m_position >= 8) {
        if (const int length = PlainDecimal::readShort(begin, percent, value)) {
            *plain = true;
            *cell = std::string_view(begin, size_t(length));
            m_position += size_t(length);
            return true;
        }
    }
    return nextLong(cell, percent, value, plain);
}

// Apart from the usual cell, so that its path needs no room for this one's.
bool ExportCells::nextLong(std::string_view *cell, bool percent, double *value, bool *plain)
{
    const size_t size = m_line.size();
    const char *begin = m_line.data() + m_position;
    const char *end = m_line.data() + size;
    const char *stop = m_position < size ? PlainDecimal::read(begin, end, value) : nullptr;
    if (stop && percent && stop != end && *stop == '%')
        ++stop;
    *plain = stop && (stop == end || *stop == ';');
    if (!*plain)
        return next(cell);
    *cell = std::string_view(begin, size_t(stop - begin));
    m_position = size_t(stop - m_line.data());
    return true;
}
