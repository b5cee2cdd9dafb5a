#ifndef KETRION_BOXES_H
#define KETRION_BOXES_H

#include <QString>
#include <QStringList>

#include <memory>

class QFileDialog;
class QWidget;
struct RunOutcome;

// The window's message boxes and file dialogs that need nothing of its state.
namespace Boxes {

// Says why a run was refused, in the box its kind of refusal takes; false
// for a run that went through.
bool showRefusal(QWidget *parent, const RunOutcome &outcome);
// A dialog that saves a file of one of types, not yet shown. A name typed
// without a suffix gets the offered one before the dialog asks whether to
// replace an existing file.
std::unique_ptr<QFileDialog> saveDialog(QWidget *parent, const QString &title,
    const QString &folder, const QStringList &types, const QString &suffix);
void showAbout(QWidget *parent);

} // namespace Boxes

#endif
