#include "processing/ProcessingRun.h"

#include "model/Measurements.h"
#include "parsers/LongTableWriter.h"
#include "parsers/OutputFile.h"
#include "parsers/ResultsWriter.h"
#include "parsers/SampleSheetReader.h"
#include "parsers/StandardsReader.h"
#include "processing/BlankSubtraction.h"
#include "processing/CalibrationAcceptance.h"
#include "processing/CalibrationFit.h"
#include "processing/ConcentrationCalculation.h"
#include "processing/DetectionLimits.h"
#include "processing/DriftCorrection.h"
#include "processing/InternalStandardCorrection.h"
#include "processing/QualityControlCheck.h"
#include "processing/RecoveryCheck.h"
#include "processing/Reporting.h"
#include "processing/Trace.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

const QString ProcessingRun::NO_ZERO_STANDARD_BLANK
    = QStringLiteral("No blank available for the zero standard: calibrated without it");
const QString ProcessingRun::NO_SUBTRACTION_BLANK
    = QStringLiteral("No blank available for the subtraction: nothing subtracted");

// The options with their names found in the export.
struct ProcessingRun::Plan
{
    RunOptions options;
    int reference = -1; // position in the export
    std::array<int, Isotope::GROUP_COUNT> standards { -1, -1, -1 };
    std::array<QString, Isotope::GROUP_COUNT> isotopeNames; // as traced
    int blank = -1; // position among blankChoices()
    QString blankName;
    QVector<int> driftChecks; // the monitor's occurrences in the export

    // The IS isotopes of the groups checked for correction: no blank is taken
    // off them and they get no line.
    QVector<int> keptIsotopes() const
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
};

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

QString monitorRefusal(const Measurements &data, const QString &monitor)
{
    QStringList choices = ProcessingRun::monitorChoices(data);
    if (choices.isEmpty())
        return QStringLiteral("The drift monitor '%1' names fewer than two solutions, as every "
                              "name of the data file does.")
            .arg(monitor);
    const QString last = choices.takeLast();
    return QStringLiteral("The drift monitor '%1' names fewer than two solutions: use %2.")
        .arg(
            monitor, choices.isEmpty() ? last : choices.join(QStringLiteral(", ")) + " or " + last);
}

} // namespace

QStringList ProcessingRun::blankChoices(const Measurements &data)
{
    QStringList names = data.blankNames();
    if (data.blanks().size() >= 2)
        names.append(Measurements::ALL_BLANKS_AVERAGE);
    if (data.firstBlankRun().size() >= 2)
        names.append(Measurements::FIRST_RUN_AVERAGE);
    return names;
}

QStringList ProcessingRun::monitorChoices(const Measurements &data)
{
    // Counted in one pass: a run of thousands of solutions must not compare
    // every name with every other.
    const QStringList names = data.solutionNames();
    QHash<QString, int> replicates;
    for (const QString &name : names) {
        const QStringList families = Solution::replicateFamilies(name);
        for (const QString &family : QSet<QString>(families.cbegin(), families.cend()))
            ++replicates[family];
    }
    QStringList choices;
    for (const QString &name : names) {
        for (const QString &choice : { Solution::withoutReplicateNumber(name), name }) {
            if (!choice.isEmpty() && replicates.value(choice) >= 2 && !choices.contains(choice))
                choices.append(choice);
        }
    }
    return choices;
}

Measurements ProcessingRun::workingSet(const Measurements &data)
{
    Measurements working = data;
    working.addAverageBlanks();
    return working;
}

int ProcessingRun::resolveStandards(const Measurements &data, Plan *plan)
{
    for (int g = 0; g < Isotope::GROUP_COUNT; ++g) {
        const QVector<int> &group = data.group(Isotope::Resolution(g));
        const QString &wanted = plan->options.groups[g].isotope;
        plan->standards[g] = wanted.isEmpty() ? (group.isEmpty() ? -1 : group.first())
                                              : findIsotope(data, group, wanted);
        if (!wanted.isEmpty() && plan->standards[g] == -1)
            return g;
        plan->isotopeNames[g] = isotopeName(data, plan->standards[g]);
    }
    return -1;
}

