#ifndef KETRION_BATCHJOB_H
#define KETRION_BATCHJOB_H

#include "batch/PlotModule.h"
#include "model/Status.h"
#include "processing/ProcessingRun.h"

class BatchCommand;
class Measurements;
class QTextStream;

// One processing run from the command line: the window's read, run and save.
class BatchJob
{
public:
    enum ExitCode { Done = 0, FileError = 1, UsageError = 2 };

    // writePlots comes from the plot module, loaded only when the command may
    // ask for plots; null otherwise.
    explicit BatchJob(KetrionPlotsWrite *writePlots) : m_writePlots(writePlots) { }

    // Messages for the user go to errors; the trace goes to the processing trace.
    ExitCode run(const BatchCommand &command, QTextStream &errors) const;

private:
    static ExitCode saveTemplate(
        const QString &fileName, const Measurements &data, QTextStream &errors);
    static ExitCode save(const QString &fileName, const RunOutcome &outcome,
        ProcessingRun::Layout layout, QTextStream &errors);

    KetrionPlotsWrite *m_writePlots;
};

#endif
