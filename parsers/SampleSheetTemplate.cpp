#include "parsers/SampleSheetTemplate.h"

#include "model/Measurements.h"
#include "parsers/DelimitedText.h"

QByteArray SampleSheetTemplate::format(const Measurements &data)
{
    QStringList names;
    for (int s = 0; s < data.solutionCount(); ++s) {
        const Solution &solution = data.solution(s);
        if (solution.type() == Solution::Sample || solution.type() == Solution::QualityControl)
            names.append(solution.name());
    }
    // A separator no name holds spares the quotes; a name the reader would
    // not read back as it stands is quoted all the same.
    const QString all = names.join(QString());
    const char separator = !all.contains(QLatin1Char(',')) ? ','
        : !all.contains(QLatin1Char(';'))                  ? ';'
                                                           : '\t';
    QByteArray bytes = QByteArray("solution,dilution,mass_g,volume_ml,role,parent,spike\n")
                           .replace(',', separator);
    for (const QString &name : qAsConst(names))
        bytes.append(DelimitedText::written(name, separator))
            .append(separator)
            .append('1')
            .append(QByteArray(5, separator))
            .append('\n');
    return bytes;
}
