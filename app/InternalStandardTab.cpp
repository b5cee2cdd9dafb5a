#include "app/InternalStandardTab.h"

#include "app/Lists.h"
#include "display/InternalStandardPlot.h"
#include "display/PlotStyle.h"
#include "model/Measurements.h"
#include "ui_InternalStandardTab.h"

#include <QSignalBlocker>

InternalStandardTab::InternalStandardTab(QWidget *parent)
    : QWidget(parent), ui(new Ui::InternalStandardTab)
{
    setObjectName(QStringLiteral("internalStandardTab"));
    ui->setupUi(this);
    m_plot = std::make_unique<InternalStandardPlot>(ui->internalStandardPlot);
    ui->internalStandardPlot->setTitle(tr("Internal Standard"));
    PlotStyle::frameRunningOrder(ui->internalStandardPlot);
    connect(ui->internalStandardPlotChoice, QOverload<int>::of(&QComboBox::currentIndexChanged),
        this, &InternalStandardTab::draw);
}

InternalStandardTab::~InternalStandardTab()
{
    // The plot detaches its curves from a plot widget that still exists here.
    m_plot.reset();
    delete ui;
}

QwtPlot *InternalStandardTab::plot() const
{
    return ui->internalStandardPlot;
}

void InternalStandardTab::clear()
{
    m_plot->clear();
    ui->internalStandardPlot->setTitle(tr("Internal Standard"));
}

void InternalStandardTab::showExport(const Measurements &data)
{
    m_data = &data;
}

void InternalStandardTab::showOutcome()
{
    draw();
}

void InternalStandardTab::showIsotopes(const InternalStandardChoice &choice)
{
    m_choice = choice;
    QStringList entries;
    for (int k = 0; k < choice.isotopes.size(); ++k) {
        entries
            << tr("%1 Internal Standard : ").arg(Isotope::resolutionName(Isotope::GROUPS_SHOWN[k]))
                + choice.isotopes.at(k);
    }
    {
        // Drawn once below, whether the row changes or not.
        const QSignalBlocker blocker(ui->internalStandardPlotChoice);
        Lists::setEntries(ui->internalStandardPlotChoice, entries);
    }
    draw();
}

void InternalStandardTab::follow(const InternalStandardChoice &choice)
{
    m_choice = choice;
    draw();
}

void InternalStandardTab::draw()
{
    if (!m_data)
        return;
    const int choice = ui->internalStandardPlotChoice->currentIndex();
    int iso = -1;
    if (choice >= 0 && choice < m_choice.rows.size()) {
        const int index = m_choice.rows.at(choice);
        const QVector<int> &group = m_data->group(Isotope::GROUPS_SHOWN[choice]);
        iso = index >= 0 && index < group.size() ? group.at(index) : -1;
    }
    m_plot->draw(*m_data, iso, m_choice.reference, m_choice.recoveryLow, m_choice.recoveryHigh);
}
