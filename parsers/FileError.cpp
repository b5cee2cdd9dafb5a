#include "parsers/FileError.h"

QString FileError::unreadable(const QString &path, const QString &reason, const QString &kind)
{
    return QStringLiteral("Cannot read %1 %2:\n%3.").arg(kind, path, reason);
}

QString FileError::unwritable(const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot write file %1:\n%2.").arg(path, reason);
}
