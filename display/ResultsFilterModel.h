#ifndef KETRION_RESULTSFILTERMODEL_H
#define KETRION_RESULTSFILTERMODEL_H

#include "model/Solution.h"

#include <QSortFilterProxyModel>

#include <array>

// The rows of the results matrix a user asked to see, in the order asked
// for: by solution type and by a text the name holds, in any case; sorted by
// a column, its numbers by value and before the empty cells in either
// order, its texts as a person orders them ("S_2" before "S_10"). Rows that
// tie keep their run order.
class ResultsFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit ResultsFilterModel(QObject *parent = nullptr);

    void setTypeShown(Solution::Type type, bool shown);
    bool isTypeShown(Solution::Type type) const { return m_shown.at(type); }
    void setNameFilter(const QString &text);
    // Below zero when a comes first: in any case, runs of digits by their
    // value ("S_2" before "S_10").
    static int compareNames(const QString &a, const QString &b);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    std::array<bool, 4> m_shown { true, true, true, true }; // by Solution::Type
    QString m_name;
};

#endif
