#include "FuzzChecks.h"

#include "model/Measurements.h"
#include "parsers/HighResolutionReader.h"
#include "parsers/InstrumentReader.h"

#include <QFile>

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

FuzzBytes::FuzzBytes(const uint8_t *bytes, size_t size)
    : m_bytes(QByteArray::fromRawData(reinterpret_cast<const char *>(bytes), int(size)))
    , m_buffer(&m_bytes)
{
    m_buffer.open(QIODevice::ReadOnly);
}

const Measurements &exampleExport()
{
    static const Measurements example = [] {
        Measurements data;
        QFile file(QStringLiteral(KETRION_SOURCE_DIR "/examples/hr_export.csv"));
        fuzzCheck(file.open(QIODevice::ReadOnly), "example export opens");
        fuzzCheck(HighResolutionReader().read(&file, &data).ok(), "example export reads");
        return data;
    }();
    return example;
}

void fuzzInstrumentRead(
    const InstrumentReader &reader, const uint8_t *bytes, size_t size, int extraSlots)
{
    // A French or English number switches the default locale for later reads.
    QLocale::setDefault(QLocale::c());
    Measurements data;
    FuzzBytes file(bytes, size);
    const Status read = reader.read(file.device(), &data);

    fuzzCheck(!read.message().isEmpty(), "every read says something");
    if (!read.ok())
        return;

    fuzzCheck(read.message().startsWith(QLatin1String("Parsed Elements ")), "success summary");
    fuzzCheck(data.solutionCount() > 0, "success holds solutions");
    for (int s = 0; s < data.solutionCount(); ++s) {
        const Solution &solution = data.solution(s);
        const int width = solution.isotopeCount();
        fuzzCheck(
            width > 0 && width >= data.isotopeCount() && width <= data.isotopeCount() + extraSlots,
            "one value slot per isotope");
        for (int i = 0; i < width; ++i) {
            fuzzCheck(qIsFinite(solution.intensity(i)), "intensity is a finite number");
            fuzzCheck(qIsFinite(solution.intensitySD(i)), "deviation is a finite number");
            fuzzCheck(solution.isMeasured(i) == (solution.intensity(i) != 0.0),
                "measured exactly where the intensity is not 0.0");
        }
    }
    for (const int blank : data.blanks())
        fuzzCheck(data.solution(blank).type() == Solution::Blank, "blank list holds blanks");
}
