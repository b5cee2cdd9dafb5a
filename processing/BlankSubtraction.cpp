#include "processing/BlankSubtraction.h"

#include "model/Measurements.h"

void BlankSubtraction::subtract(Measurements *data, int blank, const QVector<int> &keep)
{
    if (blank == -1)
        return;
    for (int i = 0; i < data->isotopeCount(); ++i) {
        // A value of the blank not measured (or whose IS was not) has nothing to take off.
        if (keep.contains(i) || !data->solution(blank).isMeasured(i))
            continue;
        // Read before the loop: the blank itself is visited and becomes zero.
        const double b = data->solution(blank).intensity(i);
        for (int s = 0; s < data->solutionCount(); ++s) {
            Solution &solution = data->solution(s);
            const double c = solution.intensity(i);
            if (c != 0.0)
                solution.setIntensity(i, c - b);
        }
    }
}
