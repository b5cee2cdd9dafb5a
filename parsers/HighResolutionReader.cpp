#include "parsers/HighResolutionReader.h"

#include "model/Measurements.h"
#include "parsers/ExportCells.h"
#include "parsers/TextFile.h"

#include <QRegularExpression>
#include <QVector>

#include <vector>

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

// Whether the line holds "[A-Z][a-z]?\d{1,3}\((LR|MR|HR)\);" anywhere, as the
// regular expression finds it (ASCII classes), without making text of the line.
bool isIsotopeLine(std::string_view line)
{
    for (size_t q = line.find('('); q != std::string_view::npos; q = line.find('(', q + 1)) {
        const std::string_view tail = line.substr(q + 1, 4);
        if (tail.size() < 4 || (tail[0] != 'L' && tail[0] != 'M' && tail[0] != 'H')
            || tail.substr(1) != "R);")
            continue;
        // All the digits before the bracket, one to three, then a letter or two.
        size_t digits = 0;
        while (digits < 4 && digits < q && ExportCells::isDigit(line[q - 1 - digits]))
            ++digits;
        if (digits == 0 || digits == 4 || digits == q)
            continue;
        const size_t r = q - 1 - digits;
        const bool lower = line[r] >= 'a' && line[r] <= 'z';
        if (ExportCells::isUpper(line[r]) || (lower && r > 0 && ExportCells::isUpper(line[r - 1])))
            return true;
    }
    return false;
}

} // namespace

Status HighResolutionReader::read(QIODevice *file, Measurements *data) const
{
    const QString noIsotope = formatError(QStringLiteral("no element detected"), ICP_MS_NAME);

    data->clear();
    const TextFile text(file);
    if (!text.isText())
        return Status::failure(noIsotope);

    // The first line counts too: when it looks like an isotope line it still
    // names the solutions, which then get one slot more than isotopes read.
    QVector<int> isotopeRows;
    for (int row = 0; row < text.lineCount(); ++row) {
        // As the regular expression, which finds nothing in broken UTF-16.
        if (isIsotopeLine(text.line(row)) && !text.holdsLoneSurrogate(row))
            isotopeRows.append(row);
    }
    const int nIsotopes = isotopeRows.size();
    if (nIsotopes == 0)
        return Status::failure(noIsotope);

    const QStringList names = text.lineText(0).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    const int nSolutions = names.size();
    if (nSolutions == 0)
        return Status::failure(formatError(QStringLiteral("no solution detected"), ICP_MS_NAME));
    for (const QString &name : names)
        data->addSolution(Solution(name, classify(name), nIsotopes));

    int parsedSolutions = 0;
    for (const int row : qAsConst(isotopeRows)) {
        if (row == 0)
            continue;
        Status line = readLine(text.line(row), row + 1, nSolutions, data);
        if (!line.ok())
            return line;
        parsedSolutions = nSolutions;
    }

    return Status::success(summary(nIsotopes, parsedSolutions));
}

Status HighResolutionReader::readLine(
    std::string_view line, int lineNumber, int nSolutions, Measurements *data) const
{
    ExportCells cells(line);
    std::string_view cell;
    cells.next(&cell);
    const int iso = data->addIsotope(isotopeOf(TextFile::decode(cell)), lineNumber);

    // Intensity and RSD of each solution in turn, parsed where they lie. A cell
    // that needs the number conventions waits until the count is known, and
    // is then read in its turn: a line refused switches no convention.
    std::vector<double> values(size_t(2 * nSolutions));
    std::vector<std::pair<int, std::string_view>> later;
    int count = 0;
    double value = 0.0;
    bool plain = false;
    while (cells.next(&cell, false, &value, &plain)) {
        // Same test as searching "(\d+(.\d+)?)|(not def.)": an ASCII digit, or
        // "not def" followed by any character (cells never hold a line break).
        if (!plain && !containsDigit(cell)
            && cell.substr(0, cell.size() - 1).find("not def") == std::string_view::npos)
            continue;
        if (count < 2 * nSolutions) {
            if (plain)
                values[size_t(count)] = value;
            else if (!m_numbers.readAtOnce(cell, &values[size_t(count)]))
                later.emplace_back(count, cell);
        }
        ++count;
    }
    if (count != 2 * nSolutions)
        return Status::failure(countMismatch(data->isotope(iso).name(), ICP_MS_NAME));

    // The whole line is read before any value is stored, so a rejected line
    // leaves its isotope at zero like every other rejected line.
    for (const auto &[k, text] : later) {
        bool ok = false;
        values[size_t(k)] = m_numbers.read(text, &ok);
        if (!ok)
            return Status::failure(NumberReader::numberError(lineNumber, TextFile::decode(text)));
    }
    for (int k = 0; k < nSolutions; ++k) {
        const double intensity = values[2 * size_t(k)];
        const double rsd = values[2 * size_t(k) + 1];
        data->solution(k).setReading(iso, intensity, rsd * intensity / 100.0);
    }
    return Status::success();
}
