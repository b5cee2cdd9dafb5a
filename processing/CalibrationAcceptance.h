#ifndef KETRION_CALIBRATIONACCEPTANCE_H
#define KETRION_CALIBRATIONACCEPTANCE_H

#include <QStringList>

struct Calibration;
class Measurements;

// Holds each usable calibration line to a lab's criteria: at least three
// points, r² at least the minimum, and every standard read back from the line
// within the tolerance of its given value (twice the tolerance at the lowest
// level, nearest the noise; the zero standard is not read back). A line that
// fails gets the first reason, in that order.
class CalibrationAcceptance
{
public:
    static constexpr int MINIMUM_POINTS = 3;

    static void check(
        Calibration *calibration, const Measurements &working, double minimumR2, double tolerance);
    // How many usable lines were checked, and one line per rejected isotope
    // ("59Co MR : R² 0.99120 < 0.995"), in isotope order.
    static int checkedCount(const Calibration &calibration);
    static QStringList rejectionLines(const Calibration &calibration, const Measurements &data);
};

#endif
