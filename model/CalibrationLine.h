#ifndef KETRION_CALIBRATIONLINE_H
#define KETRION_CALIBRATIONLINE_H

#include <QString>
#include <QVector>

// One isotope's calibration line, intensity = slope × concentration +
// intercept, with the variances of both, r², the limits of detection and
// quantification (ppb), and the standards it was fitted on.
struct CalibrationLine
{
    // A standard on the line: its position in the working set, its given
    // concentration (ppb) and its intensity (cps) as fitted.
    struct Point
    {
        int solution;
        double concentration;
        double intensity;
    };

    // A slope at or below it turns no intensity into a concentration.
    static constexpr double SMALLEST_SLOPE = 1e-14;

    double slope = 0.0;
    double intercept = 0.0;
    double slopeVariance = 0.0;
    double interceptVariance = 0.0;
    double r2 = 0.0;
    double lod = 0.0;
    double loq = 0.0;
    // The points of the fit, in working-set order.
    QVector<Point> points;
    // Standards with a given concentration that are no point: the value (or
    // its internal standard's) was not measured.
    QVector<Point> leftOut;
    // Why the line fails the lab's acceptance criteria: empty when it passes
    // or was not checked.
    QString rejection;

    bool isUsable() const { return slope > SMALLEST_SLOPE; }
    bool isRejected() const { return !rejection.isEmpty(); }
};

#endif
