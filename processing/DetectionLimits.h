#ifndef KETRION_DETECTIONLIMITS_H
#define KETRION_DETECTIONLIMITS_H

#include <QVector>

struct Calibration;
class Measurements;
class Results;

// Limits of detection and quantification: three and ten times the population
// standard deviation of the blanks' concentrations.
class DetectionLimits
{
public:
    // Over the listed blanks that measured each isotope; 0.0 when none did.
    // No blank listed leaves every limit as it was.
    static void compute(Calibration *calibration, const Measurements &working,
        const Results &results, const QVector<int> &blanks);
};

#endif
