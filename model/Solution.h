#ifndef KETRION_SOLUTION_H
#define KETRION_SOLUTION_H

#include <QBitArray>
#include <QString>
#include <QStringList>
#include <QVector>

// One measured solution: per isotope, the intensity (cps), its standard
// deviation and whether the instrument gave it at all. A copy is a copy: a
// value set through one leaves the other as it was.
class Solution
{
public:
    enum Type { Sample = 0, Standard = 1, Blank = 2, QualityControl = 3 };

    // The standard made from a blank when the calibration goes through its
    // intensity at concentration 0.
    static const QString ZERO_STANDARD_NAME;

    Solution(const QString &name, Type type, int isotopeCount);

    // "sample", "standard", "blank", "QC", as the window and the report say it.
    static QString typeWord(Type type);

    const QString &name() const { return m_name; }
    Type type() const { return m_type; }
    int isotopeCount() const { return int(m_intensities.size()); }

    double intensity(int i) const { return m_intensities.at(i); }
    double intensitySD(int i) const { return m_deviations.at(i); }
    // In percent of the intensity.
    double intensityRSD(int i) const { return 100.0 * m_deviations.at(i) / m_intensities.at(i); }
    // Whether the instrument gave value i. Corrections may bring a measured
    // intensity to 0.0 and leave an unmeasured one untouched: the mark stays.
    bool isMeasured(int i) const { return m_measured.testBit(i); }

    // A value as the instrument gave it: exactly 0.0 is "not measured".
    void setReading(int i, double intensity, double deviation);
    void setIntensity(int i, double value) { m_intensities[i] = value; }
    void setIntensitySD(int i, double value) { m_deviations[i] = value; }
    void setMeasured(int i, bool measured) { m_measured.setBit(i, measured); }

    // The same values under another name and type.
    Solution renamed(const QString &name, Type type) const;

    // Whether name is family alone or a replicate of it: family followed by
    // digits, or by '_' and digits ("VS", "VS2", "VS_3"). The family is plain
    // text, as a standards file's column names its replicates.
    static bool isReplicate(const QString &name, const QString &family);
    // Every family whose replicate the name is, itself first, by that rule.
    static QStringList replicateFamilies(const QString &name);
    // The name without one trailing "_<digits>"; empty when it has none.
    static QString withoutReplicateNumber(const QString &name);

private:
    QString m_name;
    Type m_type;
    QVector<double> m_intensities;
    QVector<double> m_deviations;
    QBitArray m_measured;
};

#endif
