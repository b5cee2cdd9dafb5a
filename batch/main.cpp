#include "batch/BatchCommand.h"
#include "batch/BatchJob.h"
#include "batch/PlotModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Read before the command line is parsed, since the application object comes
// first. A yes the parser then contradicts (--plots as another option's value)
// costs only a slower start; no --plots or --report the parser accepts is
// missed here.
bool mayAskForPlots(int argc, char *argv[])
{
    for (int k = 1; k < argc; ++k) {
        const char *argument = argv[k];
        if (std::strncmp(argument, "--", 2) == 0)
            ++argument;
        for (const char *option : { "-plots", "-report" }) {
            const size_t length = std::strlen(option);
            if (std::strncmp(argument, option, length) == 0
                && (argument[length] == '\0' || argument[length] == '='))
                return true;
        }
    }
    return false;
}

// Beside the program in the build tree, else where make install puts it. The
// program's folder comes from the kernel, since there is no application object
// yet to ask. Empty when both functions were found, else why not.
QString loadPlotModule(QLibrary *module, KetrionPlotsCreateApplication **createApplication,
    KetrionPlotsWrite **write, KetrionPlotsReport **report)
{
    const QDir programFolder
        = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).dir();
    const QString folders[] = { programFolder.path(),
        QDir::cleanPath(programFolder.filePath(QStringLiteral(KETRION_PLOT_MODULE_FOLDER))) };
    const QString name = QStringLiteral(KETRION_PLOT_MODULE);
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(name);
        if (!QFileInfo::exists(path))
            continue;
        module->setFileName(path);
        if (!module->load())
            return module->errorString();
        *createApplication = reinterpret_cast<KetrionPlotsCreateApplication *>(
            module->resolve(PlotModule::CREATE_APPLICATION));
        *write = reinterpret_cast<KetrionPlotsWrite *>(module->resolve(PlotModule::WRITE));
        *report = reinterpret_cast<KetrionPlotsReport *>(module->resolve(PlotModule::REPORT));
        // QLibrary gives no reason when a name is missing.
        const char *missing = !*createApplication ? PlotModule::CREATE_APPLICATION
            : !*write                             ? PlotModule::WRITE
            : !*report                            ? PlotModule::REPORT
                                                  : nullptr;
        return missing ? QStringLiteral("%1 has no function %2.").arg(path, QLatin1String(missing))
                       : QString();
    }
    return QStringLiteral("%1 is neither in %2 nor in %3.").arg(name, folders[0], folders[1]);
}

} // namespace

int main(int argc, char *argv[])
{
    // A reader of the trace that stops early (| head) must not stop the run
    // before the results are written: the lost trace lines are only lost.
    std::signal(SIGPIPE, SIG_IGN);

    // The application sees only the program name: a GUI application would take
    // some of the arguments as its own (-platform, -style), so that a run with
    // plots would read its command line otherwise than one without.
    int applicationArgc = 1;
    // Only the plots need a GUI application, which starts slower. It comes from
    // the plot module, which stays loaded (QLibrary does not unload on its own)
    // while the application is deleted.
    QLibrary plotModule;
    KetrionPlotsWrite *writePlots = nullptr;
    KetrionPlotsReport *writeReport = nullptr;
    std::unique_ptr<QCoreApplication> app;
    if (mayAskForPlots(argc, argv)) {
        KetrionPlotsCreateApplication *createApplication = nullptr;
        const QString unloaded
            = loadPlotModule(&plotModule, &createApplication, &writePlots, &writeReport);
        if (!unloaded.isEmpty()) {
            QTextStream(stderr) << "Cannot load the plot module: " << unloaded << '\n';
            return BatchJob::FileError;
        }
        app.reset(createApplication(&applicationArgc, argv));
    } else {
        app = std::make_unique<QCoreApplication>(applicationArgc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("ketrion-batch"));

    QTextStream errors(stderr);
    // As QCoreApplication::arguments() decodes them, once the locale is set.
    QStringList arguments;
    for (int k = 1; k < argc; ++k)
        arguments.append(QString::fromLocal8Bit(argv[k]));

    BatchCommand command;
    const Status parsed = command.parse(arguments);
    if (!parsed.ok()) {
        errors << "ketrion-batch: " << parsed.message() << "\n\n" << BatchCommand::usage();
        return BatchJob::UsageError;
    }
    if (command.help) {
        QTextStream(stdout) << BatchCommand::usage();
        return BatchJob::Done;
    }
    if (command.version) {
        QTextStream(stdout) << "ketrion-batch " << KETRION_VERSION << '\n';
        return BatchJob::Done;
    }

    BatchJob job(writePlots, writeReport);
    return job.run(command, errors);
}
