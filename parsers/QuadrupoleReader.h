#ifndef KETRION_QUADRUPOLEREADER_H
#define KETRION_QUADRUPOLEREADER_H

#include "parsers/InstrumentReader.h"
#include "parsers/NumberReader.h"

// Reads the semicolon-separated export of a quadrupole ICP-MS: a "Sample:"
// line with the solution names, then one line per isotope with an intensity
// and an RSD (percent) per solution.
class QuadrupoleReader : public InstrumentReader
{
public:
    static const QString ICP_MS_NAME;
    static const QString NOT_DEFINED_TAG;

    QString instrument() const override { return ICP_MS_NAME; }
    Status read(QIODevice *file, Measurements *data) const override;

private:
    // One isotope line, after the solutions were added.
    Status readLine(
        std::string_view line, int lineNumber, const QStringList &names, Measurements *data) const;
    // NumberReader::readAtOnce() for an intensity or an RSD cell.
    bool readAtOnce(std::string_view cell, bool deviation, double *value) const;
    // An RSD cell, with or without its "%".
    double readDeviation(std::string_view cell, bool *ok) const;

    NumberReader m_numbers { NOT_DEFINED_TAG };
};

#endif
