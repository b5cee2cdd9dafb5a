// Number reading of any text: no crash, a finite number or a refusal, and the
// same value again once the default locale has followed the first reading;
// the same from the text's UTF-8 as the readers cut it from their lines. And
// number writing: what an accepted number, or the input's first eight bytes
// taken as a double, is written as, against the C library's rounding.
#include "FuzzChecks.h"

#include "parsers/NumberFormat.h"
#include "parsers/NumberReader.h"
#include "parsers/TextFile.h"
#include "tests/parsers/PrintfSixDigits.h"

#include <QLocale>
#include <QString>
#include <QtNumeric>

#include <cmath>
#include <cstring>

namespace {

void checkWritten(double value)
{
    QByteArray written;
    NumberFormat::append(written, value);
    fuzzCheck(written == printfSixDigits(value), "written as printf rounds the exact value");
}

// The reading of the UTF-8 form, from the neutral locale like the first.
void checkUtf8(const NumberReader &reader, const QString &text, double first, bool firstOk)
{
    const QLocale::Language after = QLocale().language();
    QLocale::setDefault(QLocale::c());
    const QByteArray utf8 = TextFile::encode(text);
    bool ok = false;
    const double value = reader.read(std::string_view(utf8.constData(), size_t(utf8.size())), &ok);
    fuzzCheck(ok == firstOk && (value == first || (std::isnan(value) && std::isnan(first))),
        "the UTF-8 cell reads the same");
    fuzzCheck(QLocale().language() == after, "the UTF-8 cell switches the same convention");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    static const NumberReader readers[] = { NumberReader(QStringLiteral("<###> ")),
        NumberReader(QStringLiteral("not def.")), NumberReader(QString()) };
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(bytes), int(size));
    if (size >= sizeof(double)) {
        double raw = 0.0;
        std::memcpy(&raw, bytes, sizeof raw);
        checkWritten(raw);
    }

    for (const NumberReader &reader : readers) {
        QLocale::setDefault(QLocale::c());
        bool ok = false;
        const double first = reader.read(text, &ok);
        checkUtf8(reader, text, first, ok);
        if (!ok) {
            fuzzCheck(first == 0.0, "a refused text reads as 0.0");
            continue;
        }
        fuzzCheck(qIsFinite(first), "an accepted number is finite");
        fuzzCheck(!(first == 0.0 && std::signbit(first)), "zero has no sign");
        checkWritten(first);

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
