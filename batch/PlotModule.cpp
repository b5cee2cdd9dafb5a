#include "batch/PlotModule.h"

#include "batch/BatchPlots.h"
#include "display/RunReport.h"
#include "parsers/OutputFile.h"
#include "processing/RunInputs.h"

#include <QApplication>
#include <QTemporaryDir>

extern "C" {

Q_DECL_EXPORT QCoreApplication *ketrion_plots_create_application(int *argc, char **argv)
{
    // The plots need no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a session (cron, a service) the GUI classes would warn on
    // standard error at every run; a private folder for the run keeps them quiet.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        static QTemporaryDir runtime;
        if (runtime.isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }
    return new QApplication(*argc, argv);
}

Q_DECL_EXPORT void ketrion_plots_write(const QString *folder, PlotImage::Format format,
    const Measurements *data, const RunOutcome *outcome, const RunOptions *options, Status *written)
{
    *written = BatchPlots(*folder, format).write(*data, *outcome, *options);
}

Q_DECL_EXPORT void ketrion_plots_report(const QString *fileName, const RunInputs *inputs,
    const RunOutcome *outcome, const RunOptions *options, Status *written)
{
    const RunReport report(inputs->files(), *options, inputs->data(), *outcome);
    *written = OutputFile::write(*fileName, report.pdf(), QIODevice::WriteOnly);
}
}
