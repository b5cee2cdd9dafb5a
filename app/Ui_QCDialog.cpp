#include "app/Ui_QCDialog.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

void Ui_QCDialog::setupUi(QDialog *QCDialog)
{
    if (QCDialog->objectName().isEmpty())
        QCDialog->setObjectName(QStringLiteral("QCDialog"));
    QCDialog->resize(400, 300);

    verticalLayout = new QVBoxLayout(QCDialog);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    qcList = new QListWidget(QCDialog);
    qcList->setObjectName(QStringLiteral("qcList"));
    verticalLayout->addWidget(qcList);
    labelQC = new QLabel(QCDialog);
    labelQC->setObjectName(QStringLiteral("labelQC"));
    labelQC->setTextFormat(Qt::RichText);
    verticalLayout->addWidget(labelQC);
    recoveryList = new QListWidget(QCDialog);
    recoveryList->setObjectName(QStringLiteral("recoveryList"));
    verticalLayout->addWidget(recoveryList);
    labelRecovery = new QLabel(QCDialog);
    labelRecovery->setObjectName(QStringLiteral("labelRecovery"));
    labelRecovery->setTextFormat(Qt::RichText);
    verticalLayout->addWidget(labelRecovery);
    buttonBox = new QDialogButtonBox(QCDialog);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    buttonBox->setOrientation(Qt::Horizontal);
    buttonBox->setStandardButtons(QDialogButtonBox::Ok);
    verticalLayout->addWidget(buttonBox);

    retranslateUi(QCDialog);

    QObject::connect(buttonBox, &QDialogButtonBox::accepted, QCDialog, &QDialog::accept);
    QObject::connect(buttonBox, &QDialogButtonBox::rejected, QCDialog, &QDialog::reject);
    QMetaObject::connectSlotsByName(QCDialog);
}

void Ui_QCDialog::retranslateUi(QDialog *QCDialog)
{
    QCDialog->setWindowTitle(QCoreApplication::translate("QCDialog", "Quality Controls"));
    labelQC->setText(QCoreApplication::translate("QCDialog", "QC"));
}
