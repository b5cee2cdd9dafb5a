#include "batch/BatchJob.h"

#include "batch/BatchCommand.h"
#include "processing/Trace.h"

#include <QFile>
#include <QStringList>
#include <QTextStream>

namespace {

QString withoutTrailingBlanks(QString text)
{
    int end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    text.truncate(end);
    return text;
}

// Quadrupole display names end with a blank that nobody types.
int findIsotope(const QStringList &names, const QString &wanted)
{
    const QString key = withoutTrailingBlanks(wanted);
    for (int k = 0; k < names.size(); ++k) {
        if (withoutTrailingBlanks(names.at(k)) == key)
            return k;
    }
    return -1;
}

// An isotope named on the command line, or the first of its group as the box
// shows it first. False when the name is not in the group.
bool chooseIsotope(
    const QStringList &names, bool given, const QString &wanted, int *position, QString *text)
{
    *position = given ? findIsotope(names, wanted) : (names.isEmpty() ? -1 : 0);
    if (given && *position == -1)
        return false;
    *text = *position == -1 ? QString() : names.at(*position);
    return true;
}

} // namespace

BatchJob::BatchJob(KetrionPlotsWrite *writePlots) : writePlots(writePlots), inputData(&hrReader) { }

QString BatchJob::resolve(const BatchCommand &command, RunOptions *options) const
{
    options->instrument = command.instrument;

    options->isCorrection = command.isCorrection;
    if (command.isCorrection) {
        options->isReference = outputData.referenceNames().indexOf(command.isReference);
        if (options->isReference == -1)
            return QStringLiteral("Unknown solution '%1' for '--is-ref'.").arg(command.isReference);
        options->isReferenceName = command.isReference;
    }
    options->correctLR = command.correctLR;
    options->correctMR = command.correctMR;
    options->correctHR = command.correctHR;
    options->recoveryLow = command.recoveryLow;
    options->recoveryHigh = command.recoveryHigh;

    struct Group
    {
        const char *option;
        QList<int> indexes;
        bool given;
        QString wanted;
        int *position;
        QString *text;
    };
    const Group groups[] = {
        { "--is-lr", outputData.getLrIndexes(), command.isLRGiven, command.isLR, &options->isLR,
            &options->isLRName },
        { "--is-mr", outputData.getMrIndexes(), command.isMRGiven, command.isMR, &options->isMR,
            &options->isMRName },
        { "--is-hr", outputData.getHrIndexes(), command.isHRGiven, command.isHR, &options->isHR,
            &options->isHRName },
    };
    for (const Group &group : groups) {
        if (!chooseIsotope(outputData.isotopeNames(group.indexes), group.given, group.wanted,
                group.position, group.text))
            return QStringLiteral("Unknown isotope '%1' for '%2'.")
                .arg(group.wanted, QLatin1String(group.option));
    }

    options->yIntercept = command.blankMode == BatchCommand::YIntercept;
    options->subBlank = command.blankMode == BatchCommand::Subtract;
    const QStringList blankNames = outputData.blankNames();
    if (command.blankGiven) {
        options->blankSelection = blankNames.indexOf(command.blank);
        if (options->blankSelection == -1)
            return QStringLiteral("Unknown blank '%1' for '--blank'.").arg(command.blank);
    } else {
        options->blankSelection = blankNames.isEmpty() ? -1 : 0;
    }
    if (options->blankSelection != -1)
        options->blankSelectionName = blankNames.at(options->blankSelection);

    options->weighting = command.weighting;
    options->qcValidation = command.qcValidation;
    return {};
}

BatchJob::ExitCode BatchJob::run(const BatchCommand &command, QTextStream &errors)
{
    QFile dataFile(command.dataFile);
    if (!dataFile.open(QIODevice::ReadOnly)) {
        errors << QStringLiteral("Cannot read file %1:\n%2.")
                      .arg(command.dataFile, dataFile.errorString())
               << '\n';
        return FileError;
    }
    inputData.clear();
    if (command.instrument == ParserInAgilentCSV::ICP_MS_NAME)
        inputData.loadParser(&quadrupoleReader);
    else
        inputData.loadParser(&hrReader);
    const ParseResult read = inputData.executeParsing(&dataFile, &processing);
    dataFile.close();
    if (read.code != 0) {
        errors << read.message << '\n';
        return FileError;
    }
    ProcessingRun::prepareWorkingSet(&inputData, &outputData, &processing, true);

    RunOptions options;
    const QString unknown = resolve(command, &options);
    if (!unknown.isEmpty()) {
        errors << "ketrion-batch: " << unknown << "\n\n" << BatchCommand::usage();
        return UsageError;
    }

    ProcessingRun::traceConfiguration(options);
    const QString refused = ProcessingRun::checkReference(options, &inputData);
    if (!refused.isEmpty()) {
        errors << refused << '\n';
        return FileError;
    }
    QFile stdqcFile(command.stdqcFile);
    if (!stdqcFile.open(QIODevice::ReadOnly)) {
        errors << QStringLiteral("Cannot read STD QC Concentration file %1:\n%2.")
                      .arg(command.stdqcFile, stdqcFile.errorString())
               << '\n';
        return FileError;
    }
    Trace::line(QStringLiteral("# parse QC-STD file"));
    const ParseResult concentrations
        = ProcessingRun::readStandards(&stdqcFile, &stdqcReader, &inputData, &processing);
    stdqcFile.close();
    if (concentrations.code != 0) {
        errors << concentrations.message << '\n';
        return FileError;
    }

    const RunResult result = ProcessingRun::run(options, &inputData, &outputData, &processing);
    if (!result.calibrated) {
        errors << ProcessingRun::noCalibrationMessage(command.stdqcFile) << '\n';
        return FileError;
    }
    // The window shows these in its QC dialog.
    if (result.qcChecked) {
        for (const QString &failure : result.qc.messages)
            Trace::always(failure);
    }
    ProcessingRun::traceRecovery(result);
    for (const QString &outside : ProcessingRun::recoveryLines(result, &inputData))
        Trace::always(outside);
    // Same stage lines as the window, so that both traces compare line by line.
    Trace::line(QStringLiteral("*** refreshing plots and tables ***"));
    Trace::line(QStringLiteral("*** end of processing ***"));
    if (!result.status.isEmpty())
        errors << result.status << '\n';

    ExitCode saved = save(command.outputFile, ProcessingRun::Layout::Wide, errors);
    if (saved == Done && !command.longFile.isEmpty())
        saved = save(command.longFile, ProcessingRun::Layout::Long, errors);
    if (saved != Done || command.plotFolder.isEmpty())
        return saved;
    Q_ASSERT(writePlots);
    QString problem;
    writePlots(&command.plotFolder, command.plotFormat, &inputData, &outputData, &processing,
        &options, &result, &problem);
    if (problem.isEmpty())
        return Done;
    errors << problem << '\n';
    return FileError;
}

BatchJob::ExitCode BatchJob::save(
    const QString &fileName, ProcessingRun::Layout layout, QTextStream &errors)
{
    const QString problem = ProcessingRun::saveResults(fileName, &outputData, &processing, layout);
    if (problem.isEmpty())
        return Done;
    errors << QStringLiteral("Cannot write file %1:\n%2.").arg(fileName, problem) << '\n';
    return FileError;
}
