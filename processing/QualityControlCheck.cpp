#include "processing/QualityControlCheck.h"

#include "model/Calibration.h"
#include "model/ExpectedConcentrations.h"
#include "model/Measurements.h"
#include "model/Results.h"

QcReport QualityControlCheck::check(const Measurements &working,
    const ExpectedConcentrations &expected, const Results &results, const Calibration &calibration)
{
    QcReport report;
    for (int s = 0; s < expected.solutionCount(); ++s) {
        const Solution &qc = working.solution(s);
        if (qc.type() != Solution::QualityControl)
            continue;
        for (int i = 0; i < working.isotopeCount(); ++i) {
            const double cE = expected.value(s, i);
            if (cE == 0.0)
                continue;
            QcReport::Check check { s, i, cE, expected.error(s, i), results.concentration(s, i),
                results.rsd(s, i), QcReport::Verdict::Pass };
            // A value that could not be checked is no pass.
            if (!calibration.hasLine(i))
                check.verdict = QcReport::Verdict::NoCalibration;
            else if (!qc.isMeasured(i))
                check.verdict = QcReport::Verdict::NotMeasured;
            else if (check.found != 0.0
                && !intervalsMeet(check.found, check.foundRsd, cE, check.expectedError))
                check.verdict = QcReport::Verdict::Outside;
            report.checks.append(check);
        }
    }
    return report;
}

bool QualityControlCheck::intervalsMeet(double found, double rsd, double expected, double error)
{
    const double eC = rsd * found / 100.0;
    const double eE = error * expected / 100.0;
    const double loC = found - eC;
    const double hiC = found + eC;
    const double loE = expected - eE;
    const double hiE = expected + eE;
    return (loC <= loE && loE <= hiC) || (loC <= hiE && hiE <= hiC) || (loE <= loC && hiC <= hiE);
}
