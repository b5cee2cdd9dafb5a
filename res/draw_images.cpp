// Draws the window's images into the folder given on the command line.
// Build and run with the CMake target `draw_images`; the PNG files are kept in
// the repository so a normal build does not need this program.

#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>
#include <cmath>
#include <functional>

namespace {

using Drawing = std::function<void(QPainter &)>;

bool save(const QString &folder, const QString &name, int width, int height, const Drawing &draw)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        draw(painter);
    }
    const QString path = QDir(folder).filePath(name);
    if (!image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
        QTextStream(stderr) << "cannot write " << path << '\n';
        return false;
    }
    return true;
}

QLinearGradient vertical(qreal top, qreal bottom, const QColor &from, const QColor &to)
{
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

// A round badge shared by the quit and process icons.
void badge(QPainter &p, const QColor &light, const QColor &dark)
{
    p.setPen(QPen(dark.darker(130), 2));
    p.setBrush(vertical(4, 68, light, dark));
    p.drawEllipse(QPointF(36, 36), 31, 31);
    // soft highlight on the upper half
    QRadialGradient shine(QPointF(36, 20), 30);
    shine.setColorAt(0, QColor(255, 255, 255, 90));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(QPointF(36, 36), 29, 29);
}

void drawClose(QPainter &p)
{
    badge(p, QColor(0xef, 0x5b, 0x52), QColor(0xb7, 0x23, 0x1c));
    p.setPen(QPen(Qt::white, 8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(25, 25), QPointF(47, 47));
    p.drawLine(QPointF(47, 25), QPointF(25, 47));
}

void drawRun(QPainter &p)
{
    badge(p, QColor(0x5c, 0xc1, 0x5f), QColor(0x23, 0x7a, 0x2b));
    QPainterPath play;
    play.moveTo(29, 21);
    play.lineTo(53, 36);
    play.lineTo(29, 51);
    play.closeSubpath();
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(play);
}

void drawOpen(QPainter &p)
{
    const QColor outline(0x9a, 0x6a, 0x0c);
    QPainterPath back;
    back.moveTo(6, 60);
    back.lineTo(6, 14);
    back.quadTo(6, 11, 9, 11);
    back.lineTo(26, 11);
    back.lineTo(31, 17);
    back.lineTo(60, 17);
    back.quadTo(63, 17, 63, 20);
    back.lineTo(63, 60);
    back.closeSubpath();
    p.setPen(QPen(outline, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(vertical(11, 60, QColor(0xe8, 0xa9, 0x2a), QColor(0xc9, 0x8a, 0x12)));
    p.drawPath(back);

    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(13, 22, 44, 30));
    p.setPen(QPen(QColor(0xb0, 0xb8, 0xc4), 2));
    for (int y = 29; y <= 43; y += 7)
        p.drawLine(QPointF(19, y), QPointF(51, y));

    QPainterPath front;
    front.moveTo(14, 31);
    front.lineTo(68, 31);
    front.lineTo(61, 61);
    front.lineTo(5, 61);
    front.closeSubpath();
    p.setPen(QPen(outline, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(vertical(31, 61, QColor(0xff, 0xd8, 0x5c), QColor(0xf2, 0xb2, 0x2e)));
    p.drawPath(front);
}

void drawSave(QPainter &p)
{
    const QColor body(0x1f, 0x5f, 0xb0);
    QPainterPath disk;
    disk.moveTo(8, 11);
    disk.quadTo(8, 7, 12, 7);
    disk.lineTo(54, 7);
    disk.lineTo(65, 18);
    disk.lineTo(65, 61);
    disk.quadTo(65, 65, 61, 65);
    disk.lineTo(12, 65);
    disk.quadTo(8, 65, 8, 61);
    disk.closeSubpath();
    p.setPen(QPen(body.darker(150), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(vertical(7, 65, body.lighter(125), body));
    p.drawPath(disk);

    // metal shutter with its slot
    p.setPen(QPen(QColor(0x70, 0x78, 0x80), 1.5));
    p.setBrush(vertical(7, 28, QColor(0xf0, 0xf2, 0xf4), QColor(0xb8, 0xc0, 0xc8)));
    p.drawRect(QRectF(19, 7, 33, 21));
    p.setPen(Qt::NoPen);
    p.setBrush(body.darker(140));
    p.drawRect(QRectF(40, 11, 7, 13));

    // label
    p.setPen(QPen(QColor(0x9a, 0xa4, 0xb0), 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(15, 37, 43, 28), 2, 2);
    p.setPen(QPen(QColor(0x9c, 0xb4, 0xd8), 2));
    for (int y = 45; y <= 57; y += 6)
        p.drawLine(QPointF(20, y), QPointF(53, y));
}

// A sheet of cells under a green header row, one cell in a qualifier's colour.
void drawWorkbook(QPainter &p)
{
    const QRectF sheet(7, 7, 58, 58);
    p.setPen(QPen(QColor(0x2e, 0x6b, 0x3a), 2));
    p.setBrush(vertical(7, 65, Qt::white, QColor(0xec, 0xf2, 0xec)));
    p.drawRoundedRect(sheet, 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(8, 22, QColor(0x5c, 0xb8, 0x60), QColor(0x2e, 0x7d, 0x32)));
    p.drawRoundedRect(QRectF(8, 8, 56, 14), 3, 3);
    p.setBrush(QColor(0xff, 0xd6, 0x99));
    p.drawRect(QRectF(28, 36, 18, 14));
    p.setPen(QPen(QColor(0x8f, 0xa8, 0x94), 1.5));
    for (const qreal x : { 28.0, 46.0 })
        p.drawLine(QPointF(x, 22), QPointF(x, 64));
    for (const qreal y : { 36.0, 50.0 })
        p.drawLine(QPointF(8, y), QPointF(64, y));
}

void drawPlot(QPainter &p)
{
    p.setPen(QPen(QColor(0x7a, 0x86, 0x94), 2));
    p.setBrush(vertical(6, 66, Qt::white, QColor(0xe9, 0xee, 0xf4)));
    p.drawRoundedRect(QRectF(5, 5, 62, 62), 6, 6);

    p.setPen(QPen(QColor(0xc8, 0xd0, 0xda), 1, Qt::DotLine));
    for (int x = 26; x <= 56; x += 10)
        p.drawLine(QPointF(x, 12), QPointF(x, 57));
    for (int y = 17; y <= 47; y += 10)
        p.drawLine(QPointF(15, y), QPointF(60, y));

    p.setPen(QPen(QColor(0x33, 0x3a, 0x44), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15, 11), QPointF(15, 58));
    p.drawLine(QPointF(15, 58), QPointF(62, 58));

    p.setPen(QPen(QColor(0x1e, 0x66, 0xd0), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(17, 54), QPointF(60, 15));

    p.setPen(QPen(QColor(0x8a, 0x1c, 0x10), 1.5));
    p.setBrush(QColor(0xf0, 0x5a, 0x28));
    const QPointF points[] = { { 22, 51 }, { 32, 40 }, { 42, 33 }, { 52, 22 } };
    for (const QPointF &point : points)
        p.drawEllipse(point, 4, 4);
}

void drawConfig(QPainter &p)
{
    // concentration sheet
    QPainterPath sheet;
    sheet.moveTo(9, 5);
    sheet.lineTo(42, 5);
    sheet.lineTo(54, 17);
    sheet.lineTo(54, 63);
    sheet.lineTo(9, 63);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(0x6f, 0x7a, 0x88), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(vertical(5, 63, Qt::white, QColor(0xe6, 0xeb, 0xf1)));
    p.drawPath(sheet);
    QPainterPath fold;
    fold.moveTo(42, 5);
    fold.lineTo(42, 17);
    fold.lineTo(54, 17);
    p.setBrush(QColor(0xd3, 0xda, 0xe3));
    p.drawPath(fold);

    // a small table of values
    p.setPen(QPen(QColor(0x8e, 0xa6, 0xc4), 2, Qt::SolidLine, Qt::FlatCap));
    for (int y = 24; y <= 48; y += 6) {
        p.drawLine(QPointF(15, y), QPointF(25, y));
        p.drawLine(QPointF(29, y), QPointF(47, y));
    }

    // flask in front
    QPainterPath flask;
    flask.moveTo(45, 32);
    flask.lineTo(57, 32);
    flask.lineTo(57, 44);
    flask.lineTo(68, 64);
    flask.quadTo(69, 67, 66, 67);
    flask.lineTo(36, 67);
    flask.quadTo(33, 67, 34, 64);
    flask.lineTo(45, 44);
    flask.closeSubpath();
    p.setPen(QPen(QColor(0x2f, 0x4f, 0x5f), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xea, 0xf6, 0xf8, 230));
    p.drawPath(flask);

    QPainterPath liquid;
    liquid.moveTo(40.5, 53);
    liquid.lineTo(61.5, 53);
    liquid.lineTo(67, 63.5);
    liquid.quadTo(67.5, 65.5, 65.5, 65.5);
    liquid.lineTo(36.5, 65.5);
    liquid.quadTo(34.5, 65.5, 35, 63.5);
    liquid.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(53, 66, QColor(0x2b, 0xc0, 0xb4), QColor(0x12, 0x8a, 0x84)));
    p.drawPath(liquid);
    p.setPen(QPen(QColor(0x2f, 0x4f, 0x5f), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(43, 32), QPointF(59, 32));
}

void drawQt(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(0, 250, QColor(0x5a, 0xd8, 0x6a), QColor(0x2f, 0xa8, 0x40)));
    p.drawRoundedRect(QRectF(5, 5, 240, 240), 44, 44);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(130);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(5, 0, 240, 240), Qt::AlignCenter, QStringLiteral("Qt"));
}

// A mass spectrum, a few peaks over a baseline from x 20 to 250 at y 140; the
// About image and the application icon both show it.
void drawSpectrum(QPainter &p)
{
    const qreal base = 140;
    struct Peak
    {
        qreal x, height, width;
    };
    const Peak peaks[] = { { 48, 42, 5 }, { 78, 96, 6 }, { 104, 58, 5 }, { 135, 112, 6 },
        { 163, 34, 5 }, { 190, 78, 6 }, { 222, 50, 5 } };
    QPainterPath spectrum;
    spectrum.moveTo(22, base);
    for (qreal x = 22; x <= 248; x += 0.5) {
        qreal y = 0;
        for (const Peak &peak : peaks)
            y += peak.height * std::exp(-std::pow((x - peak.x) / peak.width, 2) / 2);
        spectrum.lineTo(x, base - y);
    }
    spectrum.lineTo(248, base);
    spectrum.closeSubpath();
    QLinearGradient fill(0, base - 115, 0, base);
    fill.setColorAt(0, QColor(0xff, 0xb3, 0x47));
    fill.setColorAt(1, QColor(0x3f, 0xd0, 0xe0));
    p.setPen(QPen(QColor(0xff, 0xe1, 0xa8), 1.5));
    p.setBrush(fill);
    p.drawPath(spectrum);
    p.setPen(QPen(QColor(0xc8, 0xd8, 0xe8), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, base), QPointF(250, base));
}

void drawKetrion(QPainter &p)
{
    const QRectF frame(3, 3, 264, 207);
    p.setPen(QPen(QColor(0x0a, 0x19, 0x2a), 2));
    p.setBrush(vertical(3, 210, QColor(0x1d, 0x43, 0x68), QColor(0x0c, 0x22, 0x39)));
    p.drawRoundedRect(frame, 26, 26);
    drawSpectrum(p);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(44);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 146, 264, 58), Qt::AlignCenter, QStringLiteral("Ketrion"));
}

// The application icon, drawn on a 256-pixel square: the About image's
// spectrum, stretched to fill the square, without the name.
void drawIcon(QPainter &p)
{
    p.setPen(QPen(QColor(0x0a, 0x19, 0x2a), 3));
    p.setBrush(vertical(8, 248, QColor(0x1d, 0x43, 0x68), QColor(0x0c, 0x22, 0x39)));
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);
    p.save();
    p.translate(128, 200);
    p.scale(0.9, 1.3);
    p.translate(-135, -140);
    drawSpectrum(p);
    p.restore();
}

// Each size is drawn, not scaled down from the largest, so it stays sharp.
Drawing iconAt(int side)
{
    return [side](QPainter &p) {
        p.scale(side / 256.0, side / 256.0);
        drawIcon(p);
    };
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: draw_images <output folder>\n";
        return 2;
    }
    const QString &folder = args.at(1);
    bool ok = true;
    ok &= save(folder, QStringLiteral("close.png"), 72, 72, drawClose);
    ok &= save(folder, QStringLiteral("plot.png"), 72, 72, drawPlot);
    ok &= save(folder, QStringLiteral("save.png"), 72, 72, drawSave);
    ok &= save(folder, QStringLiteral("workbook.png"), 72, 72, drawWorkbook);
    ok &= save(folder, QStringLiteral("config.png"), 72, 72, drawConfig);
    ok &= save(folder, QStringLiteral("run.png"), 72, 72, drawRun);
    ok &= save(folder, QStringLiteral("open.png"), 72, 72, drawOpen);
    ok &= save(folder, QStringLiteral("qt.png"), 250, 250, drawQt);
    ok &= save(folder, QStringLiteral("ketrion.png"), 270, 213, drawKetrion);
    for (const int side : { 48, 128, 256 })
        ok &= save(folder, QStringLiteral("icon-%1.png").arg(side), side, side, iconAt(side));
    return ok ? 0 : 1;
}
