// High-resolution exports of any content.
#include "FuzzChecks.h"

#include "parsers/ParserInHRElementCSV.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    ParserInHRElementCSV parser;
    // A first line that looks like an isotope line counts as one, without values.
    fuzzInstrumentRead(&parser, bytes, size, 1);
    return 0;
}
