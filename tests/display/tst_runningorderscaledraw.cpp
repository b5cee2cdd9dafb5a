#include "display/RunningOrderScaleDraw.h"

#include <QPainter>
#include <QPalette>
#include <QTextItem>
#include <QtTest>

#include <qwt_null_paintdevice.h>
#include <qwt_scale_div.h>
#include <qwt_scale_map.h>

namespace {

// Records the texts a painter draws.
class TextRecorder : public QwtNullPaintDevice
{
public:
    QStringList texts;

    void drawTextItem(const QPointF &, const QTextItem &item) override
    {
        texts.append(item.text());
    }

protected:
    QSize sizeMetrics() const override { return QSize(2000, 400); }
};

QwtScaleDiv runningOrder(int solutions)
{
    QList<double> ticks;
    for (int k = 1; k <= solutions; ++k)
        ticks.append(k);
    return QwtScaleDiv(1.0, solutions, QList<double>(), QList<double>(), ticks);
}

// Whether two neighbouring labels, every n-th tick, come closer than gap pixels.
bool crowded(
    const RunningOrderScaleDraw &draw, const QFont &font, int solutions, int every, double gap)
{
    const auto edge = [&](double tick, bool right) {
        const QRectF rect = draw.labelRect(font, tick);
        return draw.scaleMap().transform(tick) + (right ? rect.right() : rect.left());
    };
    for (int k = 1; k + every <= solutions; k += every) {
        if (edge(k + every, false) - edge(k, true) < gap)
            return true;
    }
    return false;
}

} // namespace

class TestRunningOrderScaleDraw : public QObject
{
    Q_OBJECT

private slots:
    void labelsNeverOverlap_data();
    void labelsNeverOverlap();
};

void TestRunningOrderScaleDraw::labelsNeverOverlap_data()
{
    QTest::addColumn<int>("solutions");
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("rotation");
    QTest::addColumn<bool>("thinned");

    QTest::newRow("short run, rotated labels") << 12 << 700.0 << 270.0 << false;
    QTest::newRow("long run, rotated labels") << 100 << 400.0 << 270.0 << true;
    QTest::newRow("long run, flat labels") << 100 << 600.0 << 0.0 << true;
    QTest::newRow("very long run") << 1000 << 600.0 << 270.0 << true;
    QTest::newRow("one solution") << 1 << 600.0 << 270.0 << false;
}

void TestRunningOrderScaleDraw::labelsNeverOverlap()
{
    QFETCH(int, solutions);
    QFETCH(double, length);
    QFETCH(double, rotation);
    QFETCH(bool, thinned);

    RunningOrderScaleDraw draw;
    draw.setAlignment(QwtScaleDraw::BottomScale);
    draw.setLabelRotation(rotation);
    draw.setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    draw.setScaleDiv(runningOrder(solutions));
    draw.move(QPointF(0.0, 0.0));
    draw.setLength(length);

    TextRecorder device;
    QPainter painter(&device);
    QFont font = painter.font();
    font.setPointSize(10);
    painter.setFont(font);
    const int every = draw.labelInterval(painter.font());
    draw.draw(&painter, QPalette());
    painter.end();

    QCOMPARE(every > 1, thinned);
    QVERIFY(!crowded(draw, font, solutions, every, 1.0));
    // not wastefully sparse: half as many ticks apart, labels would crowd
    if (every > 1)
        QVERIFY(crowded(draw, font, solutions, every / 2, 8.0));

    QStringList expected;
    for (int k = 1; k <= solutions; k += every)
        expected.append(QString::number(k));
    QCOMPARE(device.texts, expected);
}

QTEST_MAIN(TestRunningOrderScaleDraw)
#include "tst_runningorderscaledraw.moc"
