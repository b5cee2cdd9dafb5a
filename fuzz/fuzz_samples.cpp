// Sample sheets of any content against a fixed export: no crash, no hang, a
// refused sheet changes nothing, and an accepted one holds finite factors
// above 0, roles only on solutions whose type may play them, a parent only
// for a duplicate or spike (another sample or QC solution) and a spike only
// for a spike.
#include "FuzzChecks.h"

#include "model/Measurements.h"
#include "model/SampleSheet.h"
#include "parsers/SampleSheetReader.h"

#include <QLocale>

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const Measurements *measured = &exampleExport();
    QLocale::setDefault(QLocale::c());
    SampleSheet sheet(1);
    sheet.set(0, 7.0, SampleSheet::Unit::MilligramsPerKilogram, { 1.0, 0.5, 3.5 });
    sheet.setRole(0, QcRole::LLCCV);
    sheet.setPreparation(0, 1, QStringLiteral("SPK"));
    FuzzBytes file(bytes, size);
    const Status read
        = SampleSheetReader::read(file.device(), QStringLiteral("sheet.csv"), *measured, &sheet);

    if (!read.ok()) {
        fuzzCheck(read.message().startsWith(QLatin1String("Sample sheet sheet.csv")),
            "a refusal names the file");
        fuzzCheck(sheet.factor(0) == 7.0
                && sheet.unit(0) == SampleSheet::Unit::MilligramsPerKilogram
                && sheet.factor(1) == 1.0 && sheet.role(0) == QcRole::LLCCV && sheet.parent(0) == 1
                && sheet.spike(0) == QLatin1String("SPK"),
            "a refused sheet changes nothing");
        return 0;
    }
    for (int s = 0; s < measured->solutionCount(); ++s) {
        fuzzCheck(std::isfinite(sheet.factor(s)) && sheet.factor(s) > 0.0,
            "factors are finite and above 0");
        fuzzCheck(QcRole::suits(sheet.role(s), measured->solution(s).type()),
            "a role only where the type may play it");
        const int parent = sheet.parent(s);
        fuzzCheck(QcRole::hasParent(sheet.role(s))
                ? parent >= 0 && parent < measured->solutionCount() && parent != s
                    && (measured->solution(parent).type() == Solution::Sample
                        || measured->solution(parent).type() == Solution::QualityControl)
                : parent == -1,
            "a parent for a duplicate or spike only, another sample or QC solution");
        fuzzCheck(QcRole::isSpiked(sheet.role(s)) != sheet.spike(s).isEmpty(),
            "a spike for a spike only");
    }
    fuzzCheck(sheet.factor(measured->solutionCount()) == 1.0
            && sheet.role(measured->solutionCount()) == QcRole::None,
        "solutions beyond the export keep 1 and no role");
    return 0;
}
