#ifndef KETRION_HIGHRESOLUTIONREADER_H
#define KETRION_HIGHRESOLUTIONREADER_H

#include "parsers/InstrumentReader.h"
#include "parsers/NumberReader.h"

// Reads the semicolon-separated export of a high-resolution ICP-MS: the
// solution names on the first line, then one line per isotope labelled like
// "Fe56(MR)" with an intensity and an RSD (percent) per solution.
class HighResolutionReader : public InstrumentReader
{
public:
    static const QString ICP_MS_NAME;
    static const QString NOT_DEFINED_TAG;

    QString instrument() const override { return ICP_MS_NAME; }
    Status read(QIODevice *file, Measurements *data) const override;

private:
    // One isotope line, after the solutions were added.
    Status readLine(
        std::string_view line, int lineNumber, int nSolutions, Measurements *data) const;

    NumberReader m_numbers { NOT_DEFINED_TAG };
};

#endif
