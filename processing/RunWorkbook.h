#ifndef KETRION_RUNWORKBOOK_H
#define KETRION_RUNWORKBOOK_H

#include "model/RunOptions.h"
#include "model/Status.h"
#include "processing/RunInputs.h"

#include <QString>
#include <QStringList>
#include <QVector>

class Measurements;
struct RunOutcome;

// A run as a workbook for the lab's spreadsheet program, the same from the
// window and from ketrion-batch: "Results", the matrix of reported values
// with the qualifiers' colours and comments; "Long", the long table itself;
// "Calibration", each isotope's line, limits and acceptance; "QC", the
// checks of the run with their verdicts; "Method", the method in words and
// the inputs with their SHA-256. Numbers are numbers, as the files write
// them: six significant digits, so that every sheet and file agree.
class RunWorkbook
{
public:
    static const QStringList SHEETS;

    // inputs and options as the run's report takes them; data is the export
    // as read. Whole or not at all: a failure names the file.
    static Status write(const QString &fileName, const QVector<RunInputs::File> &inputs,
        const RunOptions &options, const Measurements &data, const RunOutcome &outcome);
};

#endif
