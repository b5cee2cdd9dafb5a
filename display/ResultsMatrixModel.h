#ifndef KETRION_RESULTSMATRIXMODEL_H
#define KETRION_RESULTSMATRIXMODEL_H

#include "model/ResultsMatrix.h"

#include <QAbstractTableModel>
#include <QModelIndexList>

// The results matrix for a table view. A cell's text, colours and tool tip
// are made only when the view asks for them, so that a run of 2,000
// solutions by 400 isotopes shows at once: a value with its qualifier's
// colour, an empty value as its qualifier in grey.
class ResultsMatrixModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role {
        // What a column sorts by: the number shown, else the text.
        SortRole = Qt::UserRole,
        // The value of a cell that shows a number; none for text.
        NumberRole,
        // The row's Solution::Type.
        TypeRole,
    };

    explicit ResultsMatrixModel(QObject *parent = nullptr);

    // An empty matrix shows nothing.
    void setMatrix(const ResultsMatrix &matrix);
    const ResultsMatrix &matrix() const { return m_matrix; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Across, the matrix's headers; down, the position in the run, 1 first.
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Each qualifier with its colour or grey text, as rich text.
    static QString legend();
    // The cells of the rows and columns that hold a selected one, in the
    // order the model shows them, as tab-separated lines under the columns'
    // headers: what a spreadsheet pastes as it is. Numbers take the decimal
    // point given, the one of the spreadsheet's locale; a cell not selected
    // is empty.
    static QString copyText(
        const QAbstractItemModel &model, const QModelIndexList &selected, QChar decimalPoint);

private:
    QVariant valueData(int row, int isotope, int role) const;
    QString toolTip(int row, int isotope) const;

    ResultsMatrix m_matrix;
};

#endif
