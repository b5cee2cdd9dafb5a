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
    // Index of the isotope's resolution group among HR, MR, LR (0, 1, 2);
    // an undefined resolution belongs to LR.
    int group() const { return resol == NOT_DEFINED ? LR : resol; }
    // Label used everywhere: mass, element text, a blank, resolution name.
    QString getName() const;

    static QString resolName(Resolution resol);

private:
    QString element;
    int masse;
    Resolution resol;
};

#endif
