#ifndef KETRION_PARSERESULT_H
#define KETRION_PARSERESULT_H

#include <QString>

// Outcome of one read or write: code 0 handled, 1 rejected, with a message for the user.
struct ParseResult
{
    int code = 0;
    QString message;
};

#endif
