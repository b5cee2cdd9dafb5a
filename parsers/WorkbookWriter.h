#ifndef KETRION_WORKBOOKWRITER_H
#define KETRION_WORKBOOKWRITER_H

#include "model/Status.h"

#include <QString>
#include <QVector>

#include <functional>
#include <limits>

// A workbook for spreadsheet programs (.xlsx): sheets of numbers and texts,
// with fills, comments and frozen panes, written whole or not at all. The
// writing is libxlsxwriter's, a C library that needs neither widgets nor a
// display: the core links it, so that ketrion-batch writes a workbook
// without loading the plot module. The library writes to a path only: the
// workbook is made in a private temporary folder, then written in its place
// by OutputFile, which keeps an earlier file on every failure.
class WorkbookWriter
{
public:
    // A sheet holds at most this many rows, the header included.
    static constexpr int MAXIMUM_ROWS = 1048576;
    static constexpr int MAXIMUM_COLUMNS = 16384;

    struct Cell
    {
        QString text; // written when number is NaN; an empty one leaves the cell blank
        double number = std::numeric_limits<double>::quiet_NaN();
        int fill = -1; // the background as 0xRRGGBB; -1 for none
        bool grey = false;
        bool bold = false;
        QString comment;

        static Cell of(double value);
        static Cell of(const QString &text);
        static Cell heading(const QString &text);
    };

    // One sheet, its rows made as they are written, the first row first.
    struct Sheet
    {
        QString name; // at most 31 characters, none of []:*?/\ .
        int rowCount = 0;
        std::function<QVector<Cell>(int row)> row;
        int frozenRows = 0; // stay in view as the rest scrolls
        int frozenColumns = 0;
        QVector<double> widths; // in characters, from the first column on
    };

    // A failure names the file and the reason.
    static Status write(const QString &fileName, const QVector<Sheet> &sheets);
};

#endif
