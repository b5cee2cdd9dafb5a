#include "processing/ConcentrationCalculation.h"

#include "model/Calibration.h"
#include "model/ExpectedConcentrations.h"
#include "model/Measurements.h"

#include <cmath>

Results ConcentrationCalculation::compute(const Measurements &working, const Measurements &source,
    const ExpectedConcentrations &expected, const Calibration &calibration, const Choices &choices)
{
    const int isotopeCount = source.isotopeCount();
    Results results(working.solutionCount(), isotopeCount);
    for (int s = 0; s < source.solutionCount(); ++s) {
        const Solution &treated = working.solution(s);
        if (treated.type() == Solution::Standard) {
            for (int i = 0; i < isotopeCount; ++i)
                results.set(s, i, expected.value(s, i), expected.error(s, i));
            continue;
        }
        const StandardTerms terms = standardTerms(source, s, choices);
        for (int i = 0; i < isotopeCount; ++i) {
            // Without a usable line an expected value would pass for a result;
            // without an intensity the line's intercept alone would.
            const CalibrationLine &line = calibration.lines.at(i);
            if (!line.isUsable() || !treated.isMeasured(i))
                continue;
            const double c = (treated.intensity(i) - line.intercept) / line.slope;
            const int g = working.isotope(i).group();
            const bool withIS = choices.reference != -1 && choices.standards[g] != -1;
            const double q
                = relativeVariance(source, s, i, line, choices.blank, withIS ? &terms : nullptr, g);
            results.set(s, i, c, 100.0 * std::sqrt(q));
        }
    }
    return results;
}

ConcentrationCalculation::StandardTerms ConcentrationCalculation::standardTerms(
    const Measurements &source, int solution, const Choices &choices)
{
    StandardTerms terms;
    if (choices.reference == -1)
        return terms;
    const Solution &measured = source.solution(solution);
    const Solution &reference = source.solution(choices.reference);
    for (int g = 0; g < Isotope::GROUP_COUNT; ++g) {
        const int j = choices.standards[g];
        if (j == -1)
            continue;
        terms.a[g] = squaredRatio(measured.intensitySD(j), measured.intensity(j));
        terms.b[g] = squaredRatio(reference.intensitySD(j), reference.intensity(j));
        terms.alpha[g] = isFactor(reference.intensity(j), measured.intensity(j));
    }
    return terms;
}

double ConcentrationCalculation::relativeVariance(const Measurements &source, int solution,
    int isotope, const CalibrationLine &line, int blank, const StandardTerms *terms, int group)
{
    const Solution &measured = source.solution(solution);
    const double y = measured.intensity(isotope);
    const double sy = measured.intensitySD(isotope);
    double q;
    if (blank != -1) {
        const double yb = source.solution(blank).intensity(isotope);
        const double syb = source.solution(blank).intensitySD(isotope);
        q = terms ? blankTermWithIS(
                y, sy, line, yb, syb, terms->a[group], terms->b[group], terms->alpha[group])
                  : blankTerm(y, sy, line, yb, syb);
    } else {
        q = terms ? interceptTermWithIS(
                y, sy, line, terms->a[group], terms->b[group], terms->alpha[group])
                  : interceptTerm(y, sy, line);
    }
    q += slopeTerm(line);
    return q;
}

double ConcentrationCalculation::isFactor(double reference, double value)
{
    return reference / value;
}

double ConcentrationCalculation::squaredRatio(double deviation, double value)
{
    return (deviation / value) * (deviation / value);
}

double ConcentrationCalculation::slopeTerm(const CalibrationLine &line)
{
    return line.slopeVariance / (line.slope * line.slope);
}

double ConcentrationCalculation::interceptTerm(double y, double sy, const CalibrationLine &line)
{
    const double signal = y - line.intercept;
    return (sy * sy + line.interceptVariance) / (signal * signal);
}

double ConcentrationCalculation::blankTerm(
    double y, double sy, const CalibrationLine &line, double yb, double syb)
{
    const double signal = y - yb - line.intercept;
    return (sy * sy + syb * syb + line.interceptVariance) / (signal * signal);
}

double ConcentrationCalculation::interceptTermWithIS(
    double y, double sy, const CalibrationLine &line, double a, double b, double alpha)
{
    const double corrected = alpha * y;
    const double signal = corrected - line.intercept;
    return (((sy / y) * (sy / y) + a + b) * corrected * corrected + line.interceptVariance)
        / (signal * signal);
}

double ConcentrationCalculation::blankTermWithIS(double y, double sy, const CalibrationLine &line,
    double yb, double syb, double a, double b, double alpha)
{
    const double net = y - yb;
    const double corrected = alpha * net;
    const double signal = corrected - line.intercept;
    return (((sy * sy + syb * syb) / (net * net) + a + b) * corrected * corrected
               + line.interceptVariance)
        / (signal * signal);
}
