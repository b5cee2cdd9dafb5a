#include "display/SolutionTableModel.h"

#include "model/Calibration.h"
#include "model/ExpectedConcentrations.h"
#include "model/Measurements.h"
#include "model/Results.h"

namespace {

const int COLUMNS = 5;

// Isotope, intensity and its RSD of one row.
QStringList intensities(const Measurements &data, int solution, int isotope)
{
    const Solution &values = data.solution(solution);
    return { data.isotope(isotope).name(), QString::number(values.intensity(isotope), 'f', 2),
        QString::number(values.intensityRSD(isotope), 'f', 2) };
}

// Exactly 0.0 is no value: both cells stay empty.
QStringList concentration(double value, double rsd)
{
    if (value == 0.0)
        return { QString(), QString() };
    return { QString::number(value, 'g', 6), QString::number(rsd, 'f', 2) };
}

} // namespace

SolutionTableModel::SolutionTableModel(QObject *parent) : QAbstractTableModel(parent) { }

void SolutionTableModel::clear()
{
    setRows({});
}

void SolutionTableModel::showInput(
    const Measurements &data, const ExpectedConcentrations &expected, int solution)
{
    QVector<QStringList> rows;
    rows.reserve(data.isotopeCount());
    for (int i = 0; i < data.isotopeCount(); ++i)
        rows.append(intensities(data, solution, i)
            + concentration(expected.value(solution, i), expected.error(solution, i)));
    setRows(rows);
}

void SolutionTableModel::showOutput(const Measurements &working, const Results *results,
    const Calibration *calibration, int solution)
{
    QVector<QStringList> rows;
    rows.reserve(working.isotopeCount());
    for (int i = 0; i < working.isotopeCount(); ++i) {
        QStringList row = intensities(working, solution, i);
        const double c = results ? results->concentration(solution, i) : 0.0;
        if (c != 0.0 && calibration->lines.at(i).loq > c)
            row << QStringLiteral("<LOQ") << QString();
        else
            row << concentration(c, results ? results->rsd(solution, i) : 0.0);
        rows.append(row);
    }
    setRows(rows);
}

void SolutionTableModel::setRows(const QVector<QStringList> &rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

int SolutionTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SolutionTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : COLUMNS;
}

QVariant SolutionTableModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return m_rows.at(index.row()).value(index.column());
}

QVariant SolutionTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const HEADERS[COLUMNS] = { "Element", "Intensity (cps)", "Intensity RSD (%)",
        "Concentration (ppb)", "Concentration RSD (%)" };
    return QString::fromLatin1(HEADERS[section]);
}
