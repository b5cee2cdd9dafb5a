#ifndef KETRION_PARSEROUTLONGCSV_H
#define KETRION_PARSEROUTLONGCSV_H

#include "parsers/ParserOut.h"

// Writes the results as a long table for R or pandas: comma-separated UTF-8,
// one row per solution and isotope, the limits on every row and, in place of
// the results file's "<LOQ" and empty cells, a flag beside the numbers.
class ParserOutLongCSV : public ParserOut
{
public:
    ~ParserOutLongCSV() override;

protected:
    QByteArray format(const Data &data, const Processing &processing) const override;
};

#endif
