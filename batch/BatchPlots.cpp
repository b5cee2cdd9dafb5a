#include "batch/BatchPlots.h"

#include "display/CalibrationPlot.h"
#include "display/DriftPlot.h"
#include "display/InternalStandardPlot.h"
#include "display/PlotStyle.h"
#include "model/RunOptions.h"
#include "processing/RunOutcome.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <qwt_plot.h>

const QSize BatchPlots::SIZE(1200, 800);

QString BatchPlots::safeName(const QString &name)
{
    static const QRegularExpression others(QStringLiteral("[^A-Za-z0-9_-]+"));
    QString safe = name;
    safe.replace(others, QStringLiteral("_"));
    int first = 0;
    int end = safe.size();
    while (first < end && safe.at(first) == QLatin1Char('_'))
        ++first;
    while (end > first && safe.at(end - 1) == QLatin1Char('_'))
        --end;
    return safe.mid(first, end - first);
}

BatchPlots::BatchPlots(const QString &folder, PlotImage::Format format)
    : folder(folder), format(format)
{ }

QString BatchPlots::fileName(const QString &kind, const QString &name, int occurrence) const
{
    // A second line of the same isotope must not overwrite the first one's image.
    const QString count = occurrence > 1 ? QStringLiteral("-%1").arg(occurrence) : QString();
    return QDir(folder).filePath(kind + QLatin1Char('-') + safeName(name) + count + QLatin1Char('.')
        + PlotImage::suffix(format));
}

Status BatchPlots::makeFolder() const
{
    if (QDir().mkpath(folder))
        return Status::success();
    // Name what stands in the way when it is a file; mkpath does not say.
    QString step = folder;
    while (!QFileInfo::exists(step)) {
        const QString up = QFileInfo(step).path();
        if (up == step)
            break;
        step = up;
    }
    const QFileInfo blocking(step);
    if (blocking.exists() && !blocking.isDir())
        return Status::failure(
            QStringLiteral("Cannot create folder %1:\n%2 is not a folder.").arg(folder, step));
    return Status::failure(QStringLiteral("Cannot create folder %1.").arg(folder));
}

Status BatchPlots::writeDrift(const Measurements &data, const RunOutcome &outcome) const
{
    if (!outcome.driftCorrected)
        return Status::success();
    for (int iso = 0; iso < outcome.drift.isotopes.size(); ++iso) {
        if (!outcome.drift.isotopes.at(iso).corrected())
            continue;
        QwtPlot plot;
        PlotStyle::frameRunningOrder(&plot);
        DriftPlot drift(&plot);
        drift.draw(data, outcome, iso);
        Status saved = PlotImage::save(&plot, SIZE, format,
            fileName(QStringLiteral("drift"), data.isotope(iso).baseName(),
                data.isotope(iso).occurrence()));
        if (!saved.ok())
            return saved;
    }
    return Status::success();
}

Status BatchPlots::write(
    const Measurements &data, const RunOutcome &outcome, const RunOptions &options) const
{
    Status folderMade = makeFolder();
    if (!folderMade.ok())
        return folderMade;

    for (int iso = 0; iso < outcome.working.isotopeCount(); ++iso) {
        if (!outcome.calibration.hasLine(iso))
            continue;
        // A fresh plot each time: no image depends on the ones before.
        QwtPlot plot;
        CalibrationPlot calibration(&plot);
        PlotStyle::frameCalibration(&plot);
        calibration.draw(outcome, iso);
        Status saved = PlotImage::save(&plot, SIZE, format,
            fileName(QStringLiteral("calibration"), outcome.working.isotope(iso).baseName(),
                outcome.working.isotope(iso).occurrence()));
        if (!saved.ok())
            return saved;
    }

    Status drift = writeDrift(data, outcome);
    if (!drift.ok())
        return drift;

    if (!options.internalStandard)
        return Status::success();
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN) {
        const int iso = outcome.standards[group];
        if (!options.groups[group].corrected || iso == -1)
            continue;
        QwtPlot plot;
        InternalStandardPlot internalStandard(&plot);
        PlotStyle::frameRunningOrder(&plot);
        // The bounds as the window draws them while the correction is on.
        internalStandard.draw(
            data, iso, outcome.reference, options.recoveryLow, options.recoveryHigh);
        Status saved = PlotImage::save(&plot, SIZE, format,
            fileName(QStringLiteral("internal-standard"), Isotope::resolutionName(group)));
        if (!saved.ok())
            return saved;
    }
    return Status::success();
}
