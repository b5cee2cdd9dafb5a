#ifndef KETRION_DRIFTCORRECTION_H
#define KETRION_DRIFTCORRECTION_H

#include "processing/DriftReport.h"

#include <QString>
#include <QVector>

class Measurements;

// Undoes the drift of each isotope's sensitivity along the run: a monitor
// solution measured again and again should read the same every time, so each
// solution is brought back to the sensitivity of the monitor's first reading,
// interpolated linearly in run order between the readings around it.
class DriftCorrection
{
public:
    // Positions of the monitor's occurrences in data: the solutions named as
    // the monitor's replicates (Solution::isReplicate).
    static QVector<int> occurrences(const Measurements &data, const QString &monitor);

    // Each isotope's factors over the first solutionCount solutions of
    // working, from the occurrences' working values, all read before anything
    // is corrected. The isotopes in skipped get no factors and no line.
    static DriftReport measure(const Measurements &working, int solutionCount,
        const QString &monitor, const QVector<int> &occurrences, const QVector<int> &skipped);

    // Multiplies the measured intensities of working's solution, and their
    // deviations, by the factors of run position, its own or, for a copy made
    // of another solution, the original's.
    static void apply(Measurements *working, const DriftReport &report, int solution, int position);
};

#endif
