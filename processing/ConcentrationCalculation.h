#ifndef KETRION_CONCENTRATIONCALCULATION_H
#define KETRION_CONCENTRATIONCALCULATION_H

#include "model/CalibrationLine.h"
#include "model/Isotope.h"
#include "model/Results.h"

#include <array>

struct Calibration;
class ExpectedConcentrations;
class Measurements;

// Concentrations from the calibration lines, with their relative standard
// deviations propagated from the intensities as read, the blank, the
// internal standard and the line.
class ConcentrationCalculation
{
public:
    struct Choices
    {
        int blank = -1; // solution subtracted, or -1
        int reference = -1; // IS reference solution, or -1
        // Per group the IS isotope of a corrected group, or -1.
        std::array<int, Isotope::GROUP_COUNT> standards { -1, -1, -1 };
    };

    // A row per solution of working. Standards report their given value and
    // error; the other solutions of source, whose intensities as read feed
    // the uncertainty, get a concentration where their isotope has a line and
    // a measured value; every other value stays empty.
    static Results compute(const Measurements &working, const Measurements &source,
        const ExpectedConcentrations &expected, const Calibration &calibration,
        const Choices &choices);

    // Squared relative terms of the uncertainty.
    static double isFactor(double reference, double value);
    static double squaredRatio(double deviation, double value);
    static double slopeTerm(const CalibrationLine &line);
    static double interceptTerm(double y, double sy, const CalibrationLine &line);
    static double blankTerm(
        double y, double sy, const CalibrationLine &line, double yb, double syb);
    static double interceptTermWithIS(
        double y, double sy, const CalibrationLine &line, double a, double b, double alpha);
    static double blankTermWithIS(double y, double sy, const CalibrationLine &line, double yb,
        double syb, double a, double b, double alpha);

private:
    // Per group: the relative variances of the IS in the solution
    // and in the reference, and the IS factor.
    struct StandardTerms
    {
        std::array<double, Isotope::GROUP_COUNT> a { 0.0, 0.0, 0.0 };
        std::array<double, Isotope::GROUP_COUNT> b { 0.0, 0.0, 0.0 };
        std::array<double, Isotope::GROUP_COUNT> alpha { 1.0, 1.0, 1.0 };
    };

    static StandardTerms standardTerms(
        const Measurements &source, int solution, const Choices &choices);
    // The concentration's squared RSD; terms null without the IS terms.
    static double relativeVariance(const Measurements &source, int solution, int isotope,
        const CalibrationLine &line, int blank, const StandardTerms *terms, int group);
};

#endif
