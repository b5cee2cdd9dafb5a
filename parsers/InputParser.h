#ifndef KETRION_INPUTPARSER_H
#define KETRION_INPUTPARSER_H

#include <QString>
#include <QStringView>

// What the readers share: their undefined-value tag and tolerant number reading.
class InputParser
{
public:
    static const QString NUMBER_ERROR;

    virtual ~InputParser();
    virtual QString getNotDefinedTag() const = 0;

    // Reads a number in the neutral, French or English convention. The first
    // French or English success becomes the process default locale. When no
    // convention reads the text as a finite number ("nan", "inf", 1e400),
    // returns 0.0 and sets *ok to false: the reader must then reject the file,
    // never use the 0.0. A cell that reads as -0 gives 0.
    double toDouble(QStringView text, bool *ok) const;

    // Message of a reader that met an unreadable number on a line (1-based).
    static QString numberError(int lineNumber, const QString &cell);

protected:
    // What the two instrument readers share: their value-cell test and messages.
    static bool containsDigit(const QStringRef &cell);
    static QString formatError(const QString &problem, const QString &instrument);
    static QString countMismatch(const QString &isotope, const QString &instrument);
    static QString summary(int elements, int solutions);
};

#endif
