#include "parsers/QuadrupoleReader.h"

#include "model/Measurements.h"
#include "parsers/TextFile.h"

#include <QRegularExpression>
#include <QVector>

const QString QuadrupoleReader::ICP_MS_NAME = QStringLiteral("Q-ICP-MS");
const QString QuadrupoleReader::NOT_DEFINED_TAG = QStringLiteral("<###> ");

namespace {

// The element symbol, a blank and the tune step ("Li #1"), the mass, from a
// cell like "Li / 7 [#1]".
Isotope isotopeOf(const QString &label)
{
    static const QRegularExpression symbolPattern(QStringLiteral("[A-Z][a-z]?"));
    static const QRegularExpression tunePattern(QStringLiteral("\\[#\\d\\]"));
    static const QRegularExpression massPattern(QStringLiteral("/ \\d{1,3}"));
    static const QRegularExpression digitsPattern(QStringLiteral("\\d{1,3}"));
    QString name;
    const QString symbol = symbolPattern.match(label).captured();
    if (!symbol.isEmpty())
        name = symbol + QLatin1Char(' ')
            + tunePattern.match(label).captured().remove(QLatin1Char('[')).remove(QLatin1Char(']'));
    int mass = -1;
    const QRegularExpressionMatch massMatch = massPattern.match(label);
    if (massMatch.hasMatch())
        mass = digitsPattern.match(massMatch.captured()).captured().toInt();
    return Isotope(name, mass, Isotope::Undefined);
}

} // namespace

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

    for (const int row : qAsConst(isotopeRows)) {
        Status line = readLine(lines.at(row), row + 1, names, data);
        if (!line.ok())
            return line;
    }
    return Status::success(summary(nIsotopes, nSolutions));
}

Status QuadrupoleReader::readLine(
    const QString &line, int lineNumber, const QStringList &names, Measurements *data) const
{
    const int nSolutions = names.size();
    const QVector<QStringRef> cells = line.splitRef(QLatin1Char(';'), Qt::SkipEmptyParts);
    const int iso = data->addIsotope(isotopeOf(cells.first().toString()), lineNumber);
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
            QStringLiteral("Input file format error: unrecognized pulse or rsd value for element '")
            + isoName + QStringLiteral("' in solution ' ") + names.at(owner)
            + QStringLiteral("' (instrument set for '") + ICP_MS_NAME + QStringLiteral("')"));
    }
    if (nValues != 2 * nSolutions)
        return Status::failure(countMismatch(isoName, ICP_MS_NAME));

    // The whole line is read before any value is stored, so a rejected line
    // leaves its isotope at zero like every other rejected line.
    QVector<double> cps(nSolutions);
    QVector<double> rsd(nSolutions);
    for (int k = 0; k < nSolutions; ++k) {
        bool ok = false;
        const QStringRef &intensity = cells.at(2 * k + 1);
        cps[k] = m_numbers.read(intensity, &ok);
        if (!ok)
            return Status::failure(NumberReader::numberError(lineNumber, intensity.toString()));
        const QStringRef &deviation = cells.at(2 * k + 2);
        rsd[k] = readDeviation(deviation, &ok);
        if (!ok)
            return Status::failure(NumberReader::numberError(lineNumber, deviation.toString()));
    }
    for (int k = 0; k < nSolutions; ++k)
        data->solution(k).setReading(iso, cps.at(k), cps.at(k) * rsd.at(k) / 100.0);
    return Status::success();
}

double QuadrupoleReader::readDeviation(const QStringRef &cell, bool *ok) const
{
    // Nearly always a single "%" at the end, which needs no copy to drop.
    const int percent = cell.indexOf(QLatin1Char('%'));
    if (percent == -1)
        return m_numbers.read(cell, ok);
    if (percent == cell.size() - 1)
        return m_numbers.read(cell.chopped(1), ok);
    return m_numbers.read(cell.toString().remove(QLatin1Char('%')), ok);
}
