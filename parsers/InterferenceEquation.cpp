#include "parsers/InterferenceEquation.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

using Mark = InterferenceEquation::Mark;

const char *const OPERAND = "an isotope in square brackets, a number, '-' or '('";

// A part of the right side: a number, or isotopes with their coefficients.
// "Isotopes" is its form, whatever the coefficients come to.
struct Form
{
    int start = 0; // the index of its first character
    bool isotopes = false;
    double number = 0.0;
    QVector<InterferenceEquation::Term> coefficients; // in order of first appearance
};

void scale(Form *form, double factor)
{
    for (InterferenceEquation::Term &term : form->coefficients)
        term.coefficient *= factor;
}

// left ± right, for isotope forms; a number beside isotopes is refused
// elsewhere and left out here.
void add(Form *left, Form right, bool subtract)
{
    if (!right.isotopes) {
        if (!left->isotopes)
            left->number = subtract ? left->number - right.number : left->number + right.number;
        return;
    }
    if (!left->isotopes) {
        left->isotopes = true;
        left->coefficients.clear();
    }
    for (const InterferenceEquation::Term &term : qAsConst(right.coefficients)) {
        const double value = subtract ? -term.coefficient : term.coefficient;
        auto *found = std::find_if(left->coefficients.begin(), left->coefficients.end(),
            [&term](
                const InterferenceEquation::Term &other) { return other.isotope == term.isotope; });
        if (found == left->coefficients.end())
            left->coefficients.append({ term.isotope, value });
        else
            found->coefficient = subtract ? found->coefficient - term.coefficient
                                          : found->coefficient + term.coefficient;
    }
}

// Reads one equation left to right and stops at its first syntax error.
class Parser
{
public:
    explicit Parser(const QString &text) : m_text(text) { }

    bool equation();

    QString target;
    QVector<Mark> names;
    Mark syntax { -1, {} };
    QVector<Mark> formFaults;
    int rightStart = -1;
    Form right;

private:
    QChar peek() const { return m_pos < m_text.size() ? m_text.at(m_pos) : QChar(); }
    void skipBlanks()
    {
        while (peek() == QLatin1Char(' ') || peek() == QLatin1Char('\t'))
            ++m_pos;
    }
    bool digitAhead() const { return peek() >= QLatin1Char('0') && peek() <= QLatin1Char('9'); }
    int digits()
    {
        const int from = m_pos;
        while (digitAhead())
            ++m_pos;
        return m_pos - from;
    }
    bool fail(const QString &expected);
    bool failAt(int index, const QString &reason);

    bool name(QString *read);
    bool number(Form *form);
    bool factor(Form *form, int depth);
    bool term(Form *form, int depth);
    bool sum(Form *form, int depth);

    const QString &m_text;
    int m_pos = 0;
};

bool Parser::fail(const QString &expected)
{
    if (m_pos >= m_text.size())
        return failAt(m_pos, QStringLiteral("unfinished: expected %1").arg(expected));
    // The whole character, also beyond 16 bits.
    const int length = m_text.at(m_pos).isHighSurrogate() ? 2 : 1;
    return failAt(m_pos,
        QStringLiteral("unexpected '%1': expected %2").arg(m_text.mid(m_pos, length), expected));
}

bool Parser::failAt(int index, const QString &reason)
{
    syntax = { index, reason };
    return false;
}

bool Parser::equation()
{
    skipBlanks();
    if (peek() != QLatin1Char('['))
        return fail(QStringLiteral("an isotope in square brackets"));
    if (!name(&target))
        return false;
    skipBlanks();
    if (peek() != QLatin1Char('='))
        return fail(QStringLiteral("'='"));
    ++m_pos;
    skipBlanks();
    rightStart = m_pos;
    if (!sum(&right, 0))
        return false;
    if (m_pos < m_text.size())
        return fail(QStringLiteral("'+', '-', '*' or the end"));
    return true;
}

