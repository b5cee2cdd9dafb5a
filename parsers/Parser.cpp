#include "parsers/Parser.h"

const QString Parser::ID_BLK = QStringLiteral("BLK_");
const QString Parser::ID_STD = QStringLiteral("STD_");
const QString Parser::ID_QC = QStringLiteral("QC_");

Parser::~Parser() = default;

Solution::Type Parser::classify(const QString &name)
{
    // The tags hold no pattern characters, so a plain case-sensitive search is the same test.
    if (name.contains(ID_BLK))
        return Solution::BLK;
    if (name.contains(ID_STD))
        return Solution::STD;
    if (name.contains(ID_QC))
        return Solution::QC;
    return Solution::SAMPLE;
}
