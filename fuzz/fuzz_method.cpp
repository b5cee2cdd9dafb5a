// Method files of any content: no crash, no hang; a refusal names the file
// and a line of it and changes nothing, and an accepted method writes back to
// a text that reads the same.
#include "FuzzChecks.h"

#include "model/RunOptions.h"
#include "parsers/MethodFile.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(bytes), int(size));
    RunOptions options;
    options.reference = QStringLiteral("BLK_1");
    options.tolerance = 7.5;
    const QByteArray before = MethodFile::write(options);
    const Status read = MethodFile::read(text, QStringLiteral("m.ketrion-method"), &options);

    if (!read.ok()) {
        const QRegularExpressionMatch line
            = QRegularExpression(QStringLiteral("^Method file m\\.ketrion-method, line (\\d+): "))
                  .match(read.message());
        fuzzCheck(line.hasMatch(), "a refusal names the file and the line");
        fuzzCheck(line.captured(1).toInt() >= 1 && line.captured(1).toInt() <= text.count('\n') + 1,
            "the line is one of the file's");
        fuzzCheck(MethodFile::write(options) == before, "a refused method changes nothing");
        return 0;
    }
    const QByteArray written = MethodFile::write(options);
    RunOptions again;
    fuzzCheck(MethodFile::read(written, QStringLiteral("again"), &again).ok(),
        "a method written back reads");
    fuzzCheck(MethodFile::write(again) == written, "and reads the same");
    return 0;
}
