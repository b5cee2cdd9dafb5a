#include "batch/BatchJob.h"

#include "batch/BatchCommand.h"
#include "model/Measurements.h"
#include "parsers/MethodFile.h"
#include "parsers/OutputFile.h"
#include "parsers/SampleSheetTemplate.h"
#include "processing/RunInputs.h"
#include "processing/RunWorkbook.h"
#include "processing/Trace.h"

#include <QTextStream>

BatchJob::ExitCode BatchJob::run(const BatchCommand &command, QTextStream &errors) const
{
    if (!command.saveMethodFile.isEmpty())
        return saveMethod(command, errors);
    RunInputs inputs;
    inputs.setHashed(!command.reportFile.isEmpty() || !command.workbookFile.isEmpty());
    const Status read = inputs.readExport(command.dataFile, command.options.instrument);
    if (!read.ok()) {
        errors << read.message() << '\n';
        return FileError;
    }
    for (const QString &repeated : inputs.data().repeatedIsotopes())
        errors << repeated << '\n';

    if (!command.templateFile.isEmpty())
        return saveTemplate(command.templateFile, inputs.data(), errors);

    inputs.readFiles(command.standardsFile, command.sampleSheet);
    const RunOutcome outcome = inputs.run(command.options, ProcessingRun::Listing::Failures);
    if (outcome.refusal == RunOutcome::Refusal::UnknownName) {
        const QString message = command.unknownName(outcome);
        errors << "ketrion-batch: " << message << "\n\n" << BatchCommand::usage();
        return UsageError;
    }
    if (!outcome.ok()) {
        errors << outcome.reason << '\n';
        return FileError;
    }
    // Same stage lines as the window, so that both traces compare line by line.
    Trace::line(QStringLiteral("*** refreshing plots and tables ***"));
    Trace::line(QStringLiteral("*** end of processing ***"));
    for (const QString &warning : outcome.warnings)
        errors << warning << '\n';

    ExitCode saved = save(command.outputFile, outcome, ProcessingRun::Layout::Wide, errors);
    if (saved == Done && !command.longFile.isEmpty())
        saved = save(command.longFile, outcome, ProcessingRun::Layout::Long, errors);
    if (saved == Done && !command.workbookFile.isEmpty())
        saved = exitCode(RunWorkbook::write(command.workbookFile, inputs.files(), command.options,
                             inputs.data(), outcome),
            errors);
    return saved == Done ? writeDrawings(command, inputs, outcome, errors) : saved;
}

BatchJob::ExitCode BatchJob::writeDrawings(const BatchCommand &command, const RunInputs &inputs,
    const RunOutcome &outcome, QTextStream &errors) const
{
    Status written = Status::success();
    if (!command.reportFile.isEmpty()) {
        Q_ASSERT(m_writeReport);
        m_writeReport(&command.reportFile, &inputs, &outcome, &command.options, &written);
    }
    if (written.ok() && !command.plotFolder.isEmpty()) {
        Q_ASSERT(m_writePlots);
        m_writePlots(&command.plotFolder, command.plotFormat, &inputs.data(), &outcome,
            &command.options, &written);
    }
    if (written.ok())
        return Done;
    errors << written.message() << '\n';
    return FileError;
}

BatchJob::ExitCode BatchJob::saveMethod(const BatchCommand &command, QTextStream &errors)
{
    const Status saved
        = OutputFile::write(command.saveMethodFile, MethodFile::write(command.options));
    if (saved.ok())
        return Done;
    errors << saved.message() << '\n';
    return FileError;
}

BatchJob::ExitCode BatchJob::saveTemplate(
    const QString &fileName, const Measurements &data, QTextStream &errors)
{
    const Status saved = OutputFile::write(fileName, SampleSheetTemplate::format(data));
    if (saved.ok())
        return Done;
    errors << saved.message() << '\n';
    return FileError;
}

BatchJob::ExitCode BatchJob::save(const QString &fileName, const RunOutcome &outcome,
    ProcessingRun::Layout layout, QTextStream &errors)
{
    const Status saved = ProcessingRun::save(fileName, outcome, layout);
    if (saved.ok())
        return Done;
    errors << saved.message() << '\n';
    return FileError;
}

BatchJob::ExitCode BatchJob::exitCode(const Status &written, QTextStream &errors)
{
    if (written.ok())
        return Done;
    errors << written.message() << '\n';
    return FileError;
}
