#ifndef KETRION_ROUNDEDVALUE_H
#define KETRION_ROUNDEDVALUE_H

#include <QString>

// A value and its standard deviation as a reviewer reads them: the SD to two
// significant digits, the value to the same decimal place, in fixed notation.
// Both are rounded from the six significant digits the other files write (an
// exact half away from zero), so that the long table's figures round to
// these. Without an SD (none, zero or not finite) the value keeps its six
// digits; so does a value whose sixth digit comes before the SD's place, and
// both keep them beyond fixed notation's reach (a place past 10^±15).
struct RoundedValue
{
    QString value; // empty for a value that is not finite
    QString sd; // empty when the value stands alone

    static RoundedValue of(double value, double sd);
    // "12.346 ± 0.079", or the value alone.
    QString text() const;
};

#endif
