#include "bench/BatchRuns.h"

#include "bench/PreviousFigures.h"
#include "bench/SyntheticExport.h"
#include "parsers/HighResolutionReader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <iterator>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Size
{
    int solutions;
    int isotopes;
};
// A sequence of a normal day, and a day's export of a long one (8000 solutions).
const Size SIZES[] = { { 1000, 200 }, { 8000, 300 } };
constexpr int REPETITIONS = 7;
// The largest run's peak memory: at most three times its export and 15 MiB.
constexpr double MEMORY_FILE_FACTOR = 3.0;
constexpr double MEMORY_BASE_MB = 15.0;
// The middle run against pandas' reading the same export, and reading and
// writing it.
constexpr double READ_RATIO = 0.3;
constexpr double READ_WRITE_RATIO = 0.15;
// A sample sheet of blank lines: read with memory near its size.
constexpr int SHEET_MB = 50;
constexpr double SHEET_FILE_FACTOR = 1.5;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// This process's high-water mark of resident memory, in MiB: a child's peak
// cannot read below it, as it counts what the child shared before its exec.
double ownPeakMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0.0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0.0;
}

QString sizeName(const Size &size)
{
    return QStringLiteral("%1x%2").arg(size.solutions).arg(size.isotopes);
}

} // namespace

BatchRuns::BatchRuns(const QString &program, const QString &folder)
    : m_program(program), m_folder(folder)
{ }

bool BatchRuns::runOnce(const QStringList &arguments, Figures *figures) const
{
    return runProgram(m_program, arguments, figures);
}

