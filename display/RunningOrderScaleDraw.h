#ifndef KETRION_RUNNINGORDERSCALEDRAW_H
#define KETRION_RUNNINGORDERSCALEDRAW_H

#include <qwt_scale_draw.h>

// Running-order axis: a tick for every solution, but only as many labels as
// fit side by side; crowded labels are thinned to every n-th tick instead of
// being printed over each other.
class RunningOrderScaleDraw : public QwtScaleDraw
{
public:
    void draw(QPainter *painter, const QPalette &palette) const override;

    // 1 when every tick's label fits, else the smallest n that keeps labels apart.
    int labelInterval(const QFont &font) const;
    // A position, without the locale's thousands separator: 1200, not 1,200.
    QwtText label(double value) const override;

protected:
    void drawLabel(QPainter *painter, double value) const override;

private:
    mutable int interval = 1;
};

#endif
