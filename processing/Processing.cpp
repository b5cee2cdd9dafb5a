#include "processing/Processing.h"

#include "model/Data.h"
#include "processing/Trace.h"

#include <QTextStream>

#include <cmath>
#include <limits>

const bool Processing::DEBUG = true;

namespace {

bool inGroup(Element::Resolution resol, Element::Resolution group)
{
    if (group == Element::LR)
        return resol == Element::LR || resol == Element::NOT_DEFINED;
    return resol == group;
}

} // namespace

Processing::Processing() = default;

QString Processing::weightingName(Weighting weighting)
{
    switch (weighting) {
    case Weighting::InverseX:
        return QStringLiteral("1/x");
    case Weighting::InverseXSquared:
        return QStringLiteral("1/x") + QChar(0x00B2);
    case Weighting::None:
        break;
    }
    return QStringLiteral("None");
}

bool Processing::hasLine(int i) const
{
    return lines.at(i).slope > Data::ZERO;
}

void Processing::init(int n)
{
    weighting = Weighting::None;
    lines.clear();
    squareR.clear();
    loq.clear();
    lod.clear();
    for (int i = 0; i < n; ++i) {
        lines.append(Regline { 0.0, 0.0, 0.0, 0.0 });
        squareR.append(0.0);
        loq.append(0.0);
        lod.append(0.0);
    }
}

double Processing::avr(QVector<double> v)
{
    double sum = 0.0;
    for (double x : v)
        sum += x;
    return sum / v.size();
}

double Processing::max(QVector<double> v)
{
    double result = 0.0;
    for (double x : v) {
        if (x > result)
            result = x;
    }
    return result;
}

double Processing::min(QVector<double> v)
{
    if (v.isEmpty())
        return 0.0;
    double result = v.first();
    for (double x : v) {
        if (x < result)
            result = x;
    }
    return result;
}

QPair<double, double> Processing::stat(QVector<double> v)
{
    const double mean = avr(v);
    double sum = 0.0;
    for (double x : v)
        sum += (x - mean) * (x - mean);
    return qMakePair(mean, std::sqrt(sum / v.size()));
}

bool Processing::isValid(double x)
{
    return !std::isnan(x) && !(std::fabs(x) > std::numeric_limits<double>::max());
}

void Processing::correctionIS(
    Data *data, int refSolution, int isIsotope, Element::Resolution resolution)
{
    if (refSolution == -1 || isIsotope == -1)
        return;
    const double reference = data->getSolution(refSolution)->getCps(isIsotope);
    // The group's isotopes once, not per solution: a large run spent its time here.
    QVector<int> members;
    for (int i = 0; i < data->isoSize(); ++i) {
        if (inGroup(data->getIso(i).getResol(), resolution))
            members.append(i);
    }
    for (int s = 0; s < data->solutionSize(); ++s) {
        Solution *solution = data->getSolution(s);
        const double y = solution->getCps(isIsotope);
        if (y == 0.0)
            continue;
        // The reference's own factor is 1, so reading its IS value once is safe.
        const double factor = reference / y;
        for (const int i : qAsConst(members)) {
            const double c = solution->getCps(i);
            if (c != 0.0)
                solution->setCps(i, c * factor);
        }
    }
}

void Processing::subtructBlank(
    Data *data, int blankSolution, bool withStandards, QList<int> keepIsotopes)
{
    if (blankSolution == -1)
        return;
    for (int i = 0; i < data->isoSize(); ++i) {
        if (keepIsotopes.contains(i))
            continue;
        // Read before the loop: the blank itself is visited and becomes zero.
        const double b = data->getSolution(blankSolution)->getCps(i);
        for (int s = 0; s < data->solutionSize(); ++s) {
            Solution *solution = data->getSolution(s);
            if (!withStandards && solution->getType() == Solution::STD)
                continue;
            const double c = solution->getCps(i);
            if (c != 0.0)
                solution->setCps(i, c - b);
        }
    }
}

