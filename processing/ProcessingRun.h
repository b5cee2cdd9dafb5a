#ifndef KETRION_PROCESSINGRUN_H
#define KETRION_PROCESSINGRUN_H

#include "parsers/ParseResult.h"
#include "processing/RunOptions.h"
#include "processing/RunResult.h"

class Data;
class Parser;
class Processing;
class QIODevice;

// The engine sequence of one processing run, shared by the window and the batch tool.
class ProcessingRun
{
public:
    static const QString NO_ZERO_STD_BLANK;
    static const QString NO_SUBTRACTION_BLANK;

    // Why a run that fitted no calibration line is refused.
    static QString noCalibrationMessage(const QString &stdqcFileName);

    // The results file's layouts: the wide one with a header block and three
    // columns per isotope, or one row per solution and isotope.
    enum class Layout { Wide, Long };

    // After an instrument file was read: outputData becomes a copy of
    // inputData, with the two average blanks when the reader accepted the
    // file, and the engine is sized for its isotopes.
    static void prepareWorkingSet(
        const Data *inputData, Data *outputData, Processing *processing, bool readAccepted);

    // Empty when the options can be applied to inputData as read, else why
    // not: a reference solution without the IS value of a group to correct.
    static QString checkReference(const RunOptions &options, const Data *inputData);

    // The configuration lines written at the start of a run, up to "# open QC-STD file".
    static void traceConfiguration(const RunOptions &options);

    // Reads the standards and QC concentrations into inputData, which then
    // keeps the reader. Expected values of an earlier file are dropped first;
    // a rejected file leaves inputData as it was.
    static ParseResult readStandards(
        QIODevice *file, Parser *reader, Data *inputData, Processing *processing);

    // Writes the results file whole or not at all: an earlier file survives
    // every failure. Returns the problem, or an empty text.
    static QString saveResults(
        const QString &fileName, Data *outputData, Processing *processing, Layout layout);

    // Rebuilds outputData from inputData (whose standards and QC concentrations
    // are already read), corrects it, fits the lines and computes
    // concentrations, limits and, on request, the QC check. The engine starts
    // from fresh results. Indexes outside the lists the panel shows count as none.
    // A run that fits no calibration line stops there, not calibrated.
    static RunResult run(
        const RunOptions &options, Data *inputData, Data *outputData, Processing *processing);

    // The recovery count line of a run that checked the IS recovery, written
    // whatever Processing::DEBUG says. Not part of run(): ketrion-batch writes
    // its QC details between the two count lines.
    static void traceRecovery(const RunResult &result);
    // One text per pair outside: "Soil_3 : 115In LR (51.8 %)", or
    // "(not measured)". inputData is the one the run was given.
    static QStringList recoveryLines(const RunResult &result, const Data *inputData);
};

#endif
