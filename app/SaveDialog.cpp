#include "app/SaveDialog.h"

#include <QFileDialog>

std::unique_ptr<QFileDialog> SaveDialog::create(QWidget *parent, const QString &title,
    const QString &folder, const QStringList &types, const QString &suffix)
{
    auto dialog = std::make_unique<QFileDialog>(parent, title, folder);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilters(types);
    dialog->setDefaultSuffix(suffix);
    return dialog;
}