void Processing::computeLine(Data *data, int iso)
{
    QVector<double> x;
    QVector<double> y;
    for (int s = 0; s < data->solutionSize(); ++s) {
        const Solution *solution = data->getSolution(s);
        if (solution->getType() != Solution::STD)
            continue;
        const double c = solution->getConcent(iso);
        const double cps = solution->getCps(iso);
        // The zero standard's concentration is 0.0 by definition.
        if (solution->isMeasured(iso)
            && (c != 0.0 || solution->getName() == Solution::ZERO_STD_NAME)) {
            x.append(c);
            y.append(cps);
        }
    }
    if (weighting != Weighting::None) {
        fitWeighted(data, iso, x, y);
        return;
    }

    const int n = x.size();
    const double xMean = avr(x);
    const double yMean = avr(y);
    double sxy = 0.0;
    double sxx = 0.0;
    double syy = 0.0;
    for (int k = 0; k < n; ++k) {
        sxy += (y.at(k) - yMean) * (x.at(k) - xMean);
        sxx += (x.at(k) - xMean) * (x.at(k) - xMean);
        syy += (y.at(k) - yMean) * (y.at(k) - yMean);
    }
    storeLine(data, iso, x, y, {}, Sums { xMean, yMean, sxx, sxy, syy });
}

void Processing::fitWeighted(
    Data *data, int iso, const QVector<double> &x, const QVector<double> &y)
{
    const int n = x.size();
    const auto rawWeight
        = [this](double c) { return weighting == Weighting::InverseX ? 1.0 / c : 1.0 / (c * c); };
    // The zero standard would weigh infinitely: it counts as much as the
    // lowest standard.
    double lowest = 0.0;
    for (const double c : x) {
        if (c != 0.0 && (lowest == 0.0 || c < lowest))
            lowest = c;
    }
    QVector<double> w(n);
    double total = 0.0;
    for (int k = 0; k < n; ++k) {
        w[k] = rawWeight(x.at(k) != 0.0 ? x.at(k) : lowest);
        total += w.at(k);
    }
    // Scaled to sum to n, so that n - 2 stays the degrees of freedom.
    Sums sums;
    for (int k = 0; k < n; ++k) {
        w[k] *= n / total;
        sums.xMean += w.at(k) * x.at(k);
        sums.yMean += w.at(k) * y.at(k);
    }
    sums.xMean /= n;
    sums.yMean /= n;
    for (int k = 0; k < n; ++k) {
        const double dx = x.at(k) - sums.xMean;
        const double dy = y.at(k) - sums.yMean;
        sums.sxy += w.at(k) * dx * dy;
        sums.sxx += w.at(k) * dx * dx;
        sums.syy += w.at(k) * dy * dy;
    }
    storeLine(data, iso, x, y, w, sums);
}

void Processing::storeLine(Data *data, int iso, const QVector<double> &x, const QVector<double> &y,
    const QVector<double> &w, const Sums &sums)
{
    const double slope = sums.sxy / sums.sxx;
    if (!isValid(slope))
        return;

    Regline &line = lines[iso];
    line.slope = slope;
    line.yIntercept = sums.yMean - sums.xMean * slope;

    const int n = x.size();
    double ssRes = 0.0;
    for (int k = 0; k < n; ++k) {
        const double residual = y.at(k) - (line.slope * x.at(k) + line.yIntercept);
        ssRes += w.isEmpty() ? residual * residual : w.at(k) * residual * residual;
    }
    if (!isValid(ssRes / sums.syy))
        return;

    squareR[iso] = 1.0 - ssRes / sums.syy;
    const double s2 = (sums.syy - slope * slope * sums.sxx) / (n - 2.0);
    line.slopeVariance = s2 / sums.sxx;
    line.yInterceptVariance = (1.0 / n + sums.xMean * sums.xMean / sums.sxx) * s2;
    traceLine(data, iso);
}

void Processing::traceLine(const Data *data, int iso)
{
    if (!DEBUG)
        return;
    QTextStream &out = Trace::stream();
    out.setRealNumberNotation(QTextStream::FixedNotation);
    out.setRealNumberPrecision(8);
    out << data->getIso(iso).getName() << ": slope = " << lines.at(iso).slope
        << ", y-intercept =  " << lines.at(iso).yIntercept << ", r2 = " << squareR.at(iso) << '\n';
    out.flush();
}

