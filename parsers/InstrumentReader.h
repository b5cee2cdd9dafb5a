#ifndef KETRION_INSTRUMENTREADER_H
#define KETRION_INSTRUMENTREADER_H

#include "model/Solution.h"
#include "model/Status.h"

#include <QString>
#include <QStringList>

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
    static bool containsDigit(std::string_view cell);
    static QString formatError(const QString &problem, const QString &instrument);
    static QString countMismatch(const QString &isotope, const QString &instrument);
    static QString summary(int isotopes, int solutions);
};

#endif
