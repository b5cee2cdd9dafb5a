#ifndef KETRION_RECOVERYCHECK_H
#define KETRION_RECOVERYCHECK_H

#include "processing/RecoveryReport.h"

// Every solution's internal standard as read, in percent of the reference
// solution's, against the accepted bounds.
class RecoveryCheck
{
public:
    // An IS value in percent of the reference solution's.
    static double recovery(double value, double reference) { return 100.0 * value / reference; }
    // Judged as printed, to one decimal: 125.00000000000001 % is 125.0 %, inside 60-125 %.
    static bool inside(double percent, double low, double high);

    // Every solution but the reference, for each IS isotope listed. A solution
    // without the IS value counts as outside; an isotope the reference lacks
    // is not checked.
    static RecoveryReport check(
        const Measurements &data, int reference, const QVector<int> &isotopes, int low, int high);
};

#endif
