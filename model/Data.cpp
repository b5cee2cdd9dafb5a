#include "model/Data.h"

#include "parsers/Parser.h"

#include <QSet>
#include <QVector>

const QString Data::ALL_AVG = QStringLiteral("BLK_Avg_All");
const QString Data::FIRST_SEQ_AVG = QStringLiteral("BLK_Avg_First_Seq");

Data::Data(Parser *parser) : parser(parser) { }

ParseResult Data::executeParsing(QIODevice *file, Processing *processing)
{
    return parser->parse(file, this, processing);
}

int Data::addIso(const Element &e)
{
    const int position = isos.size();
    isos.append(e);
    switch (e.getResol()) {
    case Element::HR:
        hrIndexes.append(position);
        break;
    case Element::MR:
        mrIndexes.append(position);
        break;
    case Element::LR:
    case Element::NOT_DEFINED:
        lrIndexes.append(position);
        break;
    }
    return position;
}

int Data::addSolution(const Solution &s)
{
    const int position = solutions.size();
    solutions.append(s);
    if (s.getType() == Solution::BLK)
        blkIndexes.append(position);
    return position;
}

QList<int> Data::firstBlankRun() const
{
    QList<int> run;
    int s = 0;
    while (s < solutions.size() && solutions.at(s).getType() != Solution::BLK)
        ++s;
    while (s < solutions.size() && solutions.at(s).getType() == Solution::BLK)
        run.append(s++);
    return run;
}

QStringList Data::solutionNames() const
{
    QStringList names;
    for (const Solution &s : solutions)
        names.append(s.getName());
    return names;
}

QStringList Data::referenceNames() const
{
    QStringList names;
    for (const Solution &s : solutions) {
        if (s.getName() != ALL_AVG && s.getName() != FIRST_SEQ_AVG)
            names.append(s.getName());
    }
    return names;
}

QStringList Data::blankNames() const
{
    QStringList names;
    for (const int s : blkIndexes)
        names.append(solutions.at(s).getName());
    return names;
}

QStringList Data::isotopeNames() const
{
    QStringList names;
    for (const Element &e : isos)
        names.append(e.getName());
    return names;
}

QStringList Data::isotopeNames(const QList<int> &positions) const
{
    QStringList names;
    for (const int i : positions)
        names.append(isos.at(i).getName());
    return names;
}

int Data::containsSolution(const QString &name) const
{
    for (int s = 0; s < solutions.size(); ++s) {
        if (solutions.at(s).getName() == name)
            return s;
    }
    return -1;
}

void Data::addBLKmoy(const QList<int> &blanks, const QString &name)
{
    if (blanks.size() < 2)
        return;
    const int nIsos = isoSize();
    addSolution(Solution(name, nIsos, Solution::BLK));
    Solution &average = solutions.last();

    // Each listed solution counts once, in position order; positions naming no
    // solution are ignored.
    const QSet<int> listed(blanks.cbegin(), blanks.cend());
    QVector<int> members;
    for (int s = 0; s < solutions.size(); ++s) {
        if (listed.contains(s))
            members.append(s);
    }
    for (int i = 0; i < nIsos; ++i) {
        double sum = 0.0;
        double maxSD = 0.0;
        int count = 0;
        for (const int s : qAsConst(members)) {
            const Solution &blank = solutions.at(s);
            if (!blank.isMeasured(i))
                continue;
            sum += blank.getCps(i);
            if (blank.getCpsSD(i) > maxSD)
                maxSD = blank.getCpsSD(i);
            ++count;
        }
        average.setCps(i, count == 0 ? 0.0 : sum / count);
        average.setCpsSD(i, maxSD);
        average.setMeasured(i, count > 0);
    }
}

void Data::markMissingIS(const int *groupIS)
{
    for (Solution &solution : solutions) {
        bool missing[3];
        for (int k = 0; k < 3; ++k)
            missing[k] = groupIS[k] != -1 && !solution.isMeasured(groupIS[k]);
        if (!missing[0] && !missing[1] && !missing[2])
            continue;
        for (int i = 0; i < isos.size(); ++i) {
            if (missing[isos.at(i).group()])
                solution.setMeasured(i, false);
        }
    }
}

void Data::clear()
{
    isos.clear();
    solutions.clear();
    blkIndexes.clear();
    lrIndexes.clear();
    mrIndexes.clear();
    hrIndexes.clear();
}

void Data::copyData(const Data *source)
{
    if (source == this)
        return;
    clear();
    for (const Element &e : source->isos)
        addIso(Element(e.getElement(), e.getMasse(), e.getResol()));
    const int nIsos = source->isoSize();
    for (const Solution &from : source->solutions) {
        Solution to(from.getName(), from.getNbrElement(), from.getType());
        const int n = qMin(nIsos, from.getNbrElement());
        for (int i = 0; i < n; ++i) {
            to.setCps(i, from.getCps(i));
            to.setCpsSD(i, from.getCpsSD(i));
            to.setConcent(i, from.getConcent(i));
            to.setConcentRSD(i, from.getConcentRSD(i));
            to.setMeasured(i, from.isMeasured(i));
        }
        addSolution(to);
    }
}
