#include "display/Displaying.h"

#include "app/Ui_Application.h"
#include "display/RunningOrderScaleDraw.h"
#include "model/Data.h"
#include "processing/Processing.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QTableView>

#include <qwt_interval.h>
#include <qwt_interval_symbol.h>
#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_intervalcurve.h>
#include <qwt_plot_zoomer.h>
#include <qwt_samples.h>
#include <qwt_scale_draw.h>
#include <qwt_symbol.h>
#include <qwt_text.h>

namespace {

QwtSymbol *dotSymbol(Qt::GlobalColor colour, int size)
{
    return new QwtSymbol(QwtSymbol::Ellipse, QBrush(colour), QPen(colour, 1.0), QSize(size, size));
}

void styleRunningOrderCurve(QwtPlotCurve *curve)
{
    curve->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    curve->setSymbol(dotSymbol(Qt::black, 5));
    curve->setPen(QPen(Qt::blue, 1.0));
    curve->setStyle(QwtPlotCurve::Lines);
}

void styleErrorBars(QwtPlotIntervalCurve *curve)
{
    curve->setSymbol(new QwtIntervalSymbol(QwtIntervalSymbol::Bar));
    curve->setStyle(QwtPlotIntervalCurve::NoCurve);
    curve->setRenderHint(QwtPlotItem::RenderAntialiased, true);
}

// value ± value·rsd/100; bounds kept in ascending order (negative intensities
// after blank subtraction would otherwise swap them).
QwtIntervalSample errorSample(double position, double value, double rsd)
{
    const double delta = value * rsd / 100.0;
    return QwtIntervalSample(position, QwtInterval(value - delta, value + delta).normalized());
}

// Keeps whatever rotation and alignment the window gave the axis labels.
void useRunningOrderAxis(QwtPlot *plot)
{
    const QwtScaleDraw *current = plot->axisScaleDraw(QwtPlot::xBottom);
    auto *draw = new RunningOrderScaleDraw;
    draw->setLabelRotation(current->labelRotation());
    draw->setLabelAlignment(current->labelAlignment());
    plot->setAxisScaleDraw(QwtPlot::xBottom, draw);
}

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

QString equationText(const Processing *processing, int iso)
{
    const Regline line = processing->getLine(iso);
    return QStringLiteral("y = ") + QString::number(line.slope, 'f', 1) + QStringLiteral(" x + (")
        + QString::number(line.yIntercept, 'f', 1) + QStringLiteral(")") + QStringLiteral(" | ")
        + QStringLiteral("R%1").arg(QChar(0x00B2)) + QStringLiteral(" = ")
        + QString::number(processing->getSquareR(iso), 'f', 5) + QStringLiteral(" | LOD = ")
        + QString::number(processing->getLOD(iso), 'f', 6) + QStringLiteral(" ppb")
        + QStringLiteral(" | LOQ = ") + QString::number(processing->getLOQ(iso), 'f', 6)
        + QStringLiteral(" ppb")
        + (processing->getWeighting() == Processing::Weighting::None
                ? QString()
                : QStringLiteral(" | weighted ")
                    + Processing::weightingName(processing->getWeighting()));
}

} // namespace

Displaying::Displaying(Ui::Application *ui)
    : ui(ui), elementPlot(ui->graphElement), isPlot(ui->graphIS), evolPlot(ui->graphEvol)
{
    useRunningOrderAxis(ui->graphIS);
    useRunningOrderAxis(ui->graphEvol);

    curveIS = new QwtPlotCurve(QString());
    curveIS->attach(ui->graphIS);
    // Empty, and out of the legend, until a recovery check is shown.
    curveISLow = new QwtPlotCurve(QString());
    curveISHigh = new QwtPlotCurve(QString());
    for (QwtPlotCurve *bound : { curveISLow, curveISHigh }) {
        bound->setPen(QPen(Qt::red, 1.0, Qt::DashLine));
        bound->setLegendAttribute(QwtPlotCurve::LegendShowLine, true);
        bound->setItemAttribute(QwtPlotItem::Legend, false);
        bound->attach(ui->graphIS);
    }
    curveISOutside = new QwtPlotCurve(QString());
    curveISOutside->setStyle(QwtPlotCurve::NoCurve);
    curveISOutside->setSymbol(dotSymbol(Qt::red, 5));
    curveISOutside->setItemAttribute(QwtPlotItem::Legend, false);
    curveISOutside->setZ(curveIS->z() + 1.0); // over the black dots
    curveISOutside->attach(ui->graphIS);
    curveEvol = new QwtPlotCurve(QString());
    curveEvol->attach(ui->graphEvol);
    curveSTD = new QwtPlotCurve(QString());
    curveSTD->attach(ui->graphElement);
    curveQC = new QwtPlotCurve(QString());
    curveQC->attach(ui->graphElement);
    zoomer = new QwtPlotZoomer(ui->graphElement->canvas(), true);
    curveLine = new QwtPlotCurve(QString());
    curveLine->attach(ui->graphElement);

    // Error bars must never widen an automatically scaled axis.
    curveErrorCps = new QwtPlotIntervalCurve(QString());
    curveErrorCps->setItemAttribute(QwtPlotItem::AutoScale, false);
    // Untitled: "Error Bars" labels both kinds of bar in the legend.
    curveErrorCps->setItemAttribute(QwtPlotItem::Legend, false);
    curveErrorCps->attach(ui->graphElement);
    curveErrorConcent = new QwtPlotIntervalCurve(QString());
    curveErrorConcent->setItemAttribute(QwtPlotItem::AutoScale, false);
    curveErrorConcent->attach(ui->graphElement);
    curveErrorConcent->setOrientation(Qt::Horizontal);
}

