#include "model/Measurements.h"

#include <QSet>

const QString Measurements::ALL_BLANKS_AVERAGE = QStringLiteral("BLK_Avg_All");
const QString Measurements::FIRST_RUN_AVERAGE = QStringLiteral("BLK_Avg_First_Seq");

int Measurements::addIsotope(Isotope isotope, int line)
{
    // Counted by name: comparing with every earlier isotope made large reads slow.
    const int occurrence = ++m_occurrences[isotope.baseName()];
    isotope.setPlace(line, occurrence);
    const int position = isotopeCount();
    m_isotopes.append(isotope);
    m_groups[isotope.group()].append(position);
    return position;
}

int Measurements::addSolution(const Solution &solution)
{
    const int position = solutionCount();
    m_solutions.append(solution);
    if (solution.type() == Solution::Blank)
        m_blanks.append(position);
    return position;
}

void Measurements::clear()
{
    *this = Measurements();
}

QVector<int> Measurements::firstBlankRun() const
{
    QVector<int> run;
    int s = 0;
    while (s < solutionCount() && m_solutions.at(s).type() != Solution::Blank)
        ++s;
    while (s < solutionCount() && m_solutions.at(s).type() == Solution::Blank)
        run.append(s++);
    return run;
}

QStringList Measurements::solutionNames() const
{
    QStringList names;
    names.reserve(solutionCount());
    for (const Solution &solution : m_solutions)
        names.append(solution.name());
    return names;
}

QStringList Measurements::referenceNames() const
{
    QStringList names;
    for (const Solution &solution : m_solutions) {
        if (solution.name() != ALL_BLANKS_AVERAGE && solution.name() != FIRST_RUN_AVERAGE)
            names.append(solution.name());
    }
    return names;
}

QStringList Measurements::blankNames() const
{
    QStringList names;
    for (const int s : m_blanks)
        names.append(m_solutions.at(s).name());
    return names;
}

QStringList Measurements::isotopeNames() const
{
    QStringList names;
    names.reserve(isotopeCount());
    for (const Isotope &isotope : m_isotopes)
        names.append(isotope.name());
    return names;
}

QStringList Measurements::isotopeNames(const QVector<int> &positions) const
{
    QStringList names;
    for (const int i : positions)
        names.append(m_isotopes.at(i).name());
    return names;
}

int Measurements::indexOfSolution(const QString &name) const
{
    for (int s = 0; s < solutionCount(); ++s) {
        if (m_solutions.at(s).name() == name)
            return s;
    }
    return -1;
}

QStringList Measurements::repeatedIsotopes() const
{
    QStringList texts;
    for (const Isotope &repeated : m_isotopes) {
        if (repeated.occurrence() == 1)
            continue;
        for (const Isotope &first : m_isotopes) {
            if (first.occurrence() == 1 && first.baseName() == repeated.baseName())
                texts.append(QStringLiteral("%1 is on lines %2 and %3 of the data file: the one on "
                                            "line %3 is named %4.")
                                 .arg(Isotope::withoutTrailingBlanks(first.baseName()))
                                 .arg(first.line())
                                 .arg(repeated.line())
                                 .arg(repeated.name()));
        }
    }
    return texts;
}

void Measurements::markMissingInternalStandard(
    const std::array<int, Isotope::GROUP_COUNT> &standards)
{
    for (Solution &solution : m_solutions) {
        std::array<bool, Isotope::GROUP_COUNT> missing {};
        bool any = false;
        for (int g = 0; g < Isotope::GROUP_COUNT; ++g) {
            missing[g] = standards[g] != -1 && !solution.isMeasured(standards[g]);
            any = any || missing[g];
        }
        if (!any)
            continue;
        for (int i = 0; i < isotopeCount(); ++i) {
            if (missing[m_isotopes.at(i).group()])
                solution.setMeasured(i, false);
        }
    }
}

void Measurements::addAverageBlank(const QVector<int> &blanks, const QString &name)
{
    if (blanks.size() < 2)
        return;
    const QSet<int> listed(blanks.cbegin(), blanks.cend());
    QVector<int> members;
    for (int s = 0; s < solutionCount(); ++s) {
        if (listed.contains(s))
            members.append(s);
    }
    Solution average(name, Solution::Blank, isotopeCount());
    for (int i = 0; i < isotopeCount(); ++i) {
        double sum = 0.0;
        double largestSD = 0.0;
        int count = 0;
        for (const int s : qAsConst(members)) {
            const Solution &blank = m_solutions.at(s);
            if (!blank.isMeasured(i))
                continue;
            sum += blank.intensity(i);
            largestSD = qMax(largestSD, blank.intensitySD(i));
            ++count;
        }
        average.setIntensity(i, count == 0 ? 0.0 : sum / count);
        average.setIntensitySD(i, largestSD);
        average.setMeasured(i, count > 0);
    }
    addSolution(average);
}

void Measurements::addAverageBlanks()
{
    // Both from the blanks of the file: the first average is no member of the second.
    const QVector<int> all = m_blanks;
    const QVector<int> firstRun = firstBlankRun();
    addAverageBlank(all, ALL_BLANKS_AVERAGE);
    addAverageBlank(firstRun, FIRST_RUN_AVERAGE);
}
