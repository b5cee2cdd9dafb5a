#ifndef KETRION_TEXTFILE_H
#define KETRION_TEXTFILE_H

#include <QByteArray>
#include <QStringList>

class QIODevice;

// The lines of a text file as instrument computers write them: UTF-8 with or
// without byte-order mark, UTF-16/32 with one, or else Windows-1252; CRLF, LF
// or CR line endings; trailing empty lines dropped.
class TextFile
{
public:
    // Reads the device from its current position to its end.
    explicit TextFile(QIODevice *device);
    explicit TextFile(const QByteArray &bytes);

    // False when the bytes hold no text (a binary file): lines() is then empty.
    bool isText() const { return text; }
    // Line n of the file (1-based) is lines().at(n - 1).
    const QStringList &lines() const { return content; }

private:
    static bool looksBinary(const QByteArray &bytes);
    static QString decode(const QByteArray &bytes);

    QStringList content;
    bool text = true;
};

#endif
