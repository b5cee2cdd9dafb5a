#include "display/PlotImage.h"

#include "display/PlotStyle.h"

#include "parsers/FileError.h"
#include "parsers/OutputFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <qwt_plot.h>
#include <qwt_plot_renderer.h>
#include <qwt_text.h>

Status PlotImage::write(QwtPlot *plot, const QSize &size, Format format, QIODevice *device)
{
    // The renderer lays the plot out again for the image, but takes the axes'
    // scales as the last replot left them.
    plot->resize(size);
    plot->replot();
    const QwtPlotRenderer renderer;
    const QRectF area(QPointF(0.0, 0.0), size);
    // At the plot's own resolution fonts and lines keep their size relative to
    // the image, as on screen.
    const int dpi = plot->logicalDpiX();

    if (format == Format::Png) {
        QImage image(size, QImage::Format_ARGB32);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        renderer.render(plot, &painter, area);
        painter.end();
        QImageWriter writer(device, "png");
        return writer.write(image) ? Status::success() : Status::failure(writer.errorString());
    }

    if (format == Format::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(device);
        svg.setSize(size);
        svg.setViewBox(area);
        svg.setResolution(dpi);
        svg.setTitle(plot->title().text());
        QPainter painter;
        if (!painter.begin(&svg))
            return Status::failure(QStringLiteral("Cannot draw the SVG image"));
        renderer.render(plot, &painter, area);
        painter.end();
        return Status::success();
    }

    QPdfWriter pdf(device);
    pdf.setResolution(dpi);
    pdf.setPageSize(
        QPageSize(QSizeF(size) * 72.0 / dpi, QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF());
    pdf.setTitle(plot->title().text());
    pdf.setCreator(QStringLiteral("Ketrion"));
    QPainter painter;
    if (!painter.begin(&pdf))
        return Status::failure(QStringLiteral("Cannot draw the PDF document"));
    renderer.render(plot, &painter, area);
    painter.end();
    return Status::success();
}

Status PlotImage::save(QwtPlot *plot, const QSize &size, Format format, const QString &fileName)
{
    // Drawn into memory first: a drawing's writer would hide a full disk
    // behind "Unknown error".
    QBuffer drawing;
    drawing.open(QIODevice::WriteOnly);
    const Status drawn = write(plot, size, format, &drawing);
    if (!drawn.ok())
        return Status::failure(FileError::unwritable(fileName, drawn.message()));
    return OutputFile::write(fileName, drawing.data(), QIODevice::WriteOnly);
}

Status PlotImage::saveShown(QwtPlot *plot, const QString &fileName)
{
    // An empty frame would pass for a plot.
    if (!PlotStyle::hasPoints(plot))
        return Status::failure(
            FileError::unwritable(fileName, QStringLiteral("Nothing is plotted on this tab yet")));
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    const QByteArray format = suffix.isEmpty() ? QByteArray("jpg") : suffix.toLatin1();
    // Encoded in memory first, so that a full disk gets its own reason; the
    // earlier image is replaced only once the new one is complete.
    QBuffer encoded;
    encoded.open(QIODevice::WriteOnly);
    QImageWriter writer(&encoded, format);
    if (!writer.write(plot->grab().toImage()))
        return Status::failure(FileError::unwritable(fileName, writer.errorString()));
    return OutputFile::write(fileName, encoded.data(), QIODevice::WriteOnly);
}
