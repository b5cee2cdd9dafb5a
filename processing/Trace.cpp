#include "processing/Trace.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {

QFile *standardOutput()
{
    static QFile *out = [] {
        auto *file = new QFile;
        file->open(stdout, QIODevice::WriteOnly | QIODevice::Text);
        return file;
    }();
    return out;
}

// The window's and the tool's traces must read alike whatever the locale:
// "1/x²" is one of their lines.
QTextStream *inUtf8(QTextStream *out)
{
    out->setCodec("UTF-8");
    return out;
}

} // namespace

QTextStream &Trace::stream()
{
    static QTextStream out(standardOutput());
    static QTextStream *const ready = inUtf8(&out);
    return *ready;
}

void Trace::setDevice(QIODevice *device)
{
    QTextStream &out = stream();
    out.flush();
    // A new device also resets the encoding.
    out.setDevice(device ? device : standardOutput());
    inUtf8(&out);
}

void Trace::line(const QString &text)
{
    QTextStream &out = stream();
    out << text << '\n';
    out.flush();
}
