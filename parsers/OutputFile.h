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
    // The bytes a writer gathers before it hands them on.
    static constexpr int BLOCK = 1 << 20;

    // The bytes as the file's whole contents, made in memory beforehand so
    // that a short write is seen at once. A failure names the file and the
    // system's reason.
    static Status write(const QString &fileName, const QByteArray &bytes,
        QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Text);
    // The contents made piece by piece by produce, which hands each piece to
    // put and stops when put fails, so that a large file is never whole in
    // memory; committed, or dropped on the first failure, as above.
    static Status write(const QString &fileName, const std::function<bool(QIODevice *)> &produce,
        QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Text);
    // Every byte into the device; false when one could not be written.
    static bool put(QIODevice *device, const QByteArray &bytes);
    // Puts and empties bytes once they fill a block; false as put.
    static bool putFullBlock(QIODevice *device, QByteArray *bytes);

private:
    explicit OutputFile(const QString &fileName);

    bool open(QIODevice::OpenMode mode);
    QFileDevice &device();
    // Every byte into the file, flushed: QSaveFile would commit although its
    // last flush failed, leaving a truncated file in place of the earlier one.
    bool fill(const QByteArray &bytes);
    // Every byte written so far flushed, and none lost on the way.
    bool flushed();
    // False, with the reason in errorString, when the file could not be completed.
    bool commit();
    // Drops what was written, where that is still possible.
    void cancel();
    QString errorString();

    QSaveFile m_atomic;
    QFile m_direct;
    bool m_straight;
};

#endif
