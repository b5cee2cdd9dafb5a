#include "parsers/MethodFile.h"

#include "parsers/RunOptionTable.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

const QString MethodFile::FORMAT = QStringLiteral("ketrion-method");
const QString MethodFile::SUFFIX = QStringLiteral("ketrion-method");

namespace {

// Reads the members of one method text, remembering the first refusal.
class Members
{
public:
    Members(const QByteArray &bytes, const QJsonObject &object) : m_bytes(bytes), m_object(object)
    { }

    // The line a member's name stands on; the last line when it is missing.
    int lineOf(const QString &name) const
    {
        const QRegularExpression pattern(
            QLatin1Char('"') + QRegularExpression::escape(name) + QStringLiteral("\"\\s*:"));
        const QString text = QString::fromUtf8(m_bytes);
        const QRegularExpressionMatch match = pattern.match(text);
        const int end = match.hasMatch() ? match.capturedStart() : text.trimmed().size();
        return int(text.leftRef(end).count(QLatin1Char('\n'))) + 1;
    }

    bool failed() const { return !m_refusal.isEmpty(); }
    int refusalLine() const { return m_line; }
    const QString &refusal() const { return m_refusal; }

    void refuse(const QString &name, const QString &reason) { refuseAt(lineOf(name), reason); }

    void refuseAt(int line, const QString &reason)
    {
        if (failed())
            return;
        m_line = line;
        m_refusal = reason;
    }

    QJsonValue value(const QString &name) const { return m_object.value(name); }

    QJsonValue take(const QString &name)
    {
        QJsonValue value = m_object.value(name);
        if (value.isUndefined())
            refuse(name, QStringLiteral("no member '%1'").arg(name));
        return value;
    }

private:
    const QByteArray &m_bytes;
    const QJsonObject &m_object;
    int m_line = 0;
    QString m_refusal;
};

// The format and version first: another file's members say nothing.
void readHeader(Members &members, const QJsonObject &object)
{
    if (object.value(QStringLiteral("format")).toString() != MethodFile::FORMAT) {
        const QString reason = QStringLiteral("not a Ketrion method (no \"format\": \"%1\")")
                                   .arg(MethodFile::FORMAT);
        if (object.contains(QStringLiteral("format")))
            members.refuse(QStringLiteral("format"), reason);
        else
            members.refuseAt(1, reason);
        return;
    }
    const QJsonValue version = object.value(QStringLiteral("version"));
    if (version.isUndefined())
        members.take(QStringLiteral("version"));
    else if (!version.isDouble())
        members.refuse(QStringLiteral("version"), QStringLiteral("'version' must be a number"));
    else if (version.toDouble() != MethodFile::VERSION)
        members.refuse(QStringLiteral("version"),
            QStringLiteral("unknown version %1: this Ketrion reads version %2")
                .arg(version.toDouble())
                .arg(MethodFile::VERSION));
    const QStringList known = QStringList { QStringLiteral("format"), QStringLiteral("version") }
        + RunOptionTable::memberNames();
    for (auto member = object.begin(); member != object.end(); ++member) {
        if (!known.contains(member.key()))
            members.refuse(member.key(), QStringLiteral("unknown member '%1'").arg(member.key()));
    }
}

// Every member of the table in its order, then the rules of the values.
void readOptions(Members &members, RunOptions *options)
{
    for (const RunOptionTable::Row &row : RunOptionTable::rows()) {
        for (const RunOptionTable::Member &member : row.members) {
            const QJsonValue value
                = member.optional ? members.value(member.name) : members.take(member.name);
            if (!value.isUndefined() || member.optional) {
                const QString refusal = member.read(value, options);
                if (!refusal.isEmpty())
                    members.refuse(member.name, refusal);
            }
        }
    }
    QString member;
    const Status checked = options->check(&member);
    if (!checked.ok())
        members.refuse(member, checked.message());
}

} // namespace

QByteArray MethodFile::write(const RunOptions &options)
{
    QJsonObject method { { QStringLiteral("format"), FORMAT },
        { QStringLiteral("version"), VERSION } };
    for (const RunOptionTable::Row &row : RunOptionTable::rows()) {
        for (const RunOptionTable::Member &member : row.members) {
            const QJsonValue value = member.write(options);
            if (!value.isUndefined())
                method.insert(member.name, value);
        }
    }
    return QJsonDocument(method).toJson(QJsonDocument::Indented);
}

Status MethodFile::read(const QByteArray &bytes, const QString &fileName, RunOptions *options)
{
    const auto refused = [&fileName](int line, const QString &reason) {
        return Status::failure(
            QStringLiteral("Method file %1, line %2: %3.").arg(fileName).arg(line).arg(reason));
    };
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return refused(int(bytes.left(error.offset).count('\n')) + 1, error.errorString());
    if (!document.isObject())
        return refused(
            1, QStringLiteral("not a Ketrion method (no \"format\": \"%1\")").arg(FORMAT));
    const QJsonObject object = document.object();
    Members members(bytes, object);
    readHeader(members, object);
    RunOptions read = *options;
    if (!members.failed())
        readOptions(members, &read);
    if (members.failed())
        return refused(members.refusalLine(), members.refusal());
    *options = read;
    return Status::success();
}
