#include "FuzzChecks.h"

#include "model/Data.h"

#include <QBuffer>
#include <QLocale>
#include <QtNumeric>

#include <cstdio>
#include <cstdlib>

void fuzzCheck(bool condition, const char *what)
{
    if (condition)
        return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}

void fuzzInstrumentRead(Parser *parser, const uint8_t *bytes, size_t size, int extraSlots)
{
    // A French or English number switches the default locale for later reads.
    QLocale::setDefault(QLocale::c());
    Data data(parser);
    const ParseResult result = readFuzzBytes(&data, bytes, size);

    fuzzCheck(result.code == 0 || result.code == 1, "result code is 0 or 1");
    fuzzCheck(!result.message.isEmpty(), "every read says something");
    if (result.code == 1)
        return;

    fuzzCheck(result.message.startsWith(QLatin1String("Parsed Elements ")), "success summary");
    fuzzCheck(data.solutionSize() > 0, "success holds solutions");
    for (int s = 0; s < data.solutionSize(); ++s) {
        const Solution *solution = data.getSolution(s);
        const int width = solution->getNbrElement();
        fuzzCheck(width > 0 && width >= data.isoSize() && width <= data.isoSize() + extraSlots,
            "one value slot per isotope");
        for (int i = 0; i < width; ++i) {
            fuzzCheck(qIsFinite(solution->getCps(i)), "intensity is a finite number");
            fuzzCheck(qIsFinite(solution->getCpsSD(i)), "deviation is a finite number");
            fuzzCheck(solution->getConcent(i) == 0.0 && solution->getConcentRSD(i) == 0.0,
                "an instrument read sets no concentration");
        }
    }
    for (const int blank : data.getBlkIndexes())
        fuzzCheck(data.getSolution(blank)->getType() == Solution::BLK, "blank list holds blanks");
}

ParseResult readFuzzBytes(Data *data, const uint8_t *bytes, size_t size)
{
    QByteArray file = QByteArray::fromRawData(reinterpret_cast<const char *>(bytes), int(size));
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    return data->executeParsing(&buffer, nullptr);
}
