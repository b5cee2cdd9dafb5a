// ketrion-bench: median time to read, process and write synthetic exports of
// growing size, and the peak memory of each, for both instruments; the time
// to write and read a number; whole ketrion-batch runs as processes. Every
// figure is printed beside the previous version's, stored in
// previous_figures.txt; --whole-runs PROGRAM times only the whole runs of
// another ketrion-batch, to store that version's figures.
//
// Each size runs in a child process of its own, so that its peak memory is
// not hidden by an earlier, larger one.

#include "bench/BatchRuns.h"
#include "bench/NumberBench.h"
#include "bench/PreviousFigures.h"
#include "bench/SyntheticExport.h"

#include "model/Measurements.h"
#include "parsers/HighResolutionReader.h"
#include "parsers/OutputFile.h"
#include "parsers/QuadrupoleReader.h"
#include "parsers/StandardsReader.h"
#include "processing/ProcessingRun.h"
#include "processing/Trace.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const char CHILD[] = "--child";
constexpr int REPETITIONS = 9;

struct Size
{
    int solutions;
    int isotopes;
};
const Size SIZES[] = { { 100, 50 }, { 1000, 200 }, { 2000, 400 } };
const Size WARM_UP = { 20, 6 };

// Targets of this machine: the middle size in 150 ms, time linear in the
// number of values, peak memory of a run within ten times its export.
constexpr double MIDDLE_TARGET_MS = 150.0;
constexpr double LINEAR_FACTOR = 4.4;
constexpr double MEMORY_FACTOR = 10.0;

// Kilobytes of the process's high-water mark of resident memory.
qint64 peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// The trace is the engine's: here it only costs time on a terminal.
class Discard : public QIODevice
{
public:
    Discard() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 length) override { return length; }
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

