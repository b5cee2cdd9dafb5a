#ifndef KETRION_NUMBERFORMAT_H
#define KETRION_NUMBERFORMAT_H

#include <QByteArray>
#include <QString>

// Numbers as the results files write them.
class NumberFormat
{
public:
    // A number as QTextStream writes a double by default: six significant
    // digits in general notation, exact ties rounded away from zero, "nan",
    // "inf", and 0 for a negative zero.
    static void append(QByteArray &out, double value);
    // The same into text, which has room for 32 bytes (more than a number
    // needs: whole words are copied); returns where the number ends.
    static char *write(char *text, double value);
    // The same as a text of its own, for lines shown to a user.
    static QString text(double value);
};

#endif
