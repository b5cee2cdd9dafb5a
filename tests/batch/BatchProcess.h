#ifndef KETRION_TESTS_BATCHPROCESS_H
#define KETRION_TESTS_BATCHPROCESS_H

#include <QFile>
#include <QProcess>
#include <QStringList>

// Runs the built ketrion-batch and keeps what it said; shared by the batch
// tests and the test that compares the window's results file with the tool's.
namespace BatchProcess {

struct Outcome
{
    int exitCode = -1; // also when it did not start, crashed or hung
    QString out;
    QString err;

    QStringList outLines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
    QStringList errLines() const { return err.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

inline Outcome run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    Outcome outcome;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
    } else if (process.exitStatus() == QProcess::NormalExit) {
        outcome.exitCode = process.exitCode();
    }
    outcome.out = QString::fromUtf8(process.readAllStandardOutput());
    outcome.err = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

inline QByteArray contents(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace BatchProcess

#endif
