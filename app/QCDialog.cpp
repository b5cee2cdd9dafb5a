#include "app/QCDialog.h"

#include "ui_QCDialog.h"

#include <QLabel>
#include <QListWidget>

QCDialog::QCDialog(const QStringList *failures, int total, QWidget *parent)
    : QDialog(parent), ui(new Ui::QCDialog)
{
    ui->setupUi(this);
    ui->recoveryList->hide();
    ui->recoveryLabel->hide();
    if (!failures) {
        ui->qcList->hide();
        ui->qcLabel->hide();
        setWindowTitle(tr("Internal Standard Recovery"));
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
    // Room for both lists.
    if (!ui->qcList->isHidden())
        resize(width(), qMax(height(), 450));
}

QCDialog::~QCDialog()
{
    delete ui;
}
