#include "app/Lists.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QStringListModel>

int Lists::currentRow(const QAbstractItemView *view)
{
    return view->currentIndex().isValid() ? view->currentIndex().row() : -1;
}

void Lists::followCurrentRow(
    QAbstractItemView *view, const QObject *context, const std::function<void(int)> &show)
{
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, context,
        [show](const QModelIndex &current) { show(current.isValid() ? current.row() : -1); });
}

void Lists::setEntries(QComboBox *combo, const QStringList &entries)
{
    combo->setModel(new QStringListModel(entries, combo));
}
