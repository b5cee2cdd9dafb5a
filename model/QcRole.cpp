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
        QStringLiteral("ICB"), QStringLiteral("CCB") };
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
    switch (kind(role)) {
    case Kind::Verification:
        return type == Solution::QualityControl;
    case Kind::Blank:
        return type == Solution::Blank || type == Solution::Sample;
    case Kind::None:
        break;
    }
    return true;
}

QString QcRole::suitable(Role role)
{
    return kind(role) == Kind::Verification ? QStringLiteral("a QC solution (QC_ in its name)")
                                            : QStringLiteral("a blank or a sample");
}
