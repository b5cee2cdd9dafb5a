#ifndef KETRION_QCLIMITS_H
#define KETRION_QCLIMITS_H

#include "model/QcRole.h"

#include <QString>
#include <QVector>

// What the run's own QC accepts: the recovery range of each verification
// check, the factor of the LOQ a blank check may read, and how many bracketed
// solutions may lie between two checks of a kind; and what the batch's QC
// preparations accept: the RPD of a duplicate, the recovery of a spike and of
// the laboratory control sample, the factor of the LOQ a method blank may
// read.
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
    double rpd = 20.0; // percent
    Range ms { 75.0, 125.0 }; // the MS's and the MSD's
    Range lcs { 80.0, 120.0 };
    double mb = 0.5; // × LOQ

    // One limit as the option and a method name it: a range, a factor of
    // the LOQ, a percentage or a count, the one of the four members that is
    // set.
    struct Key
    {
        const char *name;
        Range QcLimits::*range;
        double QcLimits::*factor;
        double QcLimits::*percent;
        int QcLimits::*count;
    };
    // In the order they are written.
    static const QVector<Key> &keys();

    // Of a verification check, an MS or MSD, or an LCS.
    Range recovery(QcRole::Role role) const;
    // Of a blank check or an MB.
    double blankFactor(QcRole::Role role) const;
    // The first limit out of its range, as "ICV must be ..."; empty when none.
    QString problem() const;
};

#endif
