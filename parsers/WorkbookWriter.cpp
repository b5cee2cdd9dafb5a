#include "parsers/WorkbookWriter.h"

#include "parsers/FileError.h"
#include "parsers/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <clocale>
#include <cmath>

static_assert(WorkbookWriter::MAXIMUM_ROWS == LXW_ROW_MAX, "a sheet's rows");
static_assert(WorkbookWriter::MAXIMUM_COLUMNS == LXW_COL_MAX, "a sheet's columns");

WorkbookWriter::Cell WorkbookWriter::Cell::of(double value)
{
    Cell cell;
    // A spreadsheet has no infinity: the cell stays empty, as in the long table.
    if (std::isfinite(value))
        cell.number = value;
    return cell;
}

WorkbookWriter::Cell WorkbookWriter::Cell::of(const QString &text)
{
    Cell cell;
    cell.text = text;
    return cell;
}

WorkbookWriter::Cell WorkbookWriter::Cell::heading(const QString &text)
{
    Cell cell = of(text);
    cell.bold = true;
    return cell;
}

namespace {

using Cell = WorkbookWriter::Cell;
using Sheet = WorkbookWriter::Sheet;

// One workbook in the making, its formats made once per look.
class Book
{
public:
    Book(const QString &path, const QString &scratch)
        : m_path(QFile::encodeName(path)), m_scratch(QFile::encodeName(scratch))
    {
        lxw_workbook_options options {};
        // Rows go to the scratch folder as they are written: a large run's
        // long table would otherwise be held in memory cell by cell.
        options.constant_memory = LXW_TRUE;
        options.tmpdir = m_scratch.data();
        options.use_zip64 = LXW_TRUE;
        m_book = workbook_new_opt(m_path.constData(), &options);
    }
    ~Book()
    {
        if (m_book)
            workbook_close(m_book);
    }
    Book(const Book &) = delete;
    Book &operator=(const Book &) = delete;

    bool isOpen() const { return m_book; }
    lxw_error add(const Sheet &sheet);
    lxw_error close()
    {
        const lxw_error closed = workbook_close(m_book);
        m_book = nullptr;
        return closed;
    }

private:
    lxw_format *format(const Cell &cell);
    lxw_error write(lxw_worksheet *sheet, int row, int column, const Cell &cell);

