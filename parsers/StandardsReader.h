#ifndef KETRION_STANDARDSREADER_H
#define KETRION_STANDARDSREADER_H

#include "model/Status.h"

class ExpectedConcentrations;
class Measurements;
class QIODevice;
class QStringList;
class SampleSheet;

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
    // Then, for each MS and MSD of the sheet, its spike's column: the header
    // cell that is the spike's name, trimmed, the last of two; its cells the
    // concentration the spike added, per element. sheetFileName names the
    // sheet in the message of a column the file lacks.
    static Status readSpikes(QIODevice *file, const Measurements &data, const SampleSheet &sheet,
        const QString &sheetFileName, ExpectedConcentrations *expected);
};

#endif
