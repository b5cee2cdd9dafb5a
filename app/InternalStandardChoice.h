#ifndef KETRION_INTERNALSTANDARDCHOICE_H
#define KETRION_INTERNALSTANDARDCHOICE_H

#include <QStringList>
#include <QVector>

// The Configuration tab's choices that the Internal Standard plot follows.
struct InternalStandardChoice
{
    // One per group in the order shown (Isotope::GROUPS_SHOWN): the IS
    // isotope's name and its row among the group's isotopes, -1 for none.
    // Empty: no export read whole, nothing to plot.
    QStringList isotopes;
    QVector<int> rows;
    int reference = -1; // the reference solution's row; -1 without IS correction
    int recoveryLow = 0;
    int recoveryHigh = 0;
};

#endif
