#include "parsers/NumberReader.h"

#include "parsers/PlainDecimal.h"
#include "parsers/TextFile.h"

#include <QLocale>
#include <QtNumeric>

#include <charconv>
#include <cstring>

const QString NumberReader::NUMBER_ERROR = QStringLiteral(
    "PARSING ERROR: unable to read real number (unknown format). Please, convert your data into "
    "english or french number format");

NumberReader::NumberReader(const QString &notDefinedTag)
    : m_notDefinedTag(notDefinedTag), m_notDefinedUtf8(TextFile::encode(notDefinedTag))
{ }

// A plain decimal of more than 15 digits, which needs the general conversion:
// apart, so that the usual ones need no room for a copy.
template<typename Char> static bool longDecimal(const Char *begin, const Char *end, double *value)
{
    char ascii[PlainDecimal::MAX_LENGTH];
    const int length = int(end - begin);
    for (int i = 0; i < length; ++i)
        ascii[i] = char(begin[i]);
    double general = 0.0;
    const std::from_chars_result parsed = std::from_chars(ascii, ascii + length, general);
    if (parsed.ec != std::errc() || parsed.ptr != ascii + length)
        return false;
    *value = PlainDecimal::unsigned0(general);
    return true;
}

bool PlainDecimal::readLong(const char *begin, const char *end, double *value)
{
    return longDecimal(begin, end, value);
}

bool PlainDecimal::readLong(const char16_t *begin, const char16_t *end, double *value)
{
    return longDecimal(begin, end, value);
}

// Every convention reads "nan" and "inf", which no instrument writes: taken as
// numbers they would flow silently into every result, so they are refused.
static double accepted(double value, bool *ok)
{
    *ok = qIsFinite(value);
    return *ok ? PlainDecimal::unsigned0(value) : 0.0;
}

double NumberReader::read(QStringView text, bool *ok) const
{
    *ok = true;
    if (text.isEmpty() || text == m_notDefinedTag)
        return 0.0;

    double value = 0.0;
    const char16_t *end = text.utf16() + text.size();
    if (PlainDecimal::read(text.utf16(), end, &value) == end)
        return value;

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
        return PlainDecimal::unsigned0(value);
    }
    const QLocale english(QLocale::English);
    value = english.toDouble(text, &done);
    if (done && qIsFinite(value)) {
        QLocale::setDefault(english);
        return PlainDecimal::unsigned0(value);
    }

    *ok = false;
    return 0.0;
}

bool NumberReader::readAtOnce(std::string_view utf8, double *value) const
{
    const int length = int(utf8.size());
    if (length == 0
        || (length == m_notDefinedUtf8.size()
            && std::memcmp(utf8.data(), m_notDefinedUtf8.constData(), utf8.size()) == 0)) {
        *value = 0.0;
        return true;
    }
    const char *end = utf8.data() + utf8.size();
    double plain = 0.0;
    if (PlainDecimal::read(utf8.data(), end, &plain) != end)
        return false;
    *value = plain;
    return true;
}

double NumberReader::read(std::string_view utf8, bool *ok) const
{
    double value = 0.0;
    *ok = true;
    if (readAtOnce(utf8, &value))
        return value;
    return read(TextFile::decode(utf8), ok);
}

QString NumberReader::numberError(int lineNumber, const QString &cell)
{
    // The message goes into a box: a damaged file can hold a cell of megabytes.
    constexpr int shown = 40;
    const QString quoted = cell.size() > shown ? cell.left(shown) + QChar(0x2026) : cell;
    return NUMBER_ERROR + QStringLiteral("\n\nLine %1: '%2'").arg(lineNumber).arg(quoted);
}
