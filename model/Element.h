#ifndef KETRION_ELEMENT_H
#define KETRION_ELEMENT_H

#include <QString>

// One measured isotope: element text, mass number and mass resolution.
class Element
{
public:
    enum Resolution { HR = 0, MR = 1, LR = 2, NOT_DEFINED = 3 };

    Element(const QString &element, int masse, Resolution resol);

    QString getElement() const { return element; }
    int getMasse() const { return masse; }
    Resolution getResol() const { return resol; }
    QString getResolName() const;
    // Label used everywhere: mass, element text, a blank, resolution name.
    QString getName() const;

    static QString resolName(Resolution resol);

private:
    QString element;
    int masse;
    Resolution resol;
};

#endif
