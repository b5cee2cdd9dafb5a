#ifndef KETRION_SAMPLESHEET_H
#define KETRION_SAMPLESHEET_H

#include <QString>
#include <QVector>

// What a lab did to its samples before measuring them: per solution of an
// export, the factor from the measured solution back to the sample given
// (its dilution, and for a weighed solid its volume per mass) and the unit
// the sample's concentrations are reported in. Solutions the sheet does not
// list, and those beyond the export, keep factor 1 in µg/L.
class SampleSheet
{
public:
    enum class Unit { MicrogramsPerLitre, MilligramsPerKilogram };
    static QString unitName(Unit unit);

    SampleSheet() = default;
    explicit SampleSheet(int solutionCount);

    double factor(int solution) const;
    Unit unit(int solution) const;
    void set(int solution, double factor, Unit unit);

private:
    QVector<double> m_factors;
    QVector<Unit> m_units;
};

#endif
