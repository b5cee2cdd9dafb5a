#ifndef KETRION_SOLUTION_H
#define KETRION_SOLUTION_H

#include <QBitArray>
#include <QSharedPointer>
#include <QString>
#include <QVector>

// One measured solution with four per-isotope value lists. Copies share the
// lists: a value set through one copy is seen by all of them.
class Solution
{
public:
    enum Type { SAMPLE = 0, STD = 1, BLK = 2, QC = 3 };

    static const QString ZERO_STD_NAME;

    Solution(const QString &name, int nbrElement, Type type);

    QString getName() const { return name; }
    int getNbrElement() const { return nbrElement; }
    Type getType() const { return type; }

    double getCps(int i) const { return cps->at(i); }
    double getCpsSD(int i) const { return cpsSD->at(i); }
    double getConcent(int i) const { return concent->at(i); }
    double getConcentRSD(int i) const { return concentRSD->at(i); }
    double getCpsRSD(int i) const;

    // Whether the instrument gave value i. Until marked otherwise, a value is
    // measured when its intensity is not 0.0; marks outlive later corrections,
    // which may bring a measured intensity to 0.0.
    bool isMeasured(int i) const
    {
        return measured->isEmpty() ? cps->at(i) != 0.0 : measured->testBit(i);
    }
    void setMeasured(int i, bool on);

    void setCps(int i, double v) { (*cps)[i] = v; }
    void setCpsSD(int i, double v) { (*cpsSD)[i] = v; }
    void setConcent(int i, double v) { (*concent)[i] = v; }
    void setConcentRSD(int i, double v) { (*concentRSD)[i] = v; }

    // A new solution sharing this one's value lists under another name and type.
    Solution copy(const QString &name, Type type) const;

private:
    using ValueList = QSharedPointer<QVector<double>>;

    ValueList cps;
    ValueList cpsSD;
    ValueList concent;
    ValueList concentRSD;
    QSharedPointer<QBitArray> measured;
    QString name;
    int nbrElement;
    Type type;
};

#endif
