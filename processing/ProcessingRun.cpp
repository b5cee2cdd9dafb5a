#include "processing/ProcessingRun.h"

#include "model/Measurements.h"
#include "parsers/FileError.h"
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
#include "processing/InterferenceCorrection.h"
#include "processing/InternalStandardCorrection.h"
#include "processing/QualityControlCheck.h"
#include "processing/RecoveryCheck.h"
#include "processing/Reporting.h"
#include "processing/RunInputs.h"
#include "processing/RunPlan.h"
#include "processing/RunQc.h"
#include "processing/Trace.h"

#include <QBuffer>
#include <QHash>
#include <QSet>

const QString ProcessingRun::NO_ZERO_STANDARD_BLANK
    = QStringLiteral("No blank available for the zero standard: calibrated without it");
const QString ProcessingRun::NO_SUBTRACTION_BLANK
    = QStringLiteral("No blank available for the subtraction: nothing subtracted");

namespace {

Status readStandards(
    const RunInputs::File &file, const Measurements &data, ExpectedConcentrations *expected)
{
    QByteArray bytes = file.bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    return StandardsReader::read(&device, data, expected);
}

Status readSampleSheet(const RunInputs::File &file, const Measurements &data, SampleSheet *sheet)
{
    if (!file.isGiven())
        return Status::success();
    if (!file.isRead())
        return Status::failure(
            FileError::unreadable(file.path, file.error, QStringLiteral("sample sheet")));
    QByteArray bytes = file.bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    return SampleSheetReader::read(&device, file.fileName(), data, sheet);
}

// The spike columns the sample sheet names, read from the standards file.
Status readSpikes(const RunInputs &inputs, const Measurements &data, const SampleSheet &sheet,
    ExpectedConcentrations *expected)
{
    QByteArray bytes = inputs.standardsFile().bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    return StandardsReader::readSpikes(
        &device, data, sheet, inputs.sampleSheet().fileName(), expected);
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
    // A family with a blank among its solutions measures the background.
    const QStringList names = data.solutionNames();
    QHash<QString, int> replicates;
    QSet<QString> withBlanks;
    for (int s = 0; s < names.size(); ++s) {
        const QStringList families = Solution::replicateFamilies(names.at(s));
        for (const QString &family : QSet<QString>(families.cbegin(), families.cend())) {
            ++replicates[family];
            if (data.solution(s).type() == Solution::Blank)
                withBlanks.insert(family);
        }
    }
    QStringList choices;
    for (const QString &name : names) {
        for (const QString &choice : { Solution::withoutReplicateNumber(name), name }) {
            if (!choice.isEmpty() && replicates.value(choice) >= 2 && !withBlanks.contains(choice)
                && !choices.contains(choice))
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

RunOutcome ProcessingRun::run(const RunInputs &inputs, const RunOptions &options, Listing listing)
{
    const Measurements &data = inputs.data();
    const RunInputs::File &standards = inputs.standardsFile();
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
    if (!standards.isGiven())
        return refuse(RunOutcome::Refusal::NoStandardsFile,
            QStringLiteral("You have to load a QC-STD Concentrations File"));
    if (!standards.isRead())
        return refuse(RunOutcome::Refusal::StandardsUnreadable,
            FileError::unreadable(
                standards.path, standards.error, QStringLiteral("STD QC Concentration file")));
    Trace::line(QStringLiteral("# parse QC-STD file"));
    ExpectedConcentrations expected;
    const Status read = readStandards(standards, data, &expected);
    if (!read.ok())
        return refuse(RunOutcome::Refusal::StandardsRejected,
            QStringLiteral("Standards file %1: %2").arg(standards.fileName(), read.message()));
    SampleSheet sheet;
    const Status sheetRead = readSampleSheet(inputs.sampleSheet(), data, &sheet);
    if (!sheetRead.ok())
        return refuse(RunOutcome::Refusal::SampleSheetRejected, sheetRead.message());
    const Status spikes = readSpikes(inputs, data, sheet, &expected);
    if (!spikes.ok())
        return refuse(RunOutcome::Refusal::StandardsRejected,
            QStringLiteral("Standards file %1: %2").arg(standards.fileName(), spikes.message()));

    execute(data, expected, sheet, plan, &outcome);
    if (outcome.refusal == RunOutcome::Refusal::NoCalibration) {
        outcome.reason = noCalibration(outcome, standards.fileName());
        return outcome;
    }
    traceReports(data, outcome, listing);
    return outcome;
}

QString ProcessingRun::noCalibration(const RunOutcome &outcome, const QString &standardsFile)
{
    QStringList reasons;
    for (int i = 0; i < outcome.calibration.lines.size(); ++i) {
        const QString why
            = CalibrationFit::whyNotFitted(outcome.calibration.lines.at(i), outcome.working);
        if (!why.isEmpty())
            reasons << outcome.working.isotope(i).typedName() + QStringLiteral(": ") + why;
    }
    if (reasons.isEmpty())
        return QStringLiteral("No isotope of the data file has standards in %1: check the "
                              "standards file and the instrument.")
            .arg(standardsFile);
    constexpr int SHOWN = 5;
    const int more = int(reasons.size()) - SHOWN;
    return QStringLiteral("No calibration line could be fitted from the standards in %1: %2%3.")
        .arg(standardsFile, reasons.mid(0, SHOWN).join(QStringLiteral("; ")),
            more > 0 ? QStringLiteral("; and %1 more").arg(more) : QString());
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
    correctInterference(data, plan, outcome);
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

// Right before the calibration, so that the lines and every concentration
// see the corrected signal.
void ProcessingRun::correctInterference(
    const Measurements &data, const RunPlan &plan, RunOutcome *outcome)
{
    if (plan.interference.isEmpty())
        return;
    outcome->interference
        = InterferenceCorrection::apply(&outcome->working, data.solutionCount(), plan.interference);
    for (const QString &line : outcome->interference.lines(data))
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
    return OutputFile::write(fileName, [&outcome, layout](QIODevice *device) {
        return layout == Layout::Long
            ? LongTableWriter::write(
                device, outcome.working, outcome.calibration, outcome.results, outcome.reported)
            : ResultsWriter::write(device, outcome.working, outcome.calibration, outcome.results);
    });
}
