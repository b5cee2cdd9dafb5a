#ifndef KETRION_OUTPUTFILE_H
#define KETRION_OUTPUTFILE_H

#include "model/Status.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <functional>

// A file written whole or not at all: a new or regular file is replaced only
// on commit, so a failed write keeps the earlier one. A named pipe or device
// that already exists is written straight into, since renaming over it would
// replace it by a regular file.
class OutputFile
{
public:
    // Opens fileName, lets fill write into it and keeps what it wrote only when
    // fill succeeds. A failure carries the reason without the file name.
    static Status write(const QString &fileName, QIODevice::OpenMode mode,
        const std::function<Status(QIODevice *)> &fill);
    // The bytes as the file's whole text.
    static Status write(const QString &fileName, const QByteArray &bytes);

private:
    explicit OutputFile(const QString &fileName);

    bool open(QIODevice::OpenMode mode);
    QIODevice *device();
    // False, with the reason in errorString, when the file could not be completed.
    bool commit();
    // Drops what was written, where that is still possible.
    void cancel();
    QString errorString() const;

    QSaveFile m_atomic;
    QFile m_direct;
    bool m_straight;
};

#endif
