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

Status OutputFile::write(const QString &fileName, const std::function<bool(QIODevice *)> &produce,
    QIODevice::OpenMode mode)
{
    OutputFile file(fileName);
    if (!file.open(mode))
        return Status::failure(FileError::unwritable(fileName, file.errorString()));
    const bool produced = produce(&file.device());
    if (!produced || !file.flushed()) {
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

bool OutputFile::put(QIODevice *device, const QByteArray &bytes)
{
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = device->write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool OutputFile::putFullBlock(QIODevice *device, QByteArray *bytes)
{
    if (bytes->size() < BLOCK)
        return true;
    if (!put(device, *bytes))
        return false;
    bytes->resize(0);
    return true;
}

bool OutputFile::fill(const QByteArray &bytes)
{
    return put(&device(), bytes) && flushed();
}

bool OutputFile::flushed()
{
    QFileDevice &file = device();
    if (file.error() != QFileDevice::NoError)
        return false;
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
    // Without an error of its own the device says "Unknown error".
    const QString reason = device().errorString();
    return device().error() == QFileDevice::NoError || reason.isEmpty()
        ? QStringLiteral("Write error")
        : reason;
}
