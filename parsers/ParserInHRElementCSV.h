#ifndef KETRION_PARSERINHRELEMENTCSV_H
#define KETRION_PARSERINHRELEMENTCSV_H

#include "parsers/InputParser.h"
#include "parsers/Parser.h"

// Reads the semicolon-separated export of a high-resolution ICP-MS: the
// solution names on the first line, then one line per isotope labelled like
// "Fe56(MR)" with an intensity and an RSD (percent) per solution.
class ParserInHRElementCSV : public Parser, private InputParser
{
public:
    static const QString ICP_MS_NAME;
    static const QString NOT_DEFINED_TAG;

    ~ParserInHRElementCSV() override;
    ParseResult parse(QIODevice *file, Data *data, Processing *processing) override;
    QString getNotDefinedTag() const override;
};

#endif
