#ifndef KETRION_REPORTPAGES_H
#define KETRION_REPORTPAGES_H

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class QPainter;
class QPdfWriter;

// The run report's pages as they fill: laid out once without a painter to
// count them, then drawn, so that every footer can say "Page x of y".
class ReportPages
{
public:
    static constexpr int RESOLUTION = 300; // dots per inch of the page's coordinates
    static constexpr double MM = RESOLUTION / 25.4;
    static constexpr double GAP = 3.0 * MM; // between a table's columns
    // No column wider: a long name is shortened with an ellipsis instead.
    static constexpr double WIDEST_COLUMN = 60.0 * MM;

    // A4 upright, the report's margins, title and creator.
    static void setUp(QPdfWriter *writer, const QString &identifier);

    // Told each page begun and the pages in all (0 while they are counted);
    // false stops the drawing.
    using Progress = std::function<bool(int page, int pageCount)>;

    // painter is null while the pages are only counted.
    ReportPages(QPdfWriter *writer, QPainter *painter, int pageCount, const QString &identifier);

    const QFont body;
    const QFont bold;
    const QFont small;
    const QFont smallBold;
    const QFont heading;
    const QFont title;

    void setProgress(const Progress &progress) { m_progress = progress; }
    // Once stopped, the rest is only counted: nothing more is drawn.
    bool cancelled() const { return m_cancelled; }
    QPainter *painter() const { return m_painter; }
    int page() const { return m_page; }
    double top() const { return m_y; }
    double width() const { return m_width; }
    double bottom() const { return m_bottom; }

    double lineHeight(const QFont &font) const;
    QFontMetricsF metrics(const QFont &font) const;

    // A new page unless height still fits on this one.
    void need(double height);
    void newPage();
    void finish();
    void skip(double height) { m_y += height; }

    // Broken at blanks into lines no wider than width; a word wider than a
    // line is broken where it must.
    QStringList wrapped(const QString &text, const QFont &font, double width) const;

    // On as many lines as it needs.
    void text(const QString &line, const QFont &font, double x = 0.0);
    void lines(const QStringList &texts);
    // Kept with the lines under it.
    void section(const QString &name);

    // Each column as wide as its widest text, header included, up to
    // WIDEST_COLUMN.
    QVector<double> columns(
        const QStringList &header, const QVector<QStringList> &rows, const QFont &font) const;
    // Rows under their header, the header again on every page they run onto;
    // rowAt is asked only for the rows drawn. A cell wider than its column
    // (the last: than the page) is shortened in its middle with an ellipsis.
    void table(const QStringList &header, const QVector<double> &x, int rowCount,
        const std::function<QStringList(int)> &rowAt, const QFont &font, const QFont &headerFont);
    void table(const QStringList &header, const QVector<QStringList> &rows);

private:
    void row(const QStringList &cells, const QVector<double> &x, const QFont &font);
    void drawFooter();

    QPdfWriter *m_writer;
    QPainter *m_painter;
    int m_pageCount;
    QString m_identifier;
    int m_page = 1;
    Progress m_progress;
    bool m_cancelled = false;
    double m_y = 0.0;
    double m_width = 0.0;
    double m_bottom = 0.0;
};

#endif
