#ifndef KETRION_INTERFERENCEEQUATIONS_H
#define KETRION_INTERFERENCEEQUATIONS_H

#include "model/Status.h"
#include "parsers/InterferenceEquation.h"

#include <QGroupBox>
#include <QStringList>
#include <QVector>

#include <memory>

class InterferenceEquationDialog;

namespace Ui {
class InterferenceEquations;
}

// The Configuration tab's interference correction equations, in the order
// given. Each is checked against the names of the export last read: one that
// does not hold is never added or edited in, and one kept from another
// export, a method or the last session is marked with its refusal until it
// holds again, is edited or removed.
class InterferenceEquations : public QGroupBox
{
    Q_OBJECT

public:
    explicit InterferenceEquations(QWidget *parent = nullptr);
    ~InterferenceEquations() override;

    InterferenceEquations(const InterferenceEquations &) = delete;
    InterferenceEquations &operator=(const InterferenceEquations &) = delete;

    QStringList equations() const;
    // Kept as given, whether they hold or not.
    void setEquations(const QStringList &texts);
    // What the equations may name; the earlier targets are the list's own.
    // Without isotopes (no export read whole) nothing is added or marked.
    void setNames(const InterferenceEquation::Names &names);
    // The refusal of each equation that does not hold, in order; none before
    // an export is read.
    QStringList refusals() const;

    // Why text cannot be the equation of row (the count for a new one):
    // its own fault, or the first it brings to a later equation that held.
    // Empty when it can.
    QString refusal(const QString &text, int row) const;
    // What the dialogs' OK does; the tests call them directly. A text that
    // refusal() refuses changes nothing.
    Status addEquation(const QString &text);
    Status replaceEquation(int row, const QString &text);
    void removeEquation(int row);
    // The dialog of Add (row -1) or of Edit on that row, not yet shown.
    std::unique_ptr<InterferenceEquationDialog> equationDialog(int row);

signals:
    // An equation added, edited or removed, or the list set.
    void changed();

private:
    void add();
    void edit();
    void remove();
    // Each equation's first fault, the targets of those before it taken as
    // earlier targets.
    QVector<InterferenceEquation::Fault> faults(const QStringList &texts) const;
    // The list with each equation's refusal or expanded form in its tool tip.
    void showEquations(const QStringList &texts, int current);
    void enableButtons();

    Ui::InterferenceEquations *ui;
    InterferenceEquation::Names m_names;
};

#endif
