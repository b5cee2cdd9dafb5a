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
// Save Output's: the results file or the long table.
std::unique_ptr<QFileDialog> forOutput(QWidget *parent);
// Whether Save Output's dialog was answered with the long table's type.
bool choseLongTable(const QFileDialog &dialog);
// Save Plot's: a JPEG image.
std::unique_ptr<QFileDialog> forPlot(QWidget *parent);

} // namespace SaveDialog

#endif
