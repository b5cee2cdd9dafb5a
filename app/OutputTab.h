#ifndef KETRION_OUTPUTTAB_H
#define KETRION_OUTPUTTAB_H

#include <QWidget>

class QStringListModel;
class SolutionTableModel;
struct RunOutcome;

namespace Ui {
class OutputTab;
}

// The working set one solution at a time: corrected intensities and, once
// a run is done, what it found and reports.
class OutputTab : public QWidget
{
    Q_OBJECT

public:
    explicit OutputTab(QWidget *parent = nullptr);
    ~OutputTab() override;

    OutputTab(const OutputTab &) = delete;
    OutputTab &operator=(const OutputTab &) = delete;

    // Nothing of the earlier file shown.
    void clear();
    // The working set of an export just read, without results; the window
    // keeps the outcome, which this tab shows as it is when it draws.
    void showExport(const RunOutcome &outcome);
    // The outcome given, now that a run filled it.
    void showOutcome();

private:
    // Keeps the current row across the new list, as far as it still exists.
    void listSolutions();
    void showSolution(int row);

    Ui::OutputTab *ui;
    QStringListModel *m_names;
    SolutionTableModel *m_table;
    const RunOutcome *m_outcome = nullptr;
    bool m_processed = false; // whether the outcome holds a run's results
};

#endif
