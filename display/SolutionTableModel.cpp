#include "display/SolutionTableModel.h"

#include "model/Calibration.h"
#include "model/ExpectedConcentrations.h"
#include "model/Measurements.h"
#include "model/ReportedResults.h"
#include "model/Results.h"

#include <QColor>

#include <cmath>

namespace {

const int INPUT_COLUMNS = 5;
const int OUTPUT_COLUMNS = 8;
const int REPORTED_COLUMN = 5;

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

// What stands for a value hidden below the LOQ: its qualifier, the first
// that applies (<LOD, <LOQ, or one that comes before them).
QString hiddenBelow(const ReportedResults *reported, int solution, int isotope)
{
    const QString qualifier = reported && solution < reported->solutionCount()
        ? ReportedResults::qualifierText(reported->at(solution, isotope).qualifier)
        : QString();
    return qualifier.isEmpty() ? QStringLiteral("<LOQ") : qualifier;
}

} // namespace

// The value for the sample given, its unit and its qualifier.
QStringList reportedCells(const ReportedResults &reported, int solution, int isotope)
{
    const ReportedResults::Value &value = reported.at(solution, isotope);
    return { std::isfinite(value.value) ? QString::number(value.value, 'g', 6) : QString(),
        SampleSheet::unitName(reported.unit(solution)),
        ReportedResults::qualifierText(value.qualifier) };
}

SolutionTableModel::SolutionTableModel(QObject *parent)
    : QAbstractTableModel(parent), m_columns(INPUT_COLUMNS)
{ }

void SolutionTableModel::clear()
{
    setRows({}, m_columns);
}

void SolutionTableModel::showInput(
    const Measurements &data, const ExpectedConcentrations &expected, int solution)
{
    QVector<QStringList> rows;
    rows.reserve(data.isotopeCount());
    for (int i = 0; i < data.isotopeCount(); ++i)
        rows.append(intensities(data, solution, i)
            + concentration(expected.value(solution, i), expected.error(solution, i)));
    setRows(rows, INPUT_COLUMNS);
}

void SolutionTableModel::showOutput(const Measurements &working, const Results *results,
    const Calibration *calibration, const ReportedResults *reported, int solution)
{
    QVector<QStringList> rows;
    QVector<bool> marked(working.isotopeCount(), false);
    rows.reserve(working.isotopeCount());
    for (int i = 0; i < working.isotopeCount(); ++i) {
        QStringList row = intensities(working, solution, i);
        const double c = results ? results->concentration(solution, i) : 0.0;
        // Hidden below the LOQ as in the results file, under the one qualifier
        // the value has everywhere in the window.
        if (c != 0.0 && calibration->lines.at(i).loq > c)
            row << hiddenBelow(reported, solution, i) << QString();
        else
            row << concentration(c, results ? results->rsd(solution, i) : 0.0);
        if (reported && solution < reported->solutionCount()) {
            row << reportedCells(*reported, solution, i);
            marked[i] = reported->at(solution, i).qualifier != ReportedResults::Qualifier::None;
        }
        rows.append(row);
    }
    setRows(rows, OUTPUT_COLUMNS, marked);
}

void SolutionTableModel::setRows(
    const QVector<QStringList> &rows, int columns, const QVector<bool> &marked)
{
    beginResetModel();
    m_rows = rows;
    m_columns = columns;
    m_marked = marked;
    endResetModel();
}

int SolutionTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SolutionTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant SolutionTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    // A qualified value must not pass for a plain one at a glance.
    if (role == Qt::BackgroundRole && index.column() >= REPORTED_COLUMN
        && m_marked.value(index.row()))
        return QColor(255, 214, 153);
    if (role != Qt::DisplayRole)
        return {};
    return m_rows.at(index.row()).value(index.column());
}

QVariant SolutionTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const HEADERS[OUTPUT_COLUMNS]
        = { "Element", "Intensity (cps)", "Intensity RSD (%)", "Concentration (ppb)",
              "Concentration RSD (%)", "Reported", "Unit", "Qualifier" };
    return QString::fromLatin1(HEADERS[section]);
}
