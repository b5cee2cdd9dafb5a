#ifndef KETRION_PROCESSINGRUN_H
#define KETRION_PROCESSINGRUN_H

#include "processing/RunOptions.h"
#include "processing/RunResult.h"

class Data;
class Processing;

// The engine sequence of one processing run, shared by the window and the batch tool.
class ProcessingRun
{
public:
    static const QString NO_ZERO_STD_BLANK;

    // After an instrument file was read: outputData becomes a copy of
    // inputData, with the two average blanks when the reader accepted the
    // file, and the engine is sized for its isotopes.
    static void prepareWorkingSet(
        const Data *inputData, Data *outputData, Processing *processing, bool readAccepted);

    // The configuration lines written at the start of a run, up to "# open QC-STD file".
    static void traceConfiguration(const RunOptions &options);

    // Rebuilds outputData from inputData (whose standards and QC concentrations
    // are already read), corrects it, fits the lines and computes
    // concentrations, limits and, on request, the QC check. The engine starts
    // from fresh results. Indexes outside the lists the panel shows count as none.
    static RunResult run(
        const RunOptions &options, Data *inputData, Data *outputData, Processing *processing);
};

#endif
