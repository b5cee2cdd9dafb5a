#include "parsers/ParserOutCSV.h"

#include "model/Data.h"
#include "processing/Processing.h"

ParserOutCSV::~ParserOutCSV() = default;

QByteArray ParserOutCSV::format(const Data &data, const Processing &processing) const
{
    const int nIsos = data.isoSize();
    QByteArray bytes;
    bytes.reserve(64 + nIsos * 24 + data.solutionSize() * (16 + nIsos * 24));

    bytes.append(";;");
    for (int i = 0; i < nIsos; ++i)
        bytes.append(data.getIso(i).getName().toLocal8Bit()).append(";;;");
    bytes.append("\n\n;LOD (ppb) = ;");
    for (int i = 0; i < nIsos; ++i) {
        appendNumber(bytes, processing.getLOD(i));
        bytes.append(";;;");
    }
    bytes.append("\n;LOQ (ppb) = ;");
    for (int i = 0; i < nIsos; ++i) {
        appendNumber(bytes, processing.getLOQ(i));
        bytes.append(";;;");
    }
    bytes.append("\n\n;;");
    for (int i = 0; i < nIsos; ++i)
        bytes.append("Concentration (ppb);SD (ppb);RSD (%);");
    bytes.append("\n\n");

    for (int s = 0; s < data.solutionSize(); ++s) {
        const Solution *solution = data.getSolution(s);
        bytes.append(solution->getName().toLocal8Bit()).append(";;");
        for (int i = 0; i < nIsos; ++i) {
            const double c = solution->getConcent(i);
            const double rsd = solution->getConcentRSD(i);
            if (c == 0.0) {
                bytes.append(";;;");
            } else if (processing.getLOQ(i) > c) {
                bytes.append("<LOQ;;;");
            } else {
                appendNumber(bytes, c);
                bytes.append(';');
                appendNumber(bytes, c * rsd / 100.0);
                bytes.append(';');
                appendNumber(bytes, rsd);
                bytes.append(';');
            }
        }
        bytes.append('\n');
    }

    return bytes;
}
