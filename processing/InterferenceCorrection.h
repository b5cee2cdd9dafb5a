#ifndef KETRION_INTERFERENCECORRECTION_H
#define KETRION_INTERFERENCECORRECTION_H

#include "parsers/InterferenceEquation.h"

#include <QString>
#include <QStringList>
#include <QVector>

class Measurements;
class Solution;

// Takes a neighbour's signal off an isotope's (⁴⁰Ar³⁵Cl⁺ on ⁷⁵As) by the
// lab's equations, right before the calibration. Every equation reads the
// values and "not measured" marks as they were before any equation, so that
// their order does not matter.
class InterferenceCorrection
{
public:
    struct Term
    {
        int isotope;
        double coefficient;
    };
    // One equation with its isotopes found in the export.
    struct Equation
    {
        int target = -1;
        QVector<Term> terms; // in the expanded form's order
        QString expanded;
    };
    // What one equation did over the export's solutions.
    struct Effect
    {
        int target = -1;
        QString expanded;
        // Solutions whose target lost its value for a term not measured.
        int lost = 0;
        // The largest 100 x |corrected - uncorrected| / |uncorrected| among
        // the samples with both values, and the first sample to reach it;
        // -1: none.
        double largest = 0.0;
        int largestAt = -1;
    };
    struct Report
    {
        QVector<Effect> effects; // in the order given; empty without equations

        // The trace's block: "# interference correction: 2 equations", the
        // expanded forms, then each equation's effect lines.
        QStringList lines(const Measurements &data) const;
        // "75As #1: 3 solutions without a value (a term not measured)",
        // "75As #1: largest correction 41.2 % of the signal at Sea_04".
        QStringList effectLines(const Measurements &data) const;
    };

    // What an equation may name in data: its isotopes, and as targets none
    // of internalStandards, the IS isotopes of the groups corrected (-1:
    // none); no earlier targets.
    static InterferenceEquation::Names names(
        const Measurements &data, const QVector<int> &internalStandards);
    // The equations of texts with their isotopes found in data, or the
    // refusal of the first that fails.
    static bool resolve(const QStringList &texts, const Measurements &data,
        const QVector<int> &internalStandards, QVector<Equation> *equations, QString *refusal);

    // Corrects every solution of working; the first solutionCount are the
    // export's, whose effects are reported. A corrected value's SD is
    // √Σ (coefficient × SD of the term)²; a term not measured leaves the
    // target not measured, and a target not measured stays so.
    static Report apply(
        Measurements *working, int solutionCount, const QVector<Equation> &equations);

private:
    // Sets after's target from before's values; false, the target not
    // measured, when a term was not measured.
    static bool correct(const Solution &before, Solution *after, const Equation &equation);
};

#endif
