#ifndef KETRION_INTERNALSTANDARDISOTOPES_H
#define KETRION_INTERNALSTANDARDISOTOPES_H

#include "model/Isotope.h"

#include <QGroupBox>

#include <array>

class QComboBox;

namespace Ui {
class InternalStandardIsotopes;
}

// The Configuration tab's box of IS isotopes, one per group, and the IS
// recovery window, whose low bound always stays below its high one.
class InternalStandardIsotopes : public QGroupBox
{
    Q_OBJECT

public:
    explicit InternalStandardIsotopes(QWidget *parent = nullptr);
    ~InternalStandardIsotopes() override;

    InternalStandardIsotopes(const InternalStandardIsotopes &) = delete;
    InternalStandardIsotopes &operator=(const InternalStandardIsotopes &) = delete;

    // The box of the group's isotopes.
    QComboBox *isotopes(Isotope::Resolution group) const { return m_isotopes.at(group); }
    int recoveryLow() const;
    int recoveryHigh() const;
    // Both bounds at once; a pair the boxes cannot hold is ignored.
    void setRecoveryBounds(int low, int high);

signals:
    void isotopeChanged();
    void recoveryBoundsChanged();

private:
    void keepRecoveryBoundsApart();

    Ui::InternalStandardIsotopes *ui;
    std::array<QComboBox *, Isotope::GROUP_COUNT> m_isotopes; // HR, MR, LR
};

#endif
