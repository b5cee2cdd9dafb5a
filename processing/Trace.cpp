#include "processing/Trace.h"

#include "processing/Processing.h"

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

} // namespace

QTextStream &Trace::stream()
{
    static QTextStream out(standardOutput());
    return out;
}

void Trace::setDevice(QIODevice *device)
{
    QTextStream &out = stream();
    out.flush();
    out.setDevice(device ? device : standardOutput());
}

void Trace::line(const QString &text)
{
    if (Processing::DEBUG)
        always(text);
}

void Trace::always(const QString &text)
{
    QTextStream &out = stream();
    out << text << '\n';
    out.flush();
}
