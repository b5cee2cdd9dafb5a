#include "app/QCDialog.h"

#include "processing/CalibrationAcceptance.h"
#include "processing/RunOutcome.h"
#include "ui_QCDialog.h"

#include <QLabel>
#include <QListWidget>

QCDialog::QCDialog(const QStringList *failures, int total, QWidget *parent)
    : QDialog(parent), ui(new Ui::QCDialog)
{
    ui->setupUi(this);
    QWidget *const sections[] = { ui->recoveryList, ui->recoveryLabel, ui->calibrationList,
        ui->calibrationLabel, ui->runQcList, ui->runQcLabel, ui->rerunList, ui->rerunLabel,
        ui->batchQcList, ui->batchQcLabel };
    for (QWidget *section : sections)
        section->hide();
    if (!failures) {
        ui->qcList->hide();
        ui->qcLabel->hide();
        return;
    }
    ui->qcList->addItems(*failures);
    ui->qcList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->qcLabel->setText(tr("Quality Control <b>Not valid</b> : ")
        + QString::number(failures->size()) + QStringLiteral(" / ") + QString::number(total));
}

void QCDialog::showSection(
    QListWidget *list, QLabel *label, const QStringList &items, const QString &text)
{
    list->clear();
    list->addItems(items);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    label->setText(text);
    list->show();
    label->show();
    nameSections();
}

void QCDialog::showRecovery(const QStringList &outside, int checked, int low, int high)
{
    showSection(ui->recoveryList, ui->recoveryLabel, outside,
        tr("IS recovery <b>outside %1-%2 %</b> : %3 / %4")
            .arg(low)
            .arg(high)
            .arg(outside.size())
            .arg(checked));
}

void QCDialog::showRejectedCalibrations(const QStringList &rejected, int checked)
{
    showSection(ui->calibrationList, ui->calibrationLabel, rejected,
        tr("Calibration <b>rejected</b> : %1 / %2").arg(rejected.size()).arg(checked));
}

void QCDialog::showRunQc(const RunQcReport &report, const Measurements &data)
{
    showSection(ui->runQcList, ui->runQcLabel, report.failureLines(data) + report.gapLines(data),
        tr("Run QC <b>failed</b> : %1 / %2 checks")
            .arg(report.failureCount())
            .arg(report.verdictCount()));
    showSection(ui->rerunList, ui->rerunLabel, report.rerunLines(data),
        tr("To rerun : %1 results").arg(report.rerunCount()));
}

void QCDialog::showBatchQc(const RunQcReport &report, const Measurements &data)
{
    QString text = tr("Batch QC <b>failed</b> : %1 / %2")
                       .arg(report.comparisonFailureCount())
                       .arg(report.comparisonVerdictCount());
    if (report.notEvaluatedCount() > 0)
        text += tr(", %1 not evaluated (spike below 30 % of the sample)")
                    .arg(report.notEvaluatedCount());
    showSection(ui->batchQcList, ui->batchQcLabel,
        report.comparisonFailureLines(data) + report.notEvaluatedLines(data), text);
}

void QCDialog::nameSections()
{
    const QListWidget *const lists[]
        = { ui->qcList, ui->calibrationList, ui->recoveryList, ui->runQcList, ui->batchQcList };
    int shown = 0;
    for (const QListWidget *list : lists)
        shown += list->isHidden() ? 0 : 1;
    // Room for more than one list.
    if (shown > 1)
        resize(width(), qMax(height(), 150 + 150 * shown));
    if (!ui->qcList->isHidden())
        return;
    QStringList parts;
    const QPair<const QListWidget *, QString> names[]
        = { { ui->calibrationList, tr("Calibration Acceptance") },
              { ui->recoveryList, tr("Internal Standard Recovery") },
              { ui->runQcList, tr("Run QC") }, { ui->batchQcList, tr("Batch QC") } };
    for (const auto &name : names) {
        if (!name.first->isHidden())
            parts << name.second;
    }
    setWindowTitle(parts.size() < 2 ? parts.value(0)
                                    : parts.mid(0, parts.size() - 1).join(QStringLiteral(", "))
                + tr(" and ") + parts.last());
}

QCDialog::~QCDialog()
{
    delete ui;
}

void QCDialog::report(const RunOutcome &outcome, const Measurements &data, QWidget *parent)
{
    const QStringList outside = outcome.recovery.lines(data);
    const QStringList rejected = CalibrationAcceptance::rejectionLines(outcome.calibration, data);
    if (!outcome.qcChecked && outside.isEmpty() && rejected.isEmpty()
        && !outcome.runQc.anyApplies())
        return;
    const QStringList failures = outcome.qc.failureLines(data);
    QCDialog report(outcome.qcChecked ? &failures : nullptr, int(outcome.qc.checks.size()), parent);
    if (outcome.acceptanceChecked)
        report.showRejectedCalibrations(
            rejected, CalibrationAcceptance::checkedCount(outcome.calibration));
    if (outcome.recoveryChecked)
        report.showRecovery(
            outside, outcome.recovery.checked, outcome.recovery.low, outcome.recovery.high);
    if (outcome.runQc.applies)
        report.showRunQc(outcome.runQc, data);
    if (outcome.runQc.batchApplies)
        report.showBatchQc(outcome.runQc, data);
    report.exec();
}
