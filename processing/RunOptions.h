#ifndef KETRION_RUNOPTIONS_H
#define KETRION_RUNOPTIONS_H

#include "processing/Processing.h"

#include <QString>

// The options of one processing run as plain values, read from the
// configuration panel by the window or from the command line by a batch tool.
// Indexes are positions in the lists the panel shows; -1 means none.
struct RunOptions
{
    static constexpr int DEFAULT_RECOVERY_LOW = 60;
    static constexpr int DEFAULT_RECOVERY_HIGH = 125;

    QString instrument; // instrument model text, for the trace only

    bool isCorrection = false;
    int isReference = -1; // solution position of the IS reference solution
    QString isReferenceName;
    bool correctLR = false;
    bool correctMR = false;
    bool correctHR = false;
    int isLR = -1; // position of the IS isotope within the LR group
    int isMR = -1;
    int isHR = -1;
    QString isLRName;
    QString isMRName;
    QString isHRName;
    // IS recovery bounds in whole percents of the reference solution's IS
    // value, both inside; checked whenever the IS correction has a reference.
    int recoveryLow = DEFAULT_RECOVERY_LOW;
    int recoveryHigh = DEFAULT_RECOVERY_HIGH;

    bool yIntercept = false;
    bool subBlank = false;
    // Position in the blank list as the panel shows it: the file's blanks,
    // then "BLK_Avg_All" and "BLK_Avg_First_Seq" when they exist.
    int blankSelection = -1;
    QString blankSelectionName;
    Processing::Weighting weighting = Processing::Weighting::None;

    bool qcValidation = false;
};

#endif
