#include "parsers/HighResolutionReader.h"

#include "model/Measurements.h"
#include "parsers/TextFile.h"

#include <QRegularExpression>
#include <QVector>

const QString HighResolutionReader::ICP_MS_NAME = QStringLiteral("HR-ICP-MS");
const QString HighResolutionReader::NOT_DEFINED_TAG = QStringLiteral("not def.");

static Isotope::Resolution resolution(const QString &text)
{
    if (text == QLatin1String("HR"))
        return Isotope::HR;
    if (text == QLatin1String("MR"))
        return Isotope::MR;
    return Isotope::LR;
}

namespace {

// The element symbol, the mass and the resolution from a cell like "Fe56(MR)".
Isotope isotopeOf(const QString &label)
{
    static const QRegularExpression symbolPattern(QStringLiteral("[A-Z][a-z]?"));
    static const QRegularExpression massPattern(QStringLiteral("\\d{1,3}"));
    static const QRegularExpression resolutionPattern(QStringLiteral("(LR|MR|HR)"));
    const QRegularExpressionMatch massMatch = massPattern.match(label);
    return Isotope(symbolPattern.match(label).captured(),
        massMatch.hasMatch() ? massMatch.captured().toInt() : 0,
        resolution(resolutionPattern.match(label).captured()));
}

} // namespace

Status HighResolutionReader::read(QIODevice *file, Measurements *data) const
{
    const QString noIsotope = formatError(QStringLiteral("no element detected"), ICP_MS_NAME);

    data->clear();
    const TextFile text(file);
    if (!text.isText())
        return Status::failure(noIsotope);
    const QStringList &lines = text.lines();

    // The first line counts too: when it looks like an isotope line it still
    // names the solutions, which then get one slot more than isotopes read.
    const QRegularExpression isotopeLine(QStringLiteral("[A-Z][a-z]?\\d{1,3}\\((LR|MR|HR)\\);"));
    QVector<int> isotopeRows;
    for (int row = 0; row < lines.size(); ++row) {
        if (isotopeLine.match(lines.at(row)).hasMatch())
            isotopeRows.append(row);
    }
    const int nIsotopes = isotopeRows.size();
    if (nIsotopes == 0)
        return Status::failure(noIsotope);

    const QStringList names = lines.first().split(QLatin1Char(';'), Qt::SkipEmptyParts);
    const int nSolutions = names.size();
    if (nSolutions == 0)
        return Status::failure(formatError(QStringLiteral("no solution detected"), ICP_MS_NAME));
    for (const QString &name : names)
        data->addSolution(Solution(name, classify(name), nIsotopes));

    int parsedSolutions = 0;
    for (const int row : qAsConst(isotopeRows)) {
        if (row == 0)
            continue;
        Status line = readLine(lines.at(row), row + 1, nSolutions, data);
        if (!line.ok())
            return line;
        parsedSolutions = nSolutions;
    }

    return Status::success(summary(nIsotopes, parsedSolutions));
}

Status HighResolutionReader::readLine(
    const QString &line, int lineNumber, int nSolutions, Measurements *data) const
{
    const QVector<QStringRef> cells = line.splitRef(QLatin1Char(';'), Qt::SkipEmptyParts);
    const int iso = data->addIsotope(isotopeOf(cells.first().toString()), lineNumber);

    QVector<QStringRef> values;
    values.reserve(cells.size() - 1);
    for (int c = 1; c < cells.size(); ++c) {
        // Same test as searching "(\d+(.\d+)?)|(not def.)": an ASCII digit, or
        // "not def" followed by any character (cells never hold a line break).
        const QStringRef &cell = cells.at(c);
        if (containsDigit(cell) || cell.left(cell.size() - 1).contains(QLatin1String("not def")))
            values.append(cell);
    }
    if (values.size() != 2 * nSolutions)
        return Status::failure(countMismatch(data->isotope(iso).name(), ICP_MS_NAME));

    // The whole line is read before any value is stored, so a rejected line
    // leaves its isotope at zero like every other rejected line.
    QVector<double> cps(nSolutions);
    QVector<double> rsd(nSolutions);
    for (int k = 0; k < 2 * nSolutions; ++k) {
        bool ok = false;
        (k % 2 == 0 ? cps[k / 2] : rsd[k / 2]) = m_numbers.read(values.at(k), &ok);
        if (!ok)
            return Status::failure(NumberReader::numberError(lineNumber, values.at(k).toString()));
    }
    for (int k = 0; k < nSolutions; ++k)
        data->solution(k).setReading(iso, cps.at(k), rsd.at(k) * cps.at(k) / 100.0);
    return Status::success();
}
