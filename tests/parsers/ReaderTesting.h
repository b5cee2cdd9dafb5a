#ifndef KETRION_READERTESTING_H
#define KETRION_READERTESTING_H

#include "model/Data.h"

#include <QBuffer>
#include <QList>
#include <QStringList>

// Small helpers shared by the reader tests.
namespace ReaderTesting {

// Runs the data set's reader over the bytes, as if they were a file.
inline ParseResult read(QByteArray bytes, Data &data)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return data.executeParsing(&buffer, nullptr);
}

inline QStringList solutionNames(Data &data)
{
    QStringList names;
    for (int s = 0; s < data.solutionSize(); ++s)
        names << data.getSolution(s)->getName();
    return names;
}

// One value of every solution, solution after solution, over all the
// solution's isotope slots.
inline QList<double> values(Data &data, double (Solution::*get)(int) const)
{
    QList<double> all;
    for (int s = 0; s < data.solutionSize(); ++s) {
        const Solution *solution = data.getSolution(s);
        for (int i = 0; i < solution->getNbrElement(); ++i)
            all << (solution->*get)(i);
    }
    return all;
}

// Intensities of the first solution: what a rejected read left behind.
inline QList<double> firstSolutionCps(Data &data)
{
    QList<double> cps;
    for (int i = 0; data.solutionSize() > 0 && i < data.isoSize(); ++i)
        cps << data.getSolution(0)->getCps(i);
    return cps;
}

// The messages both instrument readers share.
inline QString formatError(const QString &what, const QString &instrument)
{
    return QStringLiteral("Input file format error: ") + what
        + QStringLiteral(" (instrument set to '") + instrument + QStringLiteral("')");
}

inline QString countMismatch(const QString &isotope, const QString &instrument)
{
    return QStringLiteral("Input file format error:\n\nFor the element '") + isotope
        + QStringLiteral("': values number detected do not match with solutions number "
                         "(instrument set to '")
        + instrument + QStringLiteral("')");
}

} // namespace ReaderTesting

#endif
