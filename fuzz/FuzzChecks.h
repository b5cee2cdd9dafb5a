#ifndef KETRION_FUZZCHECKS_H
#define KETRION_FUZZCHECKS_H

#include <cstddef>
#include <cstdint>

class QIODevice;
class Data;
class Parser;
struct ParseResult;

// A failed check aborts, so libFuzzer keeps the input that broke it.
void fuzzCheck(bool condition, const char *what);

// Reads the bytes with an instrument reader into an empty data set and checks
// what every read must leave behind, accepted or rejected: a known code with a
// message, and a data set whose value lists cover every isotope (with at most
// `extraSlots` slots more) and hold finite numbers only.
void fuzzInstrumentRead(Parser *parser, const uint8_t *bytes, size_t size, int extraSlots);

// Reads the fuzz bytes, which end without a NUL, through `data`'s parser.
ParseResult readFuzzBytes(Data *data, const uint8_t *bytes, size_t size);

#endif
