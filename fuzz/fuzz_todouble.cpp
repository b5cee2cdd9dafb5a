// Number reading of any text: no crash, a finite number or a refusal, and the
// same value again once the default locale has followed the first reading.
#include "FuzzChecks.h"

#include "parsers/NumberReader.h"

#include <QLocale>
#include <QString>
#include <QtNumeric>

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    static const NumberReader readers[] = { NumberReader(QStringLiteral("<###> ")),
        NumberReader(QStringLiteral("not def.")), NumberReader(QString()) };
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(bytes), int(size));

    for (const NumberReader &reader : readers) {
        QLocale::setDefault(QLocale::c());
        bool ok = false;
        const double first = reader.read(text, &ok);
        if (!ok) {
            fuzzCheck(first == 0.0, "a refused text reads as 0.0");
            continue;
        }
        fuzzCheck(qIsFinite(first), "an accepted number is finite");
        fuzzCheck(!(first == 0.0 && std::signbit(first)), "zero has no sign");

        // The neutral convention is tried first, so whatever C reads keeps its value.
        bool neutralOk = false;
        QLocale neutral = QLocale::c();
        neutral.setNumberOptions(QLocale::RejectGroupSeparator);
        const double plain = neutral.toDouble(text, &neutralOk);
        if (neutralOk && qIsFinite(plain))
            fuzzCheck(first == plain || (first == 0.0 && plain == 0.0), "neutral reading wins");

        bool again = false;
        const double second = reader.read(text, &again);
        fuzzCheck(again && second == first, "same value after the locale switch");
    }
    return 0;
}
