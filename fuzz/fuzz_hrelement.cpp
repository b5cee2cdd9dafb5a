// High-resolution exports of any content.
#include "FuzzChecks.h"

#include "parsers/HighResolutionReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    // A first line that looks like an isotope line counts as one, without values.
    fuzzInstrumentRead(HighResolutionReader(), bytes, size, 1);
    return 0;
}
