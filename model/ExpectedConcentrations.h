#ifndef KETRION_EXPECTEDCONCENTRATIONS_H
#define KETRION_EXPECTEDCONCENTRATIONS_H

#include <QHash>
#include <QVector>

// The concentrations the standards file gives the standards and QC solutions
// of an export (ppb), each with its accepted error in percent, and those a
// spiked sample's spike added to it; 0.0 where it gives none. Solutions are
// addressed by their position in the export; solutions beyond it (the average
// blanks, the zero standard) have none.
class ExpectedConcentrations
{
public:
    ExpectedConcentrations() = default;
    ExpectedConcentrations(int solutionCount, int isotopeCount);

    int solutionCount() const { return m_solutionCount; }
    double value(int solution, int isotope) const;
    double error(int solution, int isotope) const;
    void set(int solution, int isotope, double value, double error);
    // What the spike of an MS or MSD added to the measured solution.
    double spike(int solution, int isotope) const;
    void setSpikes(int solution, const QVector<double> &spikes);

private:
    int m_solutionCount = 0;
    int m_isotopeCount = 0;
    // Only the standards and QC solutions have values: a row each, in the
    // order they were given; -1 for every other solution.
    QVector<int> m_rows;
    QVector<double> m_values;
    QVector<double> m_errors;
    QHash<int, QVector<double>> m_spikes; // per spiked solution, per isotope
};

#endif
