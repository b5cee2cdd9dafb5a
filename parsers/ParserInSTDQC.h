#ifndef KETRION_PARSERINSTDQC_H
#define KETRION_PARSERINSTDQC_H

#include "parsers/InputParser.h"
#include "parsers/Parser.h"

// Reads the user's file of known concentrations into the standards and QC
// solutions of a data set already filled by an instrument reader. The header
// line names the solutions per column (concentration, then its error in
// percent); each later row starts with an element name.
class ParserInSTDQC : public Parser, private InputParser
{
public:
    ~ParserInSTDQC() override;
    ParseResult parse(QIODevice *file, Data *data, Processing *processing) override;
    QString getNotDefinedTag() const override;
};

#endif
