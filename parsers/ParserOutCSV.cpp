#include "parsers/ParserOutCSV.h"

#include "model/Data.h"
#include "processing/Processing.h"

#include <QFileDevice>
#include <QTextStream>

ParserOutCSV::~ParserOutCSV() = default;

ParseResult ParserOutCSV::parse(QIODevice *file, Data *data, Processing *processing)
{
    ParseResult result;
    const int nIsos = data->isoSize();
    if (!processing || processing->size() < nIsos) {
        // Saving before the engine was sized for this data set would read past its limits.
        result.code = 1;
        result.message
            = QStringLiteral("No detection limits for these isotopes: process the data first");
        return result;
    }

    // Formatted in memory first, so that a short or failed write is seen as one
    // count; the stream's C locale keeps the decimal point whatever the default locale.
    QString text;
    QTextStream out(&text);

    out << ";;";
    for (int i = 0; i < nIsos; ++i)
        out << data->getIso(i).getName() << ";;;";
    out << "\n\n;LOD (ppb) = ;";
    for (int i = 0; i < nIsos; ++i)
        out << processing->getLOD(i) << ";;;";
    out << "\n;LOQ (ppb) = ;";
    for (int i = 0; i < nIsos; ++i)
        out << processing->getLOQ(i) << ";;;";
    out << "\n\n;;";
    for (int i = 0; i < nIsos; ++i)
        out << "Concentration (ppb);SD (ppb);RSD (%);";
    out << "\n\n";

    for (int s = 0; s < data->solutionSize(); ++s) {
        const Solution *solution = data->getSolution(s);
        out << solution->getName() << ";;";
        for (int i = 0; i < nIsos; ++i) {
            const double c = solution->getConcent(i);
            const double rsd = solution->getConcentRSD(i);
            if (c == 0.0)
                out << ";;;";
            else if (processing->getLOQ(i) > c)
                out << "<LOQ;;;";
            else
                out << c << ';' << c * rsd / 100.0 << ';' << rsd << ';';
        }
        out << '\n';
    }
    out.flush();

    const QByteArray bytes = text.toLocal8Bit();
    bool written = true;
    for (qint64 done = 0; written && done < bytes.size();) {
        const qint64 n = file->write(bytes.constData() + done, bytes.size() - done);
        written = n > 0;
        done += n;
    }
    if (auto *fileDevice = qobject_cast<QFileDevice *>(file))
        written = fileDevice->flush() && written;
    if (!written) {
        result.code = 1;
        result.message
            = file->errorString().isEmpty() ? QStringLiteral("Write error") : file->errorString();
        return result;
    }
    result.message = QStringLiteral("Done");
    return result;
}
