#ifndef KETRION_QCROLE_H
#define KETRION_QCROLE_H

#include "model/Solution.h"

#include <QString>
#include <QStringList>

// The part a solution plays in the run's own quality control, as the sample
// sheet's role column names it. A verification check is a QC solution of
// known content whose recovery is judged; a blank check must read near zero.
// The batch's own preparations are judged apart: a duplicate (DUP), a matrix
// spike and its duplicate (MS, MSD), each against the solution it was
// prepared from, a laboratory control sample (LCS) and a method blank (MB).
class QcRole
{
public:
    enum Role { None, ICV, CCV, LLCCV, ICB, CCB, DUP, MS, MSD, LCS, MB };
    enum class Kind { None, Verification, Blank, Preparation };

    static Kind kind(Role role);
    // A verification or a blank check: a solution that judges others.
    static bool isCheck(Role role)
    {
        return kind(role) == Kind::Verification || kind(role) == Kind::Blank;
    }
    // Prepared from another solution of the run, its parent.
    static bool hasParent(Role role) { return role == DUP || role == MS || role == MSD; }
    // Spiked: the sheet names the standards file's column of its spike.
    static bool isSpiked(Role role) { return role == MS || role == MSD; }
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