Displaying::~Displaying()
{
    // Whatever plot is already gone has deleted its items and the zoomer.
    if (isPlot) {
        delete curveIS;
        delete curveISOutside;
        delete curveISLow;
        delete curveISHigh;
    }
    if (evolPlot)
        delete curveEvol;
    if (elementPlot) {
        delete curveSTD;
        delete curveLine;
        delete curveQC;
        delete curveErrorCps;
        delete curveErrorConcent;
        delete zoomer;
    }
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

    QwtPlot *plot = ui->graphElement;
    plot->setAutoDelete(true);
    plot->setAutoReplot(true);
    plot->setAxisAutoScale(QwtPlot::xBottom, true);
    plot->setAxisAutoScale(QwtPlot::yLeft, true);

    const QString isoName = work->getIso(iso).getName();
    plot->setTitle(QwtText(QStringLiteral("Calibration ") + isoName));

    curveSTD->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    curveSTD->setSymbol(dotSymbol(Qt::black, 2));
    curveSTD->setStyle(QwtPlotCurve::NoCurve);
    styleErrorBars(curveErrorCps);
    styleErrorBars(curveErrorConcent);

    QVector<double> stdX;
    QVector<double> stdY;
    QVector<QwtIntervalSample> cpsBars;
    QVector<QwtIntervalSample> concentBars;
    for (int s = 0; s < work->solutionSize(); ++s) {
        const Solution *solution = work->getSolution(s);
        if (solution->getType() != Solution::STD)
            continue;
        const double c = solution->getCps(iso);
        const double x = solution->getConcent(iso);
        // the zero standard belongs to the fit even at (0, 0)
        if ((c == 0.0 || x == 0.0) && solution->getName() != Solution::ZERO_STD_NAME)
            continue;
        stdX.append(x);
        stdY.append(c);
        cpsBars.append(errorSample(x, c, solution->getCpsRSD(iso)));
        concentBars.append(errorSample(c, x, solution->getConcentRSD(iso)));
    }
    curveSTD->setSamples(stdX, stdY);

    curveQC->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    curveQC->setSymbol(dotSymbol(Qt::red, 3));
    curveQC->setStyle(QwtPlotCurve::NoCurve);

    QVector<double> qcX;
    QVector<double> qcY;
    for (int s = 0; s < work->solutionSize(); ++s) {
        const Solution *measured = work->getSolution(s);
        if (measured->getType() != Solution::QC)
            continue;
        // the expected value and its accepted error come from the standards file
        const Solution *expected = raw->getSolution(s);
        const double c = measured->getCps(iso);
        const double x = expected->getConcent(iso);
        if (c == 0.0 || x == 0.0)
            continue;
        qcX.append(x);
        qcY.append(c);
        cpsBars.append(errorSample(x, c, measured->getCpsRSD(iso)));
        concentBars.append(errorSample(c, x, expected->getConcentRSD(iso)));
    }
    curveQC->setSamples(qcX, qcY);
    curveErrorCps->setSamples(cpsBars);
    curveErrorConcent->setSamples(concentBars);

    curveLine->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    curveLine->setPen(QPen(Qt::blue, 1.0));

    const QVector<double> allX = stdX + qcX;
    const QVector<double> allY = stdY + qcY;
    const double xmin = Processing::min(allX) * 0.9;
    const double xmax = Processing::max(allX) * 1.1;
    const double ymin = Processing::min(allY) * 0.9;
    const double ymax = Processing::max(allY) * 1.1;

    const Regline line = processing->getLine(iso);
    const QVector<double> lineX { xmin, xmax };
    const QVector<double> lineY { line.slope * xmin + line.yIntercept,
        line.slope * xmax + line.yIntercept };
    curveLine->setSamples(lineX, lineY);

    plot->insertLegend(new QwtLegend(), QwtPlot::BottomLegend, -1.0);

    curveLine->setTitle(QwtText(equationText(processing, iso)));
    curveQC->setTitle(QwtText(QStringLiteral("QC")));
    curveSTD->setTitle(QwtText(QStringLiteral("STD ") + isoName));
    curveErrorConcent->setTitle(QwtText(QStringLiteral("Error Bars")));

    // A single point (or none) leaves nothing to frame: the axes choose.
    if (ymin != ymax && xmin != xmax) {
        plot->setAxisScale(QwtPlot::yLeft, ymin, ymax, 0.0);
        plot->setAxisScale(QwtPlot::xBottom, xmin, xmax, 0.0);
    }

    plot->replot();
    zoomer->setZoomBase(true);
}