    QByteArray m_path;
    QByteArray m_scratch;
    lxw_workbook *m_book = nullptr;
    QHash<QString, lxw_format *> m_formats;
};

lxw_format *Book::format(const Cell &cell)
{
    if (cell.fill == -1 && !cell.grey && !cell.bold)
        return nullptr;
    const QString key = QStringLiteral("%1 %2 %3").arg(cell.fill).arg(cell.grey).arg(cell.bold);
    lxw_format *&format = m_formats[key];
    if (!format) {
        format = workbook_add_format(m_book);
        // A background without a pattern is a solid fill.
        if (cell.fill != -1)
            format_set_bg_color(format, lxw_color_t(cell.fill));
        if (cell.grey)
            format_set_font_color(format, LXW_COLOR_GRAY);
        if (cell.bold)
            format_set_bold(format);
    }
    return format;
}

lxw_error Book::write(lxw_worksheet *sheet, int row, int column, const Cell &cell)
{
    lxw_format *look = format(cell);
    lxw_error written = LXW_NO_ERROR;
    if (!std::isnan(cell.number))
        written = worksheet_write_number(sheet, row, lxw_col_t(column), cell.number, look);
    else if (!cell.text.isEmpty())
        written = worksheet_write_string(
            sheet, row, lxw_col_t(column), cell.text.toUtf8().constData(), look);
    else if (look)
        written = worksheet_write_blank(sheet, row, lxw_col_t(column), look);
    if (written != LXW_NO_ERROR || cell.comment.isEmpty())
        return written;
    lxw_comment_options options {};
    char author[] = "Ketrion";
    options.author = author;
    return worksheet_write_comment_opt(
        sheet, row, lxw_col_t(column), cell.comment.toUtf8().constData(), &options);
}

lxw_error Book::add(const Sheet &sheet)
{
    lxw_worksheet *worksheet = workbook_add_worksheet(m_book, sheet.name.toUtf8().constData());
    if (!worksheet)
        return LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;
    worksheet_freeze_panes(worksheet, sheet.frozenRows, lxw_col_t(sheet.frozenColumns));
    lxw_error written = LXW_NO_ERROR;
    // Columns of one width as one range: the library looks a column up
    // among the ranges for each comment it places, and a range per column
    // made a large run's comments slow to place.
    for (int first = 0; first < sheet.widths.size() && written == LXW_NO_ERROR;) {
        int last = first;
        while (
            last + 1 < sheet.widths.size() && sheet.widths.at(last + 1) == sheet.widths.at(first))
            ++last;
        written = worksheet_set_column(
            worksheet, lxw_col_t(first), lxw_col_t(last), sheet.widths.at(first), nullptr);
        first = last + 1;
    }
    for (int row = 0; row < sheet.rowCount && written == LXW_NO_ERROR; ++row) {
        const QVector<Cell> cells = sheet.row(row);
        for (int column = 0; column < cells.size() && written == LXW_NO_ERROR; ++column)
            written = write(worksheet, row, column, cells.at(column));
    }
    return written;
}

// libxlsxwriter writes numbers with printf, whose decimal point is the
// locale's: the GUI's session locale would turn 0.5 into 0,5 and the file
// into one no spreadsheet reads. Numbers in C for this thread meanwhile.
class CNumbers
{
public:
    CNumbers()
        : m_c(newlocale(LC_NUMERIC_MASK, "C", duplocale(LC_GLOBAL_LOCALE)))
        , m_previous(m_c ? uselocale(m_c) : nullptr)
    { }
    ~CNumbers()
    {
        if (m_c) {
            uselocale(m_previous);
            freelocale(m_c);
        }
    }
    CNumbers(const CNumbers &) = delete;
    CNumbers &operator=(const CNumbers &) = delete;

private:
    locale_t m_c;
    locale_t m_previous;
};

// What a sheet cannot hold, said before anything is written.
QString tooLarge(const QVector<Sheet> &sheets)
{
    for (const Sheet &sheet : sheets) {
        if (sheet.rowCount > WorkbookWriter::MAXIMUM_ROWS)
            return QStringLiteral("the sheet %1 would have %2 rows, more than the %3 a sheet holds")
                .arg(sheet.name)
                .arg(sheet.rowCount)
                .arg(WorkbookWriter::MAXIMUM_ROWS);
    }
    return QString();
}

} // namespace

Status WorkbookWriter::write(const QString &fileName, const QVector<Sheet> &sheets)
{
    const QString refused = tooLarge(sheets);
    if (!refused.isEmpty())
        return Status::failure(FileError::unwritable(fileName, refused));
    const QTemporaryDir scratch;
    if (!scratch.isValid())
        return Status::failure(FileError::unwritable(fileName,
            QStringLiteral("no temporary folder in %1: %2")
                .arg(QDir::tempPath(), scratch.errorString())));
    const QString made = scratch.filePath(QStringLiteral("workbook.xlsx"));
    lxw_error written = LXW_ERROR_MEMORY_MALLOC_FAILED;
    {
        const CNumbers numbers;
        Book book(made, scratch.path());
        if (book.isOpen()) {
            written = LXW_NO_ERROR;
            for (const Sheet &sheet : sheets) {
                if (written == LXW_NO_ERROR)
                    written = book.add(sheet);
            }
            if (written == LXW_NO_ERROR)
                written = book.close();
        }
    }
    if (written != LXW_NO_ERROR)
        return Status::failure(
            FileError::unwritable(fileName, QString::fromUtf8(lxw_strerror(written))));
    QFile file(made);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(FileError::unwritable(fileName, file.errorString()));
    return OutputFile::write(fileName, file.readAll(), QIODevice::WriteOnly);
}
