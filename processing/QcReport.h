#ifndef KETRION_QCREPORT_H
#define KETRION_QCREPORT_H

#include <QStringList>
#include <QVector>

class Measurements;

// Every expected value of every QC solution, against what the run found.
struct QcReport
{
    enum class Verdict { Pass, Outside, NotMeasured, NoCalibration };
    // "pass", "outside", "not measured", "no calibration", as reports say it.
    static QString verdictText(Verdict verdict);

    struct Check
    {
        int solution; // position in the export
        int isotope;
        double expected;
        double expectedError; // percent
        double found;
        double foundRsd; // percent
        Verdict verdict;
    };

    QVector<Check> checks; // QC solutions in file order, then isotopes

    int failureCount() const;
    // One text per failed value: "QC_1 : 59Co MR ", or with the reason the
    // value could not be checked, "QC_1 : 56Fe MR (not measured)".
    QStringList failureLines(const Measurements &data) const;
};

#endif
