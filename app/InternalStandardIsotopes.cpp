#include "app/InternalStandardIsotopes.h"

#include "model/RunOptions.h"
#include "ui_InternalStandardIsotopes.h"

#include <QSignalBlocker>

InternalStandardIsotopes::InternalStandardIsotopes(QWidget *parent)
    : QGroupBox(parent), ui(new Ui::InternalStandardIsotopes)
{
    ui->setupUi(this);
    m_isotopes[Isotope::HR] = ui->isotopeHR;
    m_isotopes[Isotope::MR] = ui->isotopeMR;
    m_isotopes[Isotope::LR] = ui->isotopeLR;
    const auto indexChanged = QOverload<int>::of(&QComboBox::currentIndexChanged);
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN)
        connect(isotopes(group), indexChanged, this, &InternalStandardIsotopes::isotopeChanged);
    for (QSpinBox *bound : { ui->recoveryLow, ui->recoveryHigh }) {
        connect(bound, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &InternalStandardIsotopes::keepRecoveryBoundsApart);
        connect(bound, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &InternalStandardIsotopes::recoveryBoundsChanged);
    }
    for (QSpinBox *bound : { ui->recoveryLow, ui->recoveryHigh })
        bound->setMaximum(RunOptions::MAXIMUM_RECOVERY);
    ui->recoveryLow->setValue(RunOptions::DEFAULT_RECOVERY_LOW);
    ui->recoveryHigh->setValue(RunOptions::DEFAULT_RECOVERY_HIGH);
    keepRecoveryBoundsApart();
}

InternalStandardIsotopes::~InternalStandardIsotopes()
{
    delete ui;
}

int InternalStandardIsotopes::recoveryLow() const
{
    return ui->recoveryLow->value();
}

int InternalStandardIsotopes::recoveryHigh() const
{
    return ui->recoveryHigh->value();
}

void InternalStandardIsotopes::keepRecoveryBoundsApart()
{
    ui->recoveryHigh->setMinimum(ui->recoveryLow->value() + 1);
    ui->recoveryLow->setMaximum(ui->recoveryHigh->value() - 1);
}

// The bounds pass RunOptions::check(), whose range the boxes have.
void InternalStandardIsotopes::setRecoveryBounds(int low, int high)
{
    // Each box's range hangs on the other's value: both are set before the ranges.
    {
        const QSignalBlocker lowBlocker(ui->recoveryLow);
        const QSignalBlocker highBlocker(ui->recoveryHigh);
        ui->recoveryLow->setMaximum(ui->recoveryHigh->maximum() - 1);
        ui->recoveryHigh->setMinimum(1);
        ui->recoveryLow->setValue(low);
        ui->recoveryHigh->setValue(high);
        keepRecoveryBoundsApart();
    }
    emit recoveryBoundsChanged();
}
