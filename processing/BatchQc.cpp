#include "processing/BatchQc.h"

#include "model/Calibration.h"
#include "model/ExpectedConcentrations.h"
#include "model/Measurements.h"
#include "model/Results.h"
#include "model/SampleSheet.h"
#include "processing/RecoveryCheck.h"
#include "processing/RunQc.h"

#include <cmath>
#include <limits>

namespace {

using Verdict = RunQcReport::Verdict;
using Comparison = RunQcReport::Comparison;
using Figure = Comparison::Figure;
using Qualifier = ReportedResults::Qualifier;

const double NONE = std::numeric_limits<double>::quiet_NaN();

// What one batch's QC looks at.
struct Batch
{
    const Measurements &working;
    const ExpectedConcentrations &expected;
    const Results &results;
    const Calibration &calibration;
    const SampleSheet &sheet;
    const QcLimits &limits;

    double c(int s, int i) const { return results.concentration(s, i); }
    bool has(int s, int i) const { return RunQc::hasConcentration(c(s, i)); }
    // The reported value R = c × F; NaN without a concentration.
    double reported(int s, int i) const { return has(s, i) ? c(s, i) * sheet.factor(s) : NONE; }
    double loq(int i) const { return calibration.lines.at(i).loq; }
};

Comparison start(int s, int i, QcRole::Role role, Figure figure, int against)
{
    return { s, i, role, figure, against, NONE, NONE, NONE, NONE, NONE, Verdict::None };
}

// Judged as printed, to one decimal.
Comparison judgeRpd(Comparison c, double limit)
{
    c.result = 100.0 * std::abs(c.value - c.other) / ((c.value + c.other) / 2.0);
    c.verdict = RecoveryCheck::inside(c.result, -std::numeric_limits<double>::infinity(), limit)
        ? Verdict::Pass
        : Verdict::Fail;
    return c;
}

// Near the LOQ an RPD means little: both reported values must reach 5 × LOQ
// times the parent's factor, else they may differ by one LOQ times it.
Comparison duplicate(const Batch &batch, int s, int i)
{
    const int p = batch.sheet.parent(s);
    Comparison c = start(s, i, QcRole::DUP, Figure::Rpd, p);
    c.value = batch.reported(s, i);
    c.other = batch.reported(p, i);
    const double loq = batch.loq(i) * batch.sheet.factor(p);
    if (!batch.has(s, i) || !batch.has(p, i) || !std::isfinite(loq))
        return c;
    if (c.value >= 5.0 * loq && c.other >= 5.0 * loq)
        return judgeRpd(c, batch.limits.rpd);
    c.figure = Figure::Difference;
    c.result = std::abs(c.value - c.other);
    c.limit = loq;
    c.verdict = c.result <= c.limit ? Verdict::Pass : Verdict::Fail;
    return c;
}

// The parent is taken into the spiked solution's dilution: u = c_P × F_P / F_MS.
Comparison spikeRecovery(const Batch &batch, int s, int i)
{
    const int p = batch.sheet.parent(s);
    Comparison c = start(s, i, batch.sheet.role(s), Figure::Recovery, p);
    c.spike = batch.expected.spike(s, i);
    if (!batch.has(s, i) || !batch.has(p, i))
        return c;
    c.value = batch.c(s, i);
    c.other = batch.c(p, i) * batch.sheet.factor(p) / batch.sheet.factor(s);
    if (c.spike == 0.0)
        return c;
    // A spike lost in what the sample holds says nothing of the recovery.
    if (c.spike < 0.3 * c.other) {
        c.verdict = Verdict::NotEvaluated;
        return c;
    }
    c.result = 100.0 * (c.value - c.other) / c.spike;
    const QcLimits::Range range = batch.limits.ms;
    c.verdict
        = RecoveryCheck::inside(c.result, range.low, range.high) ? Verdict::Pass : Verdict::Fail;
    return c;
}

// Always an RPD, spike evaluated or not.
Comparison spikeRpd(const Batch &batch, int s, int i, int ms)
{
    Comparison c = start(s, i, QcRole::MSD, Figure::Rpd, ms);
    c.value = batch.reported(s, i);
    c.other = batch.reported(ms, i);
    if (!batch.has(s, i) || !batch.has(ms, i))
        return c;
    return judgeRpd(c, batch.limits.rpd);
}

Comparison controlSample(const Batch &batch, int s, int i)
{
    Comparison c = start(s, i, QcRole::LCS, Figure::Recovery, -1);
    const double e = batch.expected.value(s, i);
    if (e == 0.0 || !std::isfinite(e))
        return c;
    c.other = e;
    if (!batch.has(s, i))
        return c;
    c.value = batch.c(s, i);
    c.result = 100.0 * c.value / e;
    c.verdict = RecoveryCheck::inside(c.result, batch.limits.lcs.low, batch.limits.lcs.high)
        ? Verdict::Pass
        : Verdict::Fail;
    return c;
}

// A negative blank is no contamination.
Comparison methodBlank(const Batch &batch, int s, int i)
{
    Comparison c = start(s, i, QcRole::MB, Figure::Contamination, -1);
    const double loq = batch.loq(i);
    if (!batch.has(s, i) || !std::isfinite(loq))
        return c;
    c.value = c.result = batch.c(s, i);
    c.limit = batch.limits.mb * loq;
    c.verdict = c.result > c.limit ? Verdict::Fail : Verdict::Pass;
    return c;
}

// The first MS of a parent in run order; -1 for none.
int firstSpike(const Batch &batch, int parent)
{
    for (int s = 0; s < batch.working.solutionCount(); ++s) {
        if (batch.sheet.role(s) == QcRole::MS && batch.sheet.parent(s) == parent)
            return s;
    }
    return -1;
}

void compare(const Batch &batch, int s, QVector<Comparison> *comparisons)
{
    const QcRole::Role role = batch.sheet.role(s);
    const int ms = role == QcRole::MSD ? firstSpike(batch, batch.sheet.parent(s)) : -1;
    for (int i = 0; i < batch.working.isotopeCount(); ++i) {
        if (!batch.calibration.lines.at(i).isUsable())
            continue;
        if (role == QcRole::DUP)
            comparisons->append(duplicate(batch, s, i));
        else if (QcRole::isSpiked(role))
            comparisons->append(spikeRecovery(batch, s, i));
        else if (role == QcRole::LCS)
            comparisons->append(controlSample(batch, s, i));
        else
            comparisons->append(methodBlank(batch, s, i));
        if (ms != -1)
            comparisons->append(spikeRpd(batch, s, i, ms));
    }
}

// The finding a failure makes.
Qualifier findingOf(const Comparison &c)
{
    if (c.role == QcRole::LCS)
        return Qualifier::LcsFailed;
    if (c.role == QcRole::MB)
        return Qualifier::BlankContamination;
    return c.figure == Figure::Recovery ? Qualifier::SpikeRecovery : Qualifier::DuplicateRpd;
}

// The results a failure qualifies: every bracketed one for an LCS, those
// under ten times the blank for an MB, else the preparation, what it was
// compared with and, for an MSD's RPD, their parent.
QVector<int> qualified(const Batch &batch, const Comparison &c)
{
    QVector<int> found;
    if (c.role == QcRole::LCS || c.role == QcRole::MB) {
        for (int s = 0; s < batch.working.solutionCount(); ++s) {
            if (RunQc::isBracketed(batch.working.solution(s), batch.sheet.role(s))
                && (c.role == QcRole::LCS || batch.c(s, c.isotope) < 10.0 * c.value))
                found.append(s);
        }
        return found;
    }
    found = { c.solution, c.against };
    if (c.against != batch.sheet.parent(c.solution))
        found.append(batch.sheet.parent(c.solution));
    return found;
}

} // namespace

void BatchQc::check(const Measurements &working, const ExpectedConcentrations &expected,
    const Results &results, const Calibration &calibration, const SampleSheet &sheet,
    const QcLimits &limits, RunQcReport *report)
{
    const Batch batch { working, expected, results, calibration, sheet, limits };
    for (int s = 0; s < working.solutionCount(); ++s) {
        if (QcRole::kind(sheet.role(s)) == QcRole::Kind::Preparation)
            compare(batch, s, &report->comparisons);
    }
    const int isotopeCount = working.isotopeCount();
    for (const Qualifier kind : { Qualifier::LcsFailed, Qualifier::BlankContamination,
             Qualifier::SpikeRecovery, Qualifier::DuplicateRpd }) {
        for (const Comparison &c : qAsConst(report->comparisons)) {
            if (c.verdict != Verdict::Fail || findingOf(c) != kind)
                continue;
            for (const int s : qualified(batch, c)) {
                if (batch.has(s, c.isotope))
                    report->findings[s * isotopeCount + c.isotope].append({ kind, c.solution });
            }
        }
    }
}
