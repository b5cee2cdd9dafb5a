#include "batch/BatchCommand.h"
#include "batch/BatchJob.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Read before the command line is parsed, since the application object comes
// first. A yes the parser then contradicts (--plots as another option's value)
// costs only a slower start; no --plots the parser accepts is missed here.
bool mayAskForPlots(int argc, char *argv[])
{
    for (int k = 1; k < argc; ++k) {
        const char *argument = argv[k];
        if (std::strncmp(argument, "--", 2) == 0)
            ++argument;
        if (std::strncmp(argument, "-plots", 6) == 0 && (argument[6] == '\0' || argument[6] == '='))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // A reader of the trace that stops early (| head) must not stop the run
    // before the results are written: the lost trace lines are only lost.
    std::signal(SIGPIPE, SIG_IGN);

    // Only the plots need a GUI application, which starts slower, and they
    // need no display.
    const bool drawing = mayAskForPlots(argc, argv);
    if (drawing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application sees only the program name: a GUI application would take
    // some of the arguments as its own (-platform, -style), so that a run with
    // plots would read its command line otherwise than one without.
    int applicationArgc = 1;
    const std::unique_ptr<QCoreApplication> app = drawing
        ? std::make_unique<QApplication>(applicationArgc, argv)
        : std::make_unique<QCoreApplication>(applicationArgc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ketrion-batch"));

    QTextStream errors(stderr);
    // As QCoreApplication::arguments() decodes them, once the locale is set.
    QStringList arguments;
    for (int k = 1; k < argc; ++k)
        arguments.append(QString::fromLocal8Bit(argv[k]));

    BatchCommand command;
    const QString problem = command.parse(arguments);
    if (!problem.isEmpty()) {
        errors << "ketrion-batch: " << problem << "\n\n" << BatchCommand::usage();
        return BatchJob::UsageError;
    }
    if (command.help) {
        QTextStream(stdout) << BatchCommand::usage();
        return BatchJob::Done;
    }

    BatchJob job;
    return job.run(command, errors);
}
