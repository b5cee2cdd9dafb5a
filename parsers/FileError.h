#ifndef KETRION_FILEERROR_H
#define KETRION_FILEERROR_H

#include <QString>

// The one wording of a file that cannot be read or written: it always names
// the file, then the reason on a line of its own.
class FileError
{
public:
    // kind names what the file is to the program: "file", "sample sheet"…
    static QString unreadable(
        const QString &path, const QString &reason, const QString &kind = QStringLiteral("file"));
    static QString unwritable(const QString &path, const QString &reason);
};

#endif
