#include "model/Calibration.h"

QString Calibration::weightingName(Weighting weighting)
{
    switch (weighting) {
    case Weighting::InverseX:
        return QStringLiteral("1/x");
    case Weighting::InverseXSquared:
        return QStringLiteral("1/x") + QChar(0x00B2);
    case Weighting::None:
        break;
    }
    return QStringLiteral("None");
}
