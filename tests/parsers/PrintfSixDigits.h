#ifndef KETRION_PRINTFSIXDIGITS_H
#define KETRION_PRINTFSIXDIGITS_H

#include <QByteArray>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

// What the results files must hold for a number, from the C library alone:
// printf's %g, which rounds the exact binary value to six significant digits
// (an exact tie to even), but with an exact tie rounded away from zero, as
// the text stream does, "nan" whatever the sign, and 0 for a negative zero.
inline QByteArray printfSixDigits(double value)
{
    if (std::isnan(value))
        return QByteArrayLiteral("nan");
    if (value == 0.0)
        return QByteArrayLiteral("0");
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    if (!std::isfinite(value))
        return text;
    // A tie is d.dddddd5 exactly: its 13- and 31-digit forms end in 5 and
    // zeros, and its whole expansion (at most 767 significant digits) has
    // nothing after the 5. The shorter forms only save time.
    for (const int digits : { 12, 30 }) {
        char probe[48];
        std::snprintf(probe, sizeof probe, "%.*e", digits, std::fabs(value));
        if (probe[7] != '5' || int(std::strspn(probe + 8, "0")) < digits - 6)
            return text;
    }
    char whole[1100];
    std::snprintf(whole, sizeof whole, "%.800e", std::fabs(value));
    const char *exponent = std::strchr(whole, 'e');
    for (const char *p = whole + 8; p < exponent; ++p) {
        if (*p != '0')
            return text;
    }
    // Just past the tie, printf rounds it up.
    const double away = std::nextafter(value,
        value < 0 ? -std::numeric_limits<double>::infinity()
                  : std::numeric_limits<double>::infinity());
    std::snprintf(text, sizeof text, "%g", away);
    return text;
}

#endif
