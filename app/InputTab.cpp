#include "app/InputTab.h"

#include "app/Lists.h"
#include "display/SolutionTableModel.h"
#include "processing/RunOutcome.h"
#include "ui_InputTab.h"

#include <QStringListModel>

InputTab::InputTab(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::InputTab)
    , m_names(new QStringListModel(this))
    , m_table(new SolutionTableModel(this))
{
    setObjectName(QStringLiteral("inputTab"));
    ui->setupUi(this);
    ui->inputSolutions->setModel(m_names);
    ui->inputTable->setModel(m_table);
    ui->inputTable->resizeColumnsToContents();
    Lists::followCurrentRow(ui->inputSolutions, this, [this](int row) { showSolution(row); });
}

InputTab::~InputTab()
{
    delete ui;
}

void InputTab::clear()
{
    m_table->clear();
}

void InputTab::showExport(const Measurements &data, const RunOutcome &outcome, bool readWhole)
{
    m_data = &data;
    m_outcome = &outcome;
    m_names->setStringList(data.solutionNames());
    if (readWhole)
        ui->startHint->hide();
}

void InputTab::showOutcome()
{
    showSolution(Lists::currentRow(ui->inputSolutions));
}

void InputTab::showFiles(const QString &text)
{
    ui->filesInUse->setText(text);
}

void InputTab::showSolution(int row)
{
    if (row == -1 || !m_data)
        return;
    m_table->showInput(*m_data, m_outcome->expected, row);
    // The headers are longer than most values and must stay readable.
    ui->inputTable->resizeColumnsToContents();
}
