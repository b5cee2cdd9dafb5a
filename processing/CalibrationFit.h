#ifndef KETRION_CALIBRATIONFIT_H
#define KETRION_CALIBRATIONFIT_H

#include "model/Calibration.h"

class ExpectedConcentrations;
class Measurements;

// Least-squares calibration lines through the standards of a working set.
class CalibrationFit
{
public:
    // The line of one isotope: its points are the standards with a given
    // concentration that measured it, and the zero standard at 0.0. A line
    // that cannot be fitted keeps slope and intercept 0.0; one fitted in full
    // is traced.
    static CalibrationLine fit(const Measurements &working, const ExpectedConcentrations &expected,
        int isotope, Calibration::Weighting weighting);

    // Why a line with standards was not fitted, in a few words; empty for a
    // usable line and for one without any standard given a concentration.
    static QString whyNotFitted(const CalibrationLine &line, const Measurements &working);

private:
    // Weighted means and sums of squares of a fit; unweighted ones for no weighting.
    struct Sums
    {
        double xMean = 0.0;
        double yMean = 0.0;
        double sxx = 0.0;
        double sxy = 0.0;
        double syy = 0.0;
    };

    static QVector<double> weights(const QVector<double> &x, Calibration::Weighting weighting);
    static Sums sums(const QVector<double> &x, const QVector<double> &y, const QVector<double> &w);
    // Slope and intercept where they can be computed, and r², the variances
    // and true where the whole fit can.
    static bool store(CalibrationLine *line, const QVector<double> &x, const QVector<double> &y,
        const QVector<double> &w, const Sums &sums);
};

#endif
