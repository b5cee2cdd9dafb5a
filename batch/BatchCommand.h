#ifndef KETRION_BATCHCOMMAND_H
#define KETRION_BATCHCOMMAND_H

#include "display/PlotImage.h"
#include "processing/RunOptions.h"

#include <QString>
#include <QStringList>

// The command line of ketrion-batch as plain values. Names stay names here:
// only the data file tells which solutions and isotopes exist.
class BatchCommand
{
public:
    enum BlankMode { YIntercept, Subtract, NoBlank };

    static QString usage();

    // Empty when the arguments (without the program name) are accepted,
    // else a one-line reason.
    QString parse(const QStringList &arguments);

    bool help = false;

    QString instrument;
    QString dataFile;
    QString stdqcFile;
    QString outputFile;
    QString longFile; // empty: no long table
    QString plotFolder; // empty: no plots
    PlotImage::Format plotFormat = PlotImage::Format::Png;

    bool isCorrection = false; // on exactly when a reference solution is named
    QString isReference;
    // A group isotope not named takes the first of its group.
    bool isLRGiven = false;
    bool isMRGiven = false;
    bool isHRGiven = false;
    QString isLR;
    QString isMR;
    QString isHR;
    bool correctLR = true;
    bool correctMR = true;
    bool correctHR = true;
    int recoveryLow = RunOptions::DEFAULT_RECOVERY_LOW;
    int recoveryHigh = RunOptions::DEFAULT_RECOVERY_HIGH;

    BlankMode blankMode = YIntercept;
    bool blankGiven = false; // else the first entry of the blank list
    QString blank;
    Processing::Weighting weighting = Processing::Weighting::None;

    bool qcValidation = true;
};

#endif
