#include "processing/InterferenceCorrection.h"

#include "model/Measurements.h"

#include <cmath>

namespace {

QString counted(int count, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

} // namespace

InterferenceEquation::Names InterferenceCorrection::names(
    const Measurements &data, const QVector<int> &internalStandards)
{
    InterferenceEquation::Names names;
    for (int i = 0; i < data.isotopeCount(); ++i)
        names.isotopes.append(data.isotope(i).typedName());
    for (const int i : internalStandards) {
        if (i != -1)
            names.internalStandards.append(names.isotopes.at(i));
    }
    return names;
}

bool InterferenceCorrection::resolve(const QStringList &texts, const Measurements &data,
    const QVector<int> &internalStandards, QVector<Equation> *equations, QString *refusal)
{
    InterferenceEquation::Names names = InterferenceCorrection::names(data, internalStandards);
    for (const QString &text : texts) {
        const InterferenceEquation equation(text);
        const InterferenceEquation::Fault fault = equation.check(names);
        if (fault.found()) {
            *refusal = equation.refusal(fault);
            return false;
        }
        names.earlierTargets.append(equation.target());
        Equation found { int(names.isotopes.indexOf(equation.target())), {}, equation.expanded() };
        for (const InterferenceEquation::Term &term : equation.terms())
            found.terms.append({ int(names.isotopes.indexOf(term.isotope)), term.coefficient });
        equations->append(found);
    }
    return true;
}

InterferenceCorrection::Report InterferenceCorrection::apply(
    Measurements *working, int solutionCount, const QVector<Equation> &equations)
{
    Report report;
    for (const Equation &equation : equations)
        report.effects.append({ equation.target, equation.expanded });
    for (int s = 0; s < working->solutionCount(); ++s) {
        // A copy: the equations read the values before any of them.
        const Solution before = working->solution(s);
        Solution &after = working->solution(s);
        const bool reported = s < solutionCount;
        for (int e = 0; e < equations.size(); ++e) {
            const int target = equations.at(e).target;
            Effect &effect = report.effects[e];
            if (!before.isMeasured(target))
                continue;
            if (!correct(before, &after, equations.at(e))) {
                effect.lost += reported ? 1 : 0;
                continue;
            }
            const double uncorrected = before.intensity(target);
            if (!reported || before.type() != Solution::Sample || uncorrected == 0.0)
                continue;
            const double change
                = 100.0 * std::fabs(after.intensity(target) - uncorrected) / std::fabs(uncorrected);
            if (effect.largestAt == -1 || change > effect.largest) {
                effect.largest = change;
                effect.largestAt = s;
            }
        }
    }
    return report;
}

bool InterferenceCorrection::correct(
    const Solution &before, Solution *after, const Equation &equation)
{
    double value = 0.0;
    double variance = 0.0;
    for (const Term &term : equation.terms) {
        // Never the uncorrected value.
        if (!before.isMeasured(term.isotope)) {
            after->setMeasured(equation.target, false);
            return false;
        }
        value += term.coefficient * before.intensity(term.isotope);
        const double deviation = term.coefficient * before.intensitySD(term.isotope);
        variance += deviation * deviation;
    }
    after->setIntensity(equation.target, value);
    after->setIntensitySD(equation.target, std::sqrt(variance));
    return true;
}

QStringList InterferenceCorrection::Report::lines(const Measurements &data) const
{
    QStringList texts { QStringLiteral("# interference correction: ")
        + counted(int(effects.size()), "equation", "equations") };
    for (const Effect &effect : effects)
        texts.append(effect.expanded);
    return texts + effectLines(data);
}

QStringList InterferenceCorrection::Report::effectLines(const Measurements &data) const
{
    QStringList texts;
    for (const Effect &effect : effects) {
        const QString target = data.isotope(effect.target).typedName();
        if (effect.lost > 0)
            texts.append(QStringLiteral("%1: %2 without a value (a term not measured)")
                             .arg(target, counted(effect.lost, "solution", "solutions")));
        if (effect.largestAt != -1)
            texts.append(
                QStringLiteral("%1: largest correction %2 % of the signal at %3")
                    .arg(target, QString::number(effect.largest, 'f', 1),
                        Isotope::withoutTrailingBlanks(data.solution(effect.largestAt).name())));
    }
    return texts;
}
