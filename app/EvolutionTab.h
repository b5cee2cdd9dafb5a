#ifndef KETRION_EVOLUTIONTAB_H
#define KETRION_EVOLUTIONTAB_H

#include <QWidget>

#include <memory>

class DriftPlot;
class EvolutionPlot;
class Measurements;
class QStringListModel;
class QwtPlot;
struct RunOutcome;

namespace Ui {
class EvolutionTab;
}

// An isotope's signal along the run in the solutions of a name pattern, or
// the last run's drift factor: both share the plot.
class EvolutionTab : public QWidget
{
    Q_OBJECT

public:
    explicit EvolutionTab(QWidget *parent = nullptr);
    ~EvolutionTab() override;

    EvolutionTab(const EvolutionTab &) = delete;
    EvolutionTab &operator=(const EvolutionTab &) = delete;

    // Nothing of the earlier file shown.
    void clear();
    // The isotopes of an export just read, and for a file read whole what
    // to follow; the window keeps data and outcome, which this tab shows as
    // they are when it draws.
    void showExport(const Measurements &data, const RunOutcome &outcome, bool readWhole);
    void showOutcome();
    QwtPlot *plot() const;

private:
    void draw();

    Ui::EvolutionTab *ui;
    QStringListModel *m_isotopes;
    std::unique_ptr<EvolutionPlot> m_evolutionPlot;
    std::unique_ptr<DriftPlot> m_driftPlot;
    const Measurements *m_data = nullptr;
    const RunOutcome *m_outcome = nullptr;
};

#endif
