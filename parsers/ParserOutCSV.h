#ifndef KETRION_PARSEROUTCSV_H
#define KETRION_PARSEROUTCSV_H

#include "parsers/ParserOut.h"

// Writes a processed data set with its limits as a semicolon-separated results file.
class ParserOutCSV : public ParserOut
{
public:
    ~ParserOutCSV() override;

protected:
    QByteArray format(const Data &data, const Processing &processing) const override;
};

#endif
