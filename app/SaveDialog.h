#ifndef KETRION_SAVEDIALOG_H
#define KETRION_SAVEDIALOG_H

#include <QString>
#include <QStringList>

#include <memory>

class QFileDialog;
class QWidget;

namespace SaveDialog {

// A dialog asking where to save a file of the types given, not yet shown. A
// name typed without a suffix gets the one offered before the dialog asks
// whether to replace an existing file.
std::unique_ptr<QFileDialog> create(QWidget *parent, const QString &title, const QString &folder,
    const QStringList &types, const QString &suffix);

} // namespace SaveDialog

#endif
