#include "display/ReportPages.h"

#include <QPainter>
#include <QPdfWriter>

namespace {

QFont reportFont(double points, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    // Ligatures would turn "fi" into one glyph that text extraction and
    // searches do not find as two letters.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

} // namespace

void ReportPages::setUp(QPdfWriter *writer, const QString &identifier)
{
    writer->setResolution(RESOLUTION);
    writer->setPageSize(QPageSize(QPageSize::A4));
    writer->setPageOrientation(QPageLayout::Portrait);
    writer->setPageMargins(QMarginsF(15.0, 12.0, 15.0, 12.0), QPageLayout::Millimeter);
    writer->setTitle(QStringLiteral("Ketrion run report %1").arg(identifier));
    writer->setCreator(QStringLiteral("Ketrion %1").arg(QStringLiteral(KETRION_VERSION)));
}

ReportPages::ReportPages(
    QPdfWriter *writer, QPainter *painter, int pageCount, const QString &identifier)
    : body(reportFont(8.5))
    , bold(reportFont(8.5, true))
    , small(reportFont(7.0))
    , smallBold(reportFont(7.0, true))
    , heading(reportFont(12.0, true))
    , title(reportFont(17.0, true))
    , m_writer(writer)
    , m_painter(painter)
    , m_pageCount(pageCount)
    , m_identifier(identifier)
{
    const QRect paint = writer->pageLayout().paintRectPixels(RESOLUTION);
    m_width = paint.width();
    m_bottom = paint.height() - 2.0 * lineHeight(small);
}

double ReportPages::lineHeight(const QFont &font) const
{
    return QFontMetricsF(font, m_writer).lineSpacing();
}

QFontMetricsF ReportPages::metrics(const QFont &font) const
{
    return QFontMetricsF(font, m_writer);
}

void ReportPages::need(double height)
{
    if (m_y > 0.0 && m_y + height > m_bottom)
        newPage();
}

void ReportPages::newPage()
{
    drawFooter();
    if (m_painter)
        m_writer->newPage();
    ++m_page;
    m_y = 0.0;
    if (m_progress && !m_cancelled && !m_progress(m_page, m_pageCount)) {
        m_cancelled = true;
        m_painter = nullptr;
    }
}

void ReportPages::finish()
{
    drawFooter();
}

QStringList ReportPages::wrapped(const QString &text, const QFont &font, double width) const
{
    const QFontMetricsF metrics(font, m_writer);
    if (metrics.horizontalAdvance(text) <= width)
        return { text };
    QStringList lines;
    QString line;
    for (const QString &word : text.split(QLatin1Char(' '))) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (metrics.horizontalAdvance(longer) <= width) {
            line = longer;
            continue;
        }
        if (!line.isEmpty())
            lines << line;
        line = word;
        while (line.size() > 1 && metrics.horizontalAdvance(line) > width) {
            int fit = 1;
            while (fit + 1 < line.size() && metrics.horizontalAdvance(line.left(fit + 1)) <= width)
                ++fit;
            if (fit > 1 && line.at(fit - 1).isHighSurrogate())
                --fit;
            lines << line.left(fit);
            line.remove(0, fit);
        }
    }
    return lines << line;
}

void ReportPages::text(const QString &line, const QFont &font, double x)
{
    const QFontMetricsF metrics(font, m_writer);
    for (const QString &part : wrapped(line, font, m_width - x)) {
        need(metrics.lineSpacing());
        if (m_painter) {
            m_painter->setFont(font);
            m_painter->drawText(QPointF(x, m_y + metrics.ascent()), part);
        }
        m_y += metrics.lineSpacing();
    }
}

void ReportPages::lines(const QStringList &texts)
{
    for (const QString &line : texts)
        text(line, body);
}

void ReportPages::section(const QString &name)
{
    const double height = lineHeight(heading);
    need(1.5 * height + 3.0 * lineHeight(body));
    if (m_y > 0.0)
        m_y += 0.6 * height;
    text(name, heading);
    m_y += 0.2 * height;
}

QVector<double> ReportPages::columns(
    const QStringList &header, const QVector<QStringList> &rows, const QFont &font) const
{
    const QFontMetricsF plain(font, m_writer);
    const QFontMetricsF strong(bold, m_writer);
    QVector<double> x(header.size(), 0.0);
    double left = 0.0;
    for (int c = 0; c < header.size(); ++c) {
        x[c] = left;
        double widest = strong.horizontalAdvance(header.at(c));
        for (const QStringList &row : rows)
            widest = qMax(widest, plain.horizontalAdvance(row.value(c)));
        left += qMin(widest, WIDEST_COLUMN) + GAP;
    }
    return x;
}

void ReportPages::table(const QStringList &header, const QVector<double> &x, int rowCount,
    const std::function<QStringList(int)> &rowAt, const QFont &font, const QFont &headerFont)
{
    const double height = lineHeight(font);
    need(2.0 * height);
    row(header, x, headerFont);
    for (int r = 0; r < rowCount; ++r) {
        if (m_y + height > m_bottom) {
            newPage();
            row(header, x, headerFont);
        }
        if (m_painter)
            row(rowAt(r), x, font);
        else
            m_y += height;
    }
}

void ReportPages::table(const QStringList &header, const QVector<QStringList> &rows)
{
    table(
        header, columns(header, rows, body), int(rows.size()),
        [&rows](int r) { return rows.at(r); }, body, bold);
}

void ReportPages::row(const QStringList &cells, const QVector<double> &x, const QFont &font)
{
    const QFontMetricsF metrics(font, m_writer);
    if (m_painter) {
        m_painter->setFont(font);
        for (int c = 0; c < cells.size() && c < x.size(); ++c) {
            const double room = (c + 1 < x.size() ? x.at(c + 1) - GAP : m_width) - x.at(c);
            const QString &cell = cells.at(c);
            m_painter->drawText(QPointF(x.at(c), m_y + metrics.ascent()),
                metrics.horizontalAdvance(cell) > room
                    ? metrics.elidedText(cell, Qt::ElideMiddle, room)
                    : cell);
        }
    }
    m_y += metrics.lineSpacing();
}

void ReportPages::drawFooter()
{
    if (!m_painter)
        return;
    const QFontMetricsF metrics(small, m_writer);
    const double base = m_bottom + 1.5 * metrics.lineSpacing();
    m_painter->setFont(small);
    m_painter->drawLine(QPointF(0.0, m_bottom + 0.4 * metrics.lineSpacing()),
        QPointF(m_width, m_bottom + 0.4 * metrics.lineSpacing()));
    m_painter->drawText(
        QPointF(0.0, base), QStringLiteral("Ketrion run report %1").arg(m_identifier));
    const QString page = QStringLiteral("Page %1 of %2").arg(m_page).arg(m_pageCount);
    m_painter->drawText(QPointF(m_width - metrics.horizontalAdvance(page), base), page);
}
