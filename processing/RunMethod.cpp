#include "processing/RunMethod.h"

#include "model/Measurements.h"
#include "parsers/RunOptionTable.h"
#include "processing/ProcessingRun.h"
#include "processing/RunOutcome.h"

RunOptions RunMethod::of(
    const RunOptions &options, const Measurements &data, const RunOutcome &outcome)
{
    RunOptions method = options;
    for (int g = 0; g < Isotope::GROUP_COUNT; ++g) {
        if (options.internalStandard && method.groups[g].isotope.isEmpty()
            && outcome.standards[g] != -1)
            method.groups[g].isotope = data.isotope(outcome.standards[g]).typedName();
    }
    if (options.blankMode != RunOptions::BlankMode::None && method.blank.isEmpty())
        method.blank = ProcessingRun::blankChoices(data).value(0);
    return method;
}

QStringList RunMethod::lines(const RunOptions &method, const RunOutcome &outcome)
{
    QStringList lines;
    for (const RunOptionTable::Row &row : RunOptionTable::rows()) {
        if (row.describeQc)
            lines << row.describeQc(method, outcome.runQc.applies, outcome.runQc.batchApplies);
        else if (row.describe)
            lines << row.describe(method);
    }
    return lines;
}
