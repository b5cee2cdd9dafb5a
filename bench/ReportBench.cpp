// ketrion-report-bench: how long the run report of a large run takes to draw
// and how much memory the process needs for it, off-screen. Prints the times
// and the peak, and whether they stay within their targets; fails when one
// does not.

#include "bench/SyntheticExport.h"
#include "display/RunReport.h"
#include "processing/RunInputs.h"
#include "processing/Trace.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

constexpr int SOLUTIONS = 2000;
constexpr int ISOTOPES = 60;
constexpr double TARGET_S = 10.0;
constexpr double TARGET_MB = 500.0;

// The high-water mark of the process's resident memory.
double peakMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly | QIODevice::Text);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0.0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString exportFile = dir.filePath(QStringLiteral("export.csv"));
    const QString standardsFile = dir.filePath(QStringLiteral("stdqc.csv"));
    QString error;
    if (!SyntheticExport(SyntheticExport::HighResolution, SOLUTIONS, ISOTOPES)
             .write(exportFile, standardsFile, &error)) {
        QTextStream(stderr) << "ketrion-report-bench: " << error << '\n';
        return 1;
    }
    RunInputs inputs;
    inputs.readExport(exportFile, QStringLiteral("HR-ICP-MS"));
    inputs.readFiles(standardsFile, QString());
    QBuffer trace;
    trace.open(QIODevice::WriteOnly);
    Trace::setDevice(&trace);
    RunOptions options; // QC and acceptance on: every table of the report filled
    options.acceptance = true;
    options.instrument = QStringLiteral("HR-ICP-MS");
    const RunOutcome outcome = inputs.run(options, ProcessingRun::Listing::CountsOnly);
    Trace::setDevice(nullptr);
    const double beforeMb = peakMb();

    QElapsedTimer timer;
    timer.start();
    const RunReport report(inputs.files(), options, inputs.data(), outcome);
    const QByteArray pdf = report.pdf();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double mb = peakMb();
    const bool met = seconds <= TARGET_S && mb <= TARGET_MB;
    QTextStream(stdout) << QStringLiteral("report %1x%2: %3 s, %4 MB PDF, peak %5 MB (%6 MB before "
                                          "the report; targets %7 s, %8 MB): %9\n")
                               .arg(SOLUTIONS)
                               .arg(ISOTOPES)
                               .arg(seconds, 0, 'f', 2)
                               .arg(pdf.size() / 1048576.0, 0, 'f', 1)
                               .arg(mb, 0, 'f', 0)
                               .arg(beforeMb, 0, 'f', 0)
                               .arg(TARGET_S)
                               .arg(TARGET_MB)
                               .arg(met ? QStringLiteral("met") : QStringLiteral("MISSED"));
    return outcome.ok() && met ? 0 : 1;
}
