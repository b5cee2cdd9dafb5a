#ifndef KETRION_PARSEROUT_H
#define KETRION_PARSEROUT_H

#include "parsers/Parser.h"

#include <QByteArray>

// What the results writers share: their number format, and a file written
// whole from memory or reported as failed.
class ParserOut : public Parser
{
public:
    ~ParserOut() override;

    // Code 0 with "Done", or code 1 with the device's error text when a write
    // failed, or when the engine holds no limits for some isotope.
    ParseResult parse(QIODevice *file, Data *data, Processing *processing) final;

    // A number as QTextStream writes a double by default: six significant
    // digits in general notation, exact ties rounded away from zero, "nan",
    // "inf", and 0 for a negative zero.
    static void appendNumber(QByteArray &out, double value);

protected:
    // The whole file; the engine holds limits for every isotope of data.
    virtual QByteArray format(const Data &data, const Processing &processing) const = 0;
};

#endif
