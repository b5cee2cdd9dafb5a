#ifndef KETRION_PLOTMODULE_H
#define KETRION_PLOTMODULE_H

#include "display/PlotImage.h"

class Measurements;
class QByteArray;
class QCoreApplication;
class QString;
class Status;
class RunInputs;
struct RunOptions;
struct RunOutcome;

// The plot module holds all that links the GUI libraries and Qwt, so that
// ketrion-batch loads them only for --plots and --report: linked in, they
// slowed every start. ketrion-batch finds these functions by name.
namespace PlotModule {
constexpr char CREATE_APPLICATION[] = "ketrion_plots_create_application";
constexpr char WRITE[] = "ketrion_plots_write";
constexpr char REPORT[] = "ketrion_plots_report";
} // namespace PlotModule

extern "C" {

// The GUI application the plots need, off-screen unless QT_QPA_PLATFORM says
// otherwise. argc and argv must outlive it.
using KetrionPlotsCreateApplication = QCoreApplication *(int *argc, char **argv);

// As BatchPlots::write, whose outcome it stores in written.
using KetrionPlotsWrite
    = void(const QString *folder, PlotImage::Format format, const Measurements *data,
        const RunOutcome *outcome, const RunOptions *options, Status *written);

// The run report of a finished run on its inputs as a PDF file, whole or not
// at all; a failure names the file and the system's reason.
using KetrionPlotsReport = void(const QString *fileName, const RunInputs *inputs,
    const RunOutcome *outcome, const RunOptions *options, Status *written);

// Declared through the types so that the module cannot define them otherwise.
KetrionPlotsCreateApplication ketrion_plots_create_application;
KetrionPlotsWrite ketrion_plots_write;
KetrionPlotsReport ketrion_plots_report;
}

#endif
