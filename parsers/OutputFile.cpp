#include "parsers/OutputFile.h"

#include <QFileInfo>

OutputFile::OutputFile(const QString &fileName) : atomic(fileName), direct(fileName)
{
    const QFileInfo target(fileName);
    straight = target.exists() && !target.isFile() && !target.isDir();
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