bool ProcessingRun::resolve(
    const Measurements &data, const RunOptions &options, Plan *plan, RunOutcome *outcome)
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
        const int unfound = resolveStandards(data, plan);
        if (unfound != -1)
            return unknown(choices[unfound], options.groups[unfound].isotope);
    }
    if (options.blankMode != RunOptions::BlankMode::None) {
        const QStringList blanks = blankChoices(data);
        plan->blank = options.blank.isEmpty() ? (blanks.isEmpty() ? -1 : 0)
                                              : int(blanks.indexOf(options.blank));
        if (plan->blank == -1 && !options.blank.isEmpty())
            return unknown(RunOutcome::Choice::Blank, options.blank);
        plan->blankName = plan->blank == -1 ? QString() : blanks.at(plan->blank);
    }
    if (options.drift) {
        plan->driftChecks = DriftCorrection::occurrences(data, options.driftMonitor);
        if (options.driftMonitor.isEmpty() || plan->driftChecks.size() < 2) {
            outcome->reason = monitorRefusal(data, options.driftMonitor);
            return unknown(RunOutcome::Choice::DriftMonitor, options.driftMonitor);
        }
    }
    return true;
}

void ProcessingRun::traceConfiguration(const Plan &plan)
{
    const RunOptions &options = plan.options;
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
                            .arg(plan.isotopeNames[group], Isotope::resolutionName(group)));
    } else {
        Trace::line(QStringLiteral("  No internal standard correction is applied"));
    }
    const QString blankReference = QStringLiteral(" with ") + plan.blankName
        + QStringLiteral(" as the blank reference solution");
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

QString ProcessingRun::referenceProblem(const Measurements &data, const Plan &plan)
{
    if (!plan.options.internalStandard || plan.reference == -1)
        return {};
    const Solution &reference = data.solution(plan.reference);
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN) {
        const int isotope = plan.standards[group];
        // Its factor would be 0: every value of the group would be wiped out.
        if (plan.options.groups[group].corrected && isotope != -1 && !reference.isMeasured(isotope))
            return QStringLiteral("The IS reference solution %1 has no value for %2: choose "
                                  "another reference solution or isotope.")
                .arg(reference.name(), data.isotope(isotope).typedName());
    }
    return {};
}

RunOutcome ProcessingRun::run(
    const Measurements &data, const RunInputs &inputs, const RunOptions &options, Listing listing)
{
    const QString &standardsFile = inputs.standardsFile;
    RunOutcome outcome;
    outcome.started = QDateTime::currentDateTime();
    Plan plan;
    if (!resolve(data, options, &plan, &outcome))
        return outcome;
    traceConfiguration(plan);
    const auto refuse = [&outcome](RunOutcome::Refusal refusal, const QString &reason) {
        outcome.refusal = refusal;
        outcome.reason = reason;
        return outcome;
    };
    const QString problem = referenceProblem(data, plan);
    if (!problem.isEmpty())
        return refuse(RunOutcome::Refusal::ReferenceWithoutStandard, problem);
    if (standardsFile.isEmpty())
        return refuse(RunOutcome::Refusal::NoStandardsFile,
            QStringLiteral("You have to load a QC-STD Concentrations File"));
    QFile file(standardsFile);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(RunOutcome::Refusal::StandardsUnreadable,
            QStringLiteral("Cannot read STD QC Concentration file %1:\n%2.")
                .arg(standardsFile, file.errorString()));
    Trace::line(QStringLiteral("# parse QC-STD file"));
    ExpectedConcentrations expected;
    const Status read = StandardsReader::read(&file, data, &expected);
    if (!read.ok())
        return refuse(RunOutcome::Refusal::StandardsRejected, read.message());
    SampleSheet sheet;
    const Status sheetRead = readSampleSheet(inputs.sampleSheet, data, &sheet);
    if (!sheetRead.ok())
        return refuse(RunOutcome::Refusal::SampleSheetRejected, sheetRead.message());

    execute(data, expected, sheet, plan, &outcome);
    if (outcome.refusal == RunOutcome::Refusal::NoCalibration) {
        outcome.reason = QStringLiteral("No isotope of the data file has standards in %1: check "
                                        "the standards file and the instrument.")
                             .arg(QFileInfo(standardsFile).fileName());
        return outcome;
    }
    traceReports(data, outcome, listing);
    return outcome;
}

