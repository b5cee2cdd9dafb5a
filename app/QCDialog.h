#ifndef KETRION_QCDIALOG_H
#define KETRION_QCDIALOG_H

#include <QDialog>
#include <QStringList>

class Measurements;
class QLabel;
class QListWidget;
struct RunOutcome;
struct RunQcReport;

namespace Ui {
class QCDialog;
}

// The report that closes a run with QC validation: one row per failed
// (QC solution, isotope) pair and how many of the checked values failed;
// under it, when the run checked them, the calibrations rejected, the IS
// recovery, the run QC with the results to rerun and the batch QC.
class QCDialog : public QDialog
{
    Q_OBJECT

public:
    // Without failures (null) the dialog has no QC section: a recovery report alone.
    QCDialog(const QStringList *failures, int total, QWidget *parent = nullptr);
    ~QCDialog() override;

    // The report of a run's checks, opened when it has something to say:
    // always after QC validation or with roles in the sample sheet, otherwise
    // only for rejected calibrations or IS recovery outside its bounds.
    static void report(const RunOutcome &outcome, const Measurements &data, QWidget *parent);

    // One row per (solution, IS isotope) pair outside low..high percent, and
    // how many of the checked pairs that is.
    void showRecovery(const QStringList &outside, int checked, int low, int high);
    // One row per isotope whose calibration fails the acceptance criteria,
    // with the reason, and how many of the checked lines that is.
    void showRejectedCalibrations(const QStringList &rejected, int checked);
    // The run QC's failing checks and gaps, and the results to rerun.
    void showRunQc(const RunQcReport &report, const Measurements &data);
    // The batch QC's failing comparisons and the spikes not evaluated.
    void showBatchQc(const RunQcReport &report, const Measurements &data);

private:
    void showSection(
        QListWidget *list, QLabel *label, const QStringList &items, const QString &text);
    // Without the QC section the title names what the report holds.
    void nameSections();

    Ui::QCDialog *ui;
};

#endif
