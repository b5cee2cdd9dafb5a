#ifndef KETRION_SYNTHETICEXPORT_H
#define KETRION_SYNTHETICEXPORT_H

#include <QString>

// Writes an instrument export and its standards-and-QC file of a chosen size,
// laid out like a real run: blanks first and between sample families, five
// standards twice, two QC solutions, samples; intensities from a linear
// response with noise. The same size always gives the same files.
class SyntheticExport
{
public:
    enum Instrument { HighResolution, Quadrupole };

    SyntheticExport(Instrument instrument, int solutions, int isotopes);

    // False with the file error in *error when a file cannot be written.
    bool write(const QString &exportFile, const QString &stdqcFile, QString *error) const;

private:
    bool writeExport(const QString &exportFile, QString *error) const;
    bool writeStandards(const QString &stdqcFile, QString *error) const;
    QString solutionName(int s) const;
    QString isotopeCell(int i) const;
    QString elementName(int i) const;
    // Concentration in ppb of solution s for isotope i, 0 for a blank.
    double concentration(int s, int i) const;

    Instrument instrument;
    int solutions;
    int isotopes;
};

#endif
