#include "processing/RunWorkbook.h"

#include "model/Measurements.h"
#include "model/ResultsMatrix.h"
#include "parsers/LongTableWriter.h"
#include "parsers/NumberFormat.h"
#include "parsers/WorkbookWriter.h"
#include "processing/RunMethod.h"
#include "processing/RunOutcome.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <memory>

using Cell = WorkbookWriter::Cell;
using Sheet = WorkbookWriter::Sheet;
using Rows = QVector<QVector<Cell>>;

const QStringList RunWorkbook::SHEETS { QStringLiteral("Results"), QStringLiteral("Long"),
    QStringLiteral("Calibration"), QStringLiteral("QC"), QStringLiteral("Method") };

namespace {

// A number as the files write it, read back: the sheets agree with the long
// table, the results file and the report to the last digit.
Cell number(double value)
{
    if (!std::isfinite(value))
        return Cell();
    QByteArray text;
    NumberFormat::append(text, value);
    double written = 0.0;
    std::from_chars(text.constData(), text.constData() + text.size(), written);
    return Cell::of(written);
}

Cell text(const QString &value)
{
    return Cell::of(value);
}

QVector<Cell> headings(const QStringList &texts)
{
    QVector<Cell> cells;
    for (const QString &heading : texts)
        cells << Cell::heading(heading);
    return cells;
}

// Rows made beforehand: the sheets of a few rows per isotope or check.
Sheet tableSheet(const QString &name, const Rows &rows, int frozenRows, int frozenColumns,
    const QVector<double> &widths)
{
    return { name, int(rows.size()), [rows](int row) { return rows.at(row); }, frozenRows,
        frozenColumns, widths };
}

// The matrix of the window's Results tab: reported values, a qualified value
// in its qualifier's colour with the qualifier and the QC's findings as a
// comment, an empty one as its qualifier in grey.
QVector<Cell> resultsRow(const ResultsMatrix &matrix, int s)
{
    QVector<Cell> cells { text(matrix.solution(s).name()) };
    if (matrix.hasUnitColumn())
        cells << text(matrix.unit(s));
    for (int column = int(cells.size()); column < matrix.columnCount(); ++column) {
        const int i = matrix.isotopeAt(column);
        const ResultsMatrix::Qualifier qualifier = matrix.qualifier(s, i);
        Cell cell = number(matrix.value(s, i));
        if (std::isnan(cell.number)) {
            cell.text = ReportedResults::qualifierText(qualifier);
            cell.grey = true;
        } else if (qualifier != ResultsMatrix::Qualifier::None) {
            cell.fill = ResultsMatrix::colour(qualifier);
            cell.comment = ResultsMatrix::qualifierMeaning(qualifier);
            const QString findings = matrix.findings(s, i);
            if (!findings.isEmpty())
                cell.comment += QStringLiteral("\nQC findings: ") + findings;
        }
        cells << cell;
    }
    return cells;
}

Sheet resultsSheet(const RunOutcome &outcome)
{
    const ResultsMatrix matrix(
        outcome.working, outcome.calibration, outcome.results, outcome.reported);
    QStringList header;
    double isotopeWidth = 12.0;
    for (int column = 0; column < matrix.columnCount(); ++column) {
        header << matrix.header(column);
        if (matrix.isotopeAt(column) != -1)
            isotopeWidth = qMax(isotopeWidth, header.last().size() + 2.0);
    }
    // The isotopes' columns alike, as wide as the widest header: one range.
    QVector<double> widths(matrix.columnCount(), isotopeWidth);
    widths[0] = 12.0;
    for (int row = 0; row < matrix.rowCount(); ++row)
        widths[0] = qMax(widths.at(0), matrix.solution(row).name().size() + 2.0);
    if (matrix.hasUnitColumn())
        widths[1] = 8.0;
    const auto row
        = [matrix, header](int r) { return r == 0 ? headings(header) : resultsRow(matrix, r - 1); };
    // The name stays in view, and the unit beside it when the rows differ.
    return { RunWorkbook::SHEETS.at(0), matrix.rowCount() + 1, row, 1,
        matrix.hasUnitColumn() ? 2 : 1, widths };
}

// The long table's bytes as rows of cells: the sheet is the file, column for
// column and digit for digit.
class LongTable
{
public:
    explicit LongTable(const QByteArray &bytes);
    int rowCount() const { return int(m_starts.size()); }
    QVector<Cell> row(int r) const;

private:
    static Cell field(const QByteArray &bytes, bool name);

