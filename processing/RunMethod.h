#ifndef KETRION_RUNMETHOD_H
#define KETRION_RUNMETHOD_H

#include "model/RunOptions.h"

#include <QStringList>

class Measurements;
struct RunOutcome;

// The method a run followed, as its report and its workbook name it.
namespace RunMethod {

// The options with the names the run took for those left empty (the first
// isotope of a group, the first blank); data is the export as read.
RunOptions of(const RunOptions &options, const Measurements &data, const RunOutcome &outcome);
// The method in words, one line per option as RunOptionTable describes it;
// the QC's limits only of the QC that applied in the run.
QStringList lines(const RunOptions &method, const RunOutcome &outcome);

} // namespace RunMethod

#endif
