#ifndef KETRION_PROCESSINGRUN_H
#define KETRION_PROCESSINGRUN_H

#include "model/RunOptions.h"
#include "model/SampleSheet.h"
#include "model/Status.h"
#include "processing/RunOutcome.h"

#include <QString>
#include <QStringList>

class Measurements;
class RunInputs;
struct RunPlan;

// One processing run, the same for the window, ketrion-batch and the tests:
// from the export as read, the standards file and the options to the results
// and reports, tracing every stage.
class ProcessingRun
{
public:
    static const QString NO_ZERO_STANDARD_BLANK;
    static const QString NO_SUBTRACTION_BLANK;

    // Whether the trace lists each QC value and IS recovery outside its
    // bounds after their count lines (ketrion-batch), or leaves them to a
    // report (the window).
    enum class Listing { CountsOnly, Failures };
    // The results file's layouts: the wide one with a header block and three
    // columns per isotope, or one row per solution and isotope.
    enum class Layout { Wide, Long };

    // The blanks a run can use, as the window lists them: the file's, then
    // the averages a run adds.
    static QStringList blankChoices(const Measurements &data);
    // The drift monitors a run can use, as the window lists them: each name
    // that names two solutions or more (Solution::isReplicate) among the
    // solutions' names with one trailing "_<digits>" taken off and the names
    // themselves, in run order.
    static QStringList monitorChoices(const Measurements &data);
    // The working set before a run: the export with its average blanks.
    static Measurements workingSet(const Measurements &data);

    // Finds the options' names in data, traces the configuration, reads the
    // standards file and the sample sheet and runs. A refused run says why and
    // changes nothing.
    static RunOutcome run(const RunInputs &inputs, const RunOptions &options, Listing listing);
    // The run itself, once the input files are read.
    static RunOutcome process(const Measurements &data, const ExpectedConcentrations &expected,
        const RunOptions &options, const SampleSheet &sheet = SampleSheet());

    // Writes the results whole or not at all: an earlier file survives every
    // failure. A failure carries the reason without the file name.
    static Status save(const QString &fileName, const RunOutcome &outcome, Layout layout);

private:
    // Why a run fitted no line at all: the isotopes whose standards gave
    // none, or the standards file giving none.
    static QString noCalibration(const RunOutcome &outcome, const QString &standardsFile);
    static void execute(const Measurements &data, const ExpectedConcentrations &expected,
        const SampleSheet &sheet, const RunPlan &plan, RunOutcome *outcome);
    static void correctInternalStandard(const RunPlan &plan, RunOutcome *outcome);
    static void correctDrift(const Measurements &data, const RunPlan &plan, RunOutcome *outcome);
    static void correctInterference(
        const Measurements &data, const RunPlan &plan, RunOutcome *outcome);
    static bool fitCalibration(const RunPlan &plan, RunOutcome *outcome);
    static void computeResults(
        const Measurements &source, const RunPlan &plan, RunOutcome *outcome);
    static void checkQualityControl(const RunPlan &plan, RunOutcome *outcome);
    static void checkAcceptance(const RunPlan &plan, RunOutcome *outcome);
    static void checkRunQc(const SampleSheet &sheet, const RunPlan &plan, RunOutcome *outcome);
    static void checkRecovery(const Measurements &data, const RunPlan &plan, RunOutcome *outcome);
    static void traceReports(const Measurements &data, const RunOutcome &outcome, Listing listing);
};

#endif
