// Quadrupole exports of any content.
#include "FuzzChecks.h"

#include "parsers/ParserInAgilentCSV.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    ParserInAgilentCSV parser;
    fuzzInstrumentRead(&parser, bytes, size, 0);
    return 0;
}
