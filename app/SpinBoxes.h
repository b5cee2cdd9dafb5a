#ifndef KETRION_SPINBOXES_H
#define KETRION_SPINBOXES_H

class QDoubleSpinBox;

// What the option boxes share.
namespace SpinBoxes {

// Every digit of value, with at least fewest decimals: a method opened and
// saved again must hold what it held. The box's least value follows, so that
// a small value lies within its range.
void showExactly(QDoubleSpinBox *box, double value, int fewest);

} // namespace SpinBoxes

#endif
