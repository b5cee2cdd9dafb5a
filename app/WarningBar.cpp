#include "app/WarningBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

WarningBar::WarningBar(QWidget *parent) : QFrame(parent), m_text(new QLabel(this))
{
    setObjectName(QStringLiteral("warningBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette shade = palette();
    shade.setColor(QPalette::Window, QColor(255, 243, 205));
    shade.setColor(QPalette::WindowText, QColor(102, 77, 3));
    setPalette(shade);
    auto *icon = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_SmallIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(side, side));
    m_text->setObjectName(QStringLiteral("warningText"));
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *close = new QToolButton(this);
    close->setObjectName(QStringLiteral("dismissWarnings"));
    close->setText(tr("Dismiss"));
    close->setAutoRaise(true);
    connect(close, &QToolButton::clicked, this, &WarningBar::dismiss);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 3, 3);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addWidget(m_text, 1);
    layout->addWidget(close, 0, Qt::AlignTop);
    hide();
}

void WarningBar::say(Subject subject, const QStringList &lines)
{
    if (lines.isEmpty())
        m_lines.remove(subject);
    else
        m_lines.insert(subject, lines);
    update();
}

QStringList WarningBar::lines() const
{
    QStringList all;
    for (const QStringList &lines : m_lines)
        all << lines;
    return all;
}

void WarningBar::dismiss()
{
    m_lines.clear();
    update();
}

void WarningBar::update()
{
    m_text->setText(lines().join(QLatin1Char('\n')));
    setVisible(!m_lines.isEmpty());
}
