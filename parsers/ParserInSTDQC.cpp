#include "parsers/ParserInSTDQC.h"

#include "model/Data.h"
#include "parsers/TextFile.h"

#include <QHash>
#include <QRegularExpression>
#include <QVector>

ParserInSTDQC::~ParserInSTDQC() = default;

QString ParserInSTDQC::getNotDefinedTag() const
{
    return QString();
}

// A header cell is pattern text typed by the user. The match limit keeps a
// pattern such as "(a+)+" from backtracking for seconds on every solution; a
// match cut off by the limit counts as no match.
static QRegularExpression headerPattern(const QString &header)
{
    QRegularExpression pattern(
        QStringLiteral("(*LIMIT_MATCH=100000)^") + header + QStringLiteral("(_?\\d+)?$"));
    pattern.optimize();
    return pattern;
}

ParseResult ParserInSTDQC::parse(QIODevice *file, Data *data, Processing *)
{
    const TextFile text(file);
    if (!text.isText())
        return ParseResult { 1,
            QStringLiteral("Input file format error: the standards file holds no text") };
    const QStringList &lines = text.lines();

    const QStringList headers
        = lines.isEmpty() ? QStringList(QString()) : lines.first().split(QLatin1Char(';'));
    QVector<QRegularExpression> columns;
    columns.reserve(headers.size());
    for (const QString &header : headers)
        columns.append(headerPattern(header));

    // A row serves an isotope when its first cell is the isotope's element name,
    // whatever else the line holds: quadrupole names such as "Fe #2" end in a
    // digit. The first row of an element wins.
    QHash<QString, int> firstRow;
    for (int row = 1; row < lines.size(); ++row) {
        const QString name = lines.at(row).section(QLatin1Char(';'), 0, 0);
        if (!firstRow.contains(name))
            firstRow.insert(name, row);
    }
    QVector<QStringList> isotopeRows(data->isoSize());
    QVector<int> isotopeLines(data->isoSize(), -1);
    for (int i = 0; i < data->isoSize(); ++i) {
        const int row = firstRow.value(data->getIso(i).getElement(), -1);
        if (row < 0)
            continue;
        isotopeRows[i] = lines.at(row).split(QLatin1Char(';'));
        isotopeLines[i] = row;
    }

    QVector<double> concent(data->isoSize());
    QVector<double> error(data->isoSize());
    for (int s = 0; s < data->solutionSize(); ++s) {
        Solution *solution = data->getSolution(s);
        if (solution->getType() != Solution::STD && solution->getType() != Solution::QC)
            continue;

        // Replicates share the rightmost header that names their family.
        int column = -1;
        for (int j = 0; j < columns.size(); ++j) {
            const QRegularExpression &pattern = columns.at(j);
            if (pattern.isValid() && pattern.match(solution->getName()).hasMatch())
                column = j;
        }
        if (column < 0)
            return ParseResult { 1,
                QStringLiteral("Solution ") + solution->getName() + QStringLiteral(" Not found") };

        // Read every value of the solution before storing any, so a rejected
        // solution keeps the values it had.
        for (int i = 0; i < data->isoSize(); ++i) {
            if (isotopeLines.at(i) < 0)
                continue;
            const QStringList &cells = isotopeRows.at(i);
            bool ok = false;
            concent[i] = toDouble(cells.value(column), &ok);
            if (!ok)
                return ParseResult { 1, numberError(isotopeLines.at(i) + 1, cells.value(column)) };
            error[i] = toDouble(cells.value(column + 1), &ok);
            if (!ok)
                return ParseResult { 1,
                    numberError(isotopeLines.at(i) + 1, cells.value(column + 1)) };
        }
        for (int i = 0; i < data->isoSize(); ++i) {
            if (isotopeLines.at(i) < 0)
                continue;
            solution->setConcent(i, concent.at(i));
            solution->setConcentRSD(i, error.at(i));
        }
    }

    return ParseResult { 0, QStringLiteral("Concentrations Introduced") };
}
