#include "parsers/RoundedValue.h"

#include "parsers/NumberFormat.h"

#include <cmath>

namespace {

constexpr int FARTHEST_PLACE = 15;

// value = 0.digits × 10^point, as the six-digit text gives it.
struct Decimal
{
    bool negative = false;
    QByteArray digits;
    int point = 1;
};

Decimal decimal(double value)
{
    const QByteArray text = NumberFormat::text(value).toLatin1();
    Decimal d;
    d.negative = text.startsWith('-');
    const int e = text.indexOf('e');
    const QByteArray mantissa
        = text.mid(d.negative ? 1 : 0, e == -1 ? -1 : e - (d.negative ? 1 : 0));
    const int dot = mantissa.indexOf('.');
    const QByteArray whole = dot == -1 ? mantissa : mantissa.left(dot);
    QByteArray digits = whole + (dot == -1 ? QByteArray() : mantissa.mid(dot + 1));
    int point = int(whole.size()) + (e == -1 ? 0 : text.mid(e + 1).toInt());
    while (!digits.isEmpty() && digits.front() == '0') {
        digits.remove(0, 1);
        --point;
    }
    if (digits.isEmpty())
        return Decimal();
    d.digits = digits;
    d.point = point;
    return d;
}

// The digits kept down to the place 10^place, an exact half rounded up;
// *carried when the rounding added a leading digit.
QByteArray keep(const Decimal &d, int place, bool *carried = nullptr)
{
    const int count = d.point - place;
    if (carried)
        *carried = false;
    if (count < 0)
        return QByteArray("0");
    QByteArray kept = d.digits.left(count);
    kept += QByteArray(qMax(0, count - int(d.digits.size())), '0');
    if (count < d.digits.size() && d.digits.at(count) >= '5') {
        int k = int(kept.size()) - 1;
        for (; k >= 0 && kept.at(k) == '9'; --k)
            kept[k] = '0';
        if (k >= 0) {
            kept[k] = char(kept.at(k) + 1);
        } else {
            kept.prepend('1');
            if (carried)
                *carried = true;
        }
    }
    return kept.isEmpty() ? QByteArray("0") : kept;
}

// Whole digits × 10^place in fixed notation; no sign on a zero.
QString fixed(bool negative, QByteArray digits, int place)
{
    if (place >= 0) {
        if (digits.count('0') != digits.size())
            digits += QByteArray(place, '0');
    } else {
        const int decimals = -place;
        if (digits.size() <= decimals)
            digits.prepend(QByteArray(decimals + 1 - int(digits.size()), '0'));
        digits.insert(int(digits.size()) - decimals, '.');
    }
    while (digits.size() > 1 && digits.front() == '0' && digits.at(1) != '.')
        digits.remove(0, 1);
    const bool zero = digits.count('0') + digits.count('.') == digits.size();
    return QString::fromLatin1(negative && !zero ? '-' + digits : digits);
}

} // namespace

RoundedValue RoundedValue::of(double value, double sd)
{
    if (!std::isfinite(value))
        return {};
    if (!std::isfinite(sd) || sd <= 0.0)
        return { NumberFormat::text(value), QString() };
    const Decimal spread = decimal(sd);
    int place = spread.point - 2;
    bool carried = false;
    QByteArray sdDigits = keep(spread, place, &carried);
    if (carried)
        sdDigits = keep(spread, ++place);
    if (std::abs(place) > FARTHEST_PLACE)
        return { NumberFormat::text(value), NumberFormat::text(sd) };
    const Decimal v = decimal(value);
    const QString sdText = fixed(false, sdDigits, place);
    if (place < v.point - 6)
        return { NumberFormat::text(value), sdText };
    return { fixed(v.negative, keep(v, place), place), sdText };
}

QString RoundedValue::text() const
{
    return sd.isEmpty() ? value : value + QStringLiteral(" \u00b1 ") + sd;
}
