#ifndef KETRION_INSTRUMENTREADER_H
#define KETRION_INSTRUMENTREADER_H

#include "model/Solution.h"
#include "model/Status.h"

#include <QString>
#include <QStringList>
#include <QStringRef>

#include <memory>
#include <string_view>

class Measurements;
class QIODevice;

// What the readers of the two instruments' exports share: their interface,
// the solution types told from names, and the messages of the checks they share.
class InstrumentReader
{
public:
    // Tags that classify a solution by its name.
    static const QString BLANK_TAG;
    static const QString STANDARD_TAG;
    static const QString QC_TAG;

    virtual ~InstrumentReader();

    // The instrument's name, as the window lists it and the messages quote it.
    virtual QString instrument() const = 0;
    // Reads an export into the data set, emptied first. Success carries the
    // summary for the user; a refused file leaves what was read before the fault.
    virtual Status read(QIODevice *file, Measurements *data) const = 0;

    // The names of the instruments, in the order the window lists them.
    static QStringList instruments();
    // The reader of an instrument named as instruments() names it, or null.
    static std::unique_ptr<InstrumentReader> create(const QString &instrument);

    // Blank first, then standard, then QC, by a case-sensitive search of the tags.
    static Solution::Type classify(const QString &name);

protected:
    // The cells of an export line that hold something, in order: the line split
    // at each ';', the empty parts left out.
    class Cells
    {
    public:
        explicit Cells(std::string_view line) : m_line(line) { }
        // False after the last cell.
        bool next(std::string_view *cell);
        // The same, and whether the cell is a plain decimal (NumberReader::
        // readAtOnce()), or with percent one followed by a single "%": its
        // value is then in *value. Most cells are, and are read as they are cut.
        bool next(std::string_view *cell, bool percent, double *value, bool *plain);

    private:
        std::string_view m_line;
        size_t m_position = 0;
    };

    static bool containsDigit(std::string_view cell);
    static QString formatError(const QString &problem, const QString &instrument);
    static QString countMismatch(const QString &isotope, const QString &instrument);
    static QString summary(int isotopes, int solutions);
};

#endif
