#include "bench/SyntheticExport.h"

#include <QRandomGenerator>
#include <QSaveFile>
#include <QSet>
#include <QStringList>
#include <QTextStream>

#include <cmath>

namespace {

const char *const SYMBOLS[] = { "Li", "Be", "B", "Na", "Mg", "Al", "Si", "P", "S", "K", "Ca", "Sc",
    "Ti", "V", "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn", "Ga", "Ge", "As", "Se", "Rb", "Sr", "Y",
    "Zr", "Nb", "Mo", "Ru", "Rh", "Pd", "Ag", "Cd", "In", "Sn", "Sb", "Te", "Cs", "Ba", "La", "Ce",
    "Pr", "Nd", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W", "Re",
    "Os", "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Th", "U" };
constexpr int SYMBOL_COUNT = sizeof(SYMBOLS) / sizeof(SYMBOLS[0]);

const double STANDARDS[] = { 0.1, 0.5, 1.0, 5.0, 10.0 };
const double QC_VALUES[] = { 2.0, 0.8 };
constexpr int LEADING_BLANKS = 3;
constexpr int FAMILY = 20; // samples between two blanks

const char *const RESOLUTIONS[] = { "LR", "MR", "HR" };

QString number(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

SyntheticExport::SyntheticExport(Instrument instrument, int solutions, int isotopes)
    : instrument(instrument), solutions(solutions), isotopes(isotopes)
{ }

// Three blanks, STD_1..5 (first replicate), QC_A, QC_B, then families of
// samples each led by a blank; the last seven are STD_1..5 and the QC again.
QString SyntheticExport::solutionName(int s) const
{
    const int head = LEADING_BLANKS + 7;
    if (s < LEADING_BLANKS)
        return QStringLiteral("BLK_%1").arg(s + 1);
    if (s < LEADING_BLANKS + 5)
        return QStringLiteral("STD_%1_1").arg(s - LEADING_BLANKS + 1);
    if (s < head)
        return QStringLiteral("QC_%1_1").arg(s == head - 2 ? 'A' : 'B');
    if (s >= solutions - 7 && solutions - 7 >= head) {
        const int k = s - (solutions - 7);
        return k < 5 ? QStringLiteral("STD_%1_2").arg(k + 1)
                     : QStringLiteral("QC_%1_2").arg(k == 5 ? 'A' : 'B');
    }
    const int sample = s - head;
    if (sample % (FAMILY + 1) == 0)
        return QStringLiteral("BLK_%1").arg(LEADING_BLANKS + 1 + sample / (FAMILY + 1));
    return QStringLiteral("Sample_%1").arg(s + 1, 5, 10, QLatin1Char('0'));
}

double SyntheticExport::concentration(int s, int i) const
{
    const QString name = solutionName(s);
    if (name.startsWith(QLatin1String("BLK")))
        return 0.0;
    if (name.startsWith(QLatin1String("STD")))
        return STANDARDS[name.mid(4, 1).toInt() - 1];
    if (name.startsWith(QLatin1String("QC")))
        return QC_VALUES[name.at(3) == QLatin1Char('A') ? 0 : 1];
    // Samples spread over three decades, different for every isotope.
    return 0.05 * std::pow(10.0, ((s * 7919 + i * 104729) % 1000) / 333.0);
}

// Mass numbers grow with the isotope index so that every label is its own.
QString SyntheticExport::isotopeCell(int i) const
{
    QString symbol = QLatin1String(SYMBOLS[i % SYMBOL_COUNT]);
    const int mass = 1 + i % 999;
    if (instrument == HighResolution)
        return QStringLiteral("%1%2(%3)")
            .arg(symbol)
            .arg(mass)
            .arg(QLatin1String(RESOLUTIONS[i % 3]));
    return QStringLiteral("%1 / %2 [#%3]").arg(symbol).arg(mass).arg(1 + (i / SYMBOL_COUNT) % 9);
}

// The name the standards file gives in its first cell.
QString SyntheticExport::elementName(int i) const
{
    QString symbol = QLatin1String(SYMBOLS[i % SYMBOL_COUNT]);
    if (instrument == HighResolution)
        return symbol;
    return QStringLiteral("%1 #%2").arg(symbol).arg(1 + (i / SYMBOL_COUNT) % 9);
}

bool SyntheticExport::write(
    const QString &exportFile, const QString &stdqcFile, QString *error) const
{
    return writeExport(exportFile, error) && writeStandards(stdqcFile, error);
}

bool SyntheticExport::writeExport(const QString &exportFile, QString *error) const
{
    QRandomGenerator noise(20240314);

    QSaveFile data(exportFile);
    if (!data.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *error = data.errorString();
        return false;
    }
    QTextStream out(&data);
    if (instrument == Quadrupole)
        out << "Quantitative Analysis - Raw Data Report;\n\nSample:";
    for (int s = 0; s < solutions; ++s)
        out << ';' << solutionName(s) << ';';
    out << '\n';
    out << (instrument == Quadrupole ? "Element / Mass [Tune Step]" : "Isotope");
    for (int s = 0; s < solutions; ++s)
        out << (instrument == Quadrupole ? ";CPS;CPS RSD" : ";Intensity (cps);RSD (%)");
    out << '\n';
    for (int i = 0; i < isotopes; ++i) {
        const double background = 20.0 + 5.0 * (i % 13);
        const double sensitivity = 1000.0 + 97.0 * (i % 211);
        out << isotopeCell(i);
        for (int s = 0; s < solutions; ++s) {
            const double rsd = 0.5 + 4.0 * noise.generateDouble();
            const double signal = background + sensitivity * concentration(s, i);
            const double cps = signal * (1.0 + (noise.generateDouble() - 0.5) * rsd / 50.0);
            out << ';' << number(cps) << ';' << number(rsd);
            if (instrument == Quadrupole)
                out << '%';
        }
        out << ";\n";
    }
    out.flush();
    if (!data.commit()) {
        *error = data.errorString();
        return false;
    }
    return true;
}

bool SyntheticExport::writeStandards(const QString &stdqcFile, QString *error) const
{
    QSaveFile stdqc(stdqcFile);
    if (!stdqc.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *error = stdqc.errorString();
        return false;
    }
    QTextStream std(&stdqc);
    // The quadrupole file repeats the bare symbol so that every row is recognised.
    const bool symbolColumn = instrument == Quadrupole;
    std << "Element" << (symbolColumn ? ";Symbol" : "")
        << ";STD_1;;STD_2;;STD_3;;STD_4;;STD_5;;QC_A;;QC_B;\n";
    QSet<QString> written;
    for (int i = 0; i < isotopes; ++i) {
        const QString element = elementName(i);
        if (written.contains(element))
            continue;
        written.insert(element);
        std << element;
        if (symbolColumn)
            std << ';' << SYMBOLS[i % SYMBOL_COUNT];
        for (double c : STANDARDS)
            std << ';' << number(c) << ";2";
        std << ';' << number(QC_VALUES[0]) << ";10;" << number(QC_VALUES[1]) << ";10;\n";
    }
    std.flush();
    if (!stdqc.commit()) {
        *error = stdqc.errorString();
        return false;
    }
    return true;
}
