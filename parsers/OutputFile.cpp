#include "parsers/OutputFile.h"

#include <QFileInfo>

OutputFile::OutputFile(const QString &fileName) : atomic(fileName), direct(fileName)
{
    const QFileInfo target(fileName);
    straight = target.exists() && !target.isFile() && !target.isDir();
}

QString OutputFile::write(const QString &fileName, QIODevice::OpenMode mode,
    const std::function<QString(QIODevice *)> &fill)
{
    OutputFile file(fileName);
    if (!file.open(mode))
        return file.errorString();
    const QString problem = fill(file.device());
    if (!problem.isEmpty()) {
        file.cancel();
        return problem;
    }
    return file.commit() ? QString() : file.errorString();
}

bool OutputFile::open(QIODevice::OpenMode mode)
{
    return straight ? direct.open(mode) : atomic.open(mode);
}

QIODevice *OutputFile::device()
{
    if (straight)
        return &direct;
    return &atomic;
}

bool OutputFile::commit()
{
    if (!straight)
        return atomic.commit();
    const bool flushed = direct.flush();
    direct.close();
    return flushed && direct.error() == QFileDevice::NoError;
}

void OutputFile::cancel()
{
    if (straight)
        direct.close();
    else
        atomic.cancelWriting();
}

QString OutputFile::errorString() const
{
    return straight ? direct.errorString() : atomic.errorString();
}
