#include "batch/BatchCommand.h"
#include "batch/BatchJob.h"

#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    // A reader of the trace that stops early (| head) must not stop the run
    // before the results are written: the lost trace lines are only lost.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ketrion-batch"));

    QTextStream errors(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

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
