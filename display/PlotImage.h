#ifndef KETRION_PLOTIMAGE_H
#define KETRION_PLOTIMAGE_H

#include "model/Status.h"

#include <QSize>
#include <QString>

class QIODevice;
class QwtPlot;

// A plot as an image file, drawn as the plot would show at the image's size.
class PlotImage
{
public:
    enum class Format { Png, Svg, Pdf };

    // The file name suffix, which is also the name the command line takes.
    // Inline: ketrion-batch reads it without linking the drawing code.
    static QString suffix(Format format)
    {
        switch (format) {
        case Format::Svg:
            return QStringLiteral("svg");
        case Format::Pdf:
            return QStringLiteral("pdf");
        case Format::Png:
            break;
        }
        return QStringLiteral("png");
    }

    static Status write(QwtPlot *plot, const QSize &size, Format format, QIODevice *device);
    // The image as a file, whole or not at all; a failure names the file and
    // the system's reason.
    static Status save(QwtPlot *plot, const QSize &size, Format format, const QString &fileName);
    // The plot as the window shows it, in the image format its name's suffix
    // says (JPEG without one), whole or not at all; an empty frame is refused.
    static Status saveShown(QwtPlot *plot, const QString &fileName);
};

#endif
