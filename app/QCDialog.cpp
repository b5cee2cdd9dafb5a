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
    QWidget *const sections[]
        = { ui->recoveryList, ui->recoveryLabel, ui->calibrationList, ui->calibrationLabel };
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

void QCDialog::showRecovery(const QStringList &outside, int checked, int low, int high)
{
    ui->recoveryList->clear();
    ui->recoveryList->addItems(outside);
    ui->recoveryList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->recoveryLabel->setText(tr("IS recovery <b>outside %1-%2 %</b> : %3 / %4")
                                   .arg(low)
                                   .arg(high)
                                   .arg(outside.size())
                                   .arg(checked));
    ui->recoveryList->show();
    ui->recoveryLabel->show();
    nameSections();
}

void QCDialog::showRejectedCalibrations(const QStringList &rejected, int checked)
{
    ui->calibrationList->clear();
    ui->calibrationList->addItems(rejected);
    ui->calibrationList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->calibrationLabel->setText(
        tr("Calibration <b>rejected</b> : %1 / %2").arg(rejected.size()).arg(checked));
    ui->calibrationList->show();
    ui->calibrationLabel->show();
    nameSections();
}

void QCDialog::nameSections()
{
    const bool recovery = !ui->recoveryList->isHidden();
    const bool calibration = !ui->calibrationList->isHidden();
    // Room for more than one list.
    if (int(!ui->qcList->isHidden()) + int(recovery) + int(calibration) > 1)
        resize(width(), qMax(height(), 450));
    if (!ui->qcList->isHidden())
        return;
    if (recovery && calibration)
        setWindowTitle(tr("Calibration Acceptance and Internal Standard Recovery"));
    else if (calibration)
        setWindowTitle(tr("Calibration Acceptance"));
    else
        setWindowTitle(tr("Internal Standard Recovery"));
}

QCDialog::~QCDialog()
{
    delete ui;
}

void QCDialog::report(const RunOutcome &outcome, const Measurements &data, QWidget *parent)
{
    const QStringList outside = outcome.recovery.lines(data);
    const QStringList rejected = CalibrationAcceptance::rejectionLines(outcome.calibration, data);
    if (!outcome.qcChecked && outside.isEmpty() && rejected.isEmpty())
        return;
    const QStringList failures = outcome.qc.failureLines(data);
    QCDialog report(outcome.qcChecked ? &failures : nullptr, int(outcome.qc.checks.size()), parent);
    if (outcome.acceptanceChecked)
        report.showRejectedCalibrations(
            rejected, CalibrationAcceptance::checkedCount(outcome.calibration));
    if (outcome.recoveryChecked)
        report.showRecovery(
            outside, outcome.recovery.checked, outcome.recovery.low, outcome.recovery.high);
    report.exec();
}
