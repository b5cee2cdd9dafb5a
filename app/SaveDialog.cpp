#include "app/SaveDialog.h"

#include <QCoreApplication>
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

namespace {

const char *const RESULTS_TYPE = QT_TRANSLATE_NOOP("Application", "CSV File (*.csv)");
const char *const LONG_TABLE_TYPE = QT_TRANSLATE_NOOP("Application", "Long table (*.csv)");

QString tr(const char *text)
{
    return QCoreApplication::translate("Application", text);
}

} // namespace

std::unique_ptr<QFileDialog> SaveDialog::forOutput(QWidget *parent)
{
    return create(parent, tr("Choose a file name"), QStringLiteral("."),
        { tr(RESULTS_TYPE), tr(LONG_TABLE_TYPE) }, QStringLiteral("csv"));
}

bool SaveDialog::choseLongTable(const QFileDialog &dialog)
{
    return dialog.selectedNameFilter() == tr(LONG_TABLE_TYPE);
}

std::unique_ptr<QFileDialog> SaveDialog::forPlot(QWidget *parent)
{
    return create(parent, QStringLiteral("Save Current Plot"), QString(),
        { QStringLiteral("JPG File (*.jpg)") }, QStringLiteral("jpg"));
}
