#include "display/ResultsMatrixModel.h"

#include "model/Solution.h"
#include "parsers/NumberFormat.h"

#include <QColor>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

const QColor EMPTY_TEXT(128, 128, 128);

// A tab or a line break inside a cell would split it in the spreadsheet.
QString plain(QString text)
{
    for (QChar &c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    }
    return text;
}

} // namespace

ResultsMatrixModel::ResultsMatrixModel(QObject *parent) : QAbstractTableModel(parent) { }

void ResultsMatrixModel::setMatrix(const ResultsMatrix &matrix)
{
    beginResetModel();
    m_matrix = matrix;
    endResetModel();
}

int ResultsMatrixModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_matrix.rowCount();
}

int ResultsMatrixModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_matrix.columnCount();
}

QVariant ResultsMatrixModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row();
    const int isotope = m_matrix.isotopeAt(index.column());
    if (isotope != -1)
        return valueData(row, isotope, role);
    const Solution &solution = m_matrix.solution(row);
    switch (role) {
    case Qt::DisplayRole:
    case SortRole:
        return index.column() == 0 ? solution.name() : m_matrix.unit(row);
    case TypeRole:
        return int(solution.type());
    case Qt::ToolTipRole:
        return index.column() == 0 ? QStringLiteral("%1, %2 %3 of the run")
                                         .arg(solution.name(), Solution::typeWord(solution.type()))
                                         .arg(row + 1)
                                   : QVariant();
    default:
        return {};
    }
}

QVariant ResultsMatrixModel::valueData(int row, int isotope, int role) const
{
    const double value = m_matrix.value(row, isotope);
    const bool shown = std::isfinite(value);
    const ResultsMatrix::Qualifier qualifier = m_matrix.qualifier(row, isotope);
    switch (role) {
    case Qt::DisplayRole:
        return shown ? NumberFormat::text(value) : ReportedResults::qualifierText(qualifier);
    case SortRole:
        return shown ? QVariant(value) : QVariant(ReportedResults::qualifierText(qualifier));
    case NumberRole:
        return shown ? QVariant(value) : QVariant();
    case TypeRole:
        return int(m_matrix.solution(row).type());
    case Qt::TextAlignmentRole:
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        return shown ? QVariant() : QVariant(EMPTY_TEXT);
    case Qt::BackgroundRole: {
        const int colour = ResultsMatrix::colour(qualifier);
        return shown && colour != -1 ? QVariant(QColor(QRgb(colour))) : QVariant();
    }
    case Qt::ToolTipRole:
        return toolTip(row, isotope);
    default:
        return {};
    }
}

// The cell's solution and isotope, its value with SD, its qualifier and the
// limits it was held to.
QString ResultsMatrixModel::toolTip(int row, int isotope) const
{
    const QString unit = m_matrix.unit(row);
    QStringList lines { QStringLiteral("%1, %2").arg(
        m_matrix.solution(row).name(), m_matrix.isotopeName(isotope)) };
    const double value = m_matrix.value(row, isotope);
    if (std::isfinite(value))
        lines << QStringLiteral("%1 ± %2 %3 (SD)")
                     .arg(NumberFormat::text(value), NumberFormat::text(m_matrix.sd(row, isotope)),
                         unit);
    const ResultsMatrix::Qualifier qualifier = m_matrix.qualifier(row, isotope);
    if (qualifier != ResultsMatrix::Qualifier::None)
        lines << ResultsMatrix::qualifierMeaning(qualifier);
    const QString findings = m_matrix.findings(row, isotope);
    if (!findings.isEmpty())
        lines << QStringLiteral("QC findings: %1").arg(findings);
    lines << QStringLiteral("LOD %1 %3, LOQ %2 %3")
                 .arg(NumberFormat::text(m_matrix.lod(row, isotope)),
                     NumberFormat::text(m_matrix.loq(row, isotope)), unit);
    return lines.join(QLatin1Char('\n'));
}

QVariant ResultsMatrixModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical)
        return section + 1;
    return m_matrix.header(section);
}

QString ResultsMatrixModel::legend()
{
    QStringList entries;
    for (const ResultsMatrix::Qualifier qualifier : ResultsMatrix::qualifiers()) {
        const int colour = ResultsMatrix::colour(qualifier);
        const QString text = ReportedResults::qualifierText(qualifier).toHtmlEscaped();
        entries << (colour == -1
                ? QStringLiteral("<span style=\"color:%1\">%2</span>").arg(EMPTY_TEXT.name(), text)
                : QStringLiteral("<span style=\"background-color:%1\">&nbsp;%2&nbsp;</span>")
                      .arg(QColor(QRgb(colour)).name(), text));
    }
    return QStringLiteral("Qualifiers: ") + entries.join(QStringLiteral(" &nbsp; "));
}

QString ResultsMatrixModel::copyText(
    const QAbstractItemModel &model, const QModelIndexList &selected, QChar decimalPoint)
{
    QSet<int> rowSet;
    QSet<int> columnSet;
    QSet<QPair<int, int>> cells;
    for (const QModelIndex &index : selected) {
        rowSet.insert(index.row());
        columnSet.insert(index.column());
        cells.insert({ index.row(), index.column() });
    }
    QVector<int> rows(rowSet.begin(), rowSet.end());
    QVector<int> columns(columnSet.begin(), columnSet.end());
    std::sort(rows.begin(), rows.end());
    std::sort(columns.begin(), columns.end());

    QStringList lines;
    QStringList header;
    for (const int column : qAsConst(columns))
        header << plain(model.headerData(column, Qt::Horizontal).toString());
    lines << header.join(QLatin1Char('\t'));
    for (const int row : qAsConst(rows)) {
        QStringList line;
        for (const int column : qAsConst(columns)) {
            const QModelIndex index = model.index(row, column);
            QString text;
            if (cells.contains({ row, column })) {
                text = plain(index.data().toString());
                if (index.data(NumberRole).isValid())
                    text.replace(QLatin1Char('.'), decimalPoint);
            }
            line << text;
        }
        lines << line.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
