#include "parsers/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr double POWERS_OF_TEN[] = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22 };

// magnitude × 10^k in one correctly rounded operation (the powers up to 1e22 are exact).
double scaled(double magnitude, int k)
{
    return k >= 0 ? magnitude * POWERS_OF_TEN[k] : magnitude / POWERS_OF_TEN[-k];
}

// Whether digits × 10^exponent is a double exactly.
bool exactlyRepresentable(quint64 digits, int exponent)
{
    if (exponent < 0) {
        for (int k = 0; k < -exponent; ++k) {
            if (digits % 5 != 0)
                return false;
            digits /= 5;
        }
    } else {
        for (int k = 0; k < exponent; ++k) {
            if (digits > (quint64(1) << 60))
                return false;
            digits *= 5;
        }
    }
    while (digits != 0 && digits % 2 == 0)
        digits /= 2;
    return digits < (quint64(1) << 53);
}

// Whether a magnitude lies exactly halfway between two six-digit neighbours.
bool exactTie(double magnitude)
{
    char text[32];
    char *end
        = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, 6).ptr;
    // d.dddddde±x: seven significant digits, the last one 5.
    if (end - text < 10 || text[7] != '5' || text[8] != 'e')
        return false;
    double back = 0.0;
    if (std::from_chars(text, end, back).ptr != end || back != magnitude)
        return false;
    quint64 digits = quint64(text[0] - '0');
    for (int k = 2; k < 8; ++k)
        digits = digits * 10 + quint64(text[k] - '0');
    int exponent = 0;
    std::from_chars(text[9] == '+' ? text + 10 : text + 9, end, exponent);
    return exactlyRepresentable(digits, exponent - 6);
}

// d[.ddddd]e±xx: the n significant digits d with the decimal exponent e.
char *layOutExponent(const char *d, int n, int e, char *p)
{
    *p++ = d[0];
    if (n > 1) {
        *p++ = '.';
        for (int k = 1; k < n; ++k)
            *p++ = d[k];
    }
    *p++ = 'e';
    *p++ = e < 0 ? '-' : '+';
    const int a = e < 0 ? -e : e;
    if (a >= 100)
        *p++ = char('0' + a / 100);
    *p++ = char('0' + a / 10 % 10);
    *p++ = char('0' + a % 10);
    return p;
}

// The same digits without an exponent: ddd.ddd, or 0.000ddd for e < 0.
char *layOutPlain(const char *d, int n, int e, char *p)
{
    if (e < 0) {
        *p++ = '0';
        *p++ = '.';
        for (int k = 0; k < -e - 1; ++k)
            *p++ = '0';
        for (int k = 0; k < n; ++k)
            *p++ = d[k];
        return p;
    }
    for (int k = 0; k <= e; ++k)
        *p++ = k < n ? d[k] : '0';
    if (n > e + 1) {
        *p++ = '.';
        for (int k = e + 1; k < n; ++k)
            *p++ = d[k];
    }
    return p;
}

// Six significant digits without trailing zeros: d[.ddddd] with the decimal
// exponent e, laid out like printf's %g.
int layOut(quint64 digits, int e, bool negative, char *out)
{
    char d[6];
    int n = 6;
    for (int k = 5; k >= 0; --k, digits /= 10)
        d[k] = char('0' + digits % 10);
    while (n > 1 && d[n - 1] == '0')
        --n;
    char *p = out;
    if (negative)
        *p++ = '-';
    p = e < -4 || e >= 6 ? layOutExponent(d, n, e, p) : layOutPlain(d, n, e, p);
    return int(p - out);
}

// The usual magnitudes by plain arithmetic; 0 when too close to a rounding
// boundary to be sure, or out of range.
int quickFormat(double value, char *out)
{
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-5 && magnitude < 1e15))
        return 0;
    // The binary exponent gives the decimal one, or one less.
    int binary = 0;
    std::frexp(magnitude, &binary);
    int e = int(std::floor((binary - 1) * 0.30102999566398120));
    double x = scaled(magnitude, 5 - e);
    if (x >= 1e6)
        x = scaled(magnitude, 5 - ++e);
    else if (x < 1e5)
        x = scaled(magnitude, 5 - --e);
    const double whole = std::floor(x);
    const double fraction = x - whole;
    // x carries an error below 1e-9: near one half the rounding direction is unsure.
    if (std::fabs(fraction - 0.5) < 1e-6)
        return 0;
    quint64 digits = quint64(whole) + (fraction > 0.5 ? 1 : 0);
    if (digits == 1000000) {
        digits = 100000;
        ++e;
    }
    return layOut(digits, e, value < 0, out);
}

} // namespace

// The stream itself costs a locale copy per number, which dominated the time
// to save a large run.
void NumberFormat::append(QByteArray &out, double value)
{
    if (std::isnan(value)) {
        out.append("nan", 3);
        return;
    }
    if (value == 0.0) {
        out.append('0');
        return;
    }
    char text[40];
    int length = quickFormat(value, text);
    if (length == 0) {
        // to_chars rounds an exact tie to even, the stream away from zero.
        const double away = exactTie(std::fabs(value)) ? std::nextafter(value,
                                value < 0 ? -std::numeric_limits<double>::infinity()
                                          : std::numeric_limits<double>::infinity())
                                                       : value;
        length
            = int(std::to_chars(text, text + sizeof text, away, std::chars_format::general, 6).ptr
                - text);
    }
    out.append(text, length);
}

QString NumberFormat::text(double value)
{
    QByteArray bytes;
    append(bytes, value);
    return QString::fromLatin1(bytes);
}
