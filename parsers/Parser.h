#ifndef KETRION_PARSER_H
#define KETRION_PARSER_H

#include "model/Solution.h"
#include "parsers/ParseResult.h"

#include <QString>

class Data;
class Processing;
class QIODevice;

// Common interface of every file reader and writer.
class Parser
{
public:
    static const QString ID_BLK;
    static const QString ID_STD;
    static const QString ID_QC;

    virtual ~Parser();
    virtual ParseResult parse(QIODevice *file, Data *data, Processing *processing) = 0;

    // Solution type from the tags in its name, blank first, then standard, then QC.
    static Solution::Type classify(const QString &name);
};

#endif
