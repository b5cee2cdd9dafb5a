#include "parsers/QcLimitsText.h"

#include "parsers/NumberFormat.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <limits>

namespace {

const QString MEMBER = QStringLiteral("qcLimits");

QString keyNames()
{
    QStringList names;
    for (const QcLimits::Key &key : QcLimits::keys())
        names << QLatin1String(key.name);
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ")
        + names.last();
}

// Digits with at most one decimal point; NaN for anything else.
double plain(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    bool read = false;
    const double value = digits.match(text).hasMatch() ? QLocale::c().toDouble(text, &read) : 0.0;
    return read ? value : std::numeric_limits<double>::quiet_NaN();
}

void setValue(const QcLimits::Key &key, const QString &value, QcLimits *limits)
{
    if (key.range) {
        const QStringList bounds = value.split(QLatin1Char('-'));
        const double nan = std::numeric_limits<double>::quiet_NaN();
        limits->*key.range = bounds.size() == 2
            ? QcLimits::Range { plain(bounds.at(0)), plain(bounds.at(1)) }
            : QcLimits::Range { nan, nan };
    } else if (key.factor || key.percent) {
        limits->*(key.factor ? key.factor : key.percent) = plain(value);
    } else {
        bool whole = false;
        const int count = value.contains(QRegularExpression(QStringLiteral("^[0-9]+$")))
            ? value.toInt(&whole)
            : 0;
        limits->*key.count = whole ? count : 0;
    }
}

QStringList describe(const RunOptions &options, bool runQc, bool batchQc)
{
    const QcLimits &limits = options.qcLimits;
    const auto range = [](const char *name, const QcLimits::Range &range) {
        return QStringLiteral("%1 %2-%3 %")
            .arg(
                QLatin1String(name), NumberFormat::text(range.low), NumberFormat::text(range.high));
    };
    const auto factor = [](const char *name, double factor) {
        return QStringLiteral("%1 %2 x LOQ").arg(QLatin1String(name), NumberFormat::text(factor));
    };
    QStringList lines;
    if (runQc)
        lines << QStringLiteral("Run QC: recovery %1, %2, %3")
                     .arg(range("ICV", limits.icv), range("CCV", limits.ccv),
                         range("LLCCV", limits.llccv))
              << QStringLiteral("Run QC: blank checks %1, %2; at most %3 solutions between checks")
                     .arg(factor("ICB", limits.icb), factor("CCB", limits.ccb),
                         QString::number(limits.every));
    if (batchQc)
        lines << QStringLiteral("Batch QC: RPD %1 %; recovery %2, %3; method blank %4")
                     .arg(NumberFormat::text(limits.rpd), range("MS", limits.ms),
                         range("LCS", limits.lcs), factor("MB", limits.mb));
    return lines;
}

} // namespace

QString QcLimitsText::format(const QcLimits &limits)
{
    // Every digit, and no exponent, which the text does not take.
    const auto exact
        = [](double value) { return QString::number(value, 'f', QLocale::FloatingPointShortest); };
    QStringList items;
    for (const QcLimits::Key &key : QcLimits::keys()) {
        const QString name = QLatin1String(key.name);
        if (key.range)
            items << QStringLiteral("%1=%2-%3")
                         .arg(
                             name, exact((limits.*key.range).low), exact((limits.*key.range).high));
        else if (key.factor || key.percent)
            items << QStringLiteral("%1=%2").arg(
                name, exact(limits.*(key.factor ? key.factor : key.percent)));
        else
            items << QStringLiteral("%1=%2").arg(name).arg(limits.*key.count);
    }
    return items.join(QLatin1Char(','));
}

QString QcLimitsText::parse(const QString &text, const QString &where, QcLimits *limits)
{
    QStringList given;
    for (const QString &raw : text.split(QLatin1Char(','))) {
        const QString item = raw.trimmed();
        if (item.isEmpty())
            return QStringLiteral("an empty item in %1: give KEY=VALUE items joined by commas")
                .arg(where);
        const QString name = item.section(QLatin1Char('='), 0, 0);
        const QcLimits::Key *key = nullptr;
        for (const QcLimits::Key &candidate : QcLimits::keys()) {
            if (name == QLatin1String(candidate.name))
                key = &candidate;
        }
        if (!key)
            return QStringLiteral("unknown key '%1' in %2: use %3").arg(name, where, keyNames());
        if (given.contains(name))
            return QStringLiteral("'%1' given twice in %2").arg(name, where);
        given << name;
        // "ICV" alone has an empty value, which no rule takes.
        setValue(*key, item.section(QLatin1Char('='), 1), limits);
    }
    return QString();
}

RunOptionTable::Row QcLimitsText::row()
{
    RunOptionTable::Member member { MEMBER,
        // Left out at the defaults, so that a method and the report's
        // identifier stay as they were before the limits existed.
        [](const RunOptions &options) {
            const QString limits = format(options.qcLimits);
            return limits == format(QcLimits()) ? QJsonValue(QJsonValue::Undefined)
                                                : QJsonValue(limits);
        },
        [](const QJsonValue &value, RunOptions *options) {
            options->qcLimits = QcLimits();
            if (!value.isString())
                return QStringLiteral("'%1' must be a text in quotes").arg(MEMBER);
            return parse(value.toString(), QLatin1Char('\'') + MEMBER + QLatin1Char('\''),
                &options->qcLimits);
        } };
    const QString defaults = format(QcLimits());
    // Missing: the default limits.
    member.absent = defaults;
    const int batch = defaults.indexOf(QStringLiteral(",RPD="));
    RunOptionTable::Row row { QStringLiteral("qc-limits"), QStringLiteral("LIST"),
        QStringLiteral("limits of the run QC and the batch QC (roles in the sample sheet),\n"
                       "any of %1\n"
                       "%2 (the defaults), the others\n"
                       "default: recovery ranges in percent with 0 <= LOW < HIGH, blank\n"
                       "factors of the LOQ and the RPD above 0, EVERY the most solutions\n"
                       "between two checks, a whole number >= 1")
            .arg(defaults.left(batch + 1), defaults.mid(batch + 1)),
        { member },
        [](const QString &value, RunOptions *options) {
            const QString reason
                = parse(value, QStringLiteral("'--qc-limits'"), &options->qcLimits);
            if (reason.isEmpty())
                return Status::success();
            return Status::failure(reason.left(1).toUpper() + reason.mid(1) + QLatin1Char('.'));
        },
        QStringLiteral("Invalid limits '%1' for '--qc-limits': ICV, CCV, LLCCV, MS and LCS take "
                       "LOW-HIGH in percent with 0 <= LOW < HIGH, ICB, CCB and MB a factor above "
                       "0, RPD a percentage above 0, EVERY a whole number from 1."),
        {} };
    row.describeQc = describe;
    return row;
}
