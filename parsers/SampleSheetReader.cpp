#include "parsers/SampleSheetReader.h"

#include "model/Measurements.h"
#include "model/SampleSheet.h"
#include "parsers/DelimitedText.h"
#include "parsers/NumberReader.h"
#include "parsers/TextFile.h"

#include <QHash>
#include <QStringList>

#include <array>
#include <cmath>

namespace {

enum Column {
    SolutionColumn,
    DilutionColumn,
    MassColumn,
    VolumeColumn,
    RoleColumn,
    ParentColumn,
    SpikeColumn,
    COLUMN_COUNT
};
const char *const COLUMN_NAMES[COLUMN_COUNT]
    = { "solution", "dilution", "mass_g", "volume_ml", "role", "parent", "spike" };

// "a, b or c"
QString listed(const QStringList &words)
{
    return words.mid(0, words.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ")
        + words.last();
}

// The first of tab and semicolon that the header holds outside quoted cells,
// else a comma.
char separatorOf(const DelimitedText &header)
{
    for (const char candidate : { '\t', ';' }) {
        DelimitedText cells = header;
        cells.setSeparator(candidate);
        DelimitedText::Cell first;
        bool rowEnds = true;
        if (cells.read(&first, &rowEnds) == DelimitedText::Problem::None && !rowEnds)
            return candidate;
    }
    return ',';
}

// A damaged file can hold a cell of megabytes: the message shows its start.
QString quoted(const QString &cell)
{
    constexpr int shown = 40;
    return QLatin1Char('\'') + (cell.size() > shown ? cell.left(shown) + QChar(0x2026) : cell)
        + QLatin1Char('\'');
}

// One row's cells by column, trimmed; empty where the row is short.
struct Row
{
    int line = 0;
    std::array<QString, COLUMN_COUNT> cells;
};

class SheetParser
{
public:
    SheetParser(const QString &fileName, const Measurements &data) : m_name(fileName), m_data(data)
    { }

    Status parse(std::string_view body, SampleSheet *sheet);

private:
    QString where(int line, const QString &column) const
    {
        return QStringLiteral("Sample sheet %1, line %2, column %3: ")
            .arg(m_name)
            .arg(line)
            .arg(column);
    }
    Status refuse(int line, int column, const QString &what) const
    {
        return Status::failure(where(line, QLatin1String(COLUMN_NAMES[column])) + what);
    }
    Status refuseCell(
        const DelimitedText::Cell &cell, DelimitedText::Problem problem, int index) const;
    Status readHeader(DelimitedText *text);
    Status readCells(DelimitedText *text, Row *row, bool *blank) const;
    Status readNumber(const Row &row, int column, double *value) const;
    Status readRole(const Row &row, int solution, SampleSheet *sheet) const;
    Status readPreparation(const Row &row, int solution, SampleSheet *sheet) const;
    Status readRow(const Row &row, SampleSheet *sheet);

    QString m_name;
    const Measurements &m_data;
    char m_separator = ',';
    QVector<int> m_columns; // per header cell, its Column
    QHash<int, int> m_listed; // solution position, line that listed it
    NumberReader m_numbers { QString() };
};

// index: the cell's in its row, from 0.
Status SheetParser::refuseCell(
    const DelimitedText::Cell &cell, DelimitedText::Problem problem, int index) const
{
    const QString column = index < m_columns.size()
        ? QString::fromLatin1(COLUMN_NAMES[m_columns.at(index)])
        : QString::number(index + 1);
    return Status::failure(where(cell.line, column) + quoted(TextFile::decode(cell.written))
        + (problem == DelimitedText::Problem::QuoteNotClosed
                ? QStringLiteral(" opens a quote that is never closed.")
                : QStringLiteral(" has text after its closing quote.")));
}

Status SheetParser::readHeader(DelimitedText *text)
{
    const int line = text->line();
    m_separator = separatorOf(*text);
    text->setSeparator(m_separator);
    std::array<bool, COLUMN_COUNT> seen {};
    for (bool rowEnds = false; !rowEnds;) {
        DelimitedText::Cell cell;
        const DelimitedText::Problem problem = text->read(&cell, &rowEnds);
        if (problem != DelimitedText::Problem::None)
            return refuseCell(cell, problem, int(m_columns.size()));
        const QString name = cell.text.trimmed();
        int column = 0;
        while (column < COLUMN_COUNT
            && name.compare(QLatin1String(COLUMN_NAMES[column]), Qt::CaseInsensitive) != 0)
            ++column;
        if (column == COLUMN_COUNT) {
            QStringList names;
            for (const char *known : COLUMN_NAMES)
                names << QLatin1String(known);
            return Status::failure(where(line, name)
                + QStringLiteral("unknown column; the columns are %1.")
                      .arg(listed(names).replace(QStringLiteral(" or "), QStringLiteral(" and "))));
        }
        if (seen[column])
            return Status::failure(
                where(line, name) + QStringLiteral("the column is named twice."));
        seen[column] = true;
        m_columns.append(column);
    }
    if (!seen[SolutionColumn])
        return refuse(line, SolutionColumn, QStringLiteral("the header has no such column."));
    if (seen[MassColumn] != seen[VolumeColumn])
        return refuse(line, seen[MassColumn] ? VolumeColumn : MassColumn,
            QStringLiteral("the header has no such column, but a %1 column: give both mass_g "
                           "and volume_ml or neither.")
                .arg(QLatin1String(COLUMN_NAMES[seen[MassColumn] ? MassColumn : VolumeColumn])));
    return Status::success();
}

// A row's cells into their columns; blank when every cell is empty.
Status SheetParser::readCells(DelimitedText *text, Row *row, bool *blank) const
{
    row->line = text->line();
    *blank = true;
    bool rowEnds = false;
    for (int k = 0; !rowEnds; ++k) {
        DelimitedText::Cell cell;
        const DelimitedText::Problem problem = text->read(&cell, &rowEnds);
        if (problem != DelimitedText::Problem::None)
            return refuseCell(cell, problem, k);
        const int column = k < m_columns.size() ? m_columns.at(k) : -1;
        // Quotes keep the blanks around a name, as the data file may hold them.
        const bool name = column == SolutionColumn || column == ParentColumn;
        const QString value = cell.quoted && name ? cell.text : cell.text.trimmed();
        if (value.isEmpty())
            continue;
        *blank = false;
        if (column == -1)
            return Status::failure(where(row->line, QString::number(k + 1)) + quoted(value)
                + QStringLiteral(" is beyond the header's %1 columns.").arg(m_columns.size()));
        row->cells[column] = value;
    }
    return Status::success();
}

// An empty cell leaves value as it was.
Status SheetParser::readNumber(const Row &row, int column, double *value) const
{
    const QString &cell = row.cells[column];
    if (cell.isEmpty())
        return Status::success();
    bool ok = false;
    const double read = m_numbers.read(cell, &ok);
    if (!ok || !std::isfinite(read) || read <= 0.0)
        return refuse(
            row.line, column, quoted(cell) + QStringLiteral(" is not a number greater than 0."));
    *value = read;
    return Status::success();
}

Status SheetParser::readRow(const Row &row, SampleSheet *sheet)
{
    const QString &name = row.cells[SolutionColumn];
    const int solution = m_data.indexOfSolution(name);
    if (solution == -1)
        return refuse(row.line, SolutionColumn,
            quoted(name) + QStringLiteral(" is no solution of the data file."));
    if (m_listed.contains(solution))
        return refuse(row.line, SolutionColumn,
            quoted(name)
                + QStringLiteral(" is listed twice, first on line %1.")
                      .arg(m_listed.value(solution)));
    m_listed.insert(solution, row.line);

    double dilution = 1.0;
    double mass = 0.0;
    double volume = 0.0;
    for (const auto &number : { std::make_pair(DilutionColumn, &dilution),
             std::make_pair(MassColumn, &mass), std::make_pair(VolumeColumn, &volume) }) {
        Status read = readNumber(row, number.first, number.second);
        if (!read.ok())
            return read;
    }
    if ((mass == 0.0) != (volume == 0.0)) {
        const bool massGiven = mass != 0.0;
        return refuse(row.line, massGiven ? VolumeColumn : MassColumn,
            QStringLiteral("empty, but a %1 is given: give both mass_g and volume_ml or neither.")
                .arg(massGiven ? QStringLiteral("mass") : QStringLiteral("volume")));
    }
    if (mass == 0.0) {
        sheet->set(solution, dilution, SampleSheet::Unit::MicrogramsPerLitre, { dilution });
        return readRole(row, solution, sheet);
    }
    const double factor = dilution * volume / (1000.0 * mass);
    // Each number may be fine and their quotient still overflow or vanish.
    if (!std::isfinite(factor) || factor <= 0.0)
        return refuse(row.line, MassColumn,
            QStringLiteral("dilution x volume_ml / (1000 x mass_g) is no finite number above 0."));
    sheet->set(
        solution, factor, SampleSheet::Unit::MilligramsPerKilogram, { dilution, mass, volume });
    return readRole(row, solution, sheet);
}

Status SheetParser::readRole(const Row &row, int solution, SampleSheet *sheet) const
{
    const QString &cell = row.cells[RoleColumn];
    QcRole::Role role = QcRole::None;
    if (!QcRole::fromWord(cell, &role))
        return refuse(row.line, RoleColumn,
            quoted(cell) + QStringLiteral(" is no role: use %1.").arg(listed(QcRole::words())));
    const Solution &measured = m_data.solution(solution);
    if (!QcRole::suits(role, measured.type()))
        return refuse(row.line, RoleColumn,
            QStringLiteral("%1 cannot be %2: %2 is for %3.")
                .arg(quoted(measured.name()), QcRole::word(role), QcRole::suitable(role)));
    sheet->setRole(solution, role);
    return readPreparation(row, solution, sheet);
}

// After the role: which of parent and spike the role takes.
Status SheetParser::readPreparation(const Row &row, int solution, SampleSheet *sheet) const
{
    const QcRole::Role role = sheet->role(solution);
    const QString &parentName = row.cells[ParentColumn];
    const QString &spike = row.cells[SpikeColumn];
    if (!QcRole::hasParent(role) && !parentName.isEmpty())
        return refuse(row.line, ParentColumn,
            quoted(parentName)
                + QStringLiteral(" is given, but only DUP, MS and MSD have a parent."));
    if (QcRole::hasParent(role) && parentName.isEmpty())
        return refuse(row.line, ParentColumn,
            QStringLiteral("empty, but %1 needs one: the sample or QC solution it was prepared "
                           "from.")
                .arg(QcRole::word(role)));
    const int parent = parentName.isEmpty() ? -1 : m_data.indexOfSolution(parentName);
    if (!parentName.isEmpty() && parent == -1)
        return refuse(row.line, ParentColumn,
            quoted(parentName) + QStringLiteral(" is no solution of the data file."));
    if (parent == solution)
        return refuse(row.line, ParentColumn,
            quoted(parentName)
                + QStringLiteral(" is the solution itself: name the one it was prepared from."));
    const Solution::Type type = parent == -1 ? Solution::Sample : m_data.solution(parent).type();
    if (type != Solution::Sample && type != Solution::QualityControl)
        return refuse(row.line, ParentColumn,
            quoted(parentName)
                + QStringLiteral(" cannot be a parent: a parent is a sample or a QC solution."));
    if (!QcRole::isSpiked(role) && !spike.isEmpty())
        return refuse(row.line, SpikeColumn,
            quoted(spike) + QStringLiteral(" is given, but only MS and MSD have a spike."));
    if (QcRole::isSpiked(role) && spike.isEmpty())
        return refuse(row.line, SpikeColumn,
            QStringLiteral("empty, but %1 needs one: the standards file's column of the spike.")
                .arg(QcRole::word(role)));
    sheet->setPreparation(solution, parent, spike);
    return Status::success();
}

Status SheetParser::parse(std::string_view body, SampleSheet *sheet)
{
    DelimitedText text(body, ',');
    while (!text.atEnd() && TextFile::decode(text.restOfLine()).trimmed().isEmpty())
        text.skipLine();
    if (text.atEnd())
        return refuse(1, SolutionColumn, QStringLiteral("the file has no header."));
    Status status = readHeader(&text);
    while (status.ok() && !text.atEnd()) {
        Row row;
        bool blank = false;
        status = readCells(&text, &row, &blank);
        // Spreadsheets save emptied rows as bare separators.
        if (status.ok() && !blank)
            status = readRow(row, sheet);
    }
    return status;
}

} // namespace

Status SampleSheetReader::read(
    QIODevice *file, const QString &fileName, const Measurements &data, SampleSheet *sheet)
{
    // Whole: a sheet of millions of blank lines costs no more than its bytes.
    const TextFile text(file, TextFile::Lines::Whole);
    if (!text.isText())
        return Status::failure(QStringLiteral("Sample sheet %1 holds no text.").arg(fileName));
    SampleSheet read(data.solutionCount());
    SheetParser parser(fileName, data);
    Status parsed = parser.parse(text.body(), &read);
    if (parsed.ok())
        *sheet = read;
    return parsed;
}
