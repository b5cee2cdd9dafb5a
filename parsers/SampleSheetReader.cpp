#include "parsers/SampleSheetReader.h"

#include "model/Measurements.h"
#include "model/SampleSheet.h"
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

QChar separatorOf(const QString &header)
{
    for (const QChar candidate : { QLatin1Char('\t'), QLatin1Char(';') }) {
        if (header.contains(candidate))
            return candidate;
    }
    return QLatin1Char(',');
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

    Status parse(const QStringList &lines, SampleSheet *sheet);

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
    Status readHeader(const QString &header, int line);
    Status split(const QString &text, int line, Row *row) const;
    Status readNumber(const Row &row, int column, double *value) const;
    Status readRole(const Row &row, int solution, SampleSheet *sheet) const;
    Status readPreparation(const Row &row, int solution, SampleSheet *sheet) const;
    Status readRow(const Row &row, SampleSheet *sheet);

    QString m_name;
    const Measurements &m_data;
    QChar m_separator;
    QVector<int> m_columns; // per header cell, its Column
    QHash<int, int> m_listed; // solution position, line that listed it
    NumberReader m_numbers { QString() };
};

Status SheetParser::readHeader(const QString &header, int line)
{
    m_separator = separatorOf(header);
    std::array<bool, COLUMN_COUNT> seen {};
    for (const QString &cell : header.split(m_separator)) {
        const QString name = cell.trimmed();
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
    return Status::success();
}

Status SheetParser::split(const QString &text, int line, Row *row) const
{
    row->line = line;
    const QStringList cells = text.split(m_separator);
    for (int k = 0; k < cells.size(); ++k) {
        const QString cell = cells.at(k).trimmed();
        if (k < m_columns.size())
            row->cells[m_columns.at(k)] = cell;
        else if (!cell.isEmpty())
            return Status::failure(where(line, QString::number(k + 1)) + quoted(cell)
                + QStringLiteral(" is beyond the header's %1 columns.").arg(m_columns.size()));
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

Status SheetParser::parse(const QStringList &lines, SampleSheet *sheet)
{
    int header = 0;
    while (header < lines.size() && lines.at(header).trimmed().isEmpty())
        ++header;
    if (header == lines.size())
        return refuse(1, SolutionColumn, QStringLiteral("the file has no header."));
    Status status = readHeader(lines.at(header), header + 1);
    for (int k = header + 1; status.ok() && k < lines.size(); ++k) {
        // Spreadsheets save emptied rows as bare separators.
        if (QString(lines.at(k)).remove(m_separator).trimmed().isEmpty())
            continue;
        Row row;
        status = split(lines.at(k), k + 1, &row);
        if (status.ok())
            status = readRow(row, sheet);
    }
    return status;
}

} // namespace

Status SampleSheetReader::read(
    QIODevice *file, const QString &fileName, const Measurements &data, SampleSheet *sheet)
{
    const TextFile text(file);
    if (!text.isText())
        return Status::failure(QStringLiteral("Sample sheet %1 holds no text.").arg(fileName));
    SampleSheet read(data.solutionCount());
    SheetParser parser(fileName, data);
    Status parsed = parser.parse(text.lines(), &read);
    if (parsed.ok())
        *sheet = read;
    return parsed;
}
