#ifndef KETRION_METHODFILE_H
#define KETRION_METHODFILE_H

#include "model/Status.h"

#include <QByteArray>
#include <QString>

struct RunOptions;

// A lab's method: every processing option of a run, as an indented JSON text
// with one option per line, so that the window and ketrion-batch share one
// file. Solutions and isotopes are stored by name; isotopes without the
// trailing blanks of quadrupole names.
class MethodFile
{
public:
    static const QString FORMAT; // the "format" member's value
    static constexpr int VERSION = 1;
    static const QString SUFFIX; // "ketrion-method", without the dot

    static QByteArray write(const RunOptions &options);
    // Reads a whole method into options, or refuses it with the file name and
    // line and changes nothing: a damaged or foreign file, another version, a
    // member missing, unknown or of the wrong kind, or a value out of range.
    // The members added since version 1 may be missing: they take their
    // defaults.
    static Status read(const QByteArray &bytes, const QString &fileName, RunOptions *options);
};

#endif
