#ifndef KETRION_STANDARDSREADER_H
#define KETRION_STANDARDSREADER_H

#include "model/Status.h"

class ExpectedConcentrations;
class Measurements;
class QIODevice;

// Reads the user's file of known concentrations for the standards and QC
// solutions of an export. The header line names the solutions per column
// (concentration, then its error in percent); each later row starts with an
// element name.
class StandardsReader
{
public:
    // Fills expected for data's solutions and isotopes; a refused file leaves
    // it as it was.
    static Status read(QIODevice *file, const Measurements &data, ExpectedConcentrations *expected);
};

#endif
