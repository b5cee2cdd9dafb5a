#include "parsers/MethodFile.h"

#include "parsers/InstrumentReader.h"
#include "processing/RunOptions.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cmath>

const QString MethodFile::FORMAT = QStringLiteral("ketrion-method");
const QString MethodFile::SUFFIX = QStringLiteral("ketrion-method");

namespace {

const QString GROUP_NAMES[] = { QStringLiteral("HR"), QStringLiteral("MR"), QStringLiteral("LR") };

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

    QJsonValue take(const QString &name)
    {
        QJsonValue value = m_object.value(name);
        if (value.isUndefined())
            refuse(name, QStringLiteral("no member '%1'").arg(name));
        return value;
    }

    void flag(const QString &name, bool *target)
    {
        const QJsonValue value = take(name);
        if (value.isBool())
            *target = value.toBool();
        else if (!value.isUndefined())
            refuse(name, QStringLiteral("'%1' must be true or false").arg(name));
    }

    void text(const QString &name, QString *target)
    {
        const QJsonValue value = take(name);
        if (value.isString())
            *target = value.toString();
        else if (!value.isUndefined())
            refuse(name, QStringLiteral("'%1' must be a text in quotes").arg(name));
    }

    // One of the words; its position.
    void choice(const QString &name, const QStringList &words, int *target)
    {
        QString word;
        text(name, &word);
        if (failed())
            return;
        *target = int(words.indexOf(word));
        if (*target == -1)
            refuse(name,
                QStringLiteral("unknown %1 '%2': use %3")
                    .arg(name, word, words.join(QStringLiteral(", "))));
    }

    // A number from low to high, both inside unless said otherwise.
    void number(const QString &name, double low, double high, bool lowInside, double *target)
    {
        const QJsonValue value = take(name);
        if (value.isUndefined())
            return;
        const double read = value.toDouble(std::nan(""));
        if (!value.isDouble() || read > high || read < low || (!lowInside && read == low))
            refuse(name,
                QStringLiteral("'%1' must be a number %2 %3 %4")
                    .arg(name, lowInside ? QStringLiteral("from") : QStringLiteral("above"))
                    .arg(low)
                    .arg(lowInside ? QStringLiteral("to %1").arg(high)
                                   : QStringLiteral("and up to %1").arg(high)));
        else
            *target = read;
    }

    void percent(const QString &name, int *target)
    {
        const QJsonValue value = take(name);
        if (value.isUndefined())
            return;
        const double read = value.toDouble(-1.0);
        if (!value.isDouble() || read < 0.0 || read > 1e9 || read != std::floor(read))
            refuse(name,
                QStringLiteral("'%1' must be a whole number of percents, 0 or more").arg(name));
        else
            *target = int(read);
    }

private:
    const QByteArray &m_bytes;
    const QJsonObject &m_object;
    int m_line = 0;
    QString m_refusal;
};

QStringList memberNames()
{
    QStringList names { QStringLiteral("format"), QStringLiteral("version"),
        QStringLiteral("instrument"), QStringLiteral("internalStandard"),
        QStringLiteral("reference"), QStringLiteral("recoveryLow"), QStringLiteral("recoveryHigh"),
        QStringLiteral("blankMode"), QStringLiteral("blank"), QStringLiteral("weighting"),
        QStringLiteral("drift"), QStringLiteral("driftMonitor"), QStringLiteral("qcValidation"),
        QStringLiteral("acceptance"), QStringLiteral("minimumR2"), QStringLiteral("tolerance") };
    for (const QString &group : GROUP_NAMES)
        names << QStringLiteral("correct") + group << QStringLiteral("isotope") + group;
    return names;
}

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
    const QStringList known = memberNames();
    for (auto member = object.begin(); member != object.end(); ++member) {
        if (!known.contains(member.key()))
            members.refuse(member.key(), QStringLiteral("unknown member '%1'").arg(member.key()));
    }
}

void readOptions(Members &members, RunOptions *options)
{
    members.text(QStringLiteral("instrument"), &options->instrument);
    if (!members.failed() && !InstrumentReader::instruments().contains(options->instrument))
        members.refuse(QStringLiteral("instrument"),
            QStringLiteral("unknown instrument '%1': use %2")
                .arg(options->instrument,
                    InstrumentReader::instruments().join(QStringLiteral(" or "))));
    members.flag(QStringLiteral("internalStandard"), &options->internalStandard);
    members.text(QStringLiteral("reference"), &options->reference);
    for (int g = 0; g < Isotope::GROUP_COUNT; ++g) {
        members.flag(QStringLiteral("correct") + GROUP_NAMES[g], &options->groups[g].corrected);
        members.text(QStringLiteral("isotope") + GROUP_NAMES[g], &options->groups[g].isotope);
    }
    members.percent(QStringLiteral("recoveryLow"), &options->recoveryLow);
    members.percent(QStringLiteral("recoveryHigh"), &options->recoveryHigh);
    if (!members.failed() && options->recoveryLow >= options->recoveryHigh)
        members.refuse(QStringLiteral("recoveryHigh"),
            QStringLiteral("'recoveryHigh' must be above 'recoveryLow'"));
    int mode = 0;
    members.choice(QStringLiteral("blankMode"), RunOptions::blankModeWords(), &mode);
    options->blankMode = RunOptions::BlankMode(mode);
    members.text(QStringLiteral("blank"), &options->blank);
    int weighting = 0;
    members.choice(QStringLiteral("weighting"), RunOptions::weightingWords(), &weighting);
    options->weighting = Calibration::Weighting(weighting);
    members.flag(QStringLiteral("drift"), &options->drift);
    members.text(QStringLiteral("driftMonitor"), &options->driftMonitor);
    members.flag(QStringLiteral("qcValidation"), &options->qcValidation);
    members.flag(QStringLiteral("acceptance"), &options->acceptance);
    members.number(QStringLiteral("minimumR2"), 0.0, 1.0, true, &options->minimumR2);
    members.number(QStringLiteral("tolerance"), 0.0, 100.0, false, &options->tolerance);
}

} // namespace

QByteArray MethodFile::write(const RunOptions &options)
{
    QJsonObject method { { QStringLiteral("format"), FORMAT },
        { QStringLiteral("version"), VERSION },
        { QStringLiteral("instrument"), options.instrument },
        { QStringLiteral("internalStandard"), options.internalStandard },
        { QStringLiteral("reference"), options.reference },
        { QStringLiteral("recoveryLow"), options.recoveryLow },
        { QStringLiteral("recoveryHigh"), options.recoveryHigh },
        { QStringLiteral("blankMode"), RunOptions::blankModeWords().at(int(options.blankMode)) },
        { QStringLiteral("blank"), options.blank },
        { QStringLiteral("weighting"), RunOptions::weightingWords().at(int(options.weighting)) },
        { QStringLiteral("drift"), options.drift },
        { QStringLiteral("driftMonitor"), options.driftMonitor },
        { QStringLiteral("qcValidation"), options.qcValidation },
        { QStringLiteral("acceptance"), options.acceptance },
        { QStringLiteral("minimumR2"), options.minimumR2 },
        { QStringLiteral("tolerance"), options.tolerance } };
    for (int g = 0; g < Isotope::GROUP_COUNT; ++g) {
        method.insert(QStringLiteral("correct") + GROUP_NAMES[g], options.groups[g].corrected);
        method.insert(QStringLiteral("isotope") + GROUP_NAMES[g],
            Isotope::withoutTrailingBlanks(options.groups[g].isotope));
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
