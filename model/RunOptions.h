#ifndef KETRION_RUNOPTIONS_H
#define KETRION_RUNOPTIONS_H

#include "model/Calibration.h"
#include "model/Isotope.h"
#include "model/QcLimits.h"
#include "model/Status.h"

#include <QString>
#include <QStringList>

#include <array>

// The options of one processing run as plain values, set from the window's
// configuration panel, a method file or ketrion-batch's command line.
// Solutions and isotopes are named as the window lists them; the run finds
// them in the export.
struct RunOptions
{
    enum class BlankMode { None, ZeroStandard, Subtract };

    // The instruments whose exports Ketrion reads, as the window lists them.
    static QStringList instruments();
    // ketrion-batch's words for the choices, in the enums' order; a method
    // file uses them too, so that it reads like its command line.
    static QStringList blankModeWords();
    static QStringList weightingWords();

    static constexpr int DEFAULT_RECOVERY_LOW = 60;
    static constexpr int DEFAULT_RECOVERY_HIGH = 125;
    static constexpr int MAXIMUM_RECOVERY = 1000;
    // Common acceptance of a calibration: r² of at least 0.995, each standard
    // read back within 10 % of its value.
    static constexpr double DEFAULT_MINIMUM_R2 = 0.995;
    static constexpr double DEFAULT_TOLERANCE = 10.0;

    struct Group
    {
        bool corrected = true;
        // The group's IS isotope; empty: the first isotope of the group.
        // Trailing blanks do not count.
        QString isotope;
    };

    QString instrument; // for the trace

    bool internalStandard = false;
    QString reference; // the IS reference solution
    std::array<Group, Isotope::GROUP_COUNT> groups; // indexed by Isotope::Resolution
    // IS recovery bounds in whole percents of the reference solution's IS
    // value, both inside; checked whenever a group is corrected.
    int recoveryLow = DEFAULT_RECOVERY_LOW;
    int recoveryHigh = DEFAULT_RECOVERY_HIGH;

    BlankMode blankMode = BlankMode::ZeroStandard;
    // Among the file's blanks and the average blanks; empty: the first of them.
    QString blank;
    Calibration::Weighting weighting = Calibration::Weighting::None;

    // Drift correction from a monitor: the solutions named as its replicates
    // ("VS": VS_1, VS_2, ...), at least two of them.
    bool drift = false;
    QString driftMonitor;

    // Interference correction equations as written, in the order given
    // (InterferenceEquation); only the export tells whether they hold.
    QStringList interference;

    bool qcValidation = true;

    // Calibration acceptance: a line below minimumR2, or a standard read back
    // more than tolerance percent off its value, is rejected.
    bool acceptance = false;
    double minimumR2 = DEFAULT_MINIMUM_R2;
    double tolerance = DEFAULT_TOLERANCE;

    // The run's own QC applies only with a sample sheet that gives roles;
    // its limits are part of the method all the same.
    QcLimits qcLimits;

    // The one rule of what a run accepts, whoever set the values: the first
    // value out of its range, in the order a method file lists them, with the
    // reason in a method file's words; member receives its method-file name.
    Status check(QString *member = nullptr) const;
};

#endif
