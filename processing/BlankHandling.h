#ifndef KETRION_BLANKHANDLING_H
#define KETRION_BLANKHANDLING_H

class Measurements;
struct RunOutcome;
struct RunPlan;

// The blank step of a run on its working set: the average blanks added, and
// the chosen blank subtracted or made the zero standard.
class BlankHandling
{
public:
    // data is the export as read; returns the values the uncertainties of the
    // corrected intensities come from: the export, with the average blanks
    // when one of them is subtracted.
    static Measurements apply(const Measurements &data, const RunPlan &plan, RunOutcome *outcome);

private:
    static void subtract(const RunPlan &plan, RunOutcome *outcome);
    static void addZeroStandard(const RunPlan &plan, RunOutcome *outcome);
    // A blank without its IS cannot be corrected: nothing of its group is subtracted.
    static void traceBlankWithoutStandard(
        const Measurements &working, int blank, RunOutcome *outcome);
};

#endif
