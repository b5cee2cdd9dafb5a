#ifndef KETRION_BLANKSUBTRACTION_H
#define KETRION_BLANKSUBTRACTION_H

#include <QVector>

class Measurements;

// Takes a blank's intensities off every solution, the blank itself included.
class BlankSubtraction
{
public:
    // Values of exactly 0.0 stay; the isotopes in keep (the internal
    // standards), and those the blank did not measure, are left alone.
    // Nothing for a blank of -1.
    static void subtract(Measurements *data, int blank, const QVector<int> &keep);
};

#endif
