#ifndef KETRION_CALIBRATION_H
#define KETRION_CALIBRATION_H

#include "model/CalibrationLine.h"

#include <QString>
#include <QVector>

// The calibration of every isotope of a run, and how its points were weighted.
struct Calibration
{
    enum class Weighting { None, InverseX, InverseXSquared };
    // "None", "1/x" or "1/x²", as the window and the trace show it.
    static QString weightingName(Weighting weighting);

    Weighting weighting = Weighting::None;
    QVector<CalibrationLine> lines;

    bool hasLine(int isotope) const { return lines.at(isotope).isUsable(); }
};

#endif