double milliseconds(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// The file opened for reading, or false with *error.
bool open(QFile *file, QString *error)
{
    if (file->open(QIODevice::ReadOnly))
        return true;
    *error = file->errorString();
    return false;
}

struct Stages
{
    double read = 0, process = 0, write = 0;
};

// One read, run and save, as the window does them; false with *error on failure.
bool runOnce(bool quadrupole, const QStringList &files, Stages *stages, QString *error)
{
    // What a lab would run: an internal standard in every group, zero
    // standard from the first blank, QC check.
    RunOptions options;
    options.instrument
        = quadrupole ? QuadrupoleReader::ICP_MS_NAME : HighResolutionReader::ICP_MS_NAME;
    options.internalStandard = true;

    QElapsedTimer timer;
    timer.start();
    Measurements data;
    ExpectedConcentrations expected;
    QFile exportFile(files.at(0));
    QFile standardsFile(files.at(1));
    Status read = Status::failure(QString());
    if (open(&exportFile, error)) {
        read = quadrupole ? QuadrupoleReader().read(&exportFile, &data)
                          : HighResolutionReader().read(&exportFile, &data);
        if (read.ok() && open(&standardsFile, error))
            read = StandardsReader::read(&standardsFile, data, &expected);
    }
    stages->read = milliseconds(timer);
    options.reference = data.solutionCount() > 0 ? data.solution(0).name() : QString();
    if (!read.ok()) {
        *error = error->isEmpty() ? read.message() : *error;
        return false;
    }

    timer.restart();
    const RunOutcome outcome = ProcessingRun::process(data, expected, options);
    stages->process = milliseconds(timer);

    timer.restart();
    const Status written = ProcessingRun::save(files.at(2), outcome, ProcessingRun::Layout::Wide);
    stages->write = milliseconds(timer);
    if (!written.ok())
        *error = QStringLiteral("cannot write ") + files.at(2) + QStringLiteral(": ")
            + written.message();
    return written.ok();
}

// One size, one instrument, after a warm-up over tiny files that brings in
// what every run needs whatever its size (codecs, locale data, allocator
// pools). Prints "read process write peakKb warmKb" in ms and kB.
int child(const QStringList &arguments)
{
    const bool quadrupole = arguments.at(0) == QuadrupoleReader::ICP_MS_NAME;
    // arguments: instrument, then export, standards and results of the size, then of the warm-up.
    Discard discard;
    Trace::setDevice(&discard);

    Stages stages;
    QString error;
    if (!runOnce(quadrupole, arguments.mid(4, 3), &stages, &error)) {
        QTextStream(stderr) << "ketrion-bench: " << error << '\n';
        return 1;
    }
    const qint64 warmKb = peakResidentKb();

    std::vector<double> read;
    std::vector<double> process;
    std::vector<double> write;
    for (int rep = 0; rep < REPETITIONS; ++rep) {
        if (!runOnce(quadrupole, arguments.mid(1, 3), &stages, &error)) {
            QTextStream(stderr) << "ketrion-bench: " << error << '\n';
            return 1;
        }
        read.push_back(stages.read);
        process.push_back(stages.process);
        write.push_back(stages.write);
    }
    Trace::setDevice(nullptr);

    QTextStream(stdout) << median(read) << ' ' << median(process) << ' ' << median(write) << ' '
                        << peakResidentKb() << ' ' << warmKb << '\n';
    return 0;
}

// Export, standards and results file names for one size, the first two written.
bool writeFiles(SyntheticExport::Instrument instrument, const Size &size, const QString &stem,
    QStringList *files)
{
    const QString exportFile = stem + QStringLiteral("_export.csv");
    const QString stdqcFile = stem + QStringLiteral("_stdqc.csv");
    QString error;
    if (!SyntheticExport(instrument, size.solutions, size.isotopes)
             .write(exportFile, stdqcFile, &error)) {
        QTextStream(stderr) << "ketrion-bench: cannot write " << exportFile << ": " << error
                            << '\n';
        return false;
    }
    *files << exportFile << stdqcFile << stem + QStringLiteral("_results.csv");
    return true;
}

struct Figures
{
    double read = 0, process = 0, write = 0;
    double peakMb = 0, runMb = 0, fileMb = 0;
    double total() const { return read + process + write; }
};

// One size of one instrument, in a child process of its own; false on failure.
bool measureSize(const QString &name, SyntheticExport::Instrument instrument, const Size &size,
    const QTemporaryDir &dir, Figures *f)
{
    const QString stem
        = QStringLiteral("%1_%2x%3").arg(name).arg(size.solutions).arg(size.isotopes);
    QStringList files;
    if (!writeFiles(instrument, size, dir.filePath(stem), &files)
        || !writeFiles(instrument, WARM_UP, dir.filePath(stem + QStringLiteral("_warm")), &files))
        return false;

    QProcess run;
    run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    run.start(QCoreApplication::applicationFilePath(),
        QStringList { QLatin1String(CHILD), name } + files);
    if (!run.waitForFinished(-1) || run.exitStatus() != QProcess::NormalExit
        || run.exitCode() != 0) {
        QTextStream(stderr) << "ketrion-bench: the run over " << stem << " failed\n";
        return false;
    }
    const QList<QByteArray> numbers = run.readAllStandardOutput().simplified().split(' ');
    if (numbers.size() != 5) {
        QTextStream(stderr) << "ketrion-bench: no figures for " << stem << '\n';
        return false;
    }
    f->read = numbers.at(0).toDouble();
    f->process = numbers.at(1).toDouble();
    f->write = numbers.at(2).toDouble();
    f->peakMb = numbers.at(3).toDouble() / 1024.0;
    f->runMb = (numbers.at(3).toDouble() - numbers.at(4).toDouble()) / 1024.0;
    f->fileMb = QFileInfo(files.at(0)).size() / (1024.0 * 1024.0);
    for (const QString &file : qAsConst(files))
        QFile::remove(file);
    return true;
}

// A row of the table, each figure beside the previous version's.
QString row(
    const QString &name, const Size &size, const Figures &f, const PreviousFigures &previous)
{
    const QString sizeText = QStringLiteral("%1x%2").arg(size.solutions).arg(size.isotopes);
    const QString key = name + '/' + sizeText + '/';
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10\n")
        .arg(name, -10)
        .arg(sizeText, 10)
        .arg(f.fileMb, 8, 'f', 2)
        .arg(previous.beside(f.read, key + QStringLiteral("read"), 14, 1))
        .arg(previous.beside(f.process, key + QStringLiteral("process"), 14, 1))
        .arg(previous.beside(f.write, key + QStringLiteral("write"), 14, 1))
        .arg(previous.beside(f.total(), key + QStringLiteral("total"), 14, 1))
        .arg(previous.beside(f.peakMb, key + QStringLiteral("peak"), 14, 1))
        .arg(previous.beside(f.runMb, key + QStringLiteral("run"), 14, 1))
        .arg(f.runMb / f.fileMb, 8, 'f', 1);
}

// The verdicts of one instrument, one line per target; whether all were met.
bool verdicts(QTextStream &out, const QString &name, const std::vector<Figures> &figures)
{
    const Figures &middle = figures.at(1);
    const Figures &large = figures.at(2);
    const double ratio = large.total() / middle.total();
    double worstMemory = 0.0;
    for (const Figures &f : figures)
        worstMemory = std::max(worstMemory, f.runMb / f.fileMb);
    const bool fast = middle.total() <= MIDDLE_TARGET_MS;
    const bool linear = ratio <= LINEAR_FACTOR;
    const bool lean = worstMemory <= MEMORY_FACTOR;
    const auto verdict
        = [](bool met) { return met ? QStringLiteral("met") : QStringLiteral("MISSED"); };
    out << QStringLiteral("  %1 1000x200 in %2 ms (target %3 ms): %4\n")
               .arg(name)
               .arg(middle.total(), 0, 'f', 1)
               .arg(MIDDLE_TARGET_MS)
               .arg(verdict(fast));
    out << QStringLiteral("  %1 2000x400 / 1000x200 = %2 (target %3): %4\n")
               .arg(name)
               .arg(ratio, 0, 'f', 2)
               .arg(LINEAR_FACTOR)
               .arg(verdict(linear));
    out << QStringLiteral("  %1 run memory up to %2 x the export (target %3): %4\n\n")
               .arg(name)
               .arg(worstMemory, 0, 'f', 1)
               .arg(MEMORY_FACTOR)
               .arg(verdict(lean));
    out.flush();
    return fast && linear && lean;
}

// The stages of every size and instrument; whether every target was met, or -1.
int stages(QTextStream &out, const QTemporaryDir &dir, const PreviousFigures &previous)
{
    out << "Median of " << REPETITIONS << " runs per size. read: export and standards files; "
        << "process: working copy and the whole run; write: results file.\n"
        << "peak: high-water mark of the process; run: its growth over a warm-up run on a "
           "20x6 file.\nEach figure beside the previous version's, in brackets.\n\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10\n")
               .arg(QStringLiteral("instrument"), -10)
               .arg(QStringLiteral("size"), 10)
               .arg(QStringLiteral("file MB"), 8)
               .arg(QStringLiteral("read ms"), 14)
               .arg(QStringLiteral("proc ms"), 14)
               .arg(QStringLiteral("write ms"), 14)
               .arg(QStringLiteral("total ms"), 14)
               .arg(QStringLiteral("peak MB"), 14)
               .arg(QStringLiteral("run MB"), 14)
               .arg(QStringLiteral("run/file"), 8);
    out.flush();

    bool allMet = true;
    const SyntheticExport::Instrument instruments[]
        = { SyntheticExport::HighResolution, SyntheticExport::Quadrupole };
    for (const SyntheticExport::Instrument instrument : instruments) {
        const QString name = instrument == SyntheticExport::HighResolution
            ? HighResolutionReader::ICP_MS_NAME
            : QuadrupoleReader::ICP_MS_NAME;
        std::vector<Figures> figures;
        for (const Size &size : SIZES) {
            Figures f;
            if (!measureSize(name, instrument, size, dir, &f))
                return -1;
            figures.push_back(f);
            out << row(name, size, f, previous);
            out.flush();
        }
        allMet = verdicts(out, name, figures) && allMet;
    }
    return allMet ? 1 : 0;
}