RunOutcome ProcessingRun::process(const Measurements &data, const ExpectedConcentrations &expected,
    const RunOptions &options, const SampleSheet &sheet)
{
    RunOutcome outcome;
    Plan plan;
    if (resolve(data, options, &plan, &outcome))
        execute(data, expected, sheet, plan, &outcome);
    return outcome;
}

Status ProcessingRun::readSampleSheet(
    const QString &fileName, const Measurements &data, SampleSheet *sheet)
{
    if (fileName.isEmpty())
        return Status::success();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(
            QStringLiteral("Cannot read sample sheet %1:\n%2.").arg(fileName, file.errorString()));
    return SampleSheetReader::read(&file, QFileInfo(fileName).fileName(), data, sheet);
}

void ProcessingRun::execute(const Measurements &data, const ExpectedConcentrations &expected,
    const SampleSheet &sheet, const Plan &plan, RunOutcome *outcome)
{
    Trace::line(QStringLiteral("# init processing variables"));
    outcome->expected = expected;
    outcome->calibration.weighting = plan.options.weighting;
    outcome->calibration.lines = QVector<CalibrationLine>(data.isotopeCount());
    outcome->working = data;

    correctInternalStandard(plan, outcome);
    const Measurements source = handleBlanks(data, plan, outcome);
    correctDrift(data, plan, outcome);
    if (!fitCalibration(plan, outcome)) {
        // Without a single line every result would be empty: not worth a report.
        outcome->refusal = RunOutcome::Refusal::NoCalibration;
        return;
    }
    computeResults(source, plan, outcome);
    checkQualityControl(plan, outcome);
    checkAcceptance(plan, outcome);
    outcome->reported
        = Reporting::report(outcome->working, outcome->calibration, outcome->results, sheet);
    checkRecovery(data, plan, outcome);
}

void ProcessingRun::correctInternalStandard(const Plan &plan, RunOutcome *outcome)
{
    if (!plan.options.internalStandard)
        return;
    Trace::line(QStringLiteral("# internal standard correction"));
    outcome->reference = plan.reference;
    outcome->standards = plan.standards;
    // Only the groups corrected lose a solution's values with its IS, and
    // take the IS terms of the uncertainty.
    for (int g = 0; g < Isotope::GROUP_COUNT; ++g) {
        if (plan.options.groups[g].corrected && plan.reference != -1)
            outcome->corrected[g] = plan.standards[g];
    }
    outcome->working.markMissingInternalStandard(outcome->corrected);
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN) {
        if (plan.options.groups[group].corrected)
            InternalStandardCorrection::correct(
                &outcome->working, plan.reference, plan.standards[group], group);
    }
}

