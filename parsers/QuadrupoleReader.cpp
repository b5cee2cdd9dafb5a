#include "parsers/QuadrupoleReader.h"

#include "model/Measurements.h"
#include "parsers/ExportCells.h"
#include "parsers/TextFile.h"

#include <QRegularExpression>
#include <QVector>

#include <string>
#include <vector>

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

// Whether the line holds "[A-Z][a-z]? / \d{1,3} \[#\d\];" anywhere, as the
// regular expression finds it (ASCII classes), without making text of the line.
bool isIsotopeLine(std::string_view line)
{
    for (size_t q = line.find("[#"); q != std::string_view::npos; q = line.find("[#", q + 1)) {
        const std::string_view tail = line.substr(q + 2, 3);
        if (tail.size() < 3 || !ExportCells::isDigit(tail[0]) || tail.substr(1) != "];" || q == 0
            || line[q - 1] != ' ')
            continue;
        // All the digits before the blank, one to three, then " / " and a letter or two.
        size_t digits = 0;
        while (digits < 4 && digits + 1 < q && ExportCells::isDigit(line[q - 2 - digits]))
            ++digits;
        if (digits == 0 || digits == 4 || q < digits + 5)
            continue;
        const size_t r = q - 2 - digits; // the blank after "/"
        if (line.substr(r - 2, 3) != " / ")
            continue;
        const size_t t = r - 3;
        const bool lower = line[t] >= 'a' && line[t] <= 'z';
        if (ExportCells::isUpper(line[t]) || (lower && t > 0 && ExportCells::isUpper(line[t - 1])))
            return true;
    }
    return false;
}

// The RSD cell without its "%", given to read. Nearly always a single "%" at
// the end, which needs no copy to drop.
template<typename Read> auto withoutPercent(std::string_view cell, Read read)
{
    const size_t percent = cell.find('%');
    if (percent == std::string_view::npos)
        return read(cell);
    if (percent == cell.size() - 1)
        return read(cell.substr(0, percent));
    std::string kept;
    for (const char c : cell) {
        if (c != '%')
            kept += c;
    }
    return read(std::string_view(kept));
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
    const int lineCount = text.lineCount();

    int sampleRow = 0;
    while (sampleRow < lineCount
        && (text.line(sampleRow).substr(0, 7) != "Sample:" || text.holdsLoneSurrogate(sampleRow)))
        ++sampleRow;
    QStringList names;
    if (sampleRow < lineCount) {
        names = text.lineText(sampleRow).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        names.removeFirst();
    }

    // Isotope lines before the sample line have no slot in the solutions: skipped.
    QVector<int> isotopeRows;
    for (int row = sampleRow + 1; row < lineCount; ++row) {
        // As the regular expression, which finds nothing in broken UTF-16.
        if (isIsotopeLine(text.line(row)) && !text.holdsLoneSurrogate(row))
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
        Status line = readLine(text.line(row), row + 1, names, data);
        if (!line.ok())
            return line;
    }
    return Status::success(summary(nIsotopes, nSolutions));
}

Status QuadrupoleReader::readLine(
    std::string_view line, int lineNumber, const QStringList &names, Measurements *data) const
{
    const int nSolutions = names.size();
    ExportCells cells(line);
    std::string_view cell;
    cells.next(&cell);
    const int iso = data->addIsotope(isotopeOf(TextFile::decode(cell)), lineNumber);
    const QString isoName = data->isotope(iso).name();

    // Intensity and RSD of each solution in turn, parsed where they lie. A cell
    // that needs the number conventions waits until the count is known, and
    // is then read in its turn: a line refused switches no convention.
    std::vector<double> values(size_t(2 * nSolutions));
    std::vector<std::pair<int, std::string_view>> later;
    int count = 0;
    double value = 0.0;
    bool plain = false;
    while (cells.next(&cell, count % 2 == 1, &value, &plain)) {
        // Same test as searching "(\d+(.\d+)?)|(<###> )|(\d+(.\d+)?%)": every
        // branch but the tag needs one ASCII digit and nothing more.
        if (!plain && !containsDigit(cell)
            && cell.find(m_numbers.notDefinedUtf8()) == std::string_view::npos) {
            // A cell past the last pair is blamed on the last solution.
            const int owner = qMin(count / 2, nSolutions - 1);
            return Status::failure(
                QStringLiteral("Input file format error: unrecognized pulse or rsd value for "
                               "element '")
                + isoName + QStringLiteral("' in solution ' ") + names.at(owner)
                + QStringLiteral("' (instrument set for '") + ICP_MS_NAME + QStringLiteral("')"));
        }
        if (count < 2 * nSolutions) {
            if (plain)
                values[size_t(count)] = value;
            else if (!readAtOnce(cell, count % 2 == 1, &values[size_t(count)]))
                later.emplace_back(count, cell);
        }
        ++count;
    }
    if (count != 2 * nSolutions)
        return Status::failure(countMismatch(isoName, ICP_MS_NAME));

    // The whole line is read before any value is stored, so a rejected line
    // leaves its isotope at zero like every other rejected line.
    for (const auto &[k, text] : later) {
        bool ok = false;
        values[size_t(k)] = k % 2 == 0 ? m_numbers.read(text, &ok) : readDeviation(text, &ok);
        if (!ok)
            return Status::failure(NumberReader::numberError(lineNumber, TextFile::decode(text)));
    }
    for (int k = 0; k < nSolutions; ++k) {
        const double cps = values[2 * size_t(k)];
        data->solution(k).setReading(iso, cps, cps * values[2 * size_t(k) + 1] / 100.0);
    }
    return Status::success();
}

bool QuadrupoleReader::readAtOnce(std::string_view cell, bool deviation, double *value) const
{
    if (!deviation)
        return m_numbers.readAtOnce(cell, value);
    return withoutPercent(cell,
        [this, value](std::string_view number) { return m_numbers.readAtOnce(number, value); });
}

double QuadrupoleReader::readDeviation(std::string_view cell, bool *ok) const
{
    return withoutPercent(
        cell, [this, ok](std::string_view number) { return m_numbers.read(number, ok); });
}
