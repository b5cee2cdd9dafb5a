#include "display/ResultsFilterModel.h"

#include "display/ResultsMatrixModel.h"

namespace {

// The run of digits from *k on, without its leading zeros; *k moves past it.
QStringView digitsAt(const QString &text, int *k)
{
    int start = *k;
    while (*k < text.size() && text.at(*k).isDigit())
        ++*k;
    while (start + 1 < *k && text.at(start) == QLatin1Char('0'))
        ++start;
    return QStringView(text).mid(start, *k - start);
}

// A longer number is the larger; of two as long, the first digit that differs.
int compareNumbers(QStringView x, QStringView y)
{
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}

} // namespace

int ResultsFilterModel::compareNames(const QString &a, const QString &b)
{
    int i = 0;
    int j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            if (const int order = compareNumbers(digitsAt(a, &i), digitsAt(b, &j)))
                return order;
            continue;
        }
        const QChar x = a.at(i++).toCaseFolded();
        const QChar y = b.at(j++).toCaseFolded();
        if (x != y)
            return x < y ? -1 : 1;
    }
    return (a.size() - i) - (b.size() - j);
}

ResultsFilterModel::ResultsFilterModel(QObject *parent) : QSortFilterProxyModel(parent)
{
    setSortRole(ResultsMatrixModel::SortRole);
}

void ResultsFilterModel::setTypeShown(Solution::Type type, bool shown)
{
    m_shown.at(type) = shown;
    invalidateFilter();
}

void ResultsFilterModel::setNameFilter(const QString &text)
{
    m_name = text.trimmed();
    invalidateFilter();
}

bool ResultsFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const QModelIndex name = sourceModel()->index(sourceRow, 0, sourceParent);
    const int type = name.data(ResultsMatrixModel::TypeRole).toInt();
    return m_shown.at(type)
        && (m_name.isEmpty() || name.data().toString().contains(m_name, Qt::CaseInsensitive));
}

bool ResultsFilterModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const QVariant a = left.data(ResultsMatrixModel::NumberRole);
    const QVariant b = right.data(ResultsMatrixModel::NumberRole);
    // A descending sort asks the other way round: the empty cells stay last.
    if (a.isValid() != b.isValid())
        return sortOrder() == Qt::AscendingOrder ? a.isValid() : b.isValid();
    if (a.isValid())
        return a.toDouble() < b.toDouble();
    return compareNames(left.data(ResultsMatrixModel::SortRole).toString(),
               right.data(ResultsMatrixModel::SortRole).toString())
        < 0;
}
