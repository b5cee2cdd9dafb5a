#include "parsers/ResultsWriter.h"

#include "model/Calibration.h"
#include "model/Measurements.h"
#include "model/Results.h"
#include "parsers/NumberFormat.h"
#include "parsers/OutputFile.h"

#include <QBuffer>

QByteArray ResultsWriter::format(
    const Measurements &working, const Calibration &calibration, const Results &results)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    write(&buffer, working, calibration, results);
    return buffer.data();
}

bool ResultsWriter::write(QIODevice *device, const Measurements &working,
    const Calibration &calibration, const Results &results)
{
    const int isotopeCount = working.isotopeCount();
    QByteArray bytes;
    bytes.reserve(OutputFile::BLOCK + 64 + isotopeCount * 96);

    bytes.append(";;");
    for (int i = 0; i < isotopeCount; ++i)
        bytes.append(working.isotope(i).name().toLocal8Bit()).append(";;;");
    bytes.append("\n\n;LOD (ppb) = ;");
    for (int i = 0; i < isotopeCount; ++i) {
        NumberFormat::append(bytes, calibration.lines.at(i).lod);
        bytes.append(";;;");
    }
    bytes.append("\n;LOQ (ppb) = ;");
    for (int i = 0; i < isotopeCount; ++i) {
        NumberFormat::append(bytes, calibration.lines.at(i).loq);
        bytes.append(";;;");
    }
    bytes.append("\n\n;;");
    for (int i = 0; i < isotopeCount; ++i)
        bytes.append("Concentration (ppb);SD (ppb);RSD (%);");
    bytes.append("\n\n");

    // Side by side, the limits stay in the cache over the whole file.
    QVector<double> loq(isotopeCount);
    for (int i = 0; i < isotopeCount; ++i)
        loq[i] = calibration.lines.at(i).loq;
    for (int s = 0; s < working.solutionCount(); ++s) {
        bytes.append(working.solution(s).name().toLocal8Bit()).append(";;");
        for (int i = 0; i < isotopeCount; ++i) {
            const double c = results.concentration(s, i);
            const double rsd = results.rsd(s, i);
            if (c == 0.0) {
                bytes.append(";;;");
            } else if (loq.at(i) > c) {
                bytes.append("<LOQ;;;");
            } else {
                // One append for the three: each costs more than a number.
                char text[3 * 32];
                char *p = NumberFormat::write(text, c);
                *p++ = ';';
                p = NumberFormat::write(p, c * rsd / 100.0);
                *p++ = ';';
                p = NumberFormat::write(p, rsd);
                *p++ = ';';
                bytes.append(text, int(p - text));
            }
        }
        bytes.append('\n');
        if (!OutputFile::putFullBlock(device, &bytes))
            return false;
    }
    return OutputFile::put(device, bytes);
}
