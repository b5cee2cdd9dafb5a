#include "processing/DetectionLimits.h"

#include "model/Calibration.h"
#include "model/Measurements.h"
#include "model/Results.h"
#include "processing/Statistics.h"

#include <cmath>

void DetectionLimits::compute(Calibration *calibration, const Measurements &working,
    const Results &results, const QVector<int> &blanks)
{
    if (blanks.isEmpty())
        return;
    for (int i = 0; i < working.isotopeCount(); ++i) {
        // A blank that did not measure the isotope has no concentration to spread.
        QVector<double> v;
        for (const int s : blanks) {
            if (working.solution(s).isMeasured(i))
                v.append(results.concentration(s, i));
        }
        CalibrationLine &line = calibration->lines[i];
        if (v.isEmpty()) {
            line.lod = 0.0;
            line.loq = 0.0;
            continue;
        }
        const double mean = Statistics::mean(v);
        double sum = 0.0;
        for (const double c : qAsConst(v))
            sum += (c - mean) * (c - mean);
        const double sigma = std::sqrt(sum / v.size());
        line.lod = 3.0 * sigma;
        line.loq = 10.0 * sigma;
    }
}
