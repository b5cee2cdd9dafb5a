#ifndef KETRION_RUNQCSECTION_H
#define KETRION_RUNQCSECTION_H

class Measurements;
class ReportPages;
struct RunQcReport;

// The run report's sections of the run's own QC: "Run QC", each check and
// isotope with what it found against what it must, its verdict and the gaps
// between checks; then "To rerun", the results a finding takes down; and
// "Batch QC", each QC preparation and isotope with the values it compares,
// its figure, limit and verdict.
class RunQcSection
{
public:
    static void draw(ReportPages &pages, const RunQcReport &runQc, const Measurements &data);

private:
    static void drawChecks(ReportPages &pages, const RunQcReport &runQc, const Measurements &data);
    static void drawReruns(ReportPages &pages, const RunQcReport &runQc, const Measurements &data);
    static void drawBatch(ReportPages &pages, const RunQcReport &runQc, const Measurements &data);
};

#endif
