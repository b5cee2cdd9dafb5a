#include "parsers/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

using Wide = unsigned __int128;

constexpr quint64 POWERS_OF_TEN[] = { 1ULL, 10ULL, 100ULL, 1000ULL, 10000ULL, 100000ULL, 1000000ULL,
    10000000ULL, 100000000ULL, 1000000000ULL, 10000000000ULL, 100000000000ULL, 1000000000000ULL,
    10000000000000ULL, 100000000000000ULL, 1000000000000000ULL, 10000000000000000ULL,
    100000000000000000ULL, 1000000000000000000ULL, 10000000000000000000ULL };

constexpr char DIGIT_PAIRS[]
    = "00010203040506070809101112131415161718192021222324252627282930313233"
      "34353637383940414243444546474849505152535455565758596061626364656667"
      "6869707172737475767778798081828384858687888990919293949596979899";

// Binary exponents of the magnitudes scaled exactly in 128 bits: from 2^-46
// (the power of ten needed stays below 10^20) to 2^53 (whole numbers fit 64 bits).
constexpr int LOWEST_BINARY = -46;
constexpr int HIGHEST_BINARY = 52;

// Six significant digits, rounded from the exact binary value with an exact
// half going up (away from zero): *digits in [10^5, 10^6), *exponent the
// decimal exponent of the first. False outside the range of exact scaling.
bool sixDigits(double magnitude, quint64 *digits, int *exponent)
{
    quint64 bits = 0;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int binary = int(bits >> 52) - 1023;
    if (binary < LOWEST_BINARY || binary > HIGHEST_BINARY)
        return false;
    // magnitude = mantissa × 2^-shift; the decimal exponent is e or e + 1.
    const quint64 mantissa = (bits & ((quint64(1) << 52) - 1)) | (quint64(1) << 52);
    const int shift = 52 - binary;
    int e = (binary * 78913) >> 18; // floor(binary × log10(2))
    quint64 scaled = 0; // floor(magnitude × 10^(5 - e))
    bool up = false;
    if (e <= 5) {
        const Wide product = Wide(mantissa) * POWERS_OF_TEN[5 - e];
        // The last bit shifted out is the half.
        const quint64 twice = quint64(product >> (shift - 1));
        scaled = twice >> 1;
        up = (twice & 1) != 0;
    } else {
        // The fraction below the units cannot reach the half of 10^(e - 5).
        const quint64 whole = mantissa >> shift;
        const quint64 unit = POWERS_OF_TEN[e - 5];
        scaled = whole / unit;
        up = whole % unit >= unit / 2;
    }
    if (scaled >= 1000000) {
        up = scaled % 10 >= 5;
        scaled /= 10;
        ++e;
    }
    scaled += up ? 1 : 0;
    if (scaled == 1000000) {
        scaled = 100000;
        ++e;
    }
    *digits = scaled;
    *exponent = e;
    return true;
}

// Six digits without trailing zeros, laid out like printf's %g: d[.ddddd]e±xx
// below 1e-4 and from 1e6, ddd.ddd or 0.000ddd between. Every copy is of a
// fixed length, over the end of what it lays out, so that no loop or call is
// needed: out holds at least 24 bytes.
int layOut(quint64 digits, int e, bool negative, char *out)
{
    const unsigned whole = unsigned(digits);
    const size_t high = whole / 10000;
    const size_t middle = whole / 100 % 100;
    const size_t low = whole % 100;
    char d[16];
    std::memcpy(d, DIGIT_PAIRS + 2 * high, 2);
    std::memcpy(d + 2, DIGIT_PAIRS + 2 * middle, 2);
    std::memcpy(d + 4, DIGIT_PAIRS + 2 * low, 2);
    std::fill(d + 6, d + 16, '0');
    // The significant digits: the first pair is never 00.
    int n = 6;
    if (low != 0)
        n -= low % 10 == 0 ? 1 : 0;
    else if (middle != 0)
        n = middle % 10 == 0 ? 3 : 4;
    else
        n = high % 10 == 0 ? 1 : 2;
    char *p = out;
    *p = '-';
    p += negative ? 1 : 0;
    if (e < -4 || e >= 6) {
        p[0] = d[0];
        p[1] = '.';
        std::memcpy(p + 2, d + 1, 8);
        p += n > 1 ? n + 1 : 1;
        const int a = e < 0 ? -e : e;
        p[0] = 'e';
        p[1] = e < 0 ? '-' : '+';
        p += 2;
        if (a >= 100)
            *p++ = char('0' + a / 100);
        std::memcpy(p, DIGIT_PAIRS + 2 * size_t(a % 100), 2);
        return int(p + 2 - out);
    }
    if (e < 0) {
        p[0] = '0';
        p[1] = '.';
        std::fill(p + 2, p + 8, '0');
        std::memcpy(p + 1 - e, d, 8);
        return int(p + 1 - e + n - out);
    }
    std::memcpy(p, d, 8);
    p[e + 1] = '.';
    std::memcpy(p + e + 2, d + e + 1, 8);
    return int(p - out) + (n > e + 1 ? n + 1 : e + 1);
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

// The magnitudes outside the exact scaling (below 1.4e-14, from 9e15, inf),
// which results files hardly hold: to_chars rounds an exact tie to even, the
// stream away from zero.
int rareFormat(double value, char *out, int size)
{
    const double away = exactTie(std::fabs(value)) ? std::nextafter(value,
                            value < 0 ? -std::numeric_limits<double>::infinity()
                                      : std::numeric_limits<double>::infinity())
                                                   : value;
    return int(std::to_chars(out, out + size, away, std::chars_format::general, 6).ptr - out);
}

} // namespace

// The stream itself costs a locale copy per number, and printf or to_chars
// with a precision work through every digit of the exact value: a large
// run writes a million numbers.
char *NumberFormat::write(char *text, double value)
{
    if (std::isnan(value)) {
        text[0] = 'n';
        text[1] = 'a';
        text[2] = 'n';
        return text + 3;
    }
    if (value == 0.0) {
        *text = '0';
        return text + 1;
    }
    quint64 digits = 0;
    int exponent = 0;
    constexpr int room = 32;
    return text
        + (sixDigits(std::fabs(value), &digits, &exponent)
                ? layOut(digits, exponent, value < 0, text)
                : rareFormat(value, text, room));
}

void NumberFormat::append(QByteArray &out, double value)
{
    char text[32];
    out.append(text, int(write(text, value) - text));
}

QString NumberFormat::text(double value)
{
    QByteArray bytes;
    append(bytes, value);
    return QString::fromLatin1(bytes);
}
