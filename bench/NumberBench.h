#ifndef KETRION_NUMBERBENCH_H
#define KETRION_NUMBERBENCH_H

// Nanoseconds per number written as the results files write them, and read
// as the readers read an export's line: cut into its cells and each parsed;
// std::from_chars over the same cells, already cut, as a yardstick. Medians
// over a million numbers.
struct NumberBench
{
    double writeNs = 0;
    double readNs = 0;
    double fromCharsNs = 0;

    static NumberBench measure();
};

#endif
