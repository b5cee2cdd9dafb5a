#ifndef KETRION_QCDIALOG_H
#define KETRION_QCDIALOG_H

#include <QDialog>
#include <QStringList>

namespace Ui {
class QCDialog;
}

// The report that closes a run with QC validation: one row per failed
// (QC solution, isotope) pair and how many of the checked values failed.
class QCDialog : public QDialog
{
    Q_OBJECT

public:
    QCDialog(const QStringList *failures, int total, QWidget *parent = nullptr);
    ~QCDialog() override;

private:
    Ui::QCDialog *ui;
};

#endif
