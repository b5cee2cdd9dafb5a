#include "display/RunningOrderScaleDraw.h"

#include <QPainter>

#include <qwt_scale_map.h>
#include <qwt_text.h>

#include <cmath>

namespace {

// Free room between two neighbouring labels, in pixels.
const double LABEL_GAP = 4.0;

} // namespace

int RunningOrderScaleDraw::labelInterval(const QFont &font) const
{
    const QList<double> ticks = scaleDiv().ticks(QwtScaleDiv::MajorTick);
    if (ticks.size() < 2)
        return 1;
    const double spacing
        = std::abs(scaleMap().transform(ticks.at(1)) - scaleMap().transform(ticks.at(0)));
    double widest = 0.0;
    const bool horizontal = orientation() == Qt::Horizontal;
    for (double tick : ticks) {
        const QSizeF size = labelSize(font, tick);
        widest = qMax(widest, horizontal ? size.width() : size.height());
    }
    if (!(spacing > 0.0))
        return ticks.size();
    return qMax(1, int(std::ceil((widest + LABEL_GAP) / spacing)));
}

QwtText RunningOrderScaleDraw::label(double value) const
{
    return QwtText(QString::number(std::lround(value)));
}

void RunningOrderScaleDraw::draw(QPainter *painter, const QPalette &palette) const
{
    interval = labelInterval(painter->font());
    QwtScaleDraw::draw(painter, palette);
}

void RunningOrderScaleDraw::drawLabel(QPainter *painter, double value) const
{
    const QList<double> ticks = scaleDiv().ticks(QwtScaleDiv::MajorTick);
    if (interval > 1 && ticks.size() > 1) {
        const double step = ticks.at(1) - ticks.at(0);
        const long index = std::lround((value - ticks.first()) / step);
        if (index % interval != 0)
            return;
    }
    QwtScaleDraw::drawLabel(painter, value);
}
