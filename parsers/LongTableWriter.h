#ifndef KETRION_LONGTABLEWRITER_H
#define KETRION_LONGTABLEWRITER_H

#include <QByteArray>

struct Calibration;
class Measurements;
class QIODevice;
class ReportedResults;
class Results;

// The results as a long table for R or pandas: comma-separated UTF-8, one
// row per solution and isotope, the limits on every row and, in place of the
// results file's "<LOQ" and empty cells, a qualifier beside the numbers;
// then the values as reported for the sample given, and the run and batch
// QC's findings when either applied.
class LongTableWriter
{
public:
    static QByteArray format(const Measurements &working, const Calibration &calibration,
        const Results &results, const ReportedResults &reported);
    // The same, a block of rows at a time into the device; false when a block
    // could not be written.
    static bool write(QIODevice *device, const Measurements &working,
        const Calibration &calibration, const Results &results, const ReportedResults &reported);
};

#endif
