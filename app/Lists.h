#ifndef KETRION_LISTS_H
#define KETRION_LISTS_H

#include <QStringList>

#include <functional>

class QAbstractItemView;
class QComboBox;
class QObject;

// What the tabs' lists and combo boxes share.
namespace Lists {

// The row of a list's current item, -1 for none.
int currentRow(const QAbstractItemView *view);
// Calls show with the list's new current row, -1 for none, while context lives.
void followCurrentRow(
    QAbstractItemView *view, const QObject *context, const std::function<void(int)> &show);
// The combo box owns the model; it deletes the one it replaces.
void setEntries(QComboBox *combo, const QStringList &entries);

} // namespace Lists

#endif
