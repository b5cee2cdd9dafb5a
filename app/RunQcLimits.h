#ifndef KETRION_RUNQCLIMITS_H
#define KETRION_RUNQCLIMITS_H

#include "model/QcLimits.h"

#include <QGroupBox>
#include <QVector>

class QDoubleSpinBox;
class QSpinBox;

namespace Ui {
class RunQcLimits;
}

// The Configuration tab's limits of the run QC (check roles in the sample
// sheet) and of the batch QC (QC preparations), a row of boxes per limit in
// the order the option names them.
class RunQcLimits : public QGroupBox
{
    Q_OBJECT

public:
    explicit RunQcLimits(QWidget *parent = nullptr);
    ~RunQcLimits() override;

    RunQcLimits(const RunQcLimits &) = delete;
    RunQcLimits &operator=(const RunQcLimits &) = delete;

    QcLimits limits() const;
    // Every digit shown, as a method gives them.
    void setLimits(const QcLimits &limits);

signals:
    void changed();

private:
    // A key's boxes: low and high of a range, the value alone of a factor or
    // percentage, count of EVERY.
    struct Boxes
    {
        QDoubleSpinBox *low = nullptr;
        QDoubleSpinBox *high = nullptr;
        QSpinBox *count = nullptr;
    };

    Boxes addRow(const QcLimits::Key &key, int row, int column);

    Ui::RunQcLimits *ui;
    QVector<Boxes> m_boxes; // in the order of QcLimits::keys()
};

#endif
