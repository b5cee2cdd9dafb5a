#include "model/QcRole.h"

QcRole::Kind QcRole::kind(Role role)
{
    switch (role) {
    case ICV:
    case CCV:
    case LLCCV:
        return Kind::Verification;
    case ICB:
    case CCB:
        return Kind::Blank;
    case DUP:
    case MS:
    case MSD:
    case LCS:
    case MB:
        return Kind::Preparation;
    case None:
        break;
    }
    return Kind::None;
}

QString QcRole::word(Role role)
{
    return role == None ? QString() : words().at(role - 1);
}

QStringList QcRole::words()
{
    return { QStringLiteral("ICV"), QStringLiteral("CCV"), QStringLiteral("LLCCV"),
        QStringLiteral("ICB"), QStringLiteral("CCB"), QStringLiteral("DUP"), QStringLiteral("MS"),
        QStringLiteral("MSD"), QStringLiteral("LCS"), QStringLiteral("MB") };
}

bool QcRole::fromWord(const QString &word, Role *role)
{
    if (word.isEmpty()) {
        *role = None;
        return true;
    }
    const QStringList all = words();
    for (int k = 0; k < all.size(); ++k) {
        if (word.compare(all.at(k), Qt::CaseInsensitive) == 0) {
            *role = Role(k + 1);
            return true;
        }
    }
    return false;
}

bool QcRole::suits(Role role, Solution::Type type)
{
    switch (role) {
    case ICV:
    case CCV:
    case LLCCV:
    case LCS:
        return type == Solution::QualityControl;
    case ICB:
    case CCB:
    case MB:
        return type == Solution::Blank || type == Solution::Sample;
    case DUP:
    case MS:
    case MSD:
        return type == Solution::Sample;
    case None:
        break;
    }
    return true;
}

QString QcRole::suitable(Role role)
{
    if (suits(role, Solution::QualityControl))
        return QStringLiteral("a QC solution (QC_ in its name)");
    return suits(role, Solution::Blank) ? QStringLiteral("a blank or a sample")
                                        : QStringLiteral("a sample");
}
