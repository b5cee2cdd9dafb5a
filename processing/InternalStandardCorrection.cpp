#include "processing/InternalStandardCorrection.h"

#include "model/Measurements.h"

void InternalStandardCorrection::correct(
    Measurements *data, int reference, int isotope, Isotope::Resolution group)
{
    if (reference == -1 || isotope == -1)
        return;
    const double referenceValue = data->solution(reference).intensity(isotope);
    const QVector<int> &members = data->group(group);
    for (int s = 0; s < data->solutionCount(); ++s) {
        Solution &solution = data->solution(s);
        const double y = solution.intensity(isotope);
        if (y == 0.0)
            continue;
        // The reference's own factor is 1, so reading its IS value once is safe.
        const double factor = referenceValue / y;
        for (const int i : members) {
            const double c = solution.intensity(i);
            if (c != 0.0)
                solution.setIntensity(i, c * factor);
        }
    }
}
