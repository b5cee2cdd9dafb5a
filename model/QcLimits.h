#ifndef KETRION_QCLIMITS_H
#define KETRION_QCLIMITS_H

#include "model/QcRole.h"

#include <QString>
#include <QVector>

// What the run's own QC accepts: the recovery range of each verification
// check, the factor of the LOQ a blank check may read, and how many bracketed
// solutions may lie between two checks of a kind.
struct QcLimits
{
    struct Range
    {
        double low; // percent, both inside
        double high;
    };

    Range icv { 90.0, 110.0 };
    Range ccv { 90.0, 110.0 };
    Range llccv { 70.0, 130.0 };
    double icb = 0.5; // × LOQ
    double ccb = 1.0;
    int every = 10;

    // One limit as the option and a method name it: a range, a factor or a
    // count, the one of the three members that is set.
    struct Key
    {
        const char *name;
        Range QcLimits::*range;
        double QcLimits::*factor;
        int QcLimits::*count;
    };
    // In the order they are written.
    static const QVector<Key> &keys();

    Range recovery(QcRole::Role role) const;
    double blankFactor(QcRole::Role role) const;
    // The first limit out of its range, as "ICV must be ..."; empty when none.
    QString problem() const;
};

#endif
