#include "model/Element.h"

Element::Element(const QString &element, int masse, Resolution resol)
    : element(element)
    , masse(masse)
    , resol(resol)
{
}

QString Element::resolName(Resolution resol)
{
    switch (resol) {
    case HR:
        return QStringLiteral("HR");
    case MR:
        return QStringLiteral("MR");
    case LR:
        return QStringLiteral("LR");
    default:
        return QString();
    }
}

QString Element::getResolName() const
{
    return resolName(resol);
}

QString Element::getName() const
{
    return QString::number(masse) + element + QLatin1Char(' ') + getResolName();
}
