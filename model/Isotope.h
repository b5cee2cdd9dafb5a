#ifndef KETRION_ISOTOPE_H
#define KETRION_ISOTOPE_H

#include <QString>

// One measured isotope: the element text the reader built ("Co", or "Co #1"
// with a quadrupole's tune step), its mass number and its mass resolution.
class Isotope
{
public:
    // The values index per-group choices: LR, MR and HR are the three groups,
    // and a quadrupole's undefined resolution belongs to LR.
    enum Resolution { LR = 0, MR = 1, HR = 2, Undefined = 3 };
    static constexpr int GROUP_COUNT = 3;
    // The groups in their one order, as every list shows them.
    static constexpr Resolution GROUPS_SHOWN[GROUP_COUNT] = { LR, MR, HR };

    Isotope(const QString &element, int mass, Resolution resolution);

    const QString &element() const { return m_element; }
    int mass() const { return m_mass; }
    Resolution resolution() const { return m_resolution; }
    Resolution group() const { return m_resolution == Undefined ? LR : m_resolution; }
    // The label used everywhere: mass, element text, a blank, resolution name
    // ("59Co MR", "59Co #1 "); a second line of the same isotope in the file
    // is told apart, "56Fe MR (2)".
    QString name() const;
    // The label as a user types it: without a quadrupole name's trailing blank.
    QString typedName() const { return withoutTrailingBlanks(name()); }
    // The label without the count of a repeated isotope.
    QString baseName() const;
    // 1 for the first line of the file with this isotope, 2 for the second…
    int occurrence() const { return m_occurrence; }
    // The line of the file it was read from (1-based), 0 when unknown.
    int line() const { return m_line; }
    void setPlace(int line, int occurrence);

    // "LR", "MR", "HR", or empty for the undefined resolution.
    static QString resolutionName(Resolution resolution);
    // A name as it is typed: quadrupole names end with a blank nobody types.
    static QString withoutTrailingBlanks(QString name);

private:
    QString m_element;
    int m_mass;
    Resolution m_resolution;
    int m_line = 0;
    int m_occurrence = 1;
};

#endif
