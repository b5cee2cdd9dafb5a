#include "display/Displaying.h"

#include "app/Ui_Application.h"
#include "display/CalibrationPlot.h"
#include "display/EvolutionPlot.h"
#include "display/InternalStandardPlot.h"
#include "model/Data.h"
#include "processing/Processing.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QTableView>

#include <qwt_plot.h>
#include <qwt_plot_zoomer.h>

namespace {

void setListEntries(QListWidget *list, const QStringList &entries)
{
    list->clear();
    list->addItems(entries);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

// The combo box owns the model; it deletes the one it replaces.
void setComboEntries(QComboBox *combo, const QStringList &entries)
{
    combo->setModel(new QStringListModel(entries, combo));
}

// A view keeps both its old model and the selection model it made for it;
// neither is used again once replaced.
void replaceTableModel(QTableView *view, QStandardItemModel *model)
{
    QAbstractItemModel *oldModel = view->model();
    QItemSelectionModel *oldSelection = view->selectionModel();
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setModel(model);
    delete oldSelection;
    if (oldModel && oldModel->parent() == view)
        delete oldModel;
    // the headers are longer than most values and must stay readable
    view->resizeColumnsToContents();
}

} // namespace

Displaying::Displaying(Ui::Application *ui)
    : ui(ui)
    , calibration(std::make_unique<CalibrationPlot>(ui->graphElement))
    , internalStandard(std::make_unique<InternalStandardPlot>(ui->graphIS))
    , evolution(std::make_unique<EvolutionPlot>(ui->graphEvol))
    , zoomer(new QwtPlotZoomer(ui->graphElement->canvas(), true))
{ }

Displaying::~Displaying()
{
    delete zoomer.data();
}

void Displaying::initModeleTable(QStandardItemModel *model)
{
    const QStringList headers { QStringLiteral("Element"), QStringLiteral("Intensity (cps)"),
        QStringLiteral("Intensity RSD (%)"), QStringLiteral("Concentration (ppb)"),
        QStringLiteral("Concentration RSD (%)") };
    for (int column = 0; column < headers.size(); ++column)
        model->setHeaderData(column, Qt::Horizontal, headers.at(column), Qt::EditRole);
}

// One row per isotope of the solution's data set.
static void fillTable(
    QStandardItemModel *model, const Solution *s, const Data *data, const Processing *limits)
{
    for (int i = 0; i < data->isoSize(); ++i) {
        QString concentText;
        QString concentRsdText;
        const double concent = s->getConcent(i);
        if (concent == 0.0) {
            // not measured or not given: both cells stay empty
        } else if (limits && limits->getLOQ(i) > concent) {
            concentText = QStringLiteral("<LOQ");
        } else {
            concentText = QString::number(concent, 'g', 6);
            concentRsdText = QString::number(s->getConcentRSD(i), 'f', 2);
        }
        model->setItem(i, 0, new QStandardItem(data->getIso(i).getName()));
        model->setItem(i, 1, new QStandardItem(QString::number(s->getCps(i), 'f', 2)));
        model->setItem(i, 2, new QStandardItem(QString::number(s->getCpsRSD(i), 'f', 2)));
        model->setItem(i, 3, new QStandardItem(concentText));
        model->setItem(i, 4, new QStandardItem(concentRsdText));
    }
}

void Displaying::dispTableInput()
{
    showTable(ui->tableViewInput, nullptr, -1, nullptr);
}

void Displaying::dispTableOutput()
{
    showTable(ui->tableViewOutput, nullptr, -1, nullptr);
}

void Displaying::dispTableInput(Data *data, int solution)
{
    showTable(ui->tableViewInput, data, solution, nullptr);
}

void Displaying::dispTableOutput(Data *data, int solution, Processing *processing)
{
    showTable(ui->tableViewOutput, data, solution, processing);
}

// Without data the table is the empty layout. limits is null for the input
// table, which never hides a value below the LOQ.
void Displaying::showTable(QTableView *view, Data *data, int solution, Processing *limits)
{
    auto *model = new QStandardItemModel(1, 5, view);
    initModeleTable(model);
    if (data)
        fillTable(model, data->getSolution(solution), data, limits);
    replaceTableModel(view, model);
}

void Displaying::displayLists(Data *data)
{
    const QStringList names = data->isotopeNames();
    setListEntries(ui->listCurves, names);
    setListEntries(ui->listEvol, names);
    setComboEntries(ui->blankSelection, data->blankNames());
    setComboEntries(ui->comboISLR, data->isotopeNames(data->getLrIndexes()));
    setComboEntries(ui->comboISMR, data->isotopeNames(data->getMrIndexes()));
    setComboEntries(ui->comboISHR, data->isotopeNames(data->getHrIndexes()));
}

void Displaying::displaySolutions(Data *input, Data *output)
{
    setListEntries(ui->listViewInput, input->solutionNames());
    setListEntries(ui->listViewOutput, output->solutionNames());
    ui->echantIS->clear();
    ui->echantIS->addItems(output->referenceNames());
    setComboEntries(ui->blankSelection, output->blankNames());
}

void Displaying::plotElement(Data *work, Data *raw, int iso, Processing *processing)
{
    if (iso == -1)
        return;
    calibration->draw(work, raw, iso, processing);
    zoomer->setZoomBase(true);
}

void Displaying::plotEvol(Data *data, int iso, const QString &choice)
{
    evolution->draw(data, iso, choice);
}

void Displaying::plotIS(
    Data *data, int iso, Processing * /*processing*/, int reference, int low, int high)
{
    internalStandard->draw(data, iso, reference, low, high);
}

void Displaying::clearPlots()
{
    calibration->clear();
    internalStandard->clear();
    evolution->clear();
}
