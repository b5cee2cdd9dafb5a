#ifndef KETRION_RUNINPUTS_H
#define KETRION_RUNINPUTS_H

#include "model/Measurements.h"
#include "model/Status.h"
#include "processing/ProcessingRun.h"

#include <QByteArray>
#include <QString>
#include <QVector>

struct RunOptions;
struct RunOutcome;

// Every input of a run, each read once: the export, the standards file and
// the lab's sample sheet. Each file's size and SHA-256 are taken from the
// bytes as read, so that a run and its report name the same files even when
// one changes on disk in between; the export's bytes go once parsed.
class RunInputs
{
public:
    // One file as read: what it is to the run, its path, its size and
    // SHA-256, and its bytes until they are parsed; or the system's reason
    // why it could not be read.
    struct File
    {
        QString role;
        QString path;
        QByteArray bytes;
        QString error;
        qint64 size = 0;
        QByteArray sha256; // empty when not hashed

        bool isGiven() const { return !path.isEmpty(); }
        bool isRead() const { return isGiven() && error.isEmpty(); }
        QString fileName() const;
    };

    // Reads the export and parses it with the instrument's reader, whose
    // status it returns (its summary on success); a file that cannot be read
    // changes nothing, a refused one leaves what the reader read.
    Status readExport(const QString &path, const QString &instrument);
    // The two halves of readExport: the bytes, then what they hold.
    Status readExportFile(const QString &path);
    Status parseExport(const QString &instrument);
    // The export as read.
    const Measurements &data() const { return m_data; }
    const File &exportFile() const { return m_export; }

    // Reads the files the next run needs as they are now; an empty path for
    // none. One that cannot be read refuses the run that needs it.
    void readFiles(const QString &standardsFile, const QString &sampleSheet);
    const File &standardsFile() const { return m_standards; }
    const File &sampleSheet() const { return m_sheet; }

    RunOutcome run(const RunOptions &options, ProcessingRun::Listing listing) const;

    // The files read, the export first, as the run's report names them.
    QVector<File> files() const;
    // Whether the files read from now on are hashed (the default): a run
    // that makes no report nor workbook needs no SHA-256, a third of a
    // small run's work.
    void setHashed(bool hashed) { m_hashed = hashed; }

private:
    File read(const QString &role, const QString &path) const;

    File m_export;
    File m_standards;
    File m_sheet;
    bool m_hashed = true;
    Measurements m_data;
};

#endif
