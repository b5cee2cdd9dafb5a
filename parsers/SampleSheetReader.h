#ifndef KETRION_SAMPLESHEETREADER_H
#define KETRION_SAMPLESHEETREADER_H

#include "model/Status.h"

class Measurements;
class QIODevice;
class SampleSheet;
class QString;

// Reads a lab's sample sheet: a header row naming the columns solution,
// dilution, mass_g, volume_ml, role, parent and spike in any order and case,
// separated by tabs, semicolons or commas (the first of these the header
// holds), then one row per solution of the export. Whether the standards file
// has a spike's column is the standards reader's to say.
class SampleSheetReader
{
public:
    // Fills sheet for data's solutions; a refused sheet leaves it as it was.
    // Messages call the file fileName and name its line and column.
    static Status read(
        QIODevice *file, const QString &fileName, const Measurements &data, SampleSheet *sheet);
};

#endif
