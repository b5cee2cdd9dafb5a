#ifndef KETRION_BATCHPLOTS_H
#define KETRION_BATCHPLOTS_H

#include "display/PlotImage.h"
#include "model/Status.h"

#include <QString>

class Measurements;
struct RunOptions;
struct RunOutcome;

// The plots of a finished run as image files in one folder, drawn by the
// window's plot code: each isotope's calibration with a line, the drift factor
// of each isotope whose drift was corrected, and the internal standard of each
// group corrected. Needs the GUI application object.
class BatchPlots
{
public:
    static const QSize SIZE;

    // Letters, digits, '-' and '_' kept, each run of other characters one '_',
    // none at either end: "115In #1 " gives "115In_1".
    static QString safeName(const QString &name);

    BatchPlots(const QString &folder, PlotImage::Format format);

    // data is the export as read, the one the run was given. A failure keeps
    // the images written before it.
    Status write(
        const Measurements &data, const RunOutcome &outcome, const RunOptions &options) const;

private:
    Status makeFolder() const;
    Status writeDrift(const Measurements &data, const RunOutcome &outcome) const;
    QString fileName(const QString &kind, const QString &name, int occurrence = 1) const;

    QString folder;
    PlotImage::Format format;
};

#endif
