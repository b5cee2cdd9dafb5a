#include "app/ResultsTab.h"

#include "display/ResultsFilterModel.h"
#include "display/ResultsMatrixModel.h"
#include "processing/RunOutcome.h"
#include "ui_ResultsTab.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QStyle>

ResultsTab::ResultsTab(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::ResultsTab)
    , m_matrix(new ResultsMatrixModel(this))
    , m_filter(new ResultsFilterModel(this))
{
    setObjectName(QStringLiteral("resultsTab"));
    ui->setupUi(this);
    m_filter->setSourceModel(m_matrix);
    ui->resultsTable->setModel(m_filter);
    ui->resultsLegend->setText(ResultsMatrixModel::legend());
    // Sorted here, not by the view, which knows no way back to run order.
    QHeaderView *header = ui->resultsTable->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    connect(header, &QHeaderView::sectionClicked, this, &ResultsTab::sortBy);
    // Rows as high as their text, so that more of a long run is in view.
    QHeaderView *rows = ui->resultsTable->verticalHeader();
    rows->setMinimumSectionSize(fontMetrics().height() + 4);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);

    const std::pair<QCheckBox *, Solution::Type> types[] = { { ui->showSamples, Solution::Sample },
        { ui->showQualityControls, Solution::QualityControl }, { ui->showBlanks, Solution::Blank },
        { ui->showStandards, Solution::Standard } };
    for (const auto &type : types) {
        connect(type.first, &QCheckBox::toggled, this,
            [this, shown = type.second](bool on) { m_filter->setTypeShown(shown, on); });
    }
    connect(ui->nameFilter, &QLineEdit::textChanged, m_filter, &ResultsFilterModel::setNameFilter);
    connect(ui->measuredValues, &QRadioButton::toggled, this, &ResultsTab::showValues);

    // In the table's menu; the key is the event filter's, since the view
    // itself would take Ctrl+C and copy its current cell alone.
    auto *copy = new QAction(tr("Copy"), ui->resultsTable);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    ui->resultsTable->addAction(copy);
    connect(copy, &QAction::triggered, this, &ResultsTab::copySelection);
    ui->resultsTable->installEventFilter(this);
}

bool ResultsTab::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->resultsTable && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy)) {
        copySelection();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

ResultsTab::~ResultsTab()
{
    delete ui;
}

void ResultsTab::showExport(const RunOutcome &outcome)
{
    m_outcome = &outcome;
    m_processed = false;
    showValues();
}

void ResultsTab::showOutcome()
{
    m_processed = true;
    m_sortColumn = -1;
    m_filter->sort(-1);
    ui->resultsTable->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    showValues();
    fitColumns();
}

// Wide enough for the header, for any number of six digits and for the
// qualifier of an empty value: measured from those texts, since measuring
// the cells of a large run, as resizeColumnsToContents() does, takes seconds.
void ResultsTab::fitColumns()
{
    const ResultsMatrix &matrix = m_matrix->matrix();
    QHeaderView *header = ui->resultsTable->horizontalHeader();
    const QFontMetrics cells = ui->resultsTable->fontMetrics();
    const int cellMargin = 2 * cells.averageCharWidth();
    const int headerMargin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin)
        + header->style()->pixelMetric(QStyle::PM_HeaderMarkSize) + cellMargin;
    int values = cells.horizontalAdvance(QStringLiteral("-0.00000e-00"));
    for (const ResultsMatrix::Qualifier qualifier : ResultsMatrix::qualifiers()) {
        if (ResultsMatrix::colour(qualifier) == -1)
            values
                = qMax(values, cells.horizontalAdvance(ReportedResults::qualifierText(qualifier)));
    }
    for (int column = 0; column < matrix.columnCount(); ++column) {
        int width = values;
        for (int row = 0; matrix.isotopeAt(column) == -1 && row < matrix.rowCount(); ++row)
            width = qMax(width,
                cells.horizontalAdvance(
                    column == 0 ? matrix.solution(row).name() : matrix.unit(row)));
        header->resizeSection(column,
            qMax(width + cellMargin,
                header->fontMetrics().horizontalAdvance(matrix.header(column)) + headerMargin));
    }
}

void ResultsTab::showValues()
{
    if (!m_processed || !m_outcome) {
        m_matrix->setMatrix(ResultsMatrix());
        return;
    }
    m_matrix->setMatrix(ResultsMatrix(m_outcome->working, m_outcome->calibration,
        m_outcome->results, m_outcome->reported,
        ui->measuredValues->isChecked() ? ResultsMatrix::Values::Measured
                                        : ResultsMatrix::Values::Reported));
}

void ResultsTab::sortBy(int column)
{
    if (column != m_sortColumn) {
        m_sortColumn = column;
        m_sortOrder = Qt::AscendingOrder;
    } else if (m_sortOrder == Qt::AscendingOrder) {
        m_sortOrder = Qt::DescendingOrder;
    } else {
        m_sortColumn = -1;
    }
    m_filter->sort(m_sortColumn, m_sortOrder);
    ui->resultsTable->horizontalHeader()->setSortIndicator(m_sortColumn, m_sortOrder);
}

QString ResultsTab::selectionText(QChar decimalPoint) const
{
    const QModelIndexList selected = ui->resultsTable->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString()
                              : ResultsMatrixModel::copyText(*m_filter, selected, decimalPoint);
}

// With the decimal point of the user's locale, which the spreadsheet the
// cells are pasted into reads numbers with.
void ResultsTab::copySelection() const
{
    const QString text = selectionText(QLocale::system().decimalPoint());
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}
