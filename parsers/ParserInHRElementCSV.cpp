#include "parsers/ParserInHRElementCSV.h"

#include "model/Data.h"
#include "parsers/TextFile.h"

#include <QRegularExpression>
#include <QVector>

const QString ParserInHRElementCSV::ICP_MS_NAME = QStringLiteral("HR-ICP-MS");
const QString ParserInHRElementCSV::NOT_DEFINED_TAG = QStringLiteral("not def.");

ParserInHRElementCSV::~ParserInHRElementCSV() = default;

QString ParserInHRElementCSV::getNotDefinedTag() const
{
    return NOT_DEFINED_TAG;
}

static Element::Resolution resolution(const QString &text)
{
    if (text == QLatin1String("HR"))
        return Element::HR;
    if (text == QLatin1String("MR"))
        return Element::MR;
    return Element::LR;
}

ParseResult ParserInHRElementCSV::parse(QIODevice *file, Data *data, Processing *)
{
    const QString noElement = formatError(QStringLiteral("no element detected"), ICP_MS_NAME);

    data->clear();
    const TextFile text(file);
    if (!text.isText())
        return ParseResult { 1, noElement };
    const QStringList &lines = text.lines();

    // The first line counts too: when it looks like an isotope line it still
    // names the solutions, which then get one slot more than isotopes read.
    const QRegularExpression isotopeLine(QStringLiteral("[A-Z][a-z]?\\d{1,3}\\((LR|MR|HR)\\);"));
    QVector<int> isotopeRows;
    for (int row = 0; row < lines.size(); ++row) {
        if (isotopeLine.match(lines.at(row)).hasMatch())
            isotopeRows.append(row);
    }
    const int nIsotopes = isotopeRows.size();
    if (nIsotopes == 0)
        return ParseResult { 1, noElement };

    const QStringList names = lines.first().split(QLatin1Char(';'), Qt::SkipEmptyParts);
    const int nSolutions = names.size();
    if (nSolutions == 0)
        return ParseResult { 1, formatError(QStringLiteral("no solution detected"), ICP_MS_NAME) };
    for (const QString &name : names)
        data->addSolution(Solution(name, nIsotopes, classify(name)));

    const QRegularExpression symbolPattern(QStringLiteral("[A-Z][a-z]?"));
    const QRegularExpression massPattern(QStringLiteral("\\d{1,3}"));
    const QRegularExpression resolutionPattern(QStringLiteral("(LR|MR|HR)"));
    QVector<double> cps(nSolutions);
    QVector<double> rsd(nSolutions);
    int parsedSolutions = 0;

    for (const int row : qAsConst(isotopeRows)) {
        if (row == 0)
            continue;
        const QVector<QStringRef> cells
            = lines.at(row).splitRef(QLatin1Char(';'), Qt::SkipEmptyParts);
        const QString label = cells.first().toString();
        const QRegularExpressionMatch massMatch = massPattern.match(label);
        const int iso = data->addIso(Element(symbolPattern.match(label).captured(),
            massMatch.hasMatch() ? massMatch.captured().toInt() : 0,
            resolution(resolutionPattern.match(label).captured())));

        QVector<QStringRef> values;
        values.reserve(cells.size() - 1);
        for (int c = 1; c < cells.size(); ++c) {
            // Same test as searching "(\d+(.\d+)?)|(not def.)": an ASCII digit, or
            // "not def" followed by any character (cells never hold a line break).
            const QStringRef &cell = cells.at(c);
            if (containsDigit(cell)
                || cell.left(cell.size() - 1).contains(QLatin1String("not def")))
                values.append(cell);
        }
        if (values.size() != 2 * nSolutions)
            return ParseResult { 1, countMismatch(data->getIso(iso).getName(), ICP_MS_NAME) };

        // The whole line is read before any value is stored, so a rejected line
        // leaves its isotope at zero like every other rejected line.
        for (int k = 0; k < nSolutions; ++k) {
            bool ok = false;
            cps[k] = toDouble(values.at(2 * k), &ok);
            if (!ok)
                return ParseResult { 1, numberError(row + 1, values.at(2 * k).toString()) };
            rsd[k] = toDouble(values.at(2 * k + 1), &ok);
            if (!ok)
                return ParseResult { 1, numberError(row + 1, values.at(2 * k + 1).toString()) };
        }
        for (int k = 0; k < nSolutions; ++k) {
            Solution *solution = data->getSolution(k);
            solution->setCps(iso, cps.at(k));
            solution->setCpsSD(iso, rsd.at(k) * cps.at(k) / 100.0);
        }
        parsedSolutions = nSolutions;
    }

    return ParseResult { 0, summary(nIsotopes, parsedSolutions) };
}
