#ifndef KETRION_TRACE_H
#define KETRION_TRACE_H

#include <QString>

class QIODevice;
class QTextStream;

// The processing trace: one process-wide text stream, standard output unless
// redirected. Every line is flushed at once so that the trace and a crash or
// a modal box keep their order.
class Trace
{
public:
    static void line(const QString &text);

    // The stream itself, for lines that need its number formatting. Format
    // changes made on it stay for all later output.
    static QTextStream &stream();

    // Sends the trace to another device (tests); nullptr goes back to standard
    // output. The stream starts again with its default number format, in UTF-8.
    static void setDevice(QIODevice *device);
};

#endif
