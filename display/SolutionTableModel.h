#ifndef KETRION_SOLUTIONTABLEMODEL_H
#define KETRION_SOLUTIONTABLEMODEL_H

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

struct Calibration;
class ExpectedConcentrations;
class Measurements;
class ReportedResults;
class Results;

// One solution's values, a row per isotope: intensity and its RSD, then a
// concentration and its RSD; for a run's output also the value reported for
// the sample given, its unit and its qualifier, a qualified value marked.
class SolutionTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit SolutionTableModel(QObject *parent = nullptr);

    // No solution: the headers alone.
    void clear();
    // The values as read, with the concentrations the standards file gives.
    void showInput(const Measurements &data, const ExpectedConcentrations &expected, int solution);
    // The corrected intensities and what the run found, "<LOQ" below the
    // limit of quantification; without results the concentrations stay empty.
    void showOutput(const Measurements &working, const Results *results,
        const Calibration *calibration, const ReportedResults *reported, int solution);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void setRows(const QVector<QStringList> &rows, int columns, const QVector<bool> &marked = {});

    QVector<QStringList> m_rows;
    int m_columns;
    QVector<bool> m_marked; // rows whose reported value carries a qualifier
};

#endif
