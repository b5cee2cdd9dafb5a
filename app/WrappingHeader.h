#ifndef KETRION_WRAPPINGHEADER_H
#define KETRION_WRAPPINGHEADER_H

#include <QHeaderView>

// A table's column headers on as many lines as their words need, each column
// as wide as its longest word: "Concentration RSD (%)" takes the room of
// "Concentration", and a table of long headers fits a window.
class WrappingHeader : public QHeaderView
{
    Q_OBJECT

public:
    explicit WrappingHeader(QWidget *parent = nullptr);

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    QString text(int logicalIndex) const;
};

#endif
