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

// Almost every header is a plain name, and a header line can be very wide:
// plain names are compared as text, and each other header is compiled once.
class HeaderColumns
{
public:
    explicit HeaderColumns(const QStringList &headers) : headers(headers)
    {
        const QRegularExpression special(QStringLiteral("[\\\\^$.|?*+()\\[\\]{}]"));
        QHash<QString, int> compiled;
        patternOf.reserve(headers.size());
        for (const QString &header : headers) {
            if (!header.contains(special)) {
                patternOf.append(-1);
                continue;
            }
            auto known = compiled.constFind(header);
            if (known == compiled.constEnd()) {
                known = compiled.insert(header, patterns.size());
                patterns.append(headerPattern(header));
            }
            patternOf.append(known.value());
        }
    }

    // The rightmost header that names the solution, or -1.
    int columnOf(const QString &name) const
    {
        for (int j = headers.size() - 1; j >= 0; --j) {
            if (matches(j, name))
                return j;
        }
        return -1;
    }

private:
    bool matches(int j, const QString &name) const
    {
        if (patternOf.at(j) >= 0) {
            const QRegularExpression &pattern = patterns.at(patternOf.at(j));
            return pattern.isValid() && pattern.match(name).hasMatch();
        }
        // The plain name, alone or followed by a replicate number.
        const QString &header = headers.at(j);
        if (!name.startsWith(header))
            return false;
        int i = header.size();
        if (i == name.size())
            return true;
        if (name.at(i) == QLatin1Char('_'))
            ++i;
        if (i == name.size())
            return false;
        for (; i < name.size(); ++i) {
            if (name.at(i) < QLatin1Char('0') || name.at(i) > QLatin1Char('9'))
                return false;
        }
        return true;
    }

    QStringList headers;
    QVector<int> patternOf;
    QVector<QRegularExpression> patterns;
};

ParseResult ParserInSTDQC::parse(QIODevice *file, Data *data, Processing *)
{
    const TextFile text(file);
    if (!text.isText())
        return ParseResult { 1,
            QStringLiteral("Input file format error: the standards file holds no text") };
    const QStringList &lines = text.lines();

    const HeaderColumns columns(
        lines.isEmpty() ? QStringList(QString()) : lines.first().split(QLatin1Char(';')));

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
        const int column = columns.columnOf(solution->getName());
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
