#include "app/EvolutionTab.h"

#include "app/Lists.h"
#include "display/DriftPlot.h"
#include "display/EvolutionPlot.h"
#include "display/PlotStyle.h"
#include "model/Measurements.h"
#include "ui_EvolutionTab.h"

#include <QStringListModel>

EvolutionTab::EvolutionTab(QWidget *parent)
    : QWidget(parent), ui(new Ui::EvolutionTab), m_isotopes(new QStringListModel(this))
{
    setObjectName(QStringLiteral("evolutionTab"));
    ui->setupUi(this);
    ui->evolutionIsotopes->setModel(m_isotopes);
    m_evolutionPlot = std::make_unique<EvolutionPlot>(ui->evolutionPlot);
    m_driftPlot = std::make_unique<DriftPlot>(ui->evolutionPlot);
    ui->evolutionPlot->setTitle(tr("Evolution"));
    PlotStyle::frameRunningOrder(ui->evolutionPlot);
    connect(ui->evolutionIsotopes->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        &EvolutionTab::draw);
    connect(ui->evolutionPattern, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        &EvolutionTab::draw);
}

EvolutionTab::~EvolutionTab()
{
    // The plots detach their curves from a plot widget that still exists here.
    m_evolutionPlot.reset();
    m_driftPlot.reset();
    delete ui;
}

QwtPlot *EvolutionTab::plot() const
{
    return ui->evolutionPlot;
}

void EvolutionTab::clear()
{
    m_evolutionPlot->clear();
    m_driftPlot->clear();
    ui->evolutionPlot->setTitle(tr("Evolution"));
}

void EvolutionTab::showExport(const Measurements &data, const RunOutcome &outcome, bool readWhole)
{
    m_data = &data;
    m_outcome = &outcome;
    m_isotopes->setStringList(data.isotopeNames());
    ui->evolutionPattern->clear();
    if (!readWhole)
        return;
    ui->evolutionPattern->addItems({ QStringLiteral("BLK"), QStringLiteral("VS") });
    // Marked by its data: the other entries are patterns of solution names.
    ui->evolutionPattern->addItem(tr("drift factor"), true);
}

void EvolutionTab::showOutcome()
{
    draw();
}

void EvolutionTab::draw()
{
    if (!m_data)
        return;
    const int iso = Lists::currentRow(ui->evolutionIsotopes);
    // Both share the plot: the one not shown is emptied first.
    if (ui->evolutionPattern->currentData().toBool()) {
        m_evolutionPlot->clear();
        m_driftPlot->draw(*m_data, *m_outcome, iso);
    } else {
        m_driftPlot->clear();
        m_evolutionPlot->draw(*m_data, iso, ui->evolutionPattern->currentText());
    }
}