    QByteArray m_bytes;
    QVector<int> m_starts; // of each line, a quoted line break inside its line
    QVector<bool> m_names; // the columns of names, which stay text even when they look like numbers
};

LongTable::LongTable(const QByteArray &bytes) : m_bytes(bytes)
{
    bool quoted = false;
    for (int k = 0; k < m_bytes.size(); ++k) {
        if (k == 0 || (!quoted && m_bytes.at(k - 1) == '\n'))
            m_starts << k;
        quoted = quoted != (m_bytes.at(k) == '"');
    }
    if (m_starts.isEmpty())
        return;
    for (const Cell &cell : row(0))
        m_names << (cell.text == QLatin1String("solution")
            || cell.text == QLatin1String("isotope"));
}

// A field as a number when the whole of it reads as one.
Cell LongTable::field(const QByteArray &bytes, bool name)
{
    double value = 0.0;
    const char *end = bytes.constData() + bytes.size();
    const bool numeric = !name && !bytes.isEmpty()
        && (std::isdigit(static_cast<unsigned char>(bytes.at(0))) || bytes.at(0) == '-'
            || bytes.at(0) == '.');
    if (numeric) {
        const auto read = std::from_chars(bytes.constData(), end, value);
        if (read.ec == std::errc() && read.ptr == end)
            return Cell::of(value);
    }
    return text(QString::fromUtf8(bytes));
}

// RFC 4180, as LongTableWriter quotes: a field in quotes, its quotes doubled.
QVector<Cell> LongTable::row(int r) const
{
    int end = r + 1 < m_starts.size() ? m_starts.at(r + 1) : m_bytes.size();
    if (end > m_starts.at(r) && m_bytes.at(end - 1) == '\n')
        --end;
    QVector<Cell> cells;
    QByteArray bytes;
    bool quoted = false;
    for (int k = m_starts.at(r); k <= end; ++k) {
        const char c = k < end ? m_bytes.at(k) : ',';
        if (c == '"' && quoted && k + 1 < end && m_bytes.at(k + 1) == '"') {
            bytes.append(m_bytes.at(++k));
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            cells << (r == 0 ? Cell::heading(QString::fromUtf8(bytes))
                             : field(bytes, m_names.value(cells.size())));
            bytes.clear();
        } else {
            bytes.append(c);
        }
    }
    return cells;
}

Sheet longSheet(const RunOutcome &outcome)
{
    const auto table = std::make_shared<const LongTable>(LongTableWriter::format(
        outcome.working, outcome.calibration, outcome.results, outcome.reported));
    return { RunWorkbook::SHEETS.at(1), table->rowCount(),
        [table](int row) { return table->row(row); }, 1, 0, { 16.0, 8.0, 12.0 } };
}

Cell acceptance(const RunOutcome &outcome, const CalibrationLine &line)
{
    if (!outcome.acceptanceChecked)
        return text(QStringLiteral("not checked"));
    if (!line.isRejected())
        return text(QStringLiteral("accepted"));
    Cell cell = text(QStringLiteral("rejected: ") + line.rejection);
    cell.fill = ResultsMatrix::colour(ResultsMatrix::Qualifier::CalibrationRejected);
    return cell;
}

Sheet calibrationSheet(const RunOutcome &outcome)
{
    Rows rows { headings({ QStringLiteral("Isotope"), QStringLiteral("Points"),
        QStringLiteral("Slope"), QStringLiteral("Intercept"), QStringLiteral("R²"),
        QStringLiteral("Weighting"), QStringLiteral("LOD (ppb)"), QStringLiteral("LOQ (ppb)"),
        QStringLiteral("Acceptance") }) };
    const QString weighting = Calibration::weightingName(outcome.calibration.weighting);
    for (int i = 0; i < outcome.working.isotopeCount(); ++i) {
        const CalibrationLine &line = outcome.calibration.lines.at(i);
        QVector<Cell> row { text(outcome.working.isotope(i).typedName()),
            Cell::of(double(line.points.size())) };
        if (line.isUsable())
            row << number(line.slope) << number(line.intercept) << number(line.r2)
                << text(weighting) << number(line.lod) << number(line.loq)
                << acceptance(outcome, line);
        else
            row << text(QStringLiteral("no calibration line"));
        rows << row;
    }
    return tableSheet(RunWorkbook::SHEETS.at(2), rows, 1, 1,
        { 14.0, 8.0, 12.0, 12.0, 10.0, 10.0, 12.0, 12.0, 30.0 });
}

// A verdict that is no pass stands out as a rejected line does.
Cell verdict(const QString &words, bool passed)
{
    Cell cell = text(words);
    if (!passed)
        cell.fill = ResultsMatrix::colour(ResultsMatrix::Qualifier::CalibrationRejected);
    return cell;
}

// One row per check made, and its count: more checks of a run, or of a
// batch of runs, come as more rows.
Rows qcSummary(const Measurements &data, const RunOutcome &outcome)
{
    Rows rows { headings({ QStringLiteral("Check"), QStringLiteral("Not valid"),
        QStringLiteral("Checked"), QStringLiteral("Rule") }) };
    if (outcome.qcChecked)
        rows << QVector<Cell> { text(QStringLiteral("QC solutions")),
            Cell::of(outcome.qc.failureCount()), Cell::of(double(outcome.qc.checks.size())),
            text(QStringLiteral("found ± SD meets expected ± error")) };
    if (outcome.recoveryChecked)
        rows << QVector<Cell> { text(QStringLiteral("IS recovery")),
            Cell::of(double(outcome.recovery.outside.size())), Cell::of(outcome.recovery.checked),
            text(QStringLiteral("IS intensity %1-%2 % of %3's")
                     .arg(outcome.recovery.low)
                     .arg(outcome.recovery.high)
                     .arg(data.solution(outcome.reference).name())) };
    const RunQcReport &qc = outcome.runQc;
    if (qc.applies)
        rows << QVector<Cell> { text(QStringLiteral("Run QC")), Cell::of(qc.failureCount()),
            Cell::of(qc.verdictCount()),
            text(QStringLiteral("checks within their limits, %1 results to rerun")
                     .arg(qc.rerunCount())) };
    if (qc.batchApplies)
        rows << QVector<Cell> { text(QStringLiteral("Batch QC")),
            Cell::of(qc.comparisonFailureCount()), Cell::of(qc.comparisonVerdictCount()),
            text(QStringLiteral("preparations within their limits, %1 not evaluated")
                     .arg(qc.notEvaluatedCount())) };
    if (rows.size() == 1)
        rows << QVector<Cell> { text(QStringLiteral("none: QC validation off")) };
    return rows;
}

// Every QC value checked, then every IS recovery outside its bounds.
Rows qcDetails(const Measurements &data, const RunOutcome &outcome)
{
    Rows rows { headings(
        { QStringLiteral("Check"), QStringLiteral("Solution"), QStringLiteral("Isotope"),
            QStringLiteral("Expected"), QStringLiteral("Expected ±"), QStringLiteral("Found"),
            QStringLiteral("Found ±"), QStringLiteral("Unit"), QStringLiteral("Verdict") }) };
    for (const QcReport::Check &check : outcome.qc.checks) {
        // Exactly 0.0 is no result.
        const bool found = check.found != 0.0;
        rows << QVector<Cell> {
            text(QStringLiteral("QC solution")), text(data.solution(check.solution).name()),
            text(data.isotope(check.isotope).typedName()), number(check.expected),
            number(check.expected * check.expectedError / 100.0),
            found ? number(check.found) : Cell(),
            found ? number(std::abs(check.found) * check.foundRsd / 100.0) : Cell(),
            text(QStringLiteral("ppb")),
            verdict(QcReport::verdictText(check.verdict), check.verdict == QcReport::Verdict::Pass)
        };
    }
    for (const RecoveryReport::Pair &pair : outcome.recovery.outside)
        rows << QVector<Cell> { text(QStringLiteral("IS recovery")),
            text(data.solution(pair.solution).name()), text(data.isotope(pair.isotope).typedName()),
            Cell(), Cell(), pair.measured ? number(pair.percent) : Cell(), Cell(),
            text(QStringLiteral("%")),
            verdict(pair.measured ? QStringLiteral("outside") : QStringLiteral("not measured"),
                false) };
    return rows;
}

// A verdict's words, only a failure coloured.
Cell runQcVerdict(RunQcReport::Verdict verdict)
{
    return ::verdict(RunQcReport::verdictText(verdict), verdict != RunQcReport::Verdict::Fail);
}

// A percentage as it was judged, to one decimal.
Cell judged(double percent)
{
    return std::isfinite(percent) ? Cell::of(std::round(percent * 10.0) / 10.0) : Cell();
}

// Each check solution and isotope of the run QC, then its gaps.
Rows runQcRows(const Measurements &data, const RunQcReport &qc)
{
    Rows rows { {}, { Cell::heading(QStringLiteral("Run QC")) },
        headings({ QStringLiteral("Check"), QStringLiteral("Role"), QStringLiteral("Isotope"),
            QStringLiteral("Found (ppb)"), QStringLiteral("Expected or limit (ppb)"),
            QStringLiteral("Recovery (%)"), QStringLiteral("Verdict") }) };
    for (const RunQcReport::Check &check : qc.checks)
        rows << QVector<Cell> { text(data.solution(check.solution).name()),
            text(QcRole::word(check.role)), text(data.isotope(check.isotope).typedName()),
            check.found != 0.0 ? number(check.found) : Cell(), number(check.limit),
            judged(check.recovery), runQcVerdict(check.verdict) };
    for (const QString &gap : qc.gapLines(data))
        rows << QVector<Cell> { text(QStringLiteral("gap")), text(gap) };
    return rows;
}

// Each QC preparation and isotope of the batch QC: the values compared, the
// figure and the verdict.
Rows batchQcRows(const Measurements &data, const RunQcReport &qc)
{
    using Figure = RunQcReport::Comparison::Figure;
    Rows rows { {}, { Cell::heading(QStringLiteral("Batch QC")) },
        headings({ QStringLiteral("Preparation"), QStringLiteral("Role"), QStringLiteral("Against"),
            QStringLiteral("Isotope"), QStringLiteral("Value"), QStringLiteral("Other"),
            QStringLiteral("Spike (ppb)"), QStringLiteral("Figure"), QStringLiteral("Result"),
            QStringLiteral("Verdict") }) };
    for (const RunQcReport::Comparison &c : qc.comparisons) {
        const bool percent = c.figure == Figure::Rpd || c.figure == Figure::Recovery;
        const QString figure = c.figure == Figure::Rpd ? QStringLiteral("RPD (%)")
            : c.figure == Figure::Difference           ? QStringLiteral("difference (R)")
            : c.figure == Figure::Recovery             ? QStringLiteral("recovery (%)")
                                                       : QStringLiteral("c (ppb)");
        rows << QVector<Cell> { text(data.solution(c.solution).name()), text(QcRole::word(c.role)),
            c.against == -1 ? Cell() : text(data.solution(c.against).name()),
            text(data.isotope(c.isotope).typedName()), number(c.value), number(c.other),
            number(c.spike), text(figure), percent ? judged(c.result) : number(c.result),
            runQcVerdict(c.verdict) };
    }
    return rows;
}

Sheet qcSheet(const Measurements &data, const RunOutcome &outcome)
{
    Rows rows = qcSummary(data, outcome);
    rows << QVector<Cell>();
    // The details' header stays in view, and the counts above it.
    const int frozen = int(rows.size()) + 1;
    rows << qcDetails(data, outcome);
    if (outcome.runQc.applies)
        rows << runQcRows(data, outcome.runQc);
    if (outcome.runQc.batchApplies)
        rows << batchQcRows(data, outcome.runQc);
    return tableSheet(RunWorkbook::SHEETS.at(3), rows, frozen, 0,
        { 14.0, 16.0, 12.0, 12.0, 12.0, 12.0, 12.0, 8.0, 16.0 });
}

// "2026-12-06T19:20:01+01:00"
QString dateText(const QDateTime &time)
{
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate);
}

