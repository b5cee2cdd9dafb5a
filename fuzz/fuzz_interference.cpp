// Interference equations of any text: no crash, no hang; a refusal at a
// character of the text or its end, and an accepted equation whose terms,
// written back as an equation, read the same.
#include "FuzzChecks.h"

#include "parsers/InterferenceEquation.h"

#include <QString>

#include <cmath>

namespace {

InterferenceEquation::Names names()
{
    InterferenceEquation::Names names;
    names.isotopes = QStringList { QStringLiteral("75As #1"), QStringLiteral("77Se #1"),
        QStringLiteral("82Se #1"), QStringLiteral("115In #1"), QStringLiteral("111Cd #1") };
    names.internalStandards = QStringList { QStringLiteral("115In #1") };
    names.earlierTargets = QStringList { QStringLiteral("111Cd #1") };
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    static const InterferenceEquation::Names known = names();
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(bytes), int(size));
    const InterferenceEquation equation(text);
    const InterferenceEquation::Fault fault = equation.check(known);
    fuzzCheck(equation.terms().isEmpty() == equation.expanded().isEmpty(),
        "an expanded form exactly for an equation of a right form");
    if (fault.found()) {
        fuzzCheck(fault.position >= 1 && fault.position <= text.toUcs4().size() + 1,
            "a fault at a character of the text or its end");
        fuzzCheck(!fault.reason.isEmpty(), "a fault says why");
        return 0;
    }
    fuzzCheck(known.isotopes.contains(equation.target()), "the target is known");
    // As ketrion-batch takes it: the first coefficient with its own sign.
    QString again = QLatin1Char('[') + equation.target() + QStringLiteral("] =");
    for (const InterferenceEquation::Term &term : equation.terms()) {
        fuzzCheck(known.isotopes.contains(term.isotope), "every term is known");
        fuzzCheck(std::isfinite(term.coefficient) && term.coefficient != 0.0,
            "coefficients are finite and not 0");
        const bool first = &term == &equation.terms().first();
        again += QStringLiteral(" %1%2 * [%3]")
                     .arg(term.coefficient < 0.0 ? QStringLiteral("-")
                             : first             ? QString()
                                                 : QStringLiteral("+"),
                         (first ? QString() : QStringLiteral(" "))
                             + QString::number(std::fabs(term.coefficient), 'g', 17),
                         term.isotope);
    }
    const InterferenceEquation written(again);
    fuzzCheck(written.expanded() == equation.expanded(), "the terms written back read the same");
    return 0;
}
