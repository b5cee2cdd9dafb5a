#include "parsers/RunOptionMembers.h"

#include <QJsonArray>

#include <cmath>

using Member = RunOptionTable::Member;

QString RunOptionMembers::kindRefusal(const QString &name, const char *kind)
{
    return QStringLiteral("'%1' must be %2").arg(name, QLatin1String(kind));
}

Member RunOptionMembers::flagMember(const QString &name, bool RunOptions::*field)
{
    return { name, [field](const RunOptions &options) { return QJsonValue(options.*field); },
        [name, field](const QJsonValue &value, RunOptions *options) {
            if (!value.isBool())
                return kindRefusal(name, "true or false");
            options->*field = value.toBool();
            return QString();
        } };
}

Member RunOptionMembers::textMember(const QString &name, QString RunOptions::*field)
{
    return { name, [field](const RunOptions &options) { return QJsonValue(options.*field); },
        [name, field](const QJsonValue &value, RunOptions *options) {
            if (!value.isString())
                return kindRefusal(name, "a text in quotes");
            options->*field = value.toString();
            return QString();
        } };
}

Member RunOptionMembers::listMember(const QString &name, QStringList RunOptions::*field)
{
    Member member { name,
        [field](const RunOptions &options) {
            return (options.*field).isEmpty()
                ? QJsonValue(QJsonValue::Undefined)
                : QJsonValue(QJsonArray::fromStringList(options.*field));
        },
        [name, field](const QJsonValue &value, RunOptions *options) {
            QStringList texts;
            for (const auto &item : value.toArray()) {
                if (!item.isString())
                    break;
                texts << item.toString();
            }
            if (!value.isArray() || texts.size() != value.toArray().size())
                return kindRefusal(name, "a list of texts in quotes");
            options->*field = texts;
            return QString();
        } };
    member.absent = QJsonArray();
    return member;
}

Member RunOptionMembers::numberMember(const QString &name, double RunOptions::*field)
{
    return { name, [field](const RunOptions &options) { return QJsonValue(options.*field); },
        [field](const QJsonValue &value, RunOptions *options) {
            options->*field = value.isDouble() ? value.toDouble() : std::nan("");
            return QString();
        } };
}

Member RunOptionMembers::percentMember(const QString &name, int RunOptions::*field)
{
    return { name, [field](const RunOptions &options) { return QJsonValue(options.*field); },
        [field](const QJsonValue &value, RunOptions *options) {
            const double read = value.toDouble(-1.0);
            const bool whole
                = value.isDouble() && read >= 0.0 && read <= 1e9 && read == std::floor(read);
            options->*field = whole ? int(read) : -1;
            return QString();
        } };
}
