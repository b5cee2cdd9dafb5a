#include "processing/RunQc.h"

#include "model/Calibration.h"
#include "model/ExpectedConcentrations.h"
#include "model/Measurements.h"
#include "model/Results.h"
#include "model/SampleSheet.h"
#include "processing/BatchQc.h"
#include "processing/RecoveryCheck.h"

#include <cmath>
#include <limits>

namespace {

using Verdict = RunQcReport::Verdict;
using Findings = ReportedResults::Findings;
using Qualifier = ReportedResults::Qualifier;

// What one run's QC looks at.
struct Run
{
    const Measurements &working;
    const ExpectedConcentrations &expected;
    const Results &results;
    const Calibration &calibration;
    const SampleSheet &sheet;
    const QcLimits &limits;

    QcRole::Role role(int s) const { return sheet.role(s); }
};

RunQcReport::Check judge(const Run &run, int s, int i)
{
    const QcRole::Role role = run.role(s);
    const double c = run.results.concentration(s, i);
    const double none = std::numeric_limits<double>::quiet_NaN();
    RunQcReport::Check check { s, i, role, c, none, none, Verdict::None };
    if (QcRole::kind(role) == QcRole::Kind::Verification) {
        const double e = run.expected.value(s, i);
        if (e == 0.0 || !std::isfinite(e))
            return check;
        check.limit = e;
        if (!RunQc::hasConcentration(c))
            return check;
        check.recovery = 100.0 * c / e;
        const QcLimits::Range range = run.limits.recovery(role);
        check.verdict = RecoveryCheck::inside(check.recovery, range.low, range.high)
            ? Verdict::Pass
            : Verdict::Fail;
        return check;
    }
    const double loq = run.calibration.lines.at(i).loq;
    if (!std::isfinite(loq))
        return check;
    check.limit = run.limits.blankFactor(role) * loq;
    if (RunQc::hasConcentration(c))
        check.verdict = std::abs(c) <= check.limit ? Verdict::Pass : Verdict::Fail;
    return check;
}

// Whether a check brackets the results of its kind: an LLCCV brackets none.
bool bounds(QcRole::Role role, QcRole::Kind kind)
{
    return kind == QcRole::Kind::Verification ? role == QcRole::ICV || role == QcRole::CCV
                                              : role == QcRole::ICB || role == QcRole::CCB;
}

// Between consecutive checks of a kind, in run order.
void findGaps(const Run &run, QcRole::Kind kind, QVector<RunQcReport::Gap> *gaps)
{
    int previous = -1;
    int between = 0;
    for (int s = 0; s < run.working.solutionCount(); ++s) {
        if (bounds(run.role(s), kind)) {
            if (previous != -1 && between > run.limits.every)
                gaps->append({ previous, s, between });
            previous = s;
            between = 0;
        } else {
            between += RunQc::isBracketed(run.working.solution(s), run.role(s));
        }
    }
}

// The bracketing of one isotope: verdicts holds each solution's verdict for
// it (None for a solution that is no check).
class Bracketing
{
public:
    Bracketing(const Run &run, int isotope, const QVector<Verdict> &verdicts);

    // Walks the run backwards, knowing the checks after each solution.
    void find(QVector<Findings> *findings) const;

private:
    bool failed(int s, QcRole::Role role) const
    {
        return s != -1 && m_run.role(s) == role && m_verdicts.at(s) == Verdict::Fail;
    }
    Findings runWide() const;
    Findings findingsAt(const Findings &base, int s, int verificationAfter, int blankAfter) const;

