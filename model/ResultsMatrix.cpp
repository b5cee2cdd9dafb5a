#include "model/ResultsMatrix.h"

#include <cmath>
#include <limits>

ResultsMatrix::ResultsMatrix(const Measurements &working, const Calibration &calibration,
    const Results &results, const ReportedResults &reported, Values values)
    : m_working(working)
    , m_calibration(calibration)
    , m_results(results)
    , m_reported(reported)
    , m_values(values)
{
    // The column follows the reported units, so that the toggle between
    // the two kinds of values keeps the columns where they are.
    for (int s = 1; s < rowCount() && !m_mixedUnits; ++s)
        m_mixedUnits = reported.unit(s) != reported.unit(0);
}

int ResultsMatrix::rowCount() const
{
    return m_working.solutionCount();
}

int ResultsMatrix::columnCount() const
{
    return m_working.isotopeCount() == 0 ? 0 : 1 + int(m_mixedUnits) + m_working.isotopeCount();
}

int ResultsMatrix::isotopeAt(int column) const
{
    const int isotope = column - 1 - int(m_mixedUnits);
    return column > 0 && isotope >= 0 ? isotope : -1;
}

QString ResultsMatrix::header(int column) const
{
    const int isotope = isotopeAt(column);
    if (isotope == -1)
        return column == 0 ? QStringLiteral("Solution") : QStringLiteral("Unit");
    if (m_mixedUnits && m_values == Values::Reported)
        return isotopeName(isotope);
    return QStringLiteral("%1 (%2)").arg(isotopeName(isotope), unit(0));
}

const Solution &ResultsMatrix::solution(int row) const
{
    return m_working.solution(row);
}

QString ResultsMatrix::isotopeName(int isotope) const
{
    return m_working.isotope(isotope).typedName();
}

QString ResultsMatrix::unit(int row) const
{
    return SampleSheet::unitName(m_values == Values::Reported
            ? m_reported.unit(row)
            : SampleSheet::Unit::MicrogramsPerLitre);
}

double ResultsMatrix::value(int row, int isotope) const
{
    if (m_values == Values::Reported)
        return m_reported.at(row, isotope).value;
    // Exactly 0.0 is no result.
    const double c = m_results.concentration(row, isotope);
    return c == 0.0 ? std::numeric_limits<double>::quiet_NaN() : c;
}

double ResultsMatrix::sd(int row, int isotope) const
{
    if (m_values == Values::Reported)
        return m_reported.at(row, isotope).sd;
    return std::abs(value(row, isotope)) * m_results.rsd(row, isotope) / 100.0;
}

double ResultsMatrix::lod(int row, int isotope) const
{
    return m_values == Values::Reported ? m_reported.at(row, isotope).lod
                                        : m_calibration.lines.at(isotope).lod;
}

double ResultsMatrix::loq(int row, int isotope) const
{
    return m_values == Values::Reported ? m_reported.at(row, isotope).loq
                                        : m_calibration.lines.at(isotope).loq;
}

ResultsMatrix::Qualifier ResultsMatrix::qualifier(int row, int isotope) const
{
    return m_reported.at(row, isotope).qualifier;
}

QString ResultsMatrix::findings(int row, int isotope) const
{
    return ReportedResults::findingsText(m_reported.findings(row, isotope), m_working);
}

int ResultsMatrix::colour(Qualifier qualifier)
{
    switch (qualifier) {
    case Qualifier::CalibrationRejected:
        return 0xF4B6B6;
    // One colour for the run's checks, one for the batch's preparations.
    case Qualifier::IcvFailed:
    case Qualifier::IcbFailed:
    case Qualifier::LlccvFailed:
    case Qualifier::CcvFailed:
    case Qualifier::CcbFailed:
        return 0xE2C6F0;
    case Qualifier::NotBracketed:
        return 0xD5DEE6;
    case Qualifier::LcsFailed:
    case Qualifier::BlankContamination:
    case Qualifier::SpikeRecovery:
    case Qualifier::DuplicateRpd:
        return 0xF6C4DC;
    case Qualifier::BelowDetection:
        return 0xC6DCF5;
    case Qualifier::BelowQuantification:
        return 0xFFF0A8;
    case Qualifier::OverRange:
        return 0xFFD699;
    case Qualifier::None:
    case Qualifier::NoValue:
    case Qualifier::NoCalibration:
    case Qualifier::NotMeasured:
        break;
    }
    return -1;
}

QString ResultsMatrix::qualifierMeaning(Qualifier qualifier)
{
    QString text = ReportedResults::qualifierText(qualifier);
    switch (qualifier) {
    case Qualifier::None:
        break;
    case Qualifier::NoValue:
        return text + QStringLiteral(": a standard, an average blank or no finite concentration");
    case Qualifier::NoCalibration:
        return text + QStringLiteral(": the isotope has no calibration line");
    case Qualifier::NotMeasured:
        return text + QStringLiteral(": the instrument gave no intensity");
    case Qualifier::CalibrationRejected:
        return text + QStringLiteral(": the line failed the calibration acceptance");
    case Qualifier::IcvFailed:
    case Qualifier::IcbFailed:
    case Qualifier::LlccvFailed:
    case Qualifier::CcvFailed:
    case Qualifier::CcbFailed:
        return text + QStringLiteral(": a check before or after it failed, measure again");
    case Qualifier::NotBracketed:
        return text + QStringLiteral(": no passing check before and after it");
    case Qualifier::LcsFailed:
    case Qualifier::BlankContamination:
    case Qualifier::SpikeRecovery:
    case Qualifier::DuplicateRpd:
        return text + QStringLiteral(": the batch's QC failed for it");
    case Qualifier::BelowDetection:
        return text + QStringLiteral(": below the limit of detection");
    case Qualifier::BelowQuantification:
        return text + QStringLiteral(": below the limit of quantification");
    case Qualifier::OverRange:
        return text + QStringLiteral(": above the highest standard, dilute and measure again");
    }
    return text;
}

const QVector<ResultsMatrix::Qualifier> &ResultsMatrix::qualifiers()
{
    static const QVector<Qualifier> all { Qualifier::NoValue, Qualifier::NoCalibration,
        Qualifier::NotMeasured, Qualifier::CalibrationRejected, Qualifier::IcvFailed,
        Qualifier::IcbFailed, Qualifier::LlccvFailed, Qualifier::CcvFailed, Qualifier::CcbFailed,
        Qualifier::NotBracketed, Qualifier::LcsFailed, Qualifier::BlankContamination,
        Qualifier::SpikeRecovery, Qualifier::DuplicateRpd, Qualifier::BelowDetection,
        Qualifier::BelowQuantification, Qualifier::OverRange };
    return all;
}
