#include "parsers/SampleSheetTemplate.h"

#include "model/Measurements.h"

QByteArray SampleSheetTemplate::format(const Measurements &data)
{
    QStringList names;
    for (int s = 0; s < data.solutionCount(); ++s) {
        const Solution &solution = data.solution(s);
        if (solution.type() == Solution::Sample || solution.type() == Solution::QualityControl)
            names.append(solution.name());
    }
    // The sheet has no quoting: a separator no name holds keeps the columns apart.
    const QString all = names.join(QString());
    const char separator = !all.contains(QLatin1Char(',')) ? ','
        : !all.contains(QLatin1Char(';'))                  ? ';'
                                                           : '\t';
    QByteArray bytes = QByteArray("solution,dilution,mass_g,volume_ml,role,parent,spike\n")
                           .replace(',', separator);
    for (const QString &name : qAsConst(names))
        bytes.append(name.toUtf8())
            .append(separator)
            .append('1')
            .append(QByteArray(5, separator))
            .append('\n');
    return bytes;
}
