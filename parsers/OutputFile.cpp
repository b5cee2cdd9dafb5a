#include "parsers/OutputFile.h"

#include "parsers/FileError.h"

#include <QFileInfo>

OutputFile::OutputFile(const QString &fileName) : m_atomic(fileName), m_direct(fileName)
{
    const QFileInfo target(fileName);
    m_straight = target.exists() && !target.isFile() && !target.isDir();
}

Status OutputFile::write(const QString &fileName, const QByteArray &bytes, QIODevice::OpenMode mode)
{
    OutputFile file(fileName);
    if (!file.open(mode))
        return Status::failure(FileError::unwritable(fileName, file.errorString()));
    if (!file.fill(bytes)) {
        const QString reason = file.errorString();
        file.cancel();
        return Status::failure(FileError::unwritable(fileName, reason));
    }
    return file.commit() ? Status::success()
                         : Status::failure(FileError::unwritable(fileName, file.errorString()));
}

bool OutputFile::open(QIODevice::OpenMode mode)
{
    return m_straight ? m_direct.open(mode) : m_atomic.open(mode);
}

QFileDevice &OutputFile::device()
{
    if (m_straight)
        return m_direct;
    return m_atomic;
}

bool OutputFile::fill(const QByteArray &bytes)
{
    QFileDevice &file = device();
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    if (file.flush())
        return file.error() == QFileDevice::NoError;
    // A short write is reported without its reason; the next attempt gives the system's.
    file.flush();
    return false;
}

bool OutputFile::commit()
{
    if (!m_straight)
        return m_atomic.commit();
    const bool flushed = m_direct.flush();
    m_direct.close();
    return flushed && m_direct.error() == QFileDevice::NoError;
}

void OutputFile::cancel()
{
    if (m_straight)
        m_direct.close();
    else
        m_atomic.cancelWriting();
}

QString OutputFile::errorString()
{
    const QString reason = device().errorString();
    return reason.isEmpty() ? QStringLiteral("Write error") : reason;
}
