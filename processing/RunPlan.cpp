#include "processing/RunPlan.h"

#include "model/Measurements.h"
#include "processing/DriftCorrection.h"
#include "processing/ProcessingRun.h"
#include "processing/RunOutcome.h"
#include "processing/Trace.h"

namespace {

// Quadrupole display names end with a blank that nobody types.
int findIsotope(const Measurements &data, const QVector<int> &group, const QString &wanted)
{
    const QString key = Isotope::withoutTrailingBlanks(wanted);
    for (const int i : group) {
        if (data.isotope(i).typedName() == key)
            return i;
    }
    return -1;
}

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

QString isotopeName(const Measurements &data, int isotope)
{
    return isotope == -1 ? QString() : data.isotope(isotope).name();
}

// Blanks measure the background: their signal says nothing of the sensitivity.
bool namesBlanks(const Measurements &data, const QVector<int> &occurrences)
{
    for (const int s : occurrences) {
        if (data.solution(s).type() == Solution::Blank)
            return true;
    }
    return false;
}

QString monitorRefusal(const Measurements &data, const QString &monitor, bool blanks)
{
    const QString problem = blanks ? QStringLiteral("names blanks, whose signal is the background")
                                   : QStringLiteral("names fewer than two solutions");
    QStringList choices = ProcessingRun::monitorChoices(data);
    if (choices.isEmpty())
        return QStringLiteral("The drift monitor '%1' %2, and no name of the data file names two "
                              "solutions that are not blanks.")
            .arg(monitor, problem);
    const QString last = choices.takeLast();
    return QStringLiteral("The drift monitor '%1' %2: use %3.")
        .arg(monitor, problem,
            choices.isEmpty() ? last : choices.join(QStringLiteral(", ")) + " or " + last);
}

} // namespace

QVector<int> RunPlan::keptIsotopes() const
{
    QVector<int> kept;
    if (!options.internalStandard)
        return kept;
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN) {
        if (options.groups[group].corrected)
            kept.append(standards[group]);
    }
    return kept;
}

int RunPlan::resolveStandards(const Measurements &data)
{
    for (int g = 0; g < Isotope::GROUP_COUNT; ++g) {
        const QVector<int> &group = data.group(Isotope::Resolution(g));
        const QString &wanted = options.groups[g].isotope;
        standards[g] = wanted.isEmpty() ? (group.isEmpty() ? -1 : group.first())
                                        : findIsotope(data, group, wanted);
        if (!wanted.isEmpty() && standards[g] == -1)
            return g;
        isotopeNames[g] = isotopeName(data, standards[g]);
    }
    return -1;
}

bool RunPlan::resolve(
    const Measurements &data, const RunOptions &options, RunPlan *plan, RunOutcome *outcome)
{
    plan->options = options;
    const auto unknown = [outcome](RunOutcome::Choice choice, const QString &name) {
        outcome->refusal = RunOutcome::Refusal::UnknownName;
        outcome->unknownChoice = choice;
        outcome->unknownName = name;
        return false;
    };
    if (options.internalStandard) {
        plan->reference = data.referenceNames().indexOf(options.reference);
        if (plan->reference == -1)
            return unknown(RunOutcome::Choice::Reference, options.reference);
        const RunOutcome::Choice choices[] = { RunOutcome::Choice::IsotopeLR,
            RunOutcome::Choice::IsotopeMR, RunOutcome::Choice::IsotopeHR };
        const int unfound = plan->resolveStandards(data);
        if (unfound != -1)
            return unknown(choices[unfound], options.groups[unfound].isotope);
    }
    if (options.blankMode != RunOptions::BlankMode::None) {
        const QStringList blanks = ProcessingRun::blankChoices(data);
        plan->blank = options.blank.isEmpty() ? (blanks.isEmpty() ? -1 : 0)
                                              : int(blanks.indexOf(options.blank));
        if (plan->blank == -1 && !options.blank.isEmpty())
            return unknown(RunOutcome::Choice::Blank, options.blank);
        plan->blankName = plan->blank == -1 ? QString() : blanks.at(plan->blank);
    }
    if (options.drift) {
        plan->driftChecks = DriftCorrection::occurrences(data, options.driftMonitor);
        const bool blanks = namesBlanks(data, plan->driftChecks);
        if (options.driftMonitor.isEmpty() || plan->driftChecks.size() < 2 || blanks) {
            outcome->reason = monitorRefusal(data, options.driftMonitor, blanks);
            return unknown(RunOutcome::Choice::DriftMonitor, options.driftMonitor);
        }
    }
    // Last: an equation's IS target needs the IS isotopes found.
    if (!InterferenceCorrection::resolve(options.interference, data, plan->keptIsotopes(),
            &plan->interference, &outcome->reason))
        return unknown(RunOutcome::Choice::Interference, QString());
    return true;
}

void RunPlan::traceConfiguration() const
{
    Trace::line(QStringLiteral("*** begin processing ***"));
    Trace::line(QStringLiteral("# Ketrion configuration:"));
    Trace::line(QStringLiteral("  Selected ICP instrument: ") + options.instrument);
    if (options.internalStandard) {
        Trace::line(QStringLiteral("  Internal standard correction is set with:"));
        Trace::line(QStringLiteral("    - ") + options.reference
            + QStringLiteral(" as the IS reference solution"));
        QStringList flags;
        for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN)
            flags.append(flag(options.groups[group].corrected));
        Trace::line(QStringLiteral("    - IS check boxes' status are: ") + flags.join(" ; "));
        for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN)
            Trace::line(QStringLiteral("    - %1 as the IS-%2 isotope reference")
                            .arg(isotopeNames[group], Isotope::resolutionName(group)));
    } else {
        Trace::line(QStringLiteral("  No internal standard correction is applied"));
    }
    const QString blankReference
        = QStringLiteral(" with ") + blankName + QStringLiteral(" as the blank reference solution");
    switch (options.blankMode) {
    case RunOptions::BlankMode::ZeroStandard:
        Trace::line(QStringLiteral("  Y-intercept is set") + blankReference);
        break;
    case RunOptions::BlankMode::Subtract:
        Trace::line(QStringLiteral("  Blank subtraction is set") + blankReference);
        break;
    case RunOptions::BlankMode::None:
        Trace::line(QStringLiteral("  No blank correction is applied"));
        break;
    }
    if (options.weighting != Calibration::Weighting::None)
        Trace::line(QStringLiteral("  Calibration lines are weighted by ")
            + Calibration::weightingName(options.weighting));
    if (options.qcValidation)
        Trace::line(QStringLiteral("  Quality control validation is set"));
    Trace::line(QStringLiteral("# open QC-STD file"));
}

QString RunPlan::referenceProblem(const Measurements &data) const
{
    if (!options.internalStandard || reference == -1)
        return {};
    const Solution &solution = data.solution(reference);
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN) {
        const int isotope = standards[group];
        // Its factor would be 0: every value of the group would be wiped out.
        if (options.groups[group].corrected && isotope != -1 && !solution.isMeasured(isotope))
            return QStringLiteral("The IS reference solution %1 has no value for %2: choose "
                                  "another reference solution or isotope.")
                .arg(solution.name(), data.isotope(isotope).typedName());
    }
    return {};
}
