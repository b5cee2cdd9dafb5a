#ifndef KETRION_QCRESULT_H
#define KETRION_QCRESULT_H

#include <QStringList>

// Outcome of the QC check: failure flag and one text per failed (solution, isotope) pair.
struct QCResult
{
    int failed = 0;
    QStringList messages;
};

#endif
