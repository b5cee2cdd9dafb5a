#include "app/SpinBoxes.h"

#include <QDoubleSpinBox>

#include <cmath>

void SpinBoxes::showExactly(QDoubleSpinBox *box, double value, int fewest)
{
    int decimals = fewest;
    while (decimals < 17 && QString::number(value, 'f', decimals).toDouble() != value)
        ++decimals;
    box->setDecimals(decimals);
    if (box->minimum() > 0.0)
        box->setMinimum(std::pow(10.0, -decimals));
    box->setValue(value);
}
