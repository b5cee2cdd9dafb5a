#include "app/OutputTab.h"

#include "app/Lists.h"
#include "app/WrappingHeader.h"
#include "display/SolutionTableModel.h"
#include "processing/RunOutcome.h"
#include "ui_OutputTab.h"

#include <QHeaderView>
#include <QStringListModel>

OutputTab::OutputTab(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::OutputTab)
    , m_names(new QStringListModel(this))
    , m_table(new SolutionTableModel(this))
{
    setObjectName(QStringLiteral("outputTab"));
    ui->setupUi(this);
    ui->outputSolutions->setModel(m_names);
    // At the window's size every column shows whole, the headers wrapped.
    ui->outputTable->setHorizontalHeader(new WrappingHeader(ui->outputTable));
    ui->outputTable->verticalHeader()->hide();
    ui->outputTable->setModel(m_table);
    ui->outputTable->resizeColumnsToContents();
    Lists::followCurrentRow(ui->outputSolutions, this, [this](int row) { showSolution(row); });
}

OutputTab::~OutputTab()
{
    delete ui;
}

void OutputTab::clear()
{
    m_table->clear();
}

void OutputTab::showExport(const RunOutcome &outcome)
{
    m_outcome = &outcome;
    m_processed = false;
    listSolutions();
}

void OutputTab::showOutcome()
{
    m_processed = true;
    listSolutions();
    showSolution(Lists::currentRow(ui->outputSolutions));
}

void OutputTab::listSolutions()
{
    const QStringList names = m_outcome->working.solutionNames();
    const int row = Lists::currentRow(ui->outputSolutions);
    m_names->setStringList(names);
    if (row >= 0 && row < names.size())
        ui->outputSolutions->setCurrentIndex(m_names->index(row));
}

void OutputTab::showSolution(int row)
{
    if (row == -1 || !m_outcome)
        return;
    m_table->showOutput(m_outcome->working, m_processed ? &m_outcome->results : nullptr,
        &m_outcome->calibration, m_processed ? &m_outcome->reported : nullptr, row);
    ui->outputTable->resizeColumnsToContents();
}
