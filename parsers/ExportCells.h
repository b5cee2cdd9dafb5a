#ifndef KETRION_EXPORTCELLS_H
#define KETRION_EXPORTCELLS_H

#include <QtGlobal>

#include <string_view>

// The cells of an instrument export's line that hold something, in order:
// the line split at each ';', the empty parts left out.
class ExportCells
{
public:
    explicit ExportCells(std::string_view line) : m_line(line) { }

    // ASCII classes, as the readers' isotope patterns take them.
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }

    // False after the last cell.
    bool next(std::string_view *cell);
    // The same, and whether the cell is a plain decimal (NumberReader::
    // readAtOnce()), or with percent one followed by a single "%": its value
    // is then in *value. Most cells are, and are read as they are cut.
    bool next(std::string_view *cell, bool percent, double *value, bool *plain);

private:
    Q_NEVER_INLINE bool nextLong(std::string_view *cell, bool percent, double *value, bool *plain);

    std::string_view m_line;
    size_t m_position = 0;
};

#endif
