#ifndef KETRION_BATCHJOB_H
#define KETRION_BATCHJOB_H

#include "batch/PlotModule.h"
#include "model/Status.h"
#include "processing/ProcessingRun.h"

class BatchCommand;
class Measurements;
class RunInputs;
class QTextStream;

// One processing run from the command line: the window's read, run and save.
class BatchJob
{
public:
    enum ExitCode { Done = 0, FileError = 1, UsageError = 2 };

    // writePlots and writeReport come from the plot module, loaded only when
    // the command may ask for plots or a report; null otherwise.
    BatchJob(KetrionPlotsWrite *writePlots, KetrionPlotsReport *writeReport)
        : m_writePlots(writePlots), m_writeReport(writeReport)
    { }

    // Messages for the user go to errors; the trace goes to the processing trace.
    ExitCode run(const BatchCommand &command, QTextStream &errors) const;

private:
    static ExitCode saveMethod(const BatchCommand &command, QTextStream &errors);
    static ExitCode saveTemplate(
        const QString &fileName, const Measurements &data, QTextStream &errors);
    static ExitCode save(const QString &fileName, const RunOutcome &outcome,
        ProcessingRun::Layout layout, QTextStream &errors);
    // Done, or a file error whose message goes to errors.
    static ExitCode exitCode(const Status &written, QTextStream &errors);

    // The report and the plots, after the results file and the long table.
    ExitCode writeDrawings(const BatchCommand &command, const RunInputs &inputs,
        const RunOutcome &outcome, QTextStream &errors) const;

    KetrionPlotsWrite *m_writePlots;
    KetrionPlotsReport *m_writeReport;
};

#endif
