#ifndef KETRION_RUNOPTIONMEMBERS_H
#define KETRION_RUNOPTIONMEMBERS_H

#include "parsers/RunOptionTable.h"

#include <QJsonValue>
#include <QString>
#include <QStringList>

// The kinds of value a method file's member holds, each written and read one
// way, for the rows of RunOptionTable; name is the member's.
namespace RunOptionMembers {

// "'name' must be kind", the reason a value of the wrong kind is refused.
QString kindRefusal(const QString &name, const char *kind);

RunOptionTable::Member flagMember(const QString &name, bool RunOptions::*field);
RunOptionTable::Member textMember(const QString &name, QString RunOptions::*field);
// A list of texts, left out of a method when empty: an empty list is what a
// method written before the option stands for.
RunOptionTable::Member listMember(const QString &name, QStringList RunOptions::*field);
// Anything but a number is NaN, which no range holds.
RunOptionTable::Member numberMember(const QString &name, double RunOptions::*field);
// Anything but a whole number within reach is -1, which no bound accepts.
RunOptionTable::Member percentMember(const QString &name, int RunOptions::*field);

// One of the words, stored as its position.
template<typename Choice>
RunOptionTable::Member choiceMember(
    const QString &name, const QStringList &words, Choice RunOptions::*field)
{
    return { name,
        [words, field](
            const RunOptions &options) { return QJsonValue(words.at(int(options.*field))); },
        [name, words, field](const QJsonValue &value, RunOptions *options) {
            if (!value.isString())
                return kindRefusal(name, "a text in quotes");
            const int position = int(words.indexOf(value.toString()));
            if (position == -1)
                return QStringLiteral("unknown %1 '%2': use %3")
                    .arg(name, value.toString(), words.join(QStringLiteral(", ")));
            options->*field = Choice(position);
            return QString();
        } };
}

} // namespace RunOptionMembers

#endif
