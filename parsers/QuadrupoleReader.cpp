#include "parsers/QuadrupoleReader.h"

#include "model/Measurements.h"
#include "parsers/TextFile.h"

#include <QRegularExpression>
#include <QVector>

const QString QuadrupoleReader::ICP_MS_NAME = QStringLiteral("Q-ICP-MS");
const QString QuadrupoleReader::NOT_DEFINED_TAG = QStringLiteral("<###> ");

Status QuadrupoleReader::read(QIODevice *file, Measurements *data) const
{
    const QString noSolution = formatError(QStringLiteral("no solution detected"), ICP_MS_NAME);
    const QString noIsotope = formatError(QStringLiteral("no element detected"), ICP_MS_NAME);

    data->clear();
    const TextFile text(file);
    if (!text.isText())
        return Status::failure(noSolution);
    const QStringList &lines = text.lines();

    const QRegularExpression sampleLine(QStringLiteral("^Sample:"));
    const QRegularExpression isotopeLine(QStringLiteral("[A-Z][a-z]? / \\d{1,3} \\[#\\d\\];"));

    int sampleRow = 0;
    while (sampleRow < lines.size() && !sampleLine.match(lines.at(sampleRow)).hasMatch())
        ++sampleRow;
    QStringList names;
    if (sampleRow < lines.size()) {
        names = lines.at(sampleRow).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        names.removeFirst();
    }

    // Isotope lines before the sample line have no slot in the solutions: skipped.
    QVector<int> isotopeRows;
    for (int row = sampleRow + 1; row < lines.size(); ++row) {
        if (isotopeLine.match(lines.at(row)).hasMatch())
            isotopeRows.append(row);
    }

    const int nSolutions = names.size();
    const int nIsotopes = isotopeRows.size();
    if (nSolutions == 0)
        return Status::failure(noSolution);
    if (nIsotopes == 0)
        return Status::failure(noIsotope);
    for (const QString &name : qAsConst(names))
        data->addSolution(Solution(name, classify(name), nIsotopes));

    const QRegularExpression symbolPattern(QStringLiteral("[A-Z][a-z]?"));
    const QRegularExpression tunePattern(QStringLiteral("\\[#\\d\\]"));
    const QRegularExpression massPattern(QStringLiteral("/ \\d{1,3}"));
    const QRegularExpression digitsPattern(QStringLiteral("\\d{1,3}"));
    QVector<double> cps(nSolutions);
    QVector<double> rsd(nSolutions);

    for (const int row : qAsConst(isotopeRows)) {
        const QVector<QStringRef> cells
            = lines.at(row).splitRef(QLatin1Char(';'), Qt::SkipEmptyParts);
        const QString label = cells.first().toString();

        QString name;
        const QString symbol = symbolPattern.match(label).captured();
        if (!symbol.isEmpty())
            name = symbol + QLatin1Char(' ')
                + tunePattern.match(label)
                      .captured()
                      .remove(QLatin1Char('['))
                      .remove(QLatin1Char(']'));
        int mass = -1;
        const QRegularExpressionMatch massMatch = massPattern.match(label);
        if (massMatch.hasMatch())
            mass = digitsPattern.match(massMatch.captured()).captured().toInt();
        const int iso = data->addIsotope(Isotope(name, mass, Isotope::Undefined), row + 1);
        const QString isoName = data->isotope(iso).name();

        const int nValues = cells.size() - 1;
        for (int c = 1; c <= nValues; ++c) {
            // Same test as searching "(\d+(.\d+)?)|(<###> )|(\d+(.\d+)?%)": every
            // branch but the tag needs one ASCII digit and nothing more.
            if (containsDigit(cells.at(c)) || cells.at(c).contains(NOT_DEFINED_TAG))
                continue;
            // A cell past the last pair is blamed on the last solution.
            const int owner = qMin((c - 1) / 2, nSolutions - 1);
            return Status::failure(
                QStringLiteral("Input file format error: unrecognized pulse or rsd "
                               "value for element '")
                + isoName + QStringLiteral("' in solution ' ") + names.at(owner)
                + QStringLiteral("' (instrument set for '") + ICP_MS_NAME + QStringLiteral("')"));
        }
        if (nValues != 2 * nSolutions)
            return Status::failure(countMismatch(isoName, ICP_MS_NAME));

        // The whole line is read before any value is stored, so a rejected line
        // leaves its isotope at zero like every other rejected line.
        for (int k = 0; k < nSolutions; ++k) {
            bool ok = false;
            const QStringRef intensity = cells.at(2 * k + 1);
            cps[k] = m_numbers.read(intensity, &ok);
            if (!ok)
                return Status::failure(NumberReader::numberError(row + 1, intensity.toString()));
            const QStringRef deviation = cells.at(2 * k + 2);
            // Nearly always a single "%" at the end, which needs no copy to drop.
            const int percent = deviation.indexOf(QLatin1Char('%'));
            if (percent == -1)
                rsd[k] = m_numbers.read(deviation, &ok);
            else if (percent == deviation.size() - 1)
                rsd[k] = m_numbers.read(deviation.chopped(1), &ok);
            else
                rsd[k] = m_numbers.read(deviation.toString().remove(QLatin1Char('%')), &ok);
            if (!ok)
                return Status::failure(NumberReader::numberError(row + 1, deviation.toString()));
        }
        for (int k = 0; k < nSolutions; ++k) {
            data->solution(k).setReading(iso, cps.at(k), cps.at(k) * rsd.at(k) / 100.0);
        }
    }

    return Status::success(summary(nIsotopes, nSolutions));
}
