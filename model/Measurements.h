#ifndef KETRION_MEASUREMENTS_H
#define KETRION_MEASUREMENTS_H

#include "model/Isotope.h"
#include "model/Solution.h"

#include <QHash>
#include <QStringList>
#include <QVector>

#include <array>

// The intensities of an export: isotopes and solutions in file order, with
// the blanks and the three resolution groups. The export as read and the
// working copy that the corrections change are both of this type.
class Measurements
{
public:
    static const QString ALL_BLANKS_AVERAGE;
    static const QString FIRST_RUN_AVERAGE;

    // line: where the isotope stands in its file (1-based), for the messages.
    int addIsotope(Isotope isotope, int line = 0);
    int addSolution(const Solution &solution);
    void clear();

    int isotopeCount() const { return int(m_isotopes.size()); }
    int solutionCount() const { return int(m_solutions.size()); }
    const Isotope &isotope(int i) const { return m_isotopes.at(i); }
    const Solution &solution(int s) const { return m_solutions.at(s); }
    Solution &solution(int s) { return m_solutions[s]; }

    // Positions of the isotopes of a group (LR, MR or HR), in file order.
    const QVector<int> &group(Isotope::Resolution group) const { return m_groups.at(group); }
    const QVector<int> &blanks() const { return m_blanks; }
    // Positions of the first run of consecutive blanks.
    QVector<int> firstBlankRun() const;

    // Names in the order the window's lists show them.
    QStringList solutionNames() const;
    // Solutions an internal standard can refer to: all but the average blanks.
    QStringList referenceNames() const;
    QStringList blankNames() const;
    QStringList isotopeNames() const;
    QStringList isotopeNames(const QVector<int> &positions) const;
    // The first solution of that name, or -1.
    int indexOfSolution(const QString &name) const;
    // One text per isotope the file holds more than once, naming both lines.
    QStringList repeatedIsotopes() const;

    // In each solution whose internal standard of a group was not measured,
    // the group's values cannot be corrected: they become not measured too.
    // Per group the IS isotope corrected, or -1.
    void markMissingInternalStandard(const std::array<int, Isotope::GROUP_COUNT> &standards);
    // Adds a blank averaging, for each isotope, the listed blanks that measured
    // it, with their largest deviation; not measured when none did. Each
    // listed solution counts once; fewer than two positions add nothing.
    void addAverageBlank(const QVector<int> &blanks, const QString &name);
    // Both averages: of every blank, and of the first run of blanks.
    void addAverageBlanks();

private:
    QVector<Isotope> m_isotopes;
    QVector<Solution> m_solutions;
    QVector<int> m_blanks;
    std::array<QVector<int>, Isotope::GROUP_COUNT> m_groups;
    QHash<QString, int> m_occurrences; // lines read so far per isotope name
};

#endif
