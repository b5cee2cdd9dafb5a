#ifndef KETRION_PREVIOUSFIGURES_H
#define KETRION_PREVIOUSFIGURES_H

#include <QHash>
#include <QString>

// The figures the previous version gave on this machine, stored beside the
// bench (previous_figures.txt): "key value" lines, # for comments.
class PreviousFigures
{
public:
    explicit PreviousFigures(const QString &file);

    bool isEmpty() const { return m_values.isEmpty(); }
    // A figure now beside the stored one: "12.3 (15.1)", or "12.3 (-)" when
    // none is stored; right-aligned in width characters.
    QString beside(double now, const QString &key, int width, int precision) const;

private:
    QHash<QString, double> m_values;
};

#endif