// The trace goes to /dev/null, warnings and errors to the bench's stderr.
bool BatchRuns::runProgram(const QString &program, const QStringList &arguments, Figures *figures)
{
    std::vector<QByteArray> texts { QFile::encodeName(program) };
    for (const QString &argument : arguments)
        texts.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    argv.reserve(texts.size() + 1);
    for (QByteArray &text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t child = 0;
    const int started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        return false;
    int status = 0;
    rusage usage {};
    if (wait4(child, &status, 0, &usage) != child)
        return false;
    figures->wallMs = timer.nsecsElapsed() / 1e6;
    figures->peakMb = double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool BatchRuns::measure(int solutions, int isotopes, int repetitions, Figures *figures) const
{
    const QString stem
        = QStringLiteral("%1/batch_%2x%3").arg(m_folder).arg(solutions).arg(isotopes);
    const QString exportFile = stem + QStringLiteral("_export.csv");
    const QString standardsFile = stem + QStringLiteral("_stdqc.csv");
    QString error;
    if (!SyntheticExport(SyntheticExport::HighResolution, solutions, isotopes)
             .write(exportFile, standardsFile, &error)) {
        QTextStream(stderr) << "ketrion-bench: cannot write " << exportFile << ": " << error
                            << '\n';
        return false;
    }
    // What a lab would run: an internal standard in every group, referred to
    // the first blank; zero standard from the first blank; QC check.
    const QStringList arguments { QStringLiteral("--instrument"), HighResolutionReader::ICP_MS_NAME,
        QStringLiteral("--data"), exportFile, QStringLiteral("--stdqc"), standardsFile,
        QStringLiteral("--output"), stem + QStringLiteral("_results.csv"),
        QStringLiteral("--is-ref"), QStringLiteral("BLK_1") };
    std::vector<double> wall;
    std::vector<double> peak;
    // The first run brings the program and the file into the page cache.
    for (int run = -1; run < repetitions; ++run) {
        Figures one;
        if (!runOnce(arguments, &one)) {
            QTextStream(stderr) << "ketrion-bench: " << m_program << " failed over " << exportFile
                                << '\n';
            return false;
        }
        if (run >= 0) {
            wall.push_back(one.wallMs);
            peak.push_back(one.peakMb);
        }
    }
    figures->wallMs = median(wall);
    figures->peakMb = median(peak);
    figures->fileMb = double(QFileInfo(exportFile).size()) / (1024.0 * 1024.0);
    QFile::remove(exportFile);
    return true;
}

bool BatchRuns::report(QTextStream &out, const PreviousFigures &previous, bool *met) const
{
    out << "Whole ketrion-batch runs over HR exports, internal standard from BLK_1: median of "
        << REPETITIONS << " processes,\neach timed from its start to its exit; peak: its "
        << "high-water mark of resident memory.\n\n";
    out << QStringLiteral("%1 %2 %3 %4 %5\n")
               .arg(QStringLiteral("size"), 10)
               .arg(QStringLiteral("file MiB"), 9)
               .arg(QStringLiteral("wall ms (before)"), 20)
               .arg(QStringLiteral("peak MiB (before)"), 20)
               .arg(QStringLiteral("peak/file"), 9);
    out.flush();
    Figures largest;
    for (const Size &size : SIZES) {
        Figures f;
        if (!measure(size.solutions, size.isotopes, REPETITIONS, &f))
            return false;
        const QString key = QStringLiteral("batch/") + sizeName(size);
        out << QStringLiteral("%1 %2 %3 %4 %5\n")
                   .arg(sizeName(size), 10)
                   .arg(f.fileMb, 9, 'f', 2)
                   .arg(previous.beside(f.wallMs, key + QStringLiteral("/wall"), 20, 0))
                   .arg(previous.beside(f.peakMb, key + QStringLiteral("/peak"), 20, 1))
                   .arg(f.peakMb / f.fileMb, 9, 'f', 2);
        out.flush();
        largest = f;
    }
    out << QStringLiteral("  (no peak reads below this process's own, %1 MiB)\n")
               .arg(ownPeakMb(), 0, 'f', 1);
    const double limit = MEMORY_FILE_FACTOR * largest.fileMb + MEMORY_BASE_MB;
    *met = largest.peakMb <= limit;
    out << QStringLiteral("  %1 peak %2 MiB (target %3 x the export + %4 MiB = %5 MiB): %6\n\n")
               .arg(sizeName(SIZES[std::size(SIZES) - 1]))
               .arg(largest.peakMb, 0, 'f', 1)
               .arg(MEMORY_FILE_FACTOR)
               .arg(MEMORY_BASE_MB)
               .arg(limit, 0, 'f', 1)
               .arg(*met ? QStringLiteral("met") : QStringLiteral("MISSED"));
    bool sheetMet = false;
    if (!blankLineSheet(out, &sheetMet))
        return false;
    *met = *met && sheetMet;
    return true;
}

// Spreadsheets and scripts can leave millions of empty rows below a sheet's
// last: their peak is that of a small run plus about the sheet.
bool BatchRuns::blankLineSheet(QTextStream &out, bool *met) const
{
    const QString stem = m_folder + QStringLiteral("/blank_lines");
    const QString sheetFile = stem + QStringLiteral("_sheet.csv");
    QString error;
    if (!SyntheticExport(SyntheticExport::HighResolution, 20, 6)
             .write(stem + QStringLiteral("_export.csv"), stem + QStringLiteral("_stdqc.csv"),
                 &error)) {
        QTextStream(stderr) << "ketrion-bench: cannot write " << stem << ": " << error << '\n';
        return false;
    }
    QFile sheet(sheetFile);
    if (!sheet.open(QIODevice::WriteOnly)) {
        QTextStream(stderr) << "ketrion-bench: cannot write " << sheetFile << '\n';
        return false;
    }
    const QByteArray blank(1 << 20, '\n');
    sheet.write("solution,dilution\n");
    for (int k = 0; k < SHEET_MB; ++k)
        sheet.write(blank);
    sheet.write("BLK_1,2\n");
    sheet.close();
    Figures f;
    if (!runOnce({ QStringLiteral("--instrument"), HighResolutionReader::ICP_MS_NAME,
                     QStringLiteral("--data"), stem + QStringLiteral("_export.csv"),
                     QStringLiteral("--stdqc"), stem + QStringLiteral("_stdqc.csv"),
                     QStringLiteral("--output"), stem + QStringLiteral("_results.csv"),
                     QStringLiteral("--samples"), sheetFile },
            &f)) {
        QTextStream(stderr) << "ketrion-bench: " << m_program << " failed over " << sheetFile
                            << '\n';
        return false;
    }
    QFile::remove(sheetFile);
    const double limit = SHEET_FILE_FACTOR * SHEET_MB + MEMORY_BASE_MB;
    *met = f.peakMb <= limit;
    out << QStringLiteral("A run with a sample sheet of %1 MiB of blank lines: peak %2 MiB "
                          "(target %3 x the sheet + %4 MiB = %5 MiB): %6\n\n")
               .arg(SHEET_MB)
               .arg(f.peakMb, 0, 'f', 1)
               .arg(SHEET_FILE_FACTOR)
               .arg(MEMORY_BASE_MB)
               .arg(limit, 0, 'f', 1)
               .arg(*met ? QStringLiteral("met") : QStringLiteral("MISSED"));
    return true;
}

double BatchRuns::medianWall(const QString &program, const QStringList &arguments, bool *ran)
{
    std::vector<double> wall;
    for (int run = -1; run < REPETITIONS && *ran; ++run) {
        Figures one;
        *ran = runProgram(program, arguments, &one);
        if (run >= 0)
            wall.push_back(one.wallMs);
    }
    return *ran ? median(wall) : 0.0;
}

bool BatchRuns::compareWithPandas(QTextStream &out, bool *met) const
{
    *met = true;
    const Size size = SIZES[0];
    const QString stem = QStringLiteral("%1/pandas_%2").arg(m_folder, sizeName(size));
    const QString exportFile = stem + QStringLiteral("_export.csv");
    const QString standardsFile = stem + QStringLiteral("_stdqc.csv");
    QString error;
    if (!SyntheticExport(SyntheticExport::HighResolution, size.solutions, size.isotopes)
             .write(exportFile, standardsFile, &error))
        return false;
    bool ran = true;
    Figures probe;
    // Debian's, where python3-pandas installs it.
    const QString python = QStringLiteral("/usr/bin/python3");
    const QString script = QStringLiteral(KETRION_BENCH_DIR "/pandas_export.py");
    if (!runProgram(python,
            { QStringLiteral("-c"),
                QStringLiteral("import importlib.util, sys; "
                               "sys.exit(importlib.util.find_spec('pandas') is None)") },
            &probe)) {
        out << "pandas: not installed (Debian's python3-pandas), no comparison.\n\n";
        return true;
    }
    const double batch = medianWall(m_program,
        { QStringLiteral("--instrument"), HighResolutionReader::ICP_MS_NAME,
            QStringLiteral("--data"), exportFile, QStringLiteral("--stdqc"), standardsFile,
            QStringLiteral("--output"), stem + QStringLiteral("_results.csv"),
            QStringLiteral("--is-ref"), QStringLiteral("BLK_1") },
        &ran);
    const double read = medianWall(python, { script, QStringLiteral("read"), exportFile }, &ran);
    const double both = medianWall(python,
        { script, QStringLiteral("read-write"), exportFile, stem + QStringLiteral("_pandas.csv") },
        &ran);
    if (!ran)
        return false;
    *met = batch <= READ_RATIO * read && batch <= READ_WRITE_RATIO * both;
    out << QStringLiteral("%1 run %2 ms; pandas read_csv %3 ms (ratio %4, target %5), read_csv "
                          "and to_csv %6 ms (ratio %7, target %8): %9\n\n")
               .arg(sizeName(size))
               .arg(batch, 0, 'f', 1)
               .arg(read, 0, 'f', 1)
               .arg(batch / read, 0, 'f', 2)
               .arg(READ_RATIO)
               .arg(both, 0, 'f', 1)
               .arg(batch / both, 0, 'f', 2)
               .arg(READ_WRITE_RATIO)
               .arg(*met ? QStringLiteral("met") : QStringLiteral("MISSED"));
    QFile::remove(exportFile);
    return true;
}
