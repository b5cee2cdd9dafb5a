#ifndef KETRION_RECOVERYREPORT_H
#define KETRION_RECOVERYREPORT_H

#include <QStringList>
#include <QVector>

class Measurements;

// Outcome of the internal-standard recovery check: how many (solution, IS
// isotope) pairs were checked and which of them fell outside the bounds.
struct RecoveryReport
{
    struct Pair
    {
        int solution; // position in the export
        int isotope;
        bool measured; // false: the solution has no value for the IS isotope
        double percent; // of the reference solution's value; 0 when not measured
    };

    int low = 0; // bounds in whole percents, both inside
    int high = 0;
    int checked = 0;
    // Positions, not texts: a large run may have thousands, and their texts
    // are made only where they are shown.
    QVector<Pair> outside; // in solution order, then LR, MR, HR

    // One text per pair outside: "Soil_3 : 115In LR (51.8 %)", or "(not measured)".
    QStringList lines(const Measurements &data) const;
};

#endif
