#ifndef KETRION_SAMPLESHEET_H
#define KETRION_SAMPLESHEET_H

#include "model/QcRole.h"

#include <QString>
#include <QVector>

// What a lab did to its samples before measuring them: per solution of an
// export, the factor from the measured solution back to the sample given
// (its dilution, and for a weighed solid its volume per mass) and the unit
// the sample's concentrations are reported in, and its role in the run's own
// QC, with the solution a duplicate or spike was prepared from and the
// standards file's column of its spike. Solutions the sheet does not list,
// and those beyond the export, keep factor 1 in µg/L and have no role.
class SampleSheet
{
public:
    enum class Unit { MicrogramsPerLitre, MilligramsPerKilogram };
    static QString unitName(Unit unit);
    // What the sheet gives for a solution: its dilution, and a digest's mass
    // (g) and final volume (mL), 0 for none.
    struct Amounts
    {
        double dilution = 1.0;
        double mass = 0.0;
        double volume = 0.0;
    };

    SampleSheet() = default;
    explicit SampleSheet(int solutionCount);

    double factor(int solution) const;
    Unit unit(int solution) const;
    Amounts amounts(int solution) const;
    void set(int solution, double factor, Unit unit, const Amounts &amounts);

    QcRole::Role role(int solution) const;
    void setRole(int solution, QcRole::Role role);
    // Whether the run's QC applies: some solution is a verification or a
    // blank check.
    bool hasRunQc() const;
    // Whether the batch's QC applies: some solution is a QC preparation.
    bool hasBatchQc() const;

    // The solution a DUP, MS or MSD was prepared from; -1 for none.
    int parent(int solution) const;
    // The header of the standards file's column that gives an MS's or MSD's
    // spike; empty for none.
    QString spike(int solution) const;
    void setPreparation(int solution, int parent, const QString &spike);

private:
    QVector<double> m_factors;
    QVector<Unit> m_units;
    QVector<Amounts> m_amounts;
    QVector<QcRole::Role> m_roles;
    QVector<int> m_parents;
    QVector<QString> m_spikes;
};

#endif
