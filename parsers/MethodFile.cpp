#include "parsers/MethodFile.h"

#include "parsers/RunOptionTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPair>
#include <QVector>

const QString MethodFile::FORMAT = QStringLiteral("ketrion-method");
const QString MethodFile::SUFFIX = QStringLiteral("ketrion-method");

namespace {

// Skips a string literal starting at its opening quote; the position after
// its closing quote.
int skipString(const QByteArray &bytes, int at)
{
    for (++at; at < bytes.size() && bytes.at(at) != '"'; ++at) {
        if (bytes.at(at) == '\\')
            ++at;
    }
    return at + 1;
}

// Skips one value of a text that parsed: to the ',' or '}' that ends it.
int skipValue(const QByteArray &bytes, int at)
{
    int depth = 0;
    while (at < bytes.size()) {
        const char c = bytes.at(at);
        if (c == '"') {
            at = skipString(bytes, at);
            continue;
        }
        if (depth == 0 && (c == ',' || c == '}'))
            break;
        depth += c == '{' || c == '[' ? 1 : c == '}' || c == ']' ? -1 : 0;
        ++at;
    }
    return at;
}

// The members of a method's top-level object, each with its line, in the
// order the text gives them, twice where it gives them twice: the parsed
// object keeps only the last of a name. Names are decoded by the JSON reader
// itself, so that they compare with the object's.
QVector<QPair<QString, int>> memberLines(const QByteArray &bytes)
{
    QVector<QPair<QString, int>> members;
    int at = int(bytes.indexOf('{')) + 1;
    while (at > 0 && at < bytes.size()) {
        const int start = int(bytes.indexOf('"', at));
        if (start < 0)
            break;
        const int end = skipString(bytes, start);
        const QJsonDocument name
            = QJsonDocument::fromJson('[' + bytes.mid(start, end - start) + ']');
        members.append({ name.array().at(0).toString(), int(bytes.left(start).count('\n')) + 1 });
        at = skipValue(bytes, int(bytes.indexOf(':', end)) + 1) + 1;
    }
    return members;
}

// A name as a message can quote it: control characters and broken text shown
// as U+FFFD.
QString printable(QString name)
{
    for (QChar &c : name) {
        if (c.category() == QChar::Other_Control || c.isSurrogate())
            c = QChar::ReplacementCharacter;
    }
    return name;
}

// Reads the members of one method text, remembering the first refusal.
class Members
{
public:
    Members(const QByteArray &bytes, const QJsonObject &object)
        : m_bytes(bytes), m_object(object), m_lines(memberLines(bytes))
    { }

    // The line a member's name stands on; the last line when it is missing.
    int lineOf(const QString &name) const
    {
        for (const auto &member : m_lines) {
            if (member.first == name)
                return member.second;
        }
        return int(m_bytes.trimmed().count('\n')) + 1;
    }

    // Refuses the first member given twice at its second line: the JSON
    // reader would silently keep the last.
    void refuseRepeated()
    {
        for (int k = 1; k < m_lines.size(); ++k) {
            for (int j = 0; j < k; ++j) {
                if (m_lines.at(j).first == m_lines.at(k).first)
                    return refuseAt(m_lines.at(k).second,
                        QStringLiteral("'%1' is given twice, first on line %2")
                            .arg(printable(m_lines.at(k).first))
                            .arg(m_lines.at(j).second));
            }
        }
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

    bool has(const QString &name) const { return m_object.contains(name); }

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
    QVector<QPair<QString, int>> m_lines;
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
    members.refuseRepeated();
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
            members.refuse(
                member.key(), QStringLiteral("unknown member '%1'").arg(printable(member.key())));
    }
}

// Every member of the table in its order, then the rules of the values.
void readOptions(Members &members, RunOptions *options)
{
    for (const RunOptionTable::Row &row : RunOptionTable::rows()) {
        for (const RunOptionTable::Member &member : row.members) {
            const QJsonValue value = members.has(member.name) || member.absent.isUndefined()
                ? members.take(member.name)
                : member.absent;
            if (!value.isUndefined()) {
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
