#ifndef KETRION_PARSERINAGILENTCSV_H
#define KETRION_PARSERINAGILENTCSV_H

#include "parsers/InputParser.h"
#include "parsers/Parser.h"

// Reads the semicolon-separated export of a quadrupole ICP-MS: a "Sample:"
// line with the solution names, then one line per isotope with an intensity
// and an RSD (percent) per solution.
class ParserInAgilentCSV : public Parser, private InputParser
{
public:
    static const QString ICP_MS_NAME;
    static const QString NOT_DEFINED_TAG;

    ~ParserInAgilentCSV() override;
    ParseResult parse(QIODevice *file, Data *data, Processing *processing) override;
    QString getNotDefinedTag() const override;
};

#endif