Measurements ProcessingRun::handleBlanks(
    const Measurements &data, const Plan &plan, RunOutcome *outcome)
{
    Measurements &working = outcome->working;
    const RunOptions::BlankMode mode = plan.options.blankMode;
    // The averages follow the file's blanks in the list of blanks; subtracting
    // one needs it built first, and its uncertainty comes from the same
    // average of the values as read.
    const bool averageChosen
        = mode == RunOptions::BlankMode::Subtract && plan.blank >= data.blanks().size();
    Measurements source = data;
    if (averageChosen) {
        Trace::line(QStringLiteral("# add blk solutions"));
        working.addAverageBlanks();
        source.markMissingInternalStandard(outcome->corrected);
        source.addAverageBlanks();
    }

    const QVector<int> &blanks = working.blanks();
    const int blank = plan.blank >= 0 && plan.blank < blanks.size() ? blanks.at(plan.blank) : -1;
    if (mode == RunOptions::BlankMode::Subtract) {
        Trace::line(QStringLiteral("# substract blank"));
        outcome->blank = blank;
        if (blank == -1) {
            Trace::line(QStringLiteral("# no blank available: nothing subtracted"));
            outcome->warnings.append(NO_SUBTRACTION_BLANK);
        } else {
            traceBlankWithoutStandard(working, blank, outcome);
        }
        BlankSubtraction::subtract(&working, blank, plan.keptIsotopes());
    }

    if (!averageChosen) {
        Trace::line(QStringLiteral("# add blk solutions"));
        working.addAverageBlanks();
    }

    if (mode == RunOptions::BlankMode::ZeroStandard) {
        Trace::line(QStringLiteral("# y intercept"));
        if (working.indexOfSolution(Solution::ZERO_STANDARD_NAME) == -1) {
            const int from = plan.blank >= 0 && plan.blank < working.blanks().size()
                ? working.blanks().at(plan.blank)
                : -1;
            if (from == -1) {
                Trace::line(QStringLiteral("# no blank available: no zero standard added"));
                outcome->warnings.append(NO_ZERO_STANDARD_BLANK);
            } else {
                working.addSolution(working.solution(from).renamed(
                    Solution::ZERO_STANDARD_NAME, Solution::Standard));
            }
        }
    }
    return source;
}

void ProcessingRun::traceBlankWithoutStandard(
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

void ProcessingRun::correctDrift(const Measurements &data, const Plan &plan, RunOutcome *outcome)
{
    if (!plan.options.drift)
        return;
    QVector<int> skipped;
    for (const int standard : outcome->corrected) {
        if (standard != -1)
            skipped.append(standard);
    }
    Measurements &working = outcome->working;
    const int solutions = data.solutionCount();
    outcome->drift = DriftCorrection::measure(
        working, solutions, plan.options.driftMonitor, plan.driftChecks, skipped);
    outcome->driftCorrected = true;
    for (int s = 0; s < solutions; ++s)
        DriftCorrection::apply(&working, outcome->drift, s, s);
    // The zero standard is its blank measured at that blank's place in the
    // run; the average blanks have no place and stay as they are.
    const int zero = working.indexOfSolution(Solution::ZERO_STANDARD_NAME);
    if (zero >= solutions && working.blanks().at(plan.blank) < solutions)
        DriftCorrection::apply(&working, outcome->drift, zero, working.blanks().at(plan.blank));
    for (const QString &line : outcome->drift.lines(data))
        Trace::line(line);
}

bool ProcessingRun::fitCalibration(const Plan &plan, RunOutcome *outcome)
{
    Trace::line(QStringLiteral("# process calibration"));
    const QVector<int> kept = plan.keptIsotopes();
    bool any = false;
    for (int i = 0; i < outcome->working.isotopeCount(); ++i) {
        if (kept.contains(i))
            continue;
        CalibrationLine &line = outcome->calibration.lines[i];
        line = CalibrationFit::fit(outcome->working, outcome->expected, i, plan.options.weighting);
        any = any || line.isUsable();
    }
    return any;
}

void ProcessingRun::computeResults(
    const Measurements &source, const Plan &plan, RunOutcome *outcome)
{
    const std::array<int, Isotope::GROUP_COUNT> &standards = outcome->standards;
    Trace::line(QStringLiteral("blank_id = %1, is_ref_id = %2, is_elements[0] = %3, "
                               "is_elements[1] = %4, is_elements[2] = %5")
                    .arg(outcome->blank)
                    .arg(outcome->reference)
                    .arg(standards[Isotope::HR])
                    .arg(standards[Isotope::MR])
                    .arg(standards[Isotope::LR]));
    Trace::line(QStringLiteral("*** process concentration ***"));
    const Measurements &working = outcome->working;
    outcome->results = ConcentrationCalculation::compute(working, source, outcome->expected,
        outcome->calibration, { outcome->blank, outcome->reference, outcome->corrected });
    // The zero standard reports what its blank found.
    const int zero = working.indexOfSolution(Solution::ZERO_STANDARD_NAME);
    if (zero >= source.solutionCount())
        outcome->results.copyRow(working.blanks().at(plan.blank), zero);

    Trace::line(QStringLiteral("*** process limits ***"));
    DetectionLimits::compute(
        &outcome->calibration, working, outcome->results, source.firstBlankRun());
}

void ProcessingRun::checkQualityControl(const Plan &plan, RunOutcome *outcome)
{
    if (!plan.options.qcValidation)
        return;
    Trace::line(QStringLiteral("*** process QC control ***"));
    outcome->qcChecked = true;
    outcome->qc = QualityControlCheck::check(
        outcome->working, outcome->expected, outcome->results, outcome->calibration);
}

void ProcessingRun::checkAcceptance(const Plan &plan, RunOutcome *outcome)
{
    if (!plan.options.acceptance)
        return;
    outcome->acceptanceChecked = true;
    CalibrationAcceptance::check(
        &outcome->calibration, outcome->working, plan.options.minimumR2, plan.options.tolerance);
}

void ProcessingRun::checkRecovery(const Measurements &data, const Plan &plan, RunOutcome *outcome)
{
    if (!plan.options.internalStandard || plan.reference == -1)
        return;
    QVector<int> isotopes;
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN) {
        if (outcome->corrected[group] != -1)
            isotopes.append(outcome->corrected[group]);
    }
    outcome->recoveryChecked = true;
    outcome->recovery = RecoveryCheck::check(
        data, plan.reference, isotopes, plan.options.recoveryLow, plan.options.recoveryHigh);
}

