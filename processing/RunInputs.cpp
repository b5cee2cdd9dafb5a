#include "processing/RunInputs.h"

#include "parsers/FileError.h"
#include "parsers/InstrumentReader.h"
#include "processing/RunOutcome.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

QString RunInputs::File::fileName() const
{
    return QFileInfo(path).fileName();
}

RunInputs::File RunInputs::read(const QString &role, const QString &path) const
{
    File file { role, path, {}, {}, 0, {} };
    if (path.isEmpty())
        return file;
    QFile device(path);
    if (device.open(QIODevice::ReadOnly))
        file.bytes = device.readAll();
    // A read error after the open is an error too: a half file is no input.
    if (device.error() != QFileDevice::NoError)
        file.error = device.errorString();
    file.size = file.bytes.size();
    if (m_hashed)
        file.sha256 = QCryptographicHash::hash(file.bytes, QCryptographicHash::Sha256);
    return file;
}

Status RunInputs::readExport(const QString &path, const QString &instrument)
{
    const Status read = readExportFile(path);
    return read.ok() ? parseExport(instrument) : read;
}

Status RunInputs::readExportFile(const QString &path)
{
    File file = read(QStringLiteral("Data file"), path);
    if (!file.isRead())
        return Status::failure(FileError::unreadable(path, file.error));
    m_export = file;
    return Status::success();
}

Status RunInputs::parseExport(const QString &instrument)
{
    m_data.clear();
    const std::unique_ptr<InstrumentReader> reader = InstrumentReader::create(instrument);
    if (!reader)
        return Status::failure(QStringLiteral("Unknown instrument '%1'.").arg(instrument));
    QBuffer bytes(&m_export.bytes);
    bytes.open(QIODevice::ReadOnly);
    Status read = reader->read(&bytes, &m_data);
    // The data hold what the run needs of them.
    bytes.close();
    m_export.bytes.clear();
    m_export.bytes.squeeze();
    return read;
}

void RunInputs::readFiles(const QString &standardsFile, const QString &sampleSheet)
{
    m_standards = read(QStringLiteral("Standards file"), standardsFile);
    m_sheet = read(QStringLiteral("Sample sheet"), sampleSheet);
}

RunOutcome RunInputs::run(const RunOptions &options, ProcessingRun::Listing listing) const
{
    return ProcessingRun::run(*this, options, listing);
}

QVector<RunInputs::File> RunInputs::files() const
{
    QVector<File> read;
    for (const File *file : { &m_export, &m_standards, &m_sheet }) {
        if (file->isRead())
            read.append(*file);
    }
    return read;
}
