#include "app/WrappingHeader.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegularExpression>

namespace {

// Room around the text, as the style gives a header's.
constexpr int MARGIN = 4;
// Qt's text flags and alignment are two enums drawText takes in one int.
const int WRAPPED_CENTRED = int(Qt::TextWordWrap) | int(Qt::AlignCenter);

} // namespace

WrappingHeader::WrappingHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(false);
    setDefaultAlignment(Qt::AlignCenter);
}

QString WrappingHeader::text(int logicalIndex) const
{
    return model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
}

QSize WrappingHeader::sectionSizeFromContents(int logicalIndex) const
{
    const QString words = text(logicalIndex);
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const QString &word : words.split(QRegularExpression(QStringLiteral("\\s+"))))
        widest = qMax(widest, metrics.horizontalAdvance(word));
    const QRect wrapped = metrics.boundingRect(QRect(0, 0, widest, 1000), WRAPPED_CENTRED, words);
    return { wrapped.width() + 2 * MARGIN, wrapped.height() + MARGIN };
}

void WrappingHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = logicalIndex;
    painter->save();
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    painter->setFont(font());
    painter->drawText(rect.adjusted(MARGIN, 0, -MARGIN, 0), WRAPPED_CENTRED, text(logicalIndex));
    painter->restore();
}
