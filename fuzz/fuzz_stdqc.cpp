// Standards files of any content against a fixed export: no crash, no hang,
// and concentrations only for standards and QC solutions, finite numbers.
#include "FuzzChecks.h"

#include "model/ExpectedConcentrations.h"
#include "model/Measurements.h"
#include "parsers/StandardsReader.h"

#include <QLocale>
#include <QtNumeric>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const Measurements *measured = &exampleExport();
    QLocale::setDefault(QLocale::c());
    // A refused file must leave what the run had.
    ExpectedConcentrations expected(1, 1);
    expected.set(0, 0, 7.0, 3.0);
    FuzzBytes file(bytes, size);
    const Status read = StandardsReader::read(file.device(), *measured, &expected);

    fuzzCheck(!read.message().isEmpty(), "every read says something");
    if (!read.ok()) {
        fuzzCheck(expected.solutionCount() == 1 && expected.value(0, 0) == 7.0
                && expected.error(0, 0) == 3.0,
            "a refused file changes nothing");
        return 0;
    }
    fuzzCheck(read.message() == QLatin1String("Concentrations Introduced"), "success summary");
    fuzzCheck(expected.solutionCount() == measured->solutionCount(), "a row per solution");
    for (int s = 0; s < measured->solutionCount(); ++s) {
        const Solution::Type type = measured->solution(s).type();
        const bool known = type == Solution::Standard || type == Solution::QualityControl;
        for (int i = 0; i < measured->isotopeCount(); ++i) {
            fuzzCheck(qIsFinite(expected.value(s, i)) && qIsFinite(expected.error(s, i)),
                "concentrations are finite numbers");
            fuzzCheck(known || (expected.value(s, i) == 0.0 && expected.error(s, i) == 0.0),
                "blanks and samples get no concentration");
        }
    }
    return 0;
}
