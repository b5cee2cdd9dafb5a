#include "model/ReportedResults.h"

#include <limits>

QString ReportedResults::qualifierText(Qualifier qualifier)
{
    switch (qualifier) {
    case Qualifier::None:
        break;
    case Qualifier::NoValue:
        return QStringLiteral("no value");
    case Qualifier::NoCalibration:
        return QStringLiteral("no calibration");
    case Qualifier::NotMeasured:
        return QStringLiteral("not measured");
    case Qualifier::CalibrationRejected:
        return QStringLiteral("calibration rejected");
    case Qualifier::BelowDetection:
        return QStringLiteral("<LOD");
    case Qualifier::BelowQuantification:
        return QStringLiteral("<LOQ");
    case Qualifier::OverRange:
        return QStringLiteral("over range");
    }
    return QString();
}

ReportedResults::ReportedResults(int solutionCount, int isotopeCount)
    : m_solutionCount(solutionCount)
    , m_isotopeCount(isotopeCount)
    , m_values(solutionCount * isotopeCount,
          Value { std::numeric_limits<double>::quiet_NaN(),
              std::numeric_limits<double>::quiet_NaN(), 0.0, 0.0, Qualifier::NoValue })
{ }
