// Quadrupole exports of any content.
#include "FuzzChecks.h"

#include "parsers/QuadrupoleReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    fuzzInstrumentRead(QuadrupoleReader(), bytes, size, 0);
    return 0;
}
