#ifndef KETRION_BATCHJOB_H
#define KETRION_BATCHJOB_H

#include "batch/PlotModule.h"
#include "model/Data.h"
#include "parsers/ParserInAgilentCSV.h"
#include "parsers/ParserInHRElementCSV.h"
#include "parsers/ParserInSTDQC.h"
#include "processing/Processing.h"
#include "processing/ProcessingRun.h"
#include "processing/RunOptions.h"

#include <QString>

class BatchCommand;
class QTextStream;

// One processing run from the command line: the window's read, run and save,
// with the names of the command line turned into the positions its boxes would hold.
class BatchJob
{
public:
    enum ExitCode { Done = 0, FileError = 1, UsageError = 2 };

    // writePlots comes from the plot module, loaded only when the command may
    // ask for plots; null otherwise.
    explicit BatchJob(KetrionPlotsWrite *writePlots);

    // Messages for the user go to errors; the trace goes to the processing trace.
    ExitCode run(const BatchCommand &command, QTextStream &errors);

private:
    // Empty when every name is found, else a one-line reason.
    QString resolve(const BatchCommand &command, RunOptions *options) const;
    ExitCode save(const QString &fileName, ProcessingRun::Layout layout, QTextStream &errors);

    KetrionPlotsWrite *writePlots;
    ParserInHRElementCSV hrReader;
    ParserInAgilentCSV quadrupoleReader;
    ParserInSTDQC stdqcReader;
    Processing processing;
    Data inputData;
    Data outputData;
};

#endif
