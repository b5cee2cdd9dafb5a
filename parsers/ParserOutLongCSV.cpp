#include "parsers/ParserOutLongCSV.h"

#include "model/Data.h"
#include "processing/Processing.h"

#include <cmath>

namespace {

const char HEADER[]
    = "solution,type,isotope,concentration_ppb,sd_ppb,rsd_percent,lod_ppb,loq_ppb,flag\n";

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
        ParserOut::appendNumber(out, value);
    out.append(',');
}

const char *typeName(Solution::Type type)
{
    switch (type) {
    case Solution::STD:
        return "STD";
    case Solution::BLK:
        return "BLK";
    case Solution::QC:
        return "QC";
    case Solution::SAMPLE:
        break;
    }
    return "SAMPLE";
}

} // namespace

ParserOutLongCSV::~ParserOutLongCSV() = default;

QByteArray ParserOutLongCSV::format(const Data &data, const Processing &processing) const
{
    const int nIsos = data.isoSize();
    QVector<QByteArray> isotopes(nIsos);
    for (int i = 0; i < nIsos; ++i)
        appendText(isotopes[i], data.getIso(i).getName().trimmed());

    QByteArray bytes(HEADER);
    bytes.reserve(bytes.size() + data.solutionSize() * nIsos * 80);
    for (int s = 0; s < data.solutionSize(); ++s) {
        const Solution *solution = data.getSolution(s);
        QByteArray start;
        appendText(start, solution->getName());
        start.append(',').append(typeName(solution->getType())).append(',');
        for (int i = 0; i < nIsos; ++i) {
            bytes.append(start).append(isotopes.at(i)).append(',');
            // The results file's rules: exactly 0.0 is no result, and a value
            // under the limit of quantification is "<LOQ" there.
            const double c = solution->getConcent(i);
            const double rsd = solution->getConcentRSD(i);
            const char *flag = "";
            if (c == 0.0) {
                bytes.append(",,,");
                if (solution->getType() == Solution::STD)
                    flag = "no value";
                else if (!processing.hasLine(i))
                    flag = "no calibration";
                else if (!solution->isMeasured(i))
                    flag = "not measured";
                else
                    flag = "no value";
            } else {
                appendField(bytes, c);
                appendField(bytes, c * rsd / 100.0);
                appendField(bytes, rsd);
                if (processing.getLOQ(i) > c)
                    flag = "<LOQ";
                else if (!std::isfinite(c))
                    flag = "no value";
            }
            appendField(bytes, processing.getLOD(i));
            appendField(bytes, processing.getLOQ(i));
            bytes.append(flag).append('\n');
        }
    }
    return bytes;
}
