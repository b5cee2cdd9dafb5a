#ifndef KETRION_RUNRESULT_H
#define KETRION_RUNRESULT_H

#include "processing/QCResult.h"
#include "processing/RecoveryResult.h"

#include <QList>
#include <QString>

// What one processing run hands back to the window or batch tool.
struct RunResult
{
    int blank_id = -1; // solution position of the subtracted blank
    int is_ref_id = -1; // solution position of the IS reference
    int is_elements[3] = { -1, -1, -1 }; // IS isotope positions, HR, MR, LR
    QList<int> isElementList; // IS isotopes of the checked groups, LR, MR, HR

    bool calibrated = true; // false: no line was fitted and the run stopped there
    bool zeroStandardAdded = false;
    bool qcChecked = false;
    QCResult qc;
    int qcValueCount = 0; // QC (solution, isotope) pairs with an expected value
    bool recoveryChecked = false;
    RecoveryResult recovery;

    // Text for the status bar when the run had to leave something out; empty otherwise.
    QString status;
};

#endif
