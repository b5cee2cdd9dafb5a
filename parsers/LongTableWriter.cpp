#include "parsers/LongTableWriter.h"

#include "model/Calibration.h"
#include "model/Measurements.h"
#include "model/ReportedResults.h"
#include "model/Results.h"
#include "parsers/NumberFormat.h"
#include "parsers/OutputFile.h"

#include <QBuffer>

#include <cmath>
#include <limits>

namespace {

// An isotope without a line (an IS isotope, one without standards) has no limits.
constexpr double NO_LIMIT = std::numeric_limits<double>::quiet_NaN();

const char HEADER[]
    = "solution,type,isotope,concentration_ppb,sd_ppb,rsd_percent,lod_ppb,loq_ppb,flag,factor,"
      "reported,reported_sd,reported_lod,reported_loq,unit\n";

// RFC 4180: a field holding a separator, a quote or a line break is quoted,
// its quotes doubled.
void appendText(QByteArray &out, const QString &text)
{
    QByteArray bytes = text.toUtf8();
    const bool quoted = bytes.contains(',') || bytes.contains('"') || bytes.contains('\n')
        || bytes.contains('\r');
    if (quoted)
        out.append('"').append(bytes.replace("\"", "\"\"")).append('"');
    else
        out.append(bytes);
}

// Readers take an empty field as missing; "nan" or "inf" would be read as
// text or as a number.
void appendField(QByteArray &out, double value)
{
    if (std::isfinite(value))
        NumberFormat::append(out, value);
    out.append(',');
}

const char *typeName(Solution::Type type)
{
    switch (type) {
    case Solution::Standard:
        return "STD";
    case Solution::Blank:
        return "BLK";
    case Solution::QualityControl:
        return "QC";
    case Solution::Sample:
        break;
    }
    return "SAMPLE";
}

} // namespace

QByteArray LongTableWriter::format(const Measurements &working, const Calibration &calibration,
    const Results &results, const ReportedResults &reported)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    write(&buffer, working, calibration, results, reported);
    return buffer.data();
}

bool LongTableWriter::write(QIODevice *device, const Measurements &working,
    const Calibration &calibration, const Results &results, const ReportedResults &reported)
{
    const int isotopeCount = working.isotopeCount();
    QVector<QByteArray> isotopes(isotopeCount);
    for (int i = 0; i < isotopeCount; ++i)
        appendText(isotopes[i], working.isotope(i).typedName());

    QByteArray bytes(HEADER);
    // Only a run with QC roles has the column: others stay as they were.
    const bool findings = reported.hasFindings();
    if (findings)
        bytes.insert(bytes.size() - 1, ",qc_findings");
    bytes.reserve(OutputFile::BLOCK + isotopeCount * 200);
    for (int s = 0; s < working.solutionCount(); ++s) {
        const Solution &solution = working.solution(s);
        QByteArray start;
        appendText(start, solution.name());
        start.append(',').append(typeName(solution.type())).append(',');
        QByteArray factor;
        appendField(factor, reported.factor(s));
        const QByteArray unit = SampleSheet::unitName(reported.unit(s)).toUtf8();
        for (int i = 0; i < isotopeCount; ++i) {
            bytes.append(start).append(isotopes.at(i)).append(',');
            // Exactly 0.0 is no result, as in the results file.
            const double c = results.concentration(s, i);
            const double rsd = results.rsd(s, i);
            if (c == 0.0) {
                bytes.append(",,,");
            } else {
                appendField(bytes, c);
                // A negative concentration (below the blank) still has a spread.
                appendField(bytes, std::abs(c) * rsd / 100.0);
                appendField(bytes, rsd);
            }
            const CalibrationLine &line = calibration.lines.at(i);
            appendField(bytes, line.isUsable() ? line.lod : NO_LIMIT);
            appendField(bytes, line.isUsable() ? line.loq : NO_LIMIT);
            const ReportedResults::Value &value = reported.at(s, i);
            bytes.append(ReportedResults::qualifierText(value.qualifier).toUtf8()).append(',');
            bytes.append(factor);
            appendField(bytes, value.value);
            appendField(bytes, value.sd);
            appendField(bytes, value.lod);
            appendField(bytes, value.loq);
            bytes.append(unit);
            if (findings)
                appendText(bytes.append(','),
                    ReportedResults::findingsText(reported.findings(s, i), working));
            bytes.append('\n');
        }
        if (!OutputFile::putFullBlock(device, &bytes))
            return false;
    }
    return OutputFile::put(device, bytes);
}
