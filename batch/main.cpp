#include "batch/BatchCommand.h"
#include "batch/BatchJob.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
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
