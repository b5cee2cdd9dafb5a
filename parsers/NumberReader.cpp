#include "parsers/NumberReader.h"

#include <QLocale>
#include <QtNumeric>

#include <charconv>

const QString NumberReader::NUMBER_ERROR = QStringLiteral(
    "PARSING ERROR: unable to read real number (unknown format). Please, convert your data into "
    "english or french number format");

// Exact powers of ten: a mantissa of at most 15 digits divided by one of them
// is correctly rounded, so no general conversion is needed.
static constexpr double EXACT_POWERS[] = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10,
    1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22 };

// A plain decimal such as "120", "4.5" or "-0.25" gets the same value from
// every locale that accepts it, and the C locale accepts it: this is what the
// default-then-C step gives, without building two locales per cell.
static bool readPlainDecimal(QStringView text, double *value)
{
    constexpr int maxLength = 64;
    const int length = int(text.size());
    if (length == 0 || length > maxLength)
        return false;
    char ascii[maxLength];
    int digits = 0;
    int decimals = 0;
    bool point = false;
    quint64 mantissa = 0;
    for (int i = 0; i < length; ++i) {
        const ushort c = text.at(i).unicode();
        if (c >= '0' && c <= '9') {
            ++digits;
            if (point)
                ++decimals;
            mantissa = mantissa * 10 + (c - '0');
        } else if (c == '-' && i == 0) {
        } else if (c == '.' && !point && digits > 0) {
            point = true;
        } else {
            return false;
        }
        ascii[i] = char(c);
    }
    const ushort last = text.at(length - 1).unicode();
    if (last < '0' || last > '9')
        return false;
    // Most cells of an export: few enough digits for exact arithmetic.
    if (digits <= 15) {
        const double magnitude = double(mantissa) / EXACT_POWERS[decimals];
        *value = ascii[0] == '-' ? -magnitude : magnitude;
        return true;
    }
    const std::from_chars_result end = std::from_chars(ascii, ascii + length, *value);
    return end.ec == std::errc() && end.ptr == ascii + length;
}

// "-0" is the same "not measured" as 0 and must not come back out as -0.
static double unsigned0(double value)
{
    return value == 0.0 ? 0.0 : value;
}

// Every convention reads "nan" and "inf", which no instrument writes: taken as
// numbers they would flow silently into every result, so they are refused.
static double accepted(double value, bool *ok)
{
    *ok = qIsFinite(value);
    return *ok ? unsigned0(value) : 0.0;
}

double NumberReader::read(QStringView text, bool *ok) const
{
    *ok = true;
    if (text.isEmpty() || text == m_notDefinedTag)
        return 0.0;

    double value = 0.0;
    if (readPlainDecimal(text, &value))
        return unsigned0(value);

    // An export never writes thousands separators: without this, "0,123" would
    // read as 123 in the C locale before the switch to French.
    bool done = false;
    QLocale plain;
    plain.setNumberOptions(plain.numberOptions() | QLocale::RejectGroupSeparator);
    value = plain.toDouble(text, &done);
    if (done)
        return accepted(value, ok);
    QLocale neutral = QLocale::c();
    neutral.setNumberOptions(neutral.numberOptions() | QLocale::RejectGroupSeparator);
    value = neutral.toDouble(text, &done);
    if (done)
        return accepted(value, ok);

    const QLocale french(QLocale::French);
    value = french.toDouble(text, &done);
    if (done && qIsFinite(value)) {
        QLocale::setDefault(french);
        return unsigned0(value);
    }
    const QLocale english(QLocale::English);
    value = english.toDouble(text, &done);
    if (done && qIsFinite(value)) {
        QLocale::setDefault(english);
        return unsigned0(value);
    }

    *ok = false;
    return 0.0;
}

QString NumberReader::numberError(int lineNumber, const QString &cell)
{
    // The message goes into a box: a damaged file can hold a cell of megabytes.
    constexpr int shown = 40;
    const QString quoted = cell.size() > shown ? cell.left(shown) + QChar(0x2026) : cell;
    return NUMBER_ERROR + QStringLiteral("\n\nLine %1: '%2'").arg(lineNumber).arg(quoted);
}
