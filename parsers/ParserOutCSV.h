#ifndef KETRION_PARSEROUTCSV_H
#define KETRION_PARSEROUTCSV_H

#include "parsers/Parser.h"

// Writes a processed data set with its limits as a semicolon-separated results file.
class ParserOutCSV : public Parser
{
public:
    ~ParserOutCSV() override;

    // Code 0 with "Done", or code 1 with the device's error text when a write failed.
    ParseResult parse(QIODevice *file, Data *data, Processing *processing) override;
};

#endif
