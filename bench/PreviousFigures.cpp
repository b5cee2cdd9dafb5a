#include "bench/PreviousFigures.h"

#include <QFile>

PreviousFigures::PreviousFigures(const QString &file)
{
    QFile figures(file);
    if (!figures.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    while (!figures.atEnd()) {
        const QByteArray line = figures.readLine().trimmed();
        const QList<QByteArray> fields = line.simplified().split(' ');
        bool ok = false;
        const double value = fields.size() == 2 ? fields.at(1).toDouble(&ok) : 0.0;
        if (!line.startsWith('#') && ok)
            m_values.insert(QString::fromUtf8(fields.at(0)), value);
    }
}

QString PreviousFigures::beside(double now, const QString &key, int width, int precision) const
{
    const QString before = m_values.contains(key)
        ? QString::number(m_values.value(key), 'f', precision)
        : QStringLiteral("-");
    return QStringLiteral("%1 (%2)")
        .arg(QString::number(now, 'f', precision), before)
        .rightJustified(width);
}
