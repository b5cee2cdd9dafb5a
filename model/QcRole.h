#ifndef KETRION_QCROLE_H
#define KETRION_QCROLE_H

#include "model/Solution.h"

#include <QString>
#include <QStringList>

// The part a solution plays in the run's own quality control, as the sample
// sheet's role column names it. A verification check is a QC solution of
// known content whose recovery is judged; a blank check must read near zero.
class QcRole
{
public:
    enum Role { None, ICV, CCV, LLCCV, ICB, CCB };
    enum class Kind { None, Verification, Blank };

    static Kind kind(Role role);
    // A verification or a blank check: a solution that judges others.
    static bool isCheck(Role role) { return kind(role) != Kind::None; }
    // As a sheet writes it, "CCV"; empty for None.
    static QString word(Role role);
    // Every role's word, in the enum's order.
    static QStringList words();
    // The role a word names, in any case (empty: None); false when no role
    // has that word.
    static bool fromWord(const QString &word, Role *role);
    // Whether a solution of that type, by the name rule, may play the role.
    static bool suits(Role role, Solution::Type type);
    // What suits a role, for messages: "a QC solution".
    static QString suitable(Role role);
};

#endif
