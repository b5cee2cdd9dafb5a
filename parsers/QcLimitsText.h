#ifndef KETRION_QCLIMITSTEXT_H
#define KETRION_QCLIMITSTEXT_H

#include "model/QcLimits.h"
#include "parsers/RunOptionTable.h"

#include <QString>

// The run QC's limits as one text of KEY=VALUE items joined by commas, as
// --qc-limits takes them and a method file stores them:
// "ICV=90-110,CCV=90-110,LLCCV=70-130,ICB=0.5,CCB=1,EVERY=10".
class QcLimitsText
{
public:
    // Every limit, in the keys' order, with every digit it takes to read it
    // back the same.
    static QString format(const QcLimits &limits);
    // Sets the limits the items name and leaves the others. A value that is
    // no plain number (a sign, an exponent) is set out of every range, for
    // QcLimits::problem() to refuse. The reason, naming where (the option or
    // the member), when an item is empty, a key unknown or given twice.
    static QString parse(const QString &text, const QString &where, QcLimits *limits);

    // The option's row of the table.
    static RunOptionTable::Row row();
};

#endif
