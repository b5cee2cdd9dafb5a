#ifndef KETRION_PROCESSING_H
#define KETRION_PROCESSING_H

#include "model/Element.h"
#include "model/Regline.h"
#include "processing/QCResult.h"
#include "processing/RecoveryResult.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QVector>

class Data;

// The processing engine: per-isotope calibration lines, r2 and limits, the
// corrections, concentrations with uncertainties and the QC check.
class Processing
{
public:
    static const bool DEBUG;

    // How the points of a calibration line count in its fit.
    enum class Weighting { None, InverseX, InverseXSquared };
    // "None", "1/x" or "1/x²", as the window and the trace show it.
    static QString weightingName(Weighting weighting);

    Processing();

    // Sizes the engine for n isotopes with no results, and unweighted lines.
    void init(int n);
    void setWeighting(Weighting weighting) { this->weighting = weighting; }
    Weighting getWeighting() const { return weighting; }
    Regline getLine(int i) const { return lines.at(i); }
    // Whether isotope i has a line that can turn an intensity into a concentration.
    bool hasLine(int i) const;
    double getSquareR(int i) const { return squareR.at(i); }
    double getLOD(int i) const { return lod.at(i); }
    double getLOQ(int i) const { return loq.at(i); }
    int size() const { return lines.size(); }

    static double avr(QVector<double> v);
    static double max(QVector<double> v);
    static double min(QVector<double> v);
    // (mean, population standard deviation)
    static QPair<double, double> stat(QVector<double> v);
    static bool isValid(double x);

    void subtructBlank(Data *data, int blankSolution, bool withStandards, QList<int> keepIsotopes);
    void correctionIS(Data *data, int refSolution, int isIsotope, Element::Resolution resolution);

    void computeLine(Data *data, int iso);
    void calibration(Data *data, QList<int> skipIsotopes);

    void computeConcent(
        Data *result, Data *source, int blankSolution, int refSolution, int *isIsotopes);
    static double computeAlpha(double p, double q);
    static double computeIsRSD_s(double p, double q);
    static double computeSlopeRsdS(const Regline &line);
    static double concentRSD_y_intercept_s(double y, double sy, const Regline &line);
    static double concentRSD_blank_s(
        double y, double sy, const Regline &line, double yb, double syb);
    static double concentRSD_y_intercept_IS_s(
        double y, double sy, const Regline &line, double a, double b, double alpha);
    static double concentRSD_blank_IS_s(double y, double sy, const Regline &line, double yb,
        double syb, double a, double b, double alpha);

    void computeLimits(Data *data, QList<int> blanks);

    QCResult passQC(Data *expected, Data *computed);

    // An IS value in percent of the reference solution's.
    static double recovery(double value, double reference) { return 100.0 * value / reference; }
    static bool recoveryInside(double percent, int low, int high)
    {
        return low <= percent && percent <= high;
    }
    // Every solution but the reference against it, for each IS isotope
    // listed, on the values as read. A solution without the IS value counts
    // as outside; an isotope the reference lacks is not checked.
    static RecoveryResult checkRecovery(
        const Data *data, int refSolution, const QList<int> &isIsotopes, int low, int high);

private:
    // Weighted means and sums of squares of a fit; unweighted ones for no weighting.
    struct Sums
    {
        double xMean = 0.0;
        double yMean = 0.0;
        double sxx = 0.0;
        double sxy = 0.0;
        double syy = 0.0;
    };

    void fitWeighted(Data *data, int iso, const QVector<double> &x, const QVector<double> &y);
    // Writes the line of the sums, and its r2 and variances where they can
    // be computed; no weights, w empty, for the ordinary line.
    void storeLine(Data *data, int iso, const QVector<double> &x, const QVector<double> &y,
        const QVector<double> &w, const Sums &sums);
    void traceLine(const Data *data, int iso);

    Weighting weighting = Weighting::None;
    QList<Regline> lines;
    QList<double> squareR;
    QList<double> loq;
    QList<double> lod;
};

#endif
