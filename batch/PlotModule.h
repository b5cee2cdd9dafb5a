#ifndef KETRION_PLOTMODULE_H
#define KETRION_PLOTMODULE_H

#include "display/PlotImage.h"

class Measurements;
class QCoreApplication;
class QString;
class Status;
struct RunOptions;
struct RunOutcome;

// The plot module holds all that links the GUI libraries and Qwt, so that
// ketrion-batch loads them only for --plots: linked in, they slowed every start.
// ketrion-batch finds these two functions by name.
namespace PlotModule {
constexpr char CREATE_APPLICATION[] = "ketrion_plots_create_application";
constexpr char WRITE[] = "ketrion_plots_write";
} // namespace PlotModule

extern "C" {

// The GUI application the plots need, off-screen unless QT_QPA_PLATFORM says
// otherwise. argc and argv must outlive it.
using KetrionPlotsCreateApplication = QCoreApplication *(int *argc, char **argv);

// As BatchPlots::write, whose outcome it stores in written.
using KetrionPlotsWrite
    = void(const QString *folder, PlotImage::Format format, const Measurements *data,
        const RunOutcome *outcome, const RunOptions *options, Status *written);

// Declared through the types so that the module cannot define them otherwise.
KetrionPlotsCreateApplication ketrion_plots_create_application;
KetrionPlotsWrite ketrion_plots_write;
}

#endif
