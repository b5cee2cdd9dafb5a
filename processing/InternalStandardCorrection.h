#ifndef KETRION_INTERNALSTANDARDCORRECTION_H
#define KETRION_INTERNALSTANDARDCORRECTION_H

#include "model/Isotope.h"

class Measurements;
class QString;

// Brings each solution's intensities of a resolution group to the reference
// solution's level of the group's internal standard.
class InternalStandardCorrection
{
public:
    // Multiplies every measured value of the group by reference IS / solution
    // IS; a solution without its IS value is left as it is. Nothing for a
    // reference or an isotope of -1.
    static void correct(Measurements *data, int reference, int isotope, Isotope::Resolution group);
};

#endif