void Processing::calibration(Data *data, QList<int> skipIsotopes)
{
    for (int i = 0; i < data->isoSize(); ++i) {
        if (!skipIsotopes.contains(i))
            computeLine(data, i);
    }
}

void Processing::computeConcent(
    Data *result, Data *source, int blankSolution, int refSolution, int *isIsotopes)
{
    QVector<int> groups(source->isoSize());
    for (int i = 0; i < source->isoSize(); ++i)
        groups[i] = result->getIso(i).group();

    for (int s = 0; s < source->solutionSize(); ++s) {
        const Solution *measured = source->getSolution(s);
        Solution *treated = result->getSolution(s);
        if (treated->getType() == Solution::STD)
            continue;

        double a[3] = { 0.0, 0.0, 0.0 };
        double b[3] = { 0.0, 0.0, 0.0 };
        double alpha[3] = { 1.0, 1.0, 1.0 };
        if (refSolution != -1) {
            const Solution *reference = source->getSolution(refSolution);
            for (int k = 0; k < 3; ++k) {
                const int j = isIsotopes[k];
                if (j == -1)
                    continue;
                a[k] = computeIsRSD_s(measured->getCpsSD(j), measured->getCps(j));
                b[k] = computeIsRSD_s(reference->getCpsSD(j), reference->getCps(j));
                alpha[k] = computeAlpha(reference->getCps(j), measured->getCps(j));
            }
        }

        for (int i = 0; i < source->isoSize(); ++i) {
            // Without a usable line a copied expected value would pass for a
            // result; without an intensity the line's intercept alone would.
            if (!hasLine(i) || !treated->isMeasured(i)) {
                treated->setConcent(i, 0.0);
                treated->setConcentRSD(i, 0.0);
                continue;
            }
            const Regline &line = lines.at(i);
            const int g = groups.at(i);
            const double y = measured->getCps(i);
            const double sy = measured->getCpsSD(i);
            treated->setConcent(i, (treated->getCps(i) - line.yIntercept) / line.slope);

            const bool withIS = refSolution != -1 && isIsotopes[g] != -1;
            double q;
            if (blankSolution != -1) {
                const Solution *blank = source->getSolution(blankSolution);
                const double yb = blank->getCps(i);
                const double syb = blank->getCpsSD(i);
                q = withIS ? concentRSD_blank_IS_s(y, sy, line, yb, syb, a[g], b[g], alpha[g])
                           : concentRSD_blank_s(y, sy, line, yb, syb);
            } else {
                q = withIS ? concentRSD_y_intercept_IS_s(y, sy, line, a[g], b[g], alpha[g])
                           : concentRSD_y_intercept_s(y, sy, line);
            }
            q += computeSlopeRsdS(line);
            treated->setConcentRSD(i, 100.0 * std::sqrt(q));
        }
    }
}

double Processing::computeAlpha(double p, double q)
{
    return p / q;
}

double Processing::computeIsRSD_s(double p, double q)
{
    return (p / q) * (p / q);
}

double Processing::computeSlopeRsdS(const Regline &line)
{
    return line.slopeVariance / (line.slope * line.slope);
}

double Processing::concentRSD_y_intercept_s(double y, double sy, const Regline &line)
{
    const double signal = y - line.yIntercept;
    return (sy * sy + line.yInterceptVariance) / (signal * signal);
}

double Processing::concentRSD_blank_s(
    double y, double sy, const Regline &line, double yb, double syb)
{
    const double signal = y - yb - line.yIntercept;
    return (sy * sy + syb * syb + line.yInterceptVariance) / (signal * signal);
}

double Processing::concentRSD_y_intercept_IS_s(
    double y, double sy, const Regline &line, double a, double b, double alpha)
{
    const double corrected = alpha * y;
    const double signal = corrected - line.yIntercept;
    return (((sy / y) * (sy / y) + a + b) * corrected * corrected + line.yInterceptVariance)
        / (signal * signal);
}

