#ifndef KETRION_FUZZCHECKS_H
#define KETRION_FUZZCHECKS_H

#include "model/Status.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>

class InstrumentReader;
class Measurements;

// A failed check aborts, so libFuzzer keeps the input that broke it.
void fuzzCheck(bool condition, const char *what);

// Reads the bytes with an instrument reader into an empty data set and checks
// what every read must leave behind, accepted or rejected: a message, and a
// data set whose value lists cover every isotope (with at most `extraSlots`
// slots more) and hold finite numbers only.
void fuzzInstrumentRead(
    const InstrumentReader &reader, const uint8_t *bytes, size_t size, int extraSlots);

// The high-resolution example export, read once.
const Measurements &exampleExport();

// The fuzz bytes, which end without a NUL, as a device open for reading.
class FuzzBytes
{
public:
    FuzzBytes(const uint8_t *bytes, size_t size);
    QIODevice *device() { return &m_buffer; }

private:
    QByteArray m_bytes;
    QBuffer m_buffer;
};

#endif
