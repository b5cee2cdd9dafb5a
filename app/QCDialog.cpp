#include "app/QCDialog.h"

#include "app/Ui_QCDialog.h"

#include <QLabel>
#include <QListWidget>

QCDialog::QCDialog(const QStringList *failures, int total, QWidget *parent)
    : QDialog(parent), ui(new Ui::QCDialog)
{
    ui->setupUi(this);
    ui->qcList->addItems(*failures);
    ui->qcList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->labelQC->setText(tr("Quality Control <b>Not valid</b> : ")
        + QString::number(failures->size()) + QStringLiteral(" / ") + QString::number(total));
}

QCDialog::~QCDialog()
{
    delete ui;
}
