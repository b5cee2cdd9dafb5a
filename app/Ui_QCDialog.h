#ifndef KETRION_UI_QCDIALOG_H
#define KETRION_UI_QCDIALOG_H

class QDialog;
class QDialogButtonBox;
class QLabel;
class QListWidget;
class QVBoxLayout;

// The QC report's widgets: the failure list and its summary line, the IS
// recovery list and its summary line, and an OK button.
class Ui_QCDialog
{
public:
    QVBoxLayout *verticalLayout;
    QListWidget *qcList;
    QLabel *labelQC;
    QListWidget *recoveryList;
    QLabel *labelRecovery;
    QDialogButtonBox *buttonBox;

    void setupUi(QDialog *QCDialog);
    void retranslateUi(QDialog *QCDialog);
};

namespace Ui {
class QCDialog : public Ui_QCDialog
{
};
} // namespace Ui

#endif
