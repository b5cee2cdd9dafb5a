#ifndef KETRION_RUNOUTCOME_H
#define KETRION_RUNOUTCOME_H

#include "model/Calibration.h"
#include "model/ExpectedConcentrations.h"
#include "model/Measurements.h"
#include "model/ReportedResults.h"
#include "model/Results.h"
#include "processing/DriftReport.h"
#include "processing/InterferenceCorrection.h"
#include "processing/QcReport.h"
#include "processing/RecoveryReport.h"
#include "processing/RunQcReport.h"

#include <QDateTime>
#include <QStringList>

#include <array>

// What one processing run hands back: its results and reports, or why it
// refused to run.
struct RunOutcome
{
    enum class Refusal {
        None,
        UnknownName, // an option names no solution or isotope of the export, or too few
        NoStandardsFile,
        StandardsUnreadable,
        StandardsRejected,
        ReferenceWithoutStandard, // the reference lacks the IS value of a group to correct
        NoCalibration, // no isotope has a line
        SampleSheetRejected, // unreadable, or a row or column the run cannot use
    };
    // The option whose name the export does not have (or, for the drift
    // monitor, not twice).
    enum class Choice {
        Reference,
        IsotopeLR,
        IsotopeMR,
        IsotopeHR,
        Blank,
        DriftMonitor,
        Interference, // an equation refused: see reason
    };

    // When the run started, for its report.
    QDateTime started;

    Refusal refusal = Refusal::None;
    QString reason; // for the user, when refused
    Choice unknownChoice = Choice::Reference;
    QString unknownName;

    // The choices as found in the export; -1 for none.
    int reference = -1;
    std::array<int, Isotope::GROUP_COUNT> standards { -1, -1, -1 }; // IS isotopes by group
    // The IS isotope of each group actually corrected.
    std::array<int, Isotope::GROUP_COUNT> corrected { -1, -1, -1 };
    int blank = -1; // position in the working set of the blank subtracted

    ExpectedConcentrations expected;
    // The corrected intensities, with the average blanks and the zero standard.
    Measurements working;
    Calibration calibration;
    Results results; // rows as in working
    ReportedResults reported; // rows as in working

    bool driftCorrected = false;
    DriftReport drift;
    InterferenceCorrection::Report interference; // no effects without equations
    bool qcChecked = false;
    QcReport qc;
    bool recoveryChecked = false;
    RecoveryReport recovery;
    // Whether the lines were held to the acceptance criteria; each rejected
    // line says why.
    bool acceptanceChecked = false;
    RunQcReport runQc; // applies only with check roles in the sample sheet
    // What the run had to leave out, for the status bar or standard error.
    QStringList warnings;

    bool ok() const { return refusal == Refusal::None; }
};

#endif