// From its '[' to its ']': any text but ']', without blanks or tabs around.
bool Parser::name(QString *read)
{
    const int open = m_pos;
    const int close = int(m_text.indexOf(QLatin1Char(']'), open + 1));
    if (close == -1) {
        m_pos = int(m_text.size());
        return fail(QStringLiteral("']'"));
    }
    int first = open + 1;
    int end = close;
    const auto blank = [this](int i) {
        return m_text.at(i) == QLatin1Char(' ') || m_text.at(i) == QLatin1Char('\t');
    };
    while (first < end && blank(first))
        ++first;
    while (end > first && blank(end - 1))
        --end;
    *read = m_text.mid(first, end - first);
    names.append({ open, *read });
    m_pos = close + 1;
    return true;
}

// Digits with an optional '.' and fraction, at least one digit, then an
// optional exponent; a value that overflows or underflows to 0 is refused.
bool Parser::number(Form *form)
{
    const int start = m_pos;
    int count = digits();
    if (peek() == QLatin1Char('.')) {
        ++m_pos;
        count += digits();
    }
    if (count == 0)
        return fail(QStringLiteral("digits"));
    if (peek() == QLatin1Char('e') || peek() == QLatin1Char('E')) {
        ++m_pos;
        if (peek() == QLatin1Char('+') || peek() == QLatin1Char('-'))
            ++m_pos;
        if (digits() == 0)
            return fail(QStringLiteral("the exponent's digits"));
    }
    // QLocale refuses a value beyond a double, and one that comes to 0 from
    // digits that are not all 0.
    bool read = false;
    form->number = QLocale::c().toDouble(m_text.midRef(start, m_pos - start), &read);
    if (!read)
        return failAt(start, QStringLiteral("number out of range"));
    return true;
}

bool Parser::factor(Form *form, int depth)
{
    skipBlanks();
    const int start = m_pos;
    bool negative = false;
    while (peek() == QLatin1Char('-')) {
        negative = !negative;
        ++m_pos;
        skipBlanks();
    }
    bool read = false;
    if (peek() == QLatin1Char('[')) {
        QString isotope;
        read = name(&isotope);
        form->isotopes = true;
        form->coefficients = { { isotope, 1.0 } };
    } else if (peek() == QLatin1Char('(')) {
        if (depth == InterferenceEquation::MAXIMUM_DEPTH)
            return failAt(m_pos,
                QStringLiteral("parentheses nested more than %1 deep")
                    .arg(InterferenceEquation::MAXIMUM_DEPTH));
        ++m_pos;
        if (!sum(form, depth + 1))
            return false;
        skipBlanks();
        if (peek() != QLatin1Char(')'))
            return fail(QStringLiteral("'+', '-', '*' or ')'"));
        ++m_pos;
        read = true;
    } else if (digitAhead() || peek() == QLatin1Char('.')) {
        read = number(form);
    } else {
        return fail(QLatin1String(OPERAND));
    }
    if (negative) {
        form->number = -form->number;
        scale(form, -1.0);
    }
    form->start = start;
    return read;
}

// A product needs a number on at least one side.
bool Parser::term(Form *form, int depth)
{
    if (!factor(form, depth))
        return false;
    for (;;) {
        skipBlanks();
        if (peek() != QLatin1Char('*'))
            return true;
        const int star = m_pos++;
        Form right;
        if (!factor(&right, depth))
            return false;
        if (form->isotopes && right.isotopes) {
            formFaults.append({ star, QStringLiteral("a product of two isotope terms") });
        } else if (form->isotopes) {
            scale(form, right.number);
        } else if (right.isotopes) {
            scale(&right, form->number);
            form->isotopes = true;
            form->coefficients = right.coefficients;
        } else {
            form->number *= right.number;
        }
    }
}

