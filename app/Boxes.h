#ifndef KETRION_BOXES_H
#define KETRION_BOXES_H

#include <QString>
#include <QStringList>

#include <memory>

class QFileDialog;
class QWidget;
struct RunOutcome;

// The window's message boxes that need nothing of its state.
namespace Boxes {

// Says why a run was refused, in the box its kind of refusal takes; false
// for a run that went through.
bool showRefusal(QWidget *parent, const RunOutcome &outcome);
void showAbout(QWidget *parent);

} // namespace Boxes

#endif
