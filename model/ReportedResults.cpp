#include "model/ReportedResults.h"

#include "model/Measurements.h"

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
    case Qualifier::IcvFailed:
        return QStringLiteral("ICV failed");
    case Qualifier::IcbFailed:
        return QStringLiteral("ICB failed");
    case Qualifier::LlccvFailed:
        return QStringLiteral("LLCCV failed");
    case Qualifier::CcvFailed:
        return QStringLiteral("CCV failed");
    case Qualifier::CcbFailed:
        return QStringLiteral("CCB failed");
    case Qualifier::NotBracketed:
        return QStringLiteral("not bracketed");
    case Qualifier::LcsFailed:
        return QStringLiteral("LCS failed");
    case Qualifier::BlankContamination:
        return QStringLiteral("blank contamination");
    case Qualifier::SpikeRecovery:
        return QStringLiteral("spike recovery");
    case Qualifier::DuplicateRpd:
        return QStringLiteral("duplicate RPD");
    case Qualifier::BelowDetection:
        return QStringLiteral("<LOD");
    case Qualifier::BelowQuantification:
        return QStringLiteral("<LOQ");
    case Qualifier::OverRange:
        return QStringLiteral("over range");
    }
    return QString();
}

ReportedResults::ReportedResults(int solutionCount, int isotopeCount, Decide decide)
    : m_solutionCount(solutionCount), m_isotopeCount(isotopeCount), m_decide(std::move(decide))
{ }

QString ReportedResults::findingsText(const Findings &findings, const Measurements &data)
{
    QStringList texts;
    for (const Finding &finding : findings) {
        const QString name = qualifierText(finding.kind);
        texts << (finding.check == -1
                ? name
                : QStringLiteral("%1 (%2)").arg(name, data.solution(finding.check).name()));
    }
    return texts.join(QStringLiteral("; "));
}

const ReportedResults::Findings &ReportedResults::findings(int solution, int isotope) const
{
    static const Findings none;
    return m_findings.isEmpty() ? none : m_findings.at(solution * m_isotopeCount + isotope);
}
