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

// Options as ketrion-batch takes them, each in the form --name=value.
inline QStringList options(const QString &line)
{
    const QStringList words = QProcess::splitCommand(line);
    QStringList options;
    for (int k = 0; k < words.size(); ++k) {
        QString option = words.at(k);
        if (!option.contains('=') && option != "--no-qc")
            option += '=' + words.value(++k);
        options << option;
    }
    return options;
}

// The value of --name=value among the options, or fallback.
inline QString value(const QStringList &options, const QString &name, const QString &fallback = {})
{
    const QString prefix = "--" + name + '=';
    for (const QString &option : options) {
        if (option.startsWith(prefix))
            return option.mid(prefix.size());
    }
    return fallback;
}

// The whole runs of tests/data/runs.txt by name, files given with their folder.
inline QList<QPair<QString, QStringList>> wholeRuns()
{
    QList<QPair<QString, QStringList>> runs;
    QFile table(TEST_DATA_DIR "/runs.txt");
    table.open(QIODevice::ReadOnly | QIODevice::Text);
    while (!table.atEnd()) {
        const QString line = QString::fromUtf8(table.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        QStringList run = options(line.section(' ', 1));
        for (QString &option : run) {
            if (option.startsWith("--data=") || option.startsWith("--stdqc=")
                || option.startsWith("--samples=") || option.startsWith("--method="))
                option.insert(option.indexOf('=') + 1, TEST_DATA_DIR "/");
        }
        runs.append({ line.section(' ', 0, 0), run });
    }
    return runs;
}

inline QByteArray contents(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace BatchProcess

#endif