double Processing::concentRSD_blank_IS_s(double y, double sy, const Regline &line, double yb,
    double syb, double a, double b, double alpha)
{
    const double net = y - yb;
    const double corrected = alpha * net;
    const double signal = corrected - line.yIntercept;
    return (((sy * sy + syb * syb) / (net * net) + a + b) * corrected * corrected
               + line.yInterceptVariance)
        / (signal * signal);
}

void Processing::computeLimits(Data *data, QList<int> blanks)
{
    if (blanks.isEmpty())
        return;
    for (int i = 0; i < data->isoSize(); ++i) {
        // A blank that did not measure the isotope has no concentration to spread.
        QVector<double> v;
        for (int s : blanks) {
            const Solution *blank = data->getSolution(s);
            if (blank->isMeasured(i))
                v.append(blank->getConcent(i));
        }
        if (v.isEmpty()) {
            lod[i] = 0.0;
            loq[i] = 0.0;
            continue;
        }
        const double mean = avr(v);
        double sum = 0.0;
        for (double c : v)
            sum += (c - mean) * (c - mean);
        const double sigma = std::sqrt(sum / v.size());
        lod[i] = 3.0 * sigma;
        loq[i] = 10.0 * sigma;
    }
}

QCResult Processing::passQC(Data *expected, Data *computed)
{
    QCResult result;
    for (int s = 0; s < expected->solutionSize(); ++s) {
        const Solution *qc = expected->getSolution(s);
        if (qc->getType() != Solution::QC)
            continue;
        const Solution *measured = computed->getSolution(s);
        for (int i = 0; i < expected->isoSize(); ++i) {
            const double cE = qc->getConcent(i);
            const double rE = qc->getConcentRSD(i);
            const double cC = measured->getConcent(i);
            const double rC = measured->getConcentRSD(i);
            if (cE == 0.0)
                continue;
            // A value that could not be checked is no pass.
            QString reason;
            if (!hasLine(i))
                reason = QStringLiteral("no calibration");
            else if (!measured->isMeasured(i))
                reason = QStringLiteral("not measured");
            else if (cC == 0.0)
                continue;
            if (!reason.isEmpty()) {
                result.failed = 1;
                result.messages.append(
                    QStringLiteral("%1 : %2 (%3)")
                        .arg(qc->getName(), expected->getIso(i).getName().trimmed(), reason));
                continue;
            }
            const double eC = rC * cC / 100.0;
            const double eE = rE * cE / 100.0;
            const double loC = cC - eC;
            const double hiC = cC + eC;
            const double loE = cE - eE;
            const double hiE = cE + eE;
            const bool pass = (loC <= loE && loE <= hiC) || (loC <= hiE && hiE <= hiC)
                || (loE <= loC && hiC <= hiE);
            if (!pass) {
                result.failed = 1;
                result.messages.append(
                    QStringLiteral("%1 : %2").arg(qc->getName(), expected->getIso(i).getName()));
            }
        }
    }
    return result;
}

RecoveryResult Processing::checkRecovery(
    const Data *data, int refSolution, const QList<int> &isIsotopes, int low, int high)
{
    RecoveryResult result;
    result.low = low;
    result.high = high;
    const Solution *reference = data->getSolution(refSolution);
    QVector<int> isotopes;
    for (const int iso : isIsotopes) {
        if (reference->isMeasured(iso))
            isotopes.append(iso);
    }
    for (int s = 0; s < data->solutionSize(); ++s) {
        if (s == refSolution)
            continue;
        const Solution *solution = data->getSolution(s);
        for (const int iso : qAsConst(isotopes)) {
            ++result.checked;
            if (!solution->isMeasured(iso)) {
                result.outside.append({ s, iso, false, 0.0 });
                continue;
            }
            const double percent = recovery(solution->getCps(iso), reference->getCps(iso));
            if (!recoveryInside(percent, low, high))
                result.outside.append({ s, iso, true, percent });
        }
    }
    return result;
}
