// Standards files of any content against a fixed measured data set: no crash,
// no hang, and nothing changed but the known concentrations of standards and QC.
#include "FuzzChecks.h"

#include "model/Data.h"
#include "parsers/ParserInHRElementCSV.h"
#include "parsers/ParserInSTDQC.h"

#include <QFile>
#include <QLocale>
#include <QtNumeric>

static ParserInSTDQC standardsParser;
static Data *measured = nullptr;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static ParserInHRElementCSV instrumentParser;
    measured = new Data(&instrumentParser);
    QFile file(QStringLiteral(KETRION_SOURCE_DIR "/examples/hr_export.csv"));
    fuzzCheck(file.open(QIODevice::ReadOnly), "example export opens");
    fuzzCheck(measured->executeParsing(&file, nullptr).code == 0, "example export reads");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    QLocale::setDefault(QLocale::c());
    Data data(&standardsParser);
    data.copyData(measured);
    const ParseResult result = readFuzzBytes(&data, bytes, size);

    fuzzCheck(result.code == 0 || result.code == 1, "result code is 0 or 1");
    fuzzCheck(result.code == 1 || result.message == QLatin1String("Concentrations Introduced"),
        "success summary");
    fuzzCheck(!result.message.isEmpty(), "every read says something");
    fuzzCheck(
        data.solutionSize() == measured->solutionSize() && data.isoSize() == measured->isoSize(),
        "no solution or isotope added");
    for (int s = 0; s < data.solutionSize(); ++s) {
        const Solution *after = data.getSolution(s);
        const Solution *before = measured->getSolution(s);
        fuzzCheck(after->getName() == before->getName() && after->getType() == before->getType(),
            "solutions keep name and type");
        const bool known = after->getType() == Solution::STD || after->getType() == Solution::QC;
        for (int i = 0; i < data.isoSize(); ++i) {
            fuzzCheck(
                after->getCps(i) == before->getCps(i) && after->getCpsSD(i) == before->getCpsSD(i),
                "intensities untouched");
            fuzzCheck(qIsFinite(after->getConcent(i)) && qIsFinite(after->getConcentRSD(i)),
                "concentrations are finite numbers");
            fuzzCheck(known || (after->getConcent(i) == 0.0 && after->getConcentRSD(i) == 0.0),
                "blanks and samples get no concentration");
        }
    }
    return 0;
}
