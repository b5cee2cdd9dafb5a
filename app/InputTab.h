#ifndef KETRION_INPUTTAB_H
#define KETRION_INPUTTAB_H

#include <QWidget>

class Measurements;
class QStringListModel;
class SolutionTableModel;
struct RunOutcome;

namespace Ui {
class InputTab;
}

// The export as read, one solution at a time, with the concentrations the
// last run's standards file gives; a hint on how to begin until a file is
// read.
class InputTab : public QWidget
{
    Q_OBJECT

public:
    explicit InputTab(QWidget *parent = nullptr);
    ~InputTab() override;

    InputTab(const InputTab &) = delete;
    InputTab &operator=(const InputTab &) = delete;

    // Nothing of the earlier file shown.
    void clear();
    // The solutions of an export just read; the window keeps data and
    // outcome, which this tab shows as they are when it draws.
    void showExport(const Measurements &data, const RunOutcome &outcome, bool readWhole);
    void showOutcome();
    // The standards file, sample sheet and method in use, in a line.
    void showFiles(const QString &text);

private:
    void showSolution(int row);

    Ui::InputTab *ui;
    QStringListModel *m_names;
    SolutionTableModel *m_table;
    const Measurements *m_data = nullptr;
    const RunOutcome *m_outcome = nullptr;
};

#endif
