#ifndef KETRION_RUNPLAN_H
#define KETRION_RUNPLAN_H

#include "model/Isotope.h"
#include "model/RunOptions.h"
#include "processing/InterferenceCorrection.h"

#include <QString>
#include <QVector>

#include <array>

class Measurements;
struct RunOutcome;

// A run's options with the names they give found in the export.
struct RunPlan
{
    RunOptions options;
    int reference = -1; // position in the export
    std::array<int, Isotope::GROUP_COUNT> standards { -1, -1, -1 };
    std::array<QString, Isotope::GROUP_COUNT> isotopeNames; // as traced
    int blank = -1; // position among ProcessingRun::blankChoices()
    QString blankName;
    QVector<int> driftChecks; // the monitor's occurrences in the export
    QVector<InterferenceCorrection::Equation> interference; // in the order given

    // Finds the options' names in data; false, with the refusal in outcome,
    // when data lacks one.
    static bool resolve(
        const Measurements &data, const RunOptions &options, RunPlan *plan, RunOutcome *outcome);

    // The IS isotopes of the groups checked for correction: no blank is taken
    // off them and they get no line.
    QVector<int> keptIsotopes() const;
    void traceConfiguration() const;
    // Why the reference cannot correct a group it should; empty when it can.
    QString referenceProblem(const Measurements &data) const;

private:
    // The IS isotope of each group as named, or its first; the group whose
    // named isotope the export lacks, else -1.
    int resolveStandards(const Measurements &data);
};

#endif