void Displaying::plotEvol(Data *data, int iso, const QString &choice)
{
    if (choice.isEmpty() || iso == -1)
        return;

    QwtPlot *plot = ui->graphEvol;
    plot->setTitle(QwtText(QStringLiteral("Evolution ") + choice + QStringLiteral(" - ")
        + data->getIso(iso).getName()));
    styleRunningOrderCurve(curveEvol);

    const int n = data->solutionSize();
    plot->setAxisScale(QwtPlot::xBottom, 1.0, n, 1.0);

    // An invalid pattern matches no solution.
    const QRegularExpression pattern(choice);
    QVector<double> x;
    QVector<double> y;
    if (pattern.isValid()) {
        for (int k = 1; k <= n; ++k) {
            const Solution *solution = data->getSolution(k - 1);
            if (pattern.match(solution->getName()).hasMatch()) {
                x.append(k);
                y.append(solution->getCps(iso));
            }
        }
    }
    curveEvol->setSamples(x, y);
    plot->replot();
}

// The statistics and the value test need no results of a run.
void Displaying::plotIS(
    Data *data, int iso, Processing * /*processing*/, int reference, int low, int high)
{
    if (iso == -1)
        return;

    QwtPlot *plot = ui->graphIS;
    plot->setTitle(QwtText(QStringLiteral("Internal Standard ") + data->getIso(iso).getName()));
    const int n = data->solutionSize();
    plot->setAxisScale(QwtPlot::xBottom, 1.0, n, 1.0);
    styleRunningOrderCurve(curveIS);

    // A reference without the IS value has no recovery to show.
    const bool bounds
        = reference >= 0 && reference < n && data->getSolution(reference)->isMeasured(iso);
    const double referenceValue = bounds ? data->getSolution(reference)->getCps(iso) : 0.0;
    QVector<double> x;
    QVector<double> y;
    QVector<double> outsideX;
    QVector<double> outsideY;
    for (int k = 1; k <= n; ++k) {
        const Solution *solution = data->getSolution(k - 1);
        const double v = solution->getCps(iso);
        if (!Processing::isValid(v))
            continue;
        x.append(k);
        y.append(v);
        // The same test as the run's check, so both name the same solutions.
        if (bounds && k - 1 != reference
            && (!solution->isMeasured(iso)
                || !Processing::recoveryInside(
                    Processing::recovery(v, referenceValue), low, high))) {
            outsideX.append(k);
            outsideY.append(v);
        }
    }
    curveIS->setSamples(x, y);
    curveISOutside->setSamples(outsideX, outsideY);
    const auto boundAt = [&](QwtPlotCurve *curve, int percent) {
        const double level = referenceValue * percent / 100.0;
        curve->setSamples(bounds ? QVector<double> { 1.0, double(n) } : QVector<double>(),
            bounds ? QVector<double> { level, level } : QVector<double>());
    };
    boundAt(curveISLow, low);
    boundAt(curveISHigh, high);
    curveISLow->setTitle(
        QwtText(QStringLiteral("IS recovery %1-%2 % of %3")
                    .arg(low)
                    .arg(high)
                    .arg(bounds ? data->getSolution(reference)->getName() : QString())));
    curveISLow->setItemAttribute(QwtPlotItem::Legend, bounds);
    plot->replot();

    const QPair<double, double> meanSd = Processing::stat(y);
    const double rsd = meanSd.second * 100.0 / meanSd.first;
    plot->insertLegend(new QwtLegend(), QwtPlot::BottomLegend, -1.0);
    curveIS->setTitle(QwtText(QStringLiteral("Average intensity (cps) =  ")
        + QString::number(meanSd.first, 'f', 1) + QStringLiteral(" | SD (cps) = ")
        + QString::number(meanSd.second, 'f', 1) + QStringLiteral(" | RSD (%) = ")
        + QString::number(rsd, 'f', 1)));
}

void Displaying::clearPlots()
{
    for (QwtPlotCurve *curve : { curveSTD, curveLine, curveQC, curveIS, curveEvol }) {
        curve->setSamples(QVector<double>(), QVector<double>());
        curve->setTitle(QString());
    }
    curveErrorCps->setSamples(QVector<QwtIntervalSample>());
    curveErrorConcent->setSamples(QVector<QwtIntervalSample>());
    curveErrorConcent->setTitle(QString());
    for (QwtPlot *plot : { ui->graphElement, ui->graphIS, ui->graphEvol }) {
        plot->insertLegend(nullptr);
        plot->setAxisAutoScale(QwtPlot::xBottom, true);
        plot->setAxisAutoScale(QwtPlot::yLeft, true);
        plot->replot();
    }
}
