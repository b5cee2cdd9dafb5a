#include "processing/BlankHandling.h"

#include "model/Measurements.h"
#include "processing/BlankSubtraction.h"
#include "processing/ProcessingRun.h"
#include "processing/RunOutcome.h"
#include "processing/RunPlan.h"
#include "processing/Trace.h"

Measurements BlankHandling::apply(
    const Measurements &data, const RunPlan &plan, RunOutcome *outcome)
{
    const RunOptions::BlankMode mode = plan.options.blankMode;
    // The averages follow the file's blanks in the list of blanks; subtracting
    // one needs it built first, and its uncertainty comes from the same
    // average of the values as read.
    const bool averageChosen
        = mode == RunOptions::BlankMode::Subtract && plan.blank >= data.blanks().size();
    Measurements source = data;
    if (averageChosen) {
        Trace::line(QStringLiteral("# add blk solutions"));
        outcome->working.addAverageBlanks();
        source.markMissingInternalStandard(outcome->corrected);
        source.addAverageBlanks();
    }
    if (mode == RunOptions::BlankMode::Subtract)
        subtract(plan, outcome);
    if (!averageChosen) {
        Trace::line(QStringLiteral("# add blk solutions"));
        outcome->working.addAverageBlanks();
    }
    if (mode == RunOptions::BlankMode::ZeroStandard)
        addZeroStandard(plan, outcome);
    return source;
}

void BlankHandling::subtract(const RunPlan &plan, RunOutcome *outcome)
{
    Measurements &working = outcome->working;
    const QVector<int> &blanks = working.blanks();
    const int blank = plan.blank >= 0 && plan.blank < blanks.size() ? blanks.at(plan.blank) : -1;
    Trace::line(QStringLiteral("# substract blank"));
    outcome->blank = blank;
    if (blank == -1) {
        Trace::line(QStringLiteral("# no blank available: nothing subtracted"));
        outcome->warnings.append(ProcessingRun::NO_SUBTRACTION_BLANK);
    } else {
        traceBlankWithoutStandard(working, blank, outcome);
    }
    BlankSubtraction::subtract(&working, blank, plan.keptIsotopes());
}

void BlankHandling::addZeroStandard(const RunPlan &plan, RunOutcome *outcome)
{
    Measurements &working = outcome->working;
    Trace::line(QStringLiteral("# y intercept"));
    if (working.indexOfSolution(Solution::ZERO_STANDARD_NAME) != -1)
        return;
    const int from = plan.blank >= 0 && plan.blank < working.blanks().size()
        ? working.blanks().at(plan.blank)
        : -1;
    if (from == -1) {
        Trace::line(QStringLiteral("# no blank available: no zero standard added"));
        outcome->warnings.append(ProcessingRun::NO_ZERO_STANDARD_BLANK);
    } else {
        working.addSolution(
            working.solution(from).renamed(Solution::ZERO_STANDARD_NAME, Solution::Standard));
    }
}

void BlankHandling::traceBlankWithoutStandard(
    const Measurements &working, int blank, RunOutcome *outcome)
{
    const Solution &values = working.solution(blank);
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN) {
        const int standard = outcome->corrected[group];
        if (standard == -1 || values.isMeasured(standard))
            continue;
        const QString said = QStringLiteral("%1 has no value for its IS %2: nothing subtracted in "
                                            "the %3 group")
                                 .arg(values.name(), working.isotope(standard).typedName(),
                                     Isotope::resolutionName(group));
        Trace::line(QStringLiteral("# ") + said);
        outcome->warnings.append(QStringLiteral("Blank ") + said);
    }
}
