#ifndef KETRION_READERTESTING_H
#define KETRION_READERTESTING_H

#include "model/Data.h"
#include "parsers/Parser.h"

#include <QBuffer>
#include <QFile>
#include <QtTest>

// Helpers shared by the reader tests.
namespace ReaderTesting {

using DoubleList = QList<double>;

// A file of tests/data as the window reads it, in text mode.
inline QByteArray dataFile(const QString &name)
{
    QFile file(QStringLiteral(TEST_DATA_DIR "/") + name);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? file.readAll() : QByteArray();
}

inline ParseResult read(QByteArray bytes, Data &data)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return data.executeParsing(&buffer, nullptr);
}

// One value of every solution, solution after solution, over all its isotope slots.
inline DoubleList values(const Data &data, double (Solution::*get)(int) const)
{
    DoubleList all;
    for (int s = 0; s < data.solutionSize(); ++s) {
        const Solution *solution = data.getSolution(s);
        for (int i = 0; i < solution->getNbrElement(); ++i)
            all << (solution->*get)(i);
    }
    return all;
}

inline QString parsed(int isotopes, int solutions)
{
    return QStringLiteral("Parsed Elements %1\n\nParsed Solutions %2").arg(isotopes).arg(solutions);
}

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

// The table both instrument readers are checked with.
inline void addInstrumentColumns()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("solutions");
    QTest::addColumn<QStringList>("isotopes");
    // Solution after solution, as values() lists them, so their length also
    // tells the slots per solution; after a rejection, what it left.
    QTest::addColumn<DoubleList>("cps");
    QTest::addColumn<DoubleList>("cpsSD");
}

// A file refused before any solution was made.
inline void addWholeRejection(const char *name, const QByteArray &file, const QString &message)
{
    QTest::newRow(name) << file << 1 << message << QStringList() << QStringList() << DoubleList()
                        << DoubleList();
}

// Reads the row's file over a data set that still holds an earlier run, which
// must leave no trace, success or not.
inline void checkInstrumentRead(Parser &reader)
{
    QFETCH(QByteArray, file);
    QFETCH(int, code);
    QFETCH(QString, message);
    QFETCH(QStringList, solutions);
    QFETCH(QStringList, isotopes);
    QFETCH(DoubleList, cps);
    QFETCH(DoubleList, cpsSD);

    Data data(&reader);
    data.addIso(Element(QStringLiteral("Old"), 1, Element::LR));
    data.addSolution(Solution(QStringLiteral("STD_old"), 1, Solution::STD));
    const ParseResult result = read(file, data);
    QCOMPARE(result.message, message);
    QCOMPARE(result.code, code);

    QStringList names;
    for (int s = 0; s < data.solutionSize(); ++s) {
        names << data.getSolution(s)->getName();
        QCOMPARE(data.getSolution(s)->getType(), Parser::classify(names.last()));
    }
    QCOMPARE(names, solutions);
    QStringList isotopeNames;
    for (int i = 0; i < data.isoSize(); ++i)
        isotopeNames << data.getIso(i).getName();
    QCOMPARE(isotopeNames, isotopes);
    QCOMPARE(values(data, &Solution::getCps), cps);
    QCOMPARE(values(data, &Solution::getCpsSD), cpsSD);
}

} // namespace ReaderTesting

#endif