// No constant term: a number added to isotopes is refused at its first
// character (the first such number of the sum).
bool Parser::sum(Form *form, int depth)
{
    if (!term(form, depth))
        return false;
    int firstNumber = form->isotopes ? -1 : form->start;
    bool anyIsotope = form->isotopes;
    for (;;) {
        skipBlanks();
        const QChar sign = peek();
        if (sign != QLatin1Char('+') && sign != QLatin1Char('-'))
            break;
        ++m_pos;
        Form right;
        if (!term(&right, depth))
            return false;
        if (!right.isotopes && firstNumber == -1)
            firstNumber = right.start;
        anyIsotope = anyIsotope || right.isotopes;
        add(form, right, sign == QLatin1Char('-'));
    }
    if (anyIsotope && firstNumber != -1)
        formFaults.append({ firstNumber, QStringLiteral("a number added to isotopes") });
    return true;
}

} // namespace

InterferenceEquation::InterferenceEquation(const QString &text) : m_text(text)
{
    Parser parser(m_text);
    const bool wellFormed = parser.equation();
    m_target = parser.target;
    m_names = parser.names;
    m_syntax = parser.syntax;
    m_formFaults = parser.formFaults;
    m_rightStart = parser.rightStart;
    if (!wellFormed || !m_formFaults.isEmpty() || !parser.right.isotopes)
        return;
    // Zero coefficients, -0 too, are no terms.
    QVector<Term> others;
    for (const Term &term : qAsConst(parser.right.coefficients)) {
        m_finite = m_finite && std::isfinite(term.coefficient);
        if (term.coefficient == 0.0)
            continue;
        if (term.isotope == m_target)
            m_terms.append(term);
        else
            others.append(term);
    }
    m_terms += others;
}

QString InterferenceEquation::expanded() const
{
    if (m_terms.isEmpty() || !m_finite)
        return {};
    QString text = m_target + QStringLiteral(" = ");
    for (int k = 0; k < m_terms.size(); ++k) {
        const double c = m_terms.at(k).coefficient;
        if (k == 0)
            text += QString::asprintf("%g", c);
        else
            text += (c < 0.0 ? QStringLiteral(" - ") : QStringLiteral(" + "))
                + QString::asprintf("%g", std::fabs(c));
        text += QStringLiteral(" x ") + m_terms.at(k).isotope;
    }
    return text;
}

InterferenceEquation::Fault InterferenceEquation::check(const Names &names) const
{
    QVector<Mark> faults;
    for (int k = 0; k < m_names.size(); ++k) {
        const Mark &name = m_names.at(k);
        const bool target = k == 0;
        if (!names.isotopes.contains(name.text))
            faults.append({ name.index, QStringLiteral("unknown isotope '%1'").arg(name.text) });
        else if (target && names.internalStandards.contains(name.text))
            faults.append({ name.index,
                QStringLiteral("'%1' is the IS isotope of a group corrected").arg(name.text) });
        else if (target && names.earlierTargets.contains(name.text))
            faults.append({ name.index,
                QStringLiteral("'%1' is the target of an earlier equation").arg(name.text) });
    }
    // The form counts only once the text is well formed.
    faults += m_syntax.index == -1 ? m_formFaults : QVector<Mark> { m_syntax };
    if (faults.isEmpty() && m_terms.isEmpty())
        faults.append({ m_rightStart, QStringLiteral("no isotope left on the right side") });
    else if (faults.isEmpty() && !m_finite)
        faults.append({ m_rightStart, QStringLiteral("a coefficient out of range") });
    if (faults.isEmpty())
        return {};
    const Mark *first = &faults.first();
    for (const Mark &fault : qAsConst(faults)) {
        if (fault.index < first->index)
            first = &fault;
    }
    // Characters, not UTF-16 units.
    return { int(m_text.left(first->index).toUcs4().size()) + 1, first->text };
}

QString InterferenceEquation::refusal(const Fault &fault) const
{
    return QStringLiteral("Interference equation '%1', character %2: %3.")
        .arg(m_text, QString::number(fault.position), fault.reason);
}
