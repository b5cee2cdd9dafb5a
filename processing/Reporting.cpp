#include "processing/Reporting.h"

#include "model/Calibration.h"
#include "model/Measurements.h"
#include "model/Results.h"
#include "model/SampleSheet.h"

#include <cmath>
#include <limits>

using Qualifier = ReportedResults::Qualifier;

namespace {

// Why a value is empty, as the results file leaves it empty.
Qualifier emptyQualifier(const Solution &solution, int isotope, const CalibrationLine &line)
{
    if (solution.type() == Solution::Standard)
        return Qualifier::NoValue;
    if (!line.isUsable())
        return Qualifier::NoCalibration;
    if (!solution.isMeasured(isotope))
        return Qualifier::NotMeasured;
    return Qualifier::NoValue;
}

bool overRange(double c, const CalibrationLine &line)
{
    if (line.points.isEmpty())
        return false;
    double highest = line.points.first().concentration;
    for (const CalibrationLine::Point &point : line.points)
        highest = std::max(highest, point.concentration);
    return c > highest;
}

// The first qualifier that applies to a value c, reported as value; findings
// is null when the run QC did not apply.
Qualifier qualify(const Solution &solution, int isotope, double c, double value,
    const CalibrationLine &line, const ReportedResults::Findings *findings)
{
    if (c == 0.0)
        return emptyQualifier(solution, isotope, line);
    // A large factor can take a finite c beyond the doubles.
    if (!std::isfinite(value))
        return Qualifier::NoValue;
    if (line.isRejected())
        return Qualifier::CalibrationRejected;
    if (findings && !findings->isEmpty())
        return findings->first().kind;
    if (c < line.lod)
        return Qualifier::BelowDetection;
    if (c < line.loq)
        return Qualifier::BelowQuantification;
    if (overRange(c, line))
        return Qualifier::OverRange;
    return Qualifier::None;
}

} // namespace

ReportedResults Reporting::report(const Measurements &working, const Calibration &calibration,
    const Results &results, const SampleSheet &sheet,
    const QVector<ReportedResults::Findings> &findings)
{
    const int isotopeCount = working.isotopeCount();
    // Copies that share their data with the run's: a value is worked out
    // each time it is read, never stored.
    ReportedResults reported(working.solutionCount(), isotopeCount,
        [working, lines = calibration.lines, results, sheet, findings, isotopeCount](
            int s, int i) -> ReportedResults::Value {
            const double none = std::numeric_limits<double>::quiet_NaN();
            const double f = sheet.factor(s);
            const CalibrationLine &line = lines.at(i);
            const double c = results.concentration(s, i);
            const double value = c == 0.0 ? none : c * f;
            const double rsd = results.rsd(s, i);
            double sd = c == 0.0 ? none : std::abs(value) * rsd / 100.0;
            // |c x F| x RSD can overflow where the SD times F does not.
            if (std::isfinite(value) && !std::isfinite(sd))
                sd = std::abs(c) * rsd / 100.0 * f;
            // No line, no limits: an IS isotope, or one without standards.
            const bool limited = line.isUsable();
            return { value, sd, limited ? line.lod * f : none, limited ? line.loq * f : none,
                qualify(working.solution(s), i, c, value, line,
                    findings.isEmpty() ? nullptr : &findings.at(s * isotopeCount + i)) };
        });
    reported.setSheet(sheet);
    reported.setFindings(findings);
    return reported;
}