// Nanoseconds per number, written and read.
void numbers(QTextStream &out, const PreviousFigures &previous)
{
    const NumberBench figures = NumberBench::measure();
    out << "Numbers, ns each (before): written "
        << previous.beside(figures.writeNs, QStringLiteral("numbers/write"), 0, 1)
        << ", cut from a line and read "
        << previous.beside(figures.readNs, QStringLiteral("numbers/read"), 0, 1)
        << " (std::from_chars of the cells alone " << QString::number(figures.fromCharsNs, 'f', 1)
        << "); medians over a million.\n\n";
    out.flush();
}

// program: the ketrion-batch whose whole runs are timed; with wholeRunsOnly,
// nothing else (to store the figures of another version's program).
int parent(const QString &program, bool wholeRunsOnly)
{
    QTextStream out(stdout);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        QTextStream(stderr) << "ketrion-bench: no temporary folder: " << dir.errorString() << '\n';
        return 1;
    }
    const PreviousFigures previous(QStringLiteral(KETRION_BENCH_DIR "/previous_figures.txt"));
    if (previous.isEmpty())
        out << "No figures of the previous version in " KETRION_BENCH_DIR
               "/previous_figures.txt.\n";
    // First, while this process is small: a child's peak counts the memory
    // it shared with its parent before it started the program.
    bool lean = false;
    bool quick = true;
    const BatchRuns runs(program, dir.path());
    if (!runs.report(out, previous, &lean) || !runs.compareWithPandas(out, &quick))
        return 1;
    const int staged = wholeRunsOnly ? 1 : stages(out, dir, previous);
    if (staged < 0)
        return 1;
    if (!wholeRunsOnly)
        numbers(out, previous);
    const bool allMet = staged == 1 && lean && quick;
    out << (allMet ? "All targets met.\n" : "Some targets MISSED.\n");
    return allMet ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 9 && arguments.at(1) == QLatin1String(CHILD))
        return child(arguments.mid(2));
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--whole-runs"))
        return parent(arguments.at(2), true);
    if (arguments.size() != 1) {
        QTextStream(stderr) << "Usage: ketrion-bench [--whole-runs KETRION-BATCH]\n";
        return 2;
    }
    return parent(QStringLiteral(KETRION_BATCH_PROGRAM), false);
}
