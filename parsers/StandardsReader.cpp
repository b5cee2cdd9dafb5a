#include "parsers/StandardsReader.h"

#include "model/ExpectedConcentrations.h"
#include "model/Measurements.h"
#include "model/SampleSheet.h"
#include "parsers/NumberReader.h"
#include "parsers/TextFile.h"

#include <QHash>
#include <QRegularExpression>
#include <QVector>

// A header cell is pattern text typed by the user. The match limit keeps a
// pattern such as "(a+)+" from backtracking for seconds on every solution; a
// match cut off by the limit counts as no match.
static QRegularExpression headerPattern(const QString &header)
{
    QRegularExpression pattern(
        QStringLiteral("(*LIMIT_MATCH=100000)^") + header + QStringLiteral("(_?\\d+)?$"));
    pattern.optimize();
    return pattern;
}

// Almost every header is a plain name, and a header line can be very wide:
// plain names are compared as text, and each other header is compiled once.
class HeaderColumns
{
public:
    explicit HeaderColumns(const QStringList &headers) : headers(headers)
    {
        const QRegularExpression special(QStringLiteral("[\\\\^$.|?*+()\\[\\]{}]"));
        QHash<QString, int> compiled;
        patternOf.reserve(headers.size());
        for (const QString &header : headers) {
            if (!header.contains(special)) {
                patternOf.append(-1);
                continue;
            }
            auto known = compiled.constFind(header);
            if (known == compiled.constEnd()) {
                known = compiled.insert(header, patterns.size());
                patterns.append(headerPattern(header));
            }
            patternOf.append(known.value());
        }
    }

    // The rightmost header that names the solution, or -1.
    int columnOf(const QString &name) const
    {
        for (int j = headers.size() - 1; j >= 0; --j) {
            if (matches(j, name))
                return j;
        }
        return -1;
    }

private:
    bool matches(int j, const QString &name) const
    {
        if (patternOf.at(j) >= 0) {
            const QRegularExpression &pattern = patterns.at(patternOf.at(j));
            return pattern.isValid() && pattern.match(name).hasMatch();
        }
        // The plain name, alone or followed by a replicate number.
        return Solution::isReplicate(name, headers.at(j));
    }

    QStringList headers;
    QVector<int> patternOf;
    QVector<QRegularExpression> patterns;
};

namespace {

// The row of each isotope's element, split into cells, and its line (0-based;
// -1 when the file has none).
struct ElementRows
{
    QVector<QStringList> cells;
    QVector<int> lines;
};

// A row serves an isotope when its first cell is the isotope's element name,
// whatever else the line holds: quadrupole names such as "Fe #2" end in a
// digit. The first row of an element wins.
ElementRows elementRows(const QStringList &lines, const Measurements &data)
{
    QHash<QString, int> firstRow;
    for (int row = 1; row < lines.size(); ++row) {
        const QString name = lines.at(row).section(QLatin1Char(';'), 0, 0);
        if (!firstRow.contains(name))
            firstRow.insert(name, row);
    }
    const int isotopeCount = data.isotopeCount();
    ElementRows rows { QVector<QStringList>(isotopeCount), QVector<int>(isotopeCount, -1) };
    for (int i = 0; i < isotopeCount; ++i) {
        const int row = firstRow.value(data.isotope(i).element(), -1);
        if (row < 0)
            continue;
        rows.cells[i] = lines.at(row).split(QLatin1Char(';'));
        rows.lines[i] = row;
    }
    return rows;
}

// The number in a column of an isotope's row; an empty cell or one beyond
// the row reads as 0.
Status readCell(const ElementRows &rows, int isotope, int column, double *value)
{
    const NumberReader numbers { QString() };
    const QString cell = rows.cells.at(isotope).value(column);
    bool ok = false;
    *value = numbers.read(cell, &ok);
    return ok ? Status::success()
              : Status::failure(NumberReader::numberError(rows.lines.at(isotope) + 1, cell));
}

// One solution's values and errors from its column.
Status readColumn(const ElementRows &rows, int column, int solution, ExpectedConcentrations *read)
{
    for (int i = 0; i < rows.lines.size(); ++i) {
        if (rows.lines.at(i) < 0)
            continue;
        double value = 0.0;
        double error = 0.0;
        Status cell = readCell(rows, i, column, &value);
        if (cell.ok())
            cell = readCell(rows, i, column + 1, &error);
        if (!cell.ok())
            return cell;
        read->set(solution, i, value, error);
    }
    return Status::success();
}

} // namespace

Status StandardsReader::read(
    QIODevice *file, const Measurements &data, ExpectedConcentrations *expected)
{
    const TextFile text(file);
    if (!text.isText())
        return Status::failure(
            QStringLiteral("Input file format error: the standards file holds no text"));
    const QStringList &lines = text.lines();

    const HeaderColumns columns(
        lines.isEmpty() ? QStringList(QString()) : lines.first().split(QLatin1Char(';')));
    const ElementRows rows = elementRows(lines, data);
    ExpectedConcentrations read(data.solutionCount(), data.isotopeCount());
    for (int s = 0; s < data.solutionCount(); ++s) {
        const Solution &solution = data.solution(s);
        if (solution.type() != Solution::Standard && solution.type() != Solution::QualityControl)
            continue;
        // Replicates share the rightmost header that names their family.
        const int column = columns.columnOf(solution.name());
        if (column < 0)
            return Status::failure(
                QStringLiteral("Solution ") + solution.name() + QStringLiteral(" Not found"));
        Status values = readColumn(rows, column, s, &read);
        if (!values.ok())
            return values;
    }
    *expected = read;
    return Status::success(QStringLiteral("Concentrations Introduced"));
}

Status StandardsReader::readSpikes(QIODevice *file, const Measurements &data,
    const SampleSheet &sheet, const QString &sheetFileName, ExpectedConcentrations *expected)
{
    bool spiked = false;
    for (int s = 0; s < data.solutionCount(); ++s)
        spiked = spiked || !sheet.spike(s).isEmpty();
    if (!spiked)
        return Status::success();
    const TextFile text(file);
    const QStringList &lines = text.lines();
    QStringList headers = lines.isEmpty() ? QStringList() : lines.first().split(QLatin1Char(';'));
    for (QString &header : headers)
        header = header.trimmed();
    const ElementRows rows = elementRows(lines, data);
    ExpectedConcentrations read = *expected;
    for (int s = 0; s < data.solutionCount(); ++s) {
        const QString spike = sheet.spike(s);
        if (spike.isEmpty())
            continue;
        // Matched as typed, unlike a solution's pattern; the last of two wins.
        const int column = int(headers.lastIndexOf(spike));
        if (column < 0)
            return Status::failure(
                QStringLiteral("no column '%1', which sample sheet %2 gives as the spike of %3.")
                    .arg(spike, sheetFileName, data.solution(s).name()));
        QVector<double> spikes(data.isotopeCount(), 0.0);
        for (int i = 0; i < rows.lines.size(); ++i) {
            Status cell
                = rows.lines.at(i) < 0 ? Status::success() : readCell(rows, i, column, &spikes[i]);
            if (!cell.ok())
                return cell;
        }
        read.setSpikes(s, spikes);
    }
    *expected = read;
    return Status::success();
}