void ProcessingRun::traceReports(
    const Measurements &data, const RunOutcome &outcome, Listing listing)
{
    const bool listed = listing == Listing::Failures;
    if (outcome.qcChecked) {
        Trace::line(QStringLiteral("# QC not valid: %1 / %2")
                        .arg(outcome.qc.failureCount())
                        .arg(outcome.qc.checks.size()));
        if (listed) {
            for (const QString &failure : outcome.qc.failureLines(data))
                Trace::line(failure);
        }
    }
    if (outcome.acceptanceChecked) {
        const QStringList rejected
            = CalibrationAcceptance::rejectionLines(outcome.calibration, outcome.working);
        Trace::line(QStringLiteral("# calibration rejected: %1 / %2")
                        .arg(rejected.size())
                        .arg(CalibrationAcceptance::checkedCount(outcome.calibration)));
        if (listed) {
            for (const QString &line : rejected)
                Trace::line(line);
        }
    }
    if (outcome.recoveryChecked) {
        const RecoveryReport &recovery = outcome.recovery;
        Trace::line(QStringLiteral("# IS recovery outside %1-%2 %: %3 / %4")
                        .arg(recovery.low)
                        .arg(recovery.high)
                        .arg(recovery.outside.size())
                        .arg(recovery.checked));
        if (listed) {
            for (const QString &outside : recovery.lines(data))
                Trace::line(outside);
        }
    }
}

Status ProcessingRun::save(const QString &fileName, const RunOutcome &outcome, Layout layout)
{
    const QByteArray bytes = layout == Layout::Long
        ? LongTableWriter::format(
            outcome.working, outcome.calibration, outcome.results, outcome.reported)
        : ResultsWriter::format(outcome.working, outcome.calibration, outcome.results);
    return OutputFile::write(fileName, bytes);
}