    const Run &m_run;
    int m_isotope;
    const QVector<Verdict> &m_verdicts;
    // The last verification and blank check with a verdict before each solution.
    QVector<int> m_verificationBefore;
    QVector<int> m_blankBefore;
    bool m_verifications = false; // the run has an ICV or CCV, verdict or not
    bool m_blanks = false;
};

// The failing ICVs, ICBs and LLCCVs reach every result of the isotope.
Findings Bracketing::runWide() const
{
    const std::pair<QcRole::Role, Qualifier> wide[] = { { QcRole::ICV, Qualifier::IcvFailed },
        { QcRole::ICB, Qualifier::IcbFailed }, { QcRole::LLCCV, Qualifier::LlccvFailed } };
    Findings found;
    for (const auto &kind : wide) {
        for (int s = 0; s < m_verdicts.size(); ++s) {
            if (failed(s, kind.first))
                found.append({ kind.second, s });
        }
    }
    return found;
}

Findings Bracketing::findingsAt(
    const Findings &base, int s, int verificationAfter, int blankAfter) const
{
    Findings found = base;
    const int verificationBefore = m_verificationBefore.at(s);
    const int blankBefore = m_blankBefore.at(s);
    // A failing ICV before is already "ICV failed".
    for (const int check : { verificationBefore, verificationAfter }) {
        if (failed(check, QcRole::CCV))
            found.append({ Qualifier::CcvFailed, check });
    }
    for (const int check : { blankBefore, blankAfter }) {
        if (failed(check, QcRole::CCB))
            found.append({ Qualifier::CcbFailed, check });
    }
    if ((m_verifications && (verificationBefore == -1 || verificationAfter == -1))
        || (m_blanks && (blankBefore == -1 || blankAfter == -1)))
        found.append({ Qualifier::NotBracketed, -1 });
    return found;
}

Bracketing::Bracketing(const Run &run, int isotope, const QVector<Verdict> &verdicts)
    : m_run(run)
    , m_isotope(isotope)
    , m_verdicts(verdicts)
    , m_verificationBefore(verdicts.size(), -1)
    , m_blankBefore(verdicts.size(), -1)
{
    int verification = -1;
    int blank = -1;
    for (int s = 0; s < verdicts.size(); ++s) {
        m_verificationBefore[s] = verification;
        m_blankBefore[s] = blank;
        const QcRole::Role role = run.role(s);
        const bool verifies = bounds(role, QcRole::Kind::Verification);
        const bool blanks = bounds(role, QcRole::Kind::Blank);
        m_verifications = m_verifications || verifies;
        m_blanks = m_blanks || blanks;
        // A check without a verdict for the isotope is skipped.
        if (verdicts.at(s) == Verdict::None)
            continue;
        if (verifies)
            verification = s;
        else if (blanks)
            blank = s;
    }
}

void Bracketing::find(QVector<Findings> *findings) const
{
    const Findings base = runWide();
    const int isotopeCount = m_run.working.isotopeCount();
    int verificationAfter = -1;
    int blankAfter = -1;
    for (int s = int(m_verdicts.size()) - 1; s >= 0; --s) {
        const QcRole::Role role = m_run.role(s);
        if (RunQc::isBracketed(m_run.working.solution(s), role)
            && RunQc::hasConcentration(m_run.results.concentration(s, m_isotope))) {
            const Findings found = findingsAt(base, s, verificationAfter, blankAfter);
            if (!found.isEmpty())
                (*findings)[s * isotopeCount + m_isotope] = found;
        }
        if (m_verdicts.at(s) == Verdict::None)
            continue;
        // An ICV after a result is no verification after it.
        if (role == QcRole::CCV)
            verificationAfter = s;
        else if (role == QcRole::CCB)
            blankAfter = s;
    }
}

// Every check judged, then the bracketing of each isotope.
void checkRun(const Run &run, RunQcReport *report)
{
    const int solutionCount = run.working.solutionCount();
    const int isotopeCount = run.working.isotopeCount();
    // Per isotope, each solution's verdict.
    QVector<QVector<Verdict>> verdicts(
        isotopeCount, QVector<Verdict>(solutionCount, Verdict::None));
    for (int s = 0; s < solutionCount; ++s) {
        if (!QcRole::isCheck(run.role(s)))
            continue;
        for (int i = 0; i < isotopeCount; ++i) {
            if (!run.calibration.lines.at(i).isUsable())
                continue;
            report->checks.append(judge(run, s, i));
            verdicts[i][s] = report->checks.last().verdict;
        }
    }
    for (int i = 0; i < isotopeCount; ++i) {
        if (run.calibration.lines.at(i).isUsable())
            Bracketing(run, i, verdicts.at(i)).find(&report->findings);
    }
    findGaps(run, QcRole::Kind::Verification, &report->gaps);
    findGaps(run, QcRole::Kind::Blank, &report->gaps);
}

} // namespace

bool RunQc::isBracketed(const Solution &solution, QcRole::Role role)
{
    return (solution.type() == Solution::Sample || solution.type() == Solution::QualityControl)
        && !QcRole::isCheck(role);
}

bool RunQc::hasConcentration(double c)
{
    return c != 0.0 && std::isfinite(c);
}

RunQcReport RunQc::check(const Measurements &working, const ExpectedConcentrations &expected,
    const Results &results, const Calibration &calibration, const SampleSheet &sheet,
    const QcLimits &limits)
{
    RunQcReport report;
    report.applies = sheet.hasRunQc();
    report.batchApplies = sheet.hasBatchQc();
    report.limits = limits;
    report.isotopeCount = working.isotopeCount();
    report.findings = QVector<Findings>(working.solutionCount() * working.isotopeCount());
    if (report.applies)
        checkRun({ working, expected, results, calibration, sheet, limits }, &report);
    // After the run QC's: its findings come first.
    if (report.batchApplies)
        BatchQc::check(working, expected, results, calibration, sheet, limits, &report);
    return report;
}
