#ifndef KETRION_INTERFERENCEEQUATION_H
#define KETRION_INTERFERENCEEQUATION_H

#include <QString>
#include <QStringList>
#include <QVector>

// One interference correction equation as a lab writes it,
//   [75As #1] = [75As #1] - 3.127 * ([77Se #1] - 0.815 * [82Se #1])
// isotopes in square brackets, numbers, + - * and parentheses, unary minus;
// the left side one isotope, the target; the right side linear in the
// isotopes. Its form is read from the text alone, so that the window can
// show it as it is typed; check() looks the names up.
class InterferenceEquation
{
public:
    static constexpr int MAXIMUM_DEPTH = 100; // parentheses within parentheses

    // Where and why an equation is refused; position is the 1-based character
    // of the text, its length + 1 for the end, 0 for no fault.
    struct Fault
    {
        int position = 0;
        QString reason;

        bool found() const { return position != 0; }
    };
    struct Term
    {
        QString isotope; // as written, without the blanks and tabs around it
        double coefficient; // never 0
    };
    // The names an equation may use.
    struct Names
    {
        QStringList isotopes; // the export's, as typed (Isotope::typedName())
        QStringList internalStandards; // the IS isotopes of the groups corrected
        QStringList earlierTargets; // of the equations given before this one
    };

    explicit InterferenceEquation(const QString &text);

    const QString &text() const { return m_text; }
    // The left side's isotope; empty when the text does not get that far.
    const QString &target() const { return m_target; }
    // The target first when it is a term, then the isotopes in the order they
    // first appear; coefficients that come to 0 are left out. Empty when the
    // form is refused.
    const QVector<Term> &terms() const { return m_terms; }
    // "75As #1 = 1 x 75As #1 - 3.127 x 77Se #1 + 2.5485 x 82Se #1"; empty
    // when the form is refused.
    QString expanded() const;

    // The first fault reading left to right; none when the equation holds.
    Fault check(const Names &names) const;
    // "Interference equation '…', character 31: unknown isotope '77Se'."
    QString refusal(const Fault &fault) const;

    // What the parser found, for check(); indices count from 0.
    struct Mark
    {
        int index;
        QString text; // the reason, or a name
    };

private:
    QString m_text;
    QString m_target;
    QVector<Mark> m_names; // at their '[', the target first
    Mark m_syntax { -1, {} }; // -1: the text is well formed
    QVector<Mark> m_formFaults;
    int m_rightStart = -1; // the right side's first character
    bool m_finite = true;
    QVector<Term> m_terms;
};

#endif