Sheet methodSheet(
    const QVector<RunInputs::File> &inputs, const RunOptions &method, const RunOutcome &outcome)
{
    Rows rows { { Cell::heading(QStringLiteral("Run")) },
        { text(QStringLiteral("Run started")), text(dateText(outcome.started)) },
        { text(QStringLiteral("Program")),
            text(QStringLiteral("Ketrion %1").arg(QStringLiteral(KETRION_VERSION))) },
        {}, { Cell::heading(QStringLiteral("Method")) } };
    for (const QString &line : RunMethod::lines(method, outcome))
        rows << QVector<Cell> { text(line) };
    rows << QVector<Cell>()
         << headings({ QStringLiteral("Input"), QStringLiteral("File"), QStringLiteral("Bytes"),
                QStringLiteral("SHA-256") });
    for (const RunInputs::File &input : inputs)
        rows << QVector<Cell> { text(input.role), text(input.fileName()),
            Cell::of(double(input.size)), text(QString::fromLatin1(input.sha256.toHex())) };
    return tableSheet(RunWorkbook::SHEETS.at(4), rows, 0, 0, { 16.0, 30.0, 12.0, 66.0 });
}

} // namespace

Status RunWorkbook::write(const QString &fileName, const QVector<RunInputs::File> &inputs,
    const RunOptions &options, const Measurements &data, const RunOutcome &outcome)
{
    return WorkbookWriter::write(fileName,
        { resultsSheet(outcome), longSheet(outcome), calibrationSheet(outcome),
            qcSheet(data, outcome),
            methodSheet(inputs, RunMethod::of(options, data, outcome), outcome) });
}
