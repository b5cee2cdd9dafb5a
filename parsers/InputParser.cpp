#include "parsers/InputParser.h"

#include <QLocale>

const QString InputParser::NUMBER_ERROR = QStringLiteral(
    "PARSING ERROR: unable to read real number (unknown format). Please, convert your data into "
    "english or french number format");

InputParser::~InputParser() = default;


double InputParser::toDouble(const QString &text, bool *ok) const
{
    *ok = true;
    if (text.isEmpty() || text == getNotDefinedTag())
        return 0.0;

    // An export never writes thousands separators: without this, "0,123" would
    // read as 123 in the C locale before the switch to French.
    bool done = false;
    QLocale plain;
    plain.setNumberOptions(plain.numberOptions() | QLocale::RejectGroupSeparator);
    double value = plain.toDouble(text, &done);
    if (done)
        return value;
    QLocale neutral = QLocale::c();
    neutral.setNumberOptions(neutral.numberOptions() | QLocale::RejectGroupSeparator);
    value = neutral.toDouble(text, &done);
    if (done)
        return value;

    const QLocale french(QLocale::French);
    value = french.toDouble(text, &done);
    if (done) {
        QLocale::setDefault(french);
        return value;
    }
    const QLocale english(QLocale::English);
    value = english.toDouble(text, &done);
    if (done) {
        QLocale::setDefault(english);
        return value;
    }

    *ok = false;
    return 0.0;
}

QString InputParser::numberError(int lineNumber, const QString &cell)
{
    return NUMBER_ERROR + QStringLiteral("\n\nLine %1: '%2'").arg(lineNumber).arg(cell);
}
