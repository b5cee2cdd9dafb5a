#ifndef KETRION_DRIFTREPORT_H
#define KETRION_DRIFTREPORT_H

#include <QString>
#include <QStringList>
#include <QVector>

class Measurements;

// How each isotope's sensitivity drifted along the run, as a monitor solution
// measured again and again showed it, and the factors that undid it.
struct DriftReport
{
    struct IsotopeDrift
    {
        // An IS isotope of a corrected group: neither corrected nor reported.
        bool skipped = true;
        QVector<int> checks; // the occurrences usable for this isotope
        // m1 / m(p) for every position p of the export; empty: not corrected.
        QVector<double> factors;
        // The largest |1 - factor| among the solutions that measured the
        // isotope, and the first of them to reach it; -1: not corrected.
        double largest = 0.0;
        int largestAt = -1;

        bool corrected() const { return !factors.isEmpty(); }
    };

    QString monitor;
    QVector<int> occurrences; // the monitor's positions in the export, in run order
    QVector<IsotopeDrift> isotopes; // one per isotope of the export

    // The trace's lines: "# drift correction with VS: 3 checks", then per
    // isotope reported "75As HR: largest drift 7.3 % at Well_12" or
    // "75As HR: not corrected (1 check)".
    QStringList lines(const Measurements &data) const;
};

#endif
