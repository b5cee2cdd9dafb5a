#include "processing/ProcessingRun.h"

#include "model/Measurements.h"
#include "parsers/LongTableWriter.h"
#include "parsers/OutputFile.h"
#include "parsers/ResultsWriter.h"
#include "parsers/SampleSheetReader.h"
#include "parsers/StandardsReader.h"
#include "processing/BlankHandling.h"
#include "processing/CalibrationAcceptance.h"
#include "processing/CalibrationFit.h"
#include "processing/ConcentrationCalculation.h"
#include "processing/DetectionLimits.h"
#include "processing/DriftCorrection.h"
#include "processing/InternalStandardCorrection.h"
#include "processing/QualityControlCheck.h"
#include "processing/RecoveryCheck.h"
#include "processing/Reporting.h"
#include "processing/RunPlan.h"
#include "processing/RunQc.h"
#include "processing/Trace.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

const QString ProcessingRun::NO_ZERO_STANDARD_BLANK
    = QStringLiteral("No blank available for the zero standard: calibrated without it");
const QString ProcessingRun::NO_SUBTRACTION_BLANK
    = QStringLiteral("No blank available for the subtraction: nothing subtracted");

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

RunOutcome ProcessingRun::run(
    const Measurements &data, const RunInputs &inputs, const RunOptions &options, Listing listing)
{
    const QString &standardsFile = inputs.standardsFile;
    RunOutcome outcome;
    outcome.started = QDateTime::currentDateTime();
    RunPlan plan;
    if (!RunPlan::resolve(data, options, &plan, &outcome))
        return outcome;
    plan.traceConfiguration();
    const auto refuse = [&outcome](RunOutcome::Refusal refusal, const QString &reason) {
        outcome.refusal = refusal;
        outcome.reason = reason;
        return outcome;
    };
    const QString problem = plan.referenceProblem(data);
    if (!problem.isEmpty())
        return refuse(RunOutcome::Refusal::ReferenceWithoutStandard, problem);
    if (standardsFile.isEmpty())
        return refuse(RunOutcome::Refusal::NoStandardsFile,
            QStringLiteral("You have to load a QC-STD Concentrations File"));
    ExpectedConcentrations expected;
    SampleSheet sheet;
    if (!readInputs(data, inputs, &expected, &sheet, &outcome))
        return outcome;
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
    RunPlan plan;
    if (RunPlan::resolve(data, options, &plan, &outcome))
        execute(data, expected, sheet, plan, &outcome);
    return outcome;
}

bool ProcessingRun::readInputs(const Measurements &data, const RunInputs &inputs,
    ExpectedConcentrations *expected, SampleSheet *sheet, RunOutcome *outcome)
{
    const auto refuse = [outcome](RunOutcome::Refusal refusal, const QString &reason) {
        outcome->refusal = refusal;
        outcome->reason = reason;
        return false;
    };
    const QString &standardsFile = inputs.standardsFile;
    QFile file(standardsFile);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(RunOutcome::Refusal::StandardsUnreadable,
            QStringLiteral("Cannot read STD QC Concentration file %1:\n%2.")
                .arg(standardsFile, file.errorString()));
    Trace::line(QStringLiteral("# parse QC-STD file"));
    // Read again for the sheet's spikes: a pipe cannot seek.
    QByteArray standards = file.readAll();
    QBuffer buffer(&standards);
    buffer.open(QIODevice::ReadOnly);
    const Status read = StandardsReader::read(&buffer, data, expected);
    if (!read.ok())
        return refuse(RunOutcome::Refusal::StandardsRejected, read.message());
    const Status sheetRead = readSampleSheet(inputs.sampleSheet, data, sheet);
    if (!sheetRead.ok())
        return refuse(RunOutcome::Refusal::SampleSheetRejected, sheetRead.message());
    buffer.seek(0);
    const Status spikes = StandardsReader::readSpikes(&buffer, data, *sheet,
        { QFileInfo(standardsFile).fileName(), QFileInfo(inputs.sampleSheet).fileName() },
        expected);
    if (!spikes.ok())
        return refuse(RunOutcome::Refusal::StandardsRejected, spikes.message());
    return true;
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
    const SampleSheet &sheet, const RunPlan &plan, RunOutcome *outcome)
{
    Trace::line(QStringLiteral("# init processing variables"));
    outcome->expected = expected;
    outcome->calibration.weighting = plan.options.weighting;
    outcome->calibration.lines = QVector<CalibrationLine>(data.isotopeCount());
    outcome->working = data;

    correctInternalStandard(plan, outcome);
    const Measurements source = BlankHandling::apply(data, plan, outcome);
    correctDrift(data, plan, outcome);
    if (!fitCalibration(plan, outcome)) {
        // Without a single line every result would be empty: not worth a report.
        outcome->refusal = RunOutcome::Refusal::NoCalibration;
        return;
    }
    computeResults(source, plan, outcome);
    checkQualityControl(plan, outcome);
    checkAcceptance(plan, outcome);
    checkRunQc(sheet, plan, outcome);
    outcome->reported = Reporting::report(
        outcome->working, outcome->calibration, outcome->results, sheet, outcome->runQc.findings);
    checkRecovery(data, plan, outcome);
}

void ProcessingRun::correctInternalStandard(const RunPlan &plan, RunOutcome *outcome)
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

void ProcessingRun::correctDrift(const Measurements &data, const RunPlan &plan, RunOutcome *outcome)
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

bool ProcessingRun::fitCalibration(const RunPlan &plan, RunOutcome *outcome)
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
    const Measurements &source, const RunPlan &plan, RunOutcome *outcome)
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

void ProcessingRun::checkQualityControl(const RunPlan &plan, RunOutcome *outcome)
{
    if (!plan.options.qcValidation)
        return;
    Trace::line(QStringLiteral("*** process QC control ***"));
    outcome->qcChecked = true;
    outcome->qc = QualityControlCheck::check(
        outcome->working, outcome->expected, outcome->results, outcome->calibration);
}

void ProcessingRun::checkAcceptance(const RunPlan &plan, RunOutcome *outcome)
{
    if (!plan.options.acceptance)
        return;
    outcome->acceptanceChecked = true;
    CalibrationAcceptance::check(
        &outcome->calibration, outcome->working, plan.options.minimumR2, plan.options.tolerance);
}

void ProcessingRun::checkRunQc(const SampleSheet &sheet, const RunPlan &plan, RunOutcome *outcome)
{
    if (!sheet.hasRunQc() && !sheet.hasBatchQc())
        return;
    outcome->runQc = RunQc::check(outcome->working, outcome->expected, outcome->results,
        outcome->calibration, sheet, plan.options.qcLimits);
}

void ProcessingRun::checkRecovery(
    const Measurements &data, const RunPlan &plan, RunOutcome *outcome)
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
    if (outcome.runQc.applies) {
        for (const QString &line : outcome.runQc.traceLines(data, listed))
            Trace::line(line);
    }
    if (outcome.runQc.batchApplies) {
        for (const QString &line : outcome.runQc.batchTraceLines(data, listed))
            Trace::line(line);
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
