#ifndef KETRION_PLAINDECIMAL_H
#define KETRION_PLAINDECIMAL_H

#include <QtGlobal>

#include <cstring>

// The plain decimals that nearly every cell of an export holds ("120", "4.5",
// "-0.25"), read where they lie. Inline: the readers call it once a cell.
namespace PlainDecimal {

constexpr int MAX_LENGTH = 64;

// Exact powers of ten: a mantissa of at most 15 digits divided by one of them
// is correctly rounded, so no general conversion is needed.
constexpr double EXACT_POWERS[]
    = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15 };

// "-0" is the same "not measured" as 0 and must not come back out as -0.
inline double unsigned0(double value)
{
    return value == 0.0 ? 0.0 : value;
}

// The run of ASCII digits at p, appended to *mantissa; where the run ends.
template<typename Char> const Char *digitRun(const Char *p, const Char *end, quint64 *mantissa)
{
    for (unsigned digit = 0; p != end && (digit = unsigned(*p) - '0') < 10; ++p)
        *mantissa = *mantissa * 10 + digit;
    return p;
}

// More than 15 digits, through the general conversion: apart, so that the
// usual decimals need no room for a copy.
bool readLong(const char *begin, const char *end, double *value);
bool readLong(const char16_t *begin, const char16_t *end, double *value);

// The plain decimal that starts the text, [-]digits[.digits]: where it ends,
// with its value in *value, or null when the text starts with none or it is
// longer than 64 characters. It gets the same value from every locale that
// accepts it, and the C locale accepts it: this is what the default-then-C
// step of NumberReader gives, without building two locales per cell. Char is
// a byte of UTF-8 or a UTF-16 code unit: all the characters that count are ASCII.
template<typename Char> const Char *read(const Char *begin, const Char *end, double *value)
{
    const bool negative = begin != end && *begin == Char('-');
    const Char *first = begin + (negative ? 1 : 0);
    quint64 mantissa = 0;
    const Char *p = digitRun(first, end, &mantissa);
    if (p == first)
        return nullptr;
    int decimals = 0;
    // A point with digits on both sides.
    if (end - p >= 2 && *p == Char('.') && unsigned(p[1]) - '0' < 10) {
        const Char *point = ++p;
        p = digitRun(p, end, &mantissa);
        decimals = int(p - point);
    }
    if (p - begin > MAX_LENGTH)
        return nullptr;
    // Most cells of an export: few enough digits for exact arithmetic.
    if (p - first - (decimals > 0 ? 1 : 0) <= 15) {
        const double magnitude = double(mantissa) / EXACT_POWERS[decimals];
        *value = unsigned0(negative ? -magnitude : magnitude);
        return p;
    }
    return readLong(begin, p, value) ? p : nullptr;
}

// Eight digit values, the first in the lowest byte, as one number.
inline quint64 eightDigits(quint64 digits)
{
    digits = digits * 10 + (digits >> 8);
    return (((digits & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32)))
               + (((digits >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32))))
        >> 32;
}

// The usual cell of an export, whole in the eight bytes at p: digits, a point
// and digits, then ';' (with percent, "%;"), seven digits at most and no
// sign. Read at once, as read() would: the length of the cell before the ';',
// or 0 when the bytes hold anything else. The eight bytes must be readable.
inline int readShort(const char *p, bool percent, double *value)
{
    constexpr quint64 HIGH = 0x8080808080808080ULL;
    quint64 word = 0;
    std::memcpy(&word, p, sizeof word);
    // Byte by byte, without carries between bytes: below 0x80, from '0', below ':'.
    const quint64 low = word & ~HIGH;
    const quint64 digits
        = ((low + 0x5050505050505050ULL) & ~(low + 0x4646464646464646ULL)) & ~word & HIGH;
    const quint64 others = ~digits & HIGH;
    if ((others & 1ULL << 7) != 0 || others == 0)
        return 0;
    const int point = __builtin_ctzll(others) / 8;
    int end = point;
    int decimals = 0;
    quint64 values = word & 0x0F0F0F0F0F0F0F0FULL;
    if (p[point] == '.') {
        const quint64 after = point < 7 ? others & (~0ULL << (8 * point + 8)) : 0;
        if (after == 0)
            return 0;
        end = __builtin_ctzll(after) / 8;
        decimals = end - point - 1;
        if (decimals == 0)
            return 0;
        // The point's byte taken out.
        const quint64 below = (quint64(1) << (8 * point)) - 1;
        values = (values & below) | ((values >> 8) & ~below);
    }
    const int length = end + (percent && p[end] == '%' ? 1 : 0);
    if (length >= 8 || p[length] != ';')
        return 0;
    const int count = point + decimals;
    *value = double(eightDigits(values << (64 - 8 * count))) / EXACT_POWERS[decimals];
    return length;
}

} // namespace PlainDecimal

#endif
