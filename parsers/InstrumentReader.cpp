#include "parsers/InstrumentReader.h"

#include "parsers/HighResolutionReader.h"
#include "parsers/QuadrupoleReader.h"

const QString InstrumentReader::BLANK_TAG = QStringLiteral("BLK_");
const QString InstrumentReader::STANDARD_TAG = QStringLiteral("STD_");
const QString InstrumentReader::QC_TAG = QStringLiteral("QC_");

InstrumentReader::~InstrumentReader() = default;

QStringList InstrumentReader::instruments()
{
    return { HighResolutionReader::ICP_MS_NAME, QuadrupoleReader::ICP_MS_NAME };
}

std::unique_ptr<InstrumentReader> InstrumentReader::create(const QString &instrument)
{
    if (instrument == HighResolutionReader::ICP_MS_NAME)
        return std::make_unique<HighResolutionReader>();
    if (instrument == QuadrupoleReader::ICP_MS_NAME)
        return std::make_unique<QuadrupoleReader>();
    return nullptr;
}

Solution::Type InstrumentReader::classify(const QString &name)
{
    if (name.contains(BLANK_TAG))
        return Solution::Blank;
    if (name.contains(STANDARD_TAG))
        return Solution::Standard;
    if (name.contains(QC_TAG))
        return Solution::QualityControl;
    return Solution::Sample;
}

bool InstrumentReader::containsDigit(std::string_view cell)
{
    for (const char c : cell) {
        if (c >= '0' && c <= '9')
            return true;
    }
    return false;
}

QString InstrumentReader::formatError(const QString &problem, const QString &instrument)
{
    return QStringLiteral("Input file format error: ") + problem
        + QStringLiteral(" (instrument set to '") + instrument + QStringLiteral("')");
}

QString InstrumentReader::countMismatch(const QString &isotope, const QString &instrument)
{
    return QStringLiteral("Input file format error:\n\nFor the element '") + isotope
        + QStringLiteral("': values number detected do not match with solutions number")
        + QStringLiteral(" (instrument set to '") + instrument + QStringLiteral("')");
}

QString InstrumentReader::summary(int isotopes, int solutions)
{
    return QStringLiteral("Parsed Elements %1\n\nParsed Solutions %2").arg(isotopes).arg(solutions);
}
