#include "app/CalibrationTab.h"

#include "app/Lists.h"
#include "display/CalibrationPlot.h"
#include "display/PlotStyle.h"
#include "processing/RunOutcome.h"
#include "ui_CalibrationTab.h"

#include <QStandardItemModel>
#include <qwt_plot_zoomer.h>

CalibrationTab::CalibrationTab(QWidget *parent)
    : QWidget(parent), ui(new Ui::CalibrationTab), m_isotopes(new QStandardItemModel(this))
{
    setObjectName(QStringLiteral("calibrationTab"));
    ui->setupUi(this);
    ui->calibrationIsotopes->setModel(m_isotopes);
    // The rejected isotopes' marks at the size of the text beside them.
    ui->calibrationIsotopes->setIconSize(QSize(16, 16));
    m_plot = std::make_unique<CalibrationPlot>(ui->calibrationPlot);
    m_zoomer = new QwtPlotZoomer(ui->calibrationPlot->canvas(), true);
    ui->calibrationPlot->setTitle(tr("Calibration"));
    PlotStyle::frameCalibration(ui->calibrationPlot);
    Lists::followCurrentRow(ui->calibrationIsotopes, this, [this](int row) { showIsotope(row); });
}

CalibrationTab::~CalibrationTab()
{
    // The plot detaches its curves from a plot widget that still exists here.
    m_plot.reset();
    delete ui;
}

QwtPlot *CalibrationTab::plot() const
{
    return ui->calibrationPlot;
}

void CalibrationTab::clear()
{
    m_plot->clear();
    ui->calibrationPlot->setTitle(tr("Calibration"));
    m_isotopes->clear();
}

void CalibrationTab::showExport(const Measurements &data, const RunOutcome &outcome)
{
    m_data = &data;
    m_outcome = &outcome;
    listIsotopes();
}

void CalibrationTab::showOutcome()
{
    listIsotopes();
    showIsotope(Lists::currentRow(ui->calibrationIsotopes));
}

void CalibrationTab::listIsotopes()
{
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (int i = 0; i < m_data->isotopeCount(); ++i) {
        if (i >= m_isotopes->rowCount())
            m_isotopes->appendRow(new QStandardItem(m_data->isotope(i).name()));
        QStandardItem *item = m_isotopes->item(i);
        item->setEditable(false);
        const CalibrationLine &line = m_outcome->calibration.lines.value(i);
        item->setIcon(line.isRejected() ? warning : QIcon());
        item->setToolTip(
            line.isRejected() ? tr("Calibration rejected: %1").arg(line.rejection) : QString());
    }
}

void CalibrationTab::showIsotope(int row)
{
    if (row == -1 || !m_outcome)
        return;
    m_plot->draw(*m_outcome, row);
    m_zoomer->setZoomBase(true);
}
