#include "processing/DriftCorrection.h"

#include "model/Measurements.h"

namespace {

// The monitor's expected reading at run position p: the straight line between
// the usable checks around it, flat before the first and after the last.
double expectedLevel(const QVector<int> &checks, const QVector<double> &levels, int p)
{
    if (p <= checks.first())
        return levels.first();
    if (p >= checks.last())
        return levels.last();
    int after = 1;
    while (checks.at(after) <= p)
        ++after;
    const int before = after - 1;
    return levels.at(before)
        + (levels.at(after) - levels.at(before)) * (p - checks.at(before))
        / (checks.at(after) - checks.at(before));
}

DriftReport::IsotopeDrift measureIsotope(
    const Measurements &working, int solutionCount, const QVector<int> &occurrences, int iso)
{
    DriftReport::IsotopeDrift drift;
    drift.skipped = false;
    QVector<double> levels;
    // A reading at or below zero, after the blank is taken off, says nothing
    // of the sensitivity.
    for (const int k : occurrences) {
        const Solution &check = working.solution(k);
        if (check.isMeasured(iso) && check.intensity(iso) > 0.0) {
            drift.checks.append(k);
            levels.append(check.intensity(iso));
        }
    }
    if (drift.checks.size() < 2)
        return drift;
    drift.factors.resize(solutionCount);
    for (int p = 0; p < solutionCount; ++p) {
        const double factor = levels.first() / expectedLevel(drift.checks, levels, p);
        drift.factors[p] = factor;
        if (!working.solution(p).isMeasured(iso))
            continue;
        const double change = qAbs(1.0 - factor);
        if (drift.largestAt == -1 || change > drift.largest) {
            drift.largest = change;
            drift.largestAt = p;
        }
    }
    return drift;
}

} // namespace

QVector<int> DriftCorrection::occurrences(const Measurements &data, const QString &monitor)
{
    QVector<int> found;
    for (int s = 0; s < data.solutionCount(); ++s) {
        if (Solution::isReplicate(data.solution(s).name(), monitor))
            found.append(s);
    }
    return found;
}

DriftReport DriftCorrection::measure(const Measurements &working, int solutionCount,
    const QString &monitor, const QVector<int> &occurrences, const QVector<int> &skipped)
{
    DriftReport report;
    report.monitor = monitor;
    report.occurrences = occurrences;
    report.isotopes.resize(working.isotopeCount());
    for (int i = 0; i < working.isotopeCount(); ++i) {
        if (!skipped.contains(i))
            report.isotopes[i] = measureIsotope(working, solutionCount, occurrences, i);
    }
    return report;
}

void DriftCorrection::apply(
    Measurements *working, const DriftReport &report, int solution, int position)
{
    Solution &target = working->solution(solution);
    for (int i = 0; i < report.isotopes.size(); ++i) {
        const DriftReport::IsotopeDrift &drift = report.isotopes.at(i);
        // A value not measured stays as it is: not measured.
        if (!drift.corrected() || !target.isMeasured(i))
            continue;
        const double factor = drift.factors.at(position);
        target.setIntensity(i, target.intensity(i) * factor);
        target.setIntensitySD(i, target.intensitySD(i) * factor);
    }
}
