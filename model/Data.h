#ifndef KETRION_DATA_H
#define KETRION_DATA_H

#include "model/Element.h"
#include "model/Solution.h"
#include "parsers/ParseResult.h"

#include <QList>
#include <QString>
#include <QStringList>

class Parser;
class Processing;
class QIODevice;

// One data set: isotopes and solutions in file order, with the blank list and
// the three resolution groups, and the reader or writer that fills or writes it.
class Data
{
public:
    static const QString ALL_AVG;
    static const QString FIRST_SEQ_AVG;
    static constexpr double ZERO = 1e-14;

    explicit Data(Parser *parser = nullptr);

    void loadParser(Parser *parser) { this->parser = parser; }
    Parser *getParser() const { return parser; }
    ParseResult executeParsing(QIODevice *file, Processing *processing);

    int addIso(const Element &e);
    int addSolution(const Solution &s);
    Element getIso(int i) const { return isos.at(i); }
    Solution *getSolution(int i) { return &solutions[i]; }
    const Solution *getSolution(int i) const { return &solutions.at(i); }
    int isoSize() const { return isos.size(); }
    int solutionSize() const { return solutions.size(); }

    int mapBLK(int k) const { return map(blkIndexes, k); }
    int mapLR(int k) const { return map(lrIndexes, k); }
    int mapMR(int k) const { return map(mrIndexes, k); }
    int mapHR(int k) const { return map(hrIndexes, k); }
    QList<int> getBlkIndexes() const { return blkIndexes; }
    QList<int> getLrIndexes() const { return lrIndexes; }
    QList<int> getMrIndexes() const { return mrIndexes; }
    QList<int> getHrIndexes() const { return hrIndexes; }

    // Positions of the first run of consecutive blanks, in file order.
    QList<int> firstBlankRun() const;

    // Names in the order the window's lists and boxes show them, so that a
    // position in one of those lists is a position here.
    QStringList solutionNames() const;
    // Solutions an internal standard can refer to: all but the two average blanks.
    QStringList referenceNames() const;
    QStringList blankNames() const;
    QStringList isotopeNames() const;
    QStringList isotopeNames(const QList<int> &positions) const;

    int containsSolution(const QString &name) const;
    // In every solution whose internal standard of a group was not measured,
    // marks the group's values not measured too: they cannot be corrected.
    // groupIS holds the IS isotope of each group corrected, HR, MR, LR; -1 none.
    void markMissingIS(const int *groupIS);
    // An average over the listed blanks that measured each isotope; an isotope
    // none of them measured is 0.0 and not measured.
    void addBLKmoy(const QList<int> &blanks, const QString &name);
    void clear();
    // An independent copy, with each value marked measured or not as in source.
    void copyData(const Data *source);

private:
    static int map(const QList<int> &indexes, int k) { return k == -1 ? -1 : indexes.at(k); }

    QList<Element> isos;
    QList<Solution> solutions;
    QList<int> blkIndexes;
    QList<int> lrIndexes;
    QList<int> mrIndexes;
    QList<int> hrIndexes;
    Parser *parser;
};

#endif
