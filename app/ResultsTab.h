#ifndef KETRION_RESULTSTAB_H
#define KETRION_RESULTSTAB_H

#include <QWidget>

class ResultsFilterModel;
class ResultsMatrixModel;
struct RunOutcome;

namespace Ui {
class ResultsTab;
}

// The whole run at a glance: every solution by every isotope, the
// qualified values coloured, filtered by type and name, sorted by any column,
// copied as a spreadsheet pastes it.
class ResultsTab : public QWidget
{
    Q_OBJECT

public:
    explicit ResultsTab(QWidget *parent = nullptr);
    ~ResultsTab() override;

    ResultsTab(const ResultsTab &) = delete;
    ResultsTab &operator=(const ResultsTab &) = delete;

    // An export just read has no results: nothing shown until a run. The
    // window keeps the outcome, which this tab shows as it is when it draws.
    void showExport(const RunOutcome &outcome);
    // The outcome given, now that a run filled it, in run order.
    void showOutcome();
    // The cells selected as Ctrl+C copies them, numbers with the decimal
    // point given.
    QString selectionText(QChar decimalPoint) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showValues();
    void fitColumns();
    // Ascending, then descending, then back to run order.
    void sortBy(int column);
    void copySelection() const;

    Ui::ResultsTab *ui;
    ResultsMatrixModel *m_matrix;
    ResultsFilterModel *m_filter;
    const RunOutcome *m_outcome = nullptr;
    bool m_processed = false;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

#endif
