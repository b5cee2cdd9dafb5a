#include "parsers/OutputFile.h"

#include <QFileInfo>

OutputFile::OutputFile(const QString &fileName) : m_atomic(fileName), m_direct(fileName)
{
    const QFileInfo target(fileName);
    m_straight = target.exists() && !target.isFile() && !target.isDir();
}

Status OutputFile::write(const QString &fileName, QIODevice::OpenMode mode,
    const std::function<Status(QIODevice *)> &fill)
{
    OutputFile file(fileName);
    if (!file.open(mode))
        return Status::failure(file.errorString());
    const Status filled = fill(file.device());
    if (!filled.ok()) {
        file.cancel();
        return filled;
    }
    return file.commit() ? Status::success() : Status::failure(file.errorString());
}

Status OutputFile::write(const QString &fileName, const QByteArray &bytes)
{
    return write(fileName, QIODevice::WriteOnly | QIODevice::Text, [&](QIODevice *device) {
        // A short or failed write is seen as one count.
        bool written = true;
        for (qint64 done = 0; written && done < bytes.size();) {
            const qint64 n = device->write(bytes.constData() + done, bytes.size() - done);
            written = n > 0;
            done += n;
        }
        if (auto *fileDevice = qobject_cast<QFileDevice *>(device))
            written = fileDevice->flush() && written;
        if (written)
            return Status::success();
        return Status::failure(device->errorString().isEmpty() ? QStringLiteral("Write error")
                                                               : device->errorString());
    });
}

bool OutputFile::open(QIODevice::OpenMode mode)
{
    return m_straight ? m_direct.open(mode) : m_atomic.open(mode);
}

QIODevice *OutputFile::device()
{
    if (m_straight)
        return &m_direct;
    return &m_atomic;
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

QString OutputFile::errorString() const
{
    return m_straight ? m_direct.errorString() : m_atomic.errorString();
}
