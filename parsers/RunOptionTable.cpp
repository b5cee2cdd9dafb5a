#include "parsers/RunOptionTable.h"

#include "parsers/InterferenceEquation.h"
#include "parsers/QcLimitsText.h"
#include "parsers/RunOptionMembers.h"

#include <QLocale>
#include <QRegularExpression>

#include <limits>

namespace {

using Member = RunOptionTable::Member;
using Row = RunOptionTable::Row;
using RunOptionMembers::choiceMember;
using RunOptionMembers::flagMember;
using RunOptionMembers::kindRefusal;
using RunOptionMembers::listMember;
using RunOptionMembers::numberMember;
using RunOptionMembers::percentMember;
using RunOptionMembers::textMember;

// A criterion as typed: the shortest text that reads back as the same number.
QString asGiven(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

Member groupFlag(Isotope::Resolution group)
{
    const QString name = QStringLiteral("correct") + Isotope::resolutionName(group);
    return { name,
        [group](const RunOptions &options) { return QJsonValue(options.groups[group].corrected); },
        [name, group](const QJsonValue &value, RunOptions *options) {
            if (!value.isBool())
                return kindRefusal(name, "true or false");
            options->groups[group].corrected = value.toBool();
            return QString();
        } };
}

// Stored as typed: without the trailing blanks of quadrupole names.
Member groupIsotope(Isotope::Resolution group)
{
    const QString name = QStringLiteral("isotope") + Isotope::resolutionName(group);
    return { name,
        [group](const RunOptions &options) {
            return QJsonValue(Isotope::withoutTrailingBlanks(options.groups[group].isotope));
        },
        [name, group](const QJsonValue &value, RunOptions *options) {
            if (!value.isString())
                return kindRefusal(name, "a text in quotes");
            options->groups[group].isotope = value.toString();
            return QString();
        } };
}

Row isotopeRow(Isotope::Resolution group)
{
    const QString flag = QStringLiteral("is-") + Isotope::resolutionName(group).toLower();
    const QString help = group == Isotope::LR
        ? QStringLiteral("internal-standard isotope of the LR group, by its display name\n"
                         "without trailing blanks (115In LR, or 115In #1 for a Q-ICP-MS);\n"
                         "default: the first isotope of the group")
        : QStringLiteral("the same for the %1 group").arg(Isotope::resolutionName(group));
    Row row { flag, QStringLiteral("ISOTOPE"), help, { groupIsotope(group) },
        [flag, group](const QString &value, RunOptions *options) {
            options->groups[group].isotope = value;
            if (!value.isEmpty())
                return Status::success();
            return Status::failure(QStringLiteral("Unknown isotope '' for '--%1'.").arg(flag));
        },
        {}, {} };
    row.needsReference = true;
    return row;
}

Status parseGroups(const QString &list, RunOptions *options)
{
    for (RunOptions::Group &group : options->groups)
        group.corrected = false;
    const QStringList names = list.split(QLatin1Char(','));
    for (const QString &raw : names) {
        const QString name = raw.trimmed();
        bool known = false;
        for (const Isotope::Resolution resolution : Isotope::GROUPS_SHOWN) {
            if (name == Isotope::resolutionName(resolution)) {
                options->groups[resolution].corrected = true;
                known = true;
            }
        }
        // "--is-groups ''" corrects no group at all.
        if (!known && !(name.isEmpty() && names.size() == 1))
            return Status::failure(
                QStringLiteral("Unknown group '%1' in '--is-groups': use LR, MR or HR.").arg(name));
    }
    return Status::success();
}

// A text that is no pair of whole numbers is out of every bound.
Status parseRecovery(const QString &bounds, RunOptions *options)
{
    const QRegularExpressionMatch match
        = QRegularExpression(QStringLiteral("^([0-9]+),([0-9]+)$")).match(bounds);
    bool lowRead = false;
    bool highRead = false;
    if (match.hasMatch()) {
        options->recoveryLow = match.captured(1).toInt(&lowRead);
        options->recoveryHigh = match.captured(2).toInt(&highRead);
    }
    if (!lowRead || !highRead)
        options->recoveryLow = -1;
    return Status::success();
}

// A text that is no pair of numbers is NaN, which no range holds.
Status parseAcceptance(const QString &criteria, RunOptions *options)
{
    const QRegularExpressionMatch match
        = QRegularExpression(QStringLiteral("^([^,]+),([^,]+)$")).match(criteria);
    bool r2Read = false;
    bool toleranceRead = false;
    if (match.hasMatch()) {
        options->minimumR2 = QLocale::c().toDouble(match.captured(1), &r2Read);
        options->tolerance = QLocale::c().toDouble(match.captured(2), &toleranceRead);
    }
    if (!r2Read || !toleranceRead)
        options->minimumR2 = std::numeric_limits<double>::quiet_NaN();
    options->acceptance = true;
    return Status::success();
}

QStringList describeInternalStandard(const RunOptions &options)
{
    if (!options.internalStandard)
        return { QStringLiteral("Internal standard correction: off") };
    QStringList groups;
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN) {
        const RunOptions::Group &chosen = options.groups[group];
        const QString isotope = chosen.isotope.isEmpty()
            ? QStringLiteral("no isotope")
            : Isotope::withoutTrailingBlanks(chosen.isotope);
        groups << QStringLiteral("%1 %2").arg(Isotope::resolutionName(group),
            chosen.corrected ? isotope : QStringLiteral("not corrected"));
    }
    return { QStringLiteral("Internal standard correction: reference solution %1; %2")
                 .arg(options.reference, groups.join(QStringLiteral("; "))) };
}

QStringList describeBlank(const RunOptions &options)
{
    switch (options.blankMode) {
    case RunOptions::BlankMode::ZeroStandard:
        return {
            QStringLiteral("Blank: %1 as the zero standard (y-intercept)").arg(options.blank)
        };
    case RunOptions::BlankMode::Subtract:
        return { QStringLiteral("Blank: %1 subtracted").arg(options.blank) };
    case RunOptions::BlankMode::None:
        break;
    }
    return { QStringLiteral("Blank: no blank correction") };
}

QStringList describeAcceptance(const RunOptions &options)
{
    if (!options.acceptance)
        return { QStringLiteral("Calibration acceptance: off") };
    return { QStringLiteral("Calibration acceptance: r² at least %1, standards read back within "
                            "%2 % (twice that at the lowest)")
                 .arg(asGiven(options.minimumR2), asGiven(options.tolerance)) };
}

Row instrumentRow()
{
    return { QStringLiteral("instrument"), QStringLiteral("NAME"),
        QStringLiteral("instrument that wrote the data file: ")
            + RunOptions::instruments().join(QStringLiteral(" or ")),
        { textMember(QStringLiteral("instrument"), &RunOptions::instrument) },
        [](const QString &value, RunOptions *options) {
            options->instrument = value;
            return Status::success();
        },
        QStringLiteral("Unknown instrument '%1': use ")
            + RunOptions::instruments().join(QStringLiteral(" or ")) + QLatin1Char('.'),
        [](const RunOptions &options) {
            return QStringList { QStringLiteral("Instrument: %1").arg(options.instrument) };
        } };
}

Row referenceRow()
{
    return { QStringLiteral("is-ref"), QStringLiteral("SOLUTION"),
        QStringLiteral("internal-standard reference solution; internal-standard\n"
                       "correction is on only with this option"),
        { flagMember(QStringLiteral("internalStandard"), &RunOptions::internalStandard),
            textMember(QStringLiteral("reference"), &RunOptions::reference) },
        [](const QString &value, RunOptions *options) {
            options->internalStandard = true;
            options->reference = value;
            return Status::success();
        },
        {}, describeInternalStandard };
}

Row groupsRow()
{
    QVector<Member> members;
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN)
        members << groupFlag(group);
    Row row { QStringLiteral("is-groups"), QStringLiteral("LIST"),
        QStringLiteral("groups to correct, comma-separated among LR, MR and HR;\n"
                       "default: LR,MR,HR"),
        members, parseGroups, {}, {} };
    row.needsReference = true;
    return row;
}

Row recoveryRow()
{
    Row row { QStringLiteral("is-recovery"), QStringLiteral("LOW,HIGH"),
        QStringLiteral("IS recovery bounds in whole percents of the reference\n"
                       "solution's IS value, 0 <= LOW < HIGH <= %1; default: %2,%3")
            .arg(RunOptions::MAXIMUM_RECOVERY)
            .arg(RunOptions::DEFAULT_RECOVERY_LOW)
            .arg(RunOptions::DEFAULT_RECOVERY_HIGH),
        { percentMember(QStringLiteral("recoveryLow"), &RunOptions::recoveryLow),
            percentMember(QStringLiteral("recoveryHigh"), &RunOptions::recoveryHigh) },
        parseRecovery,
        QStringLiteral("Invalid bounds '%1' for '--is-recovery': use LOW,HIGH, whole percents "
                       "with 0 <= LOW < HIGH <= ")
            + QString::number(RunOptions::MAXIMUM_RECOVERY) + QLatin1Char('.'),
        [](const RunOptions &options) {
            if (!options.internalStandard)
                return QStringList();
            return QStringList { QStringLiteral(
                "IS recovery accepted from %1 to %2 % of the reference's")
                                     .arg(options.recoveryLow)
                                     .arg(options.recoveryHigh) };
        } };
    row.needsReference = true;
    return row;
}

Row blankModeRow()
{
    return { QStringLiteral("blank-mode"), QStringLiteral("MODE"),
        QStringLiteral("y-intercept (default): the blank becomes a zero standard;\n"
                       "subtract: the blank is subtracted; none: no blank correction"),
        { choiceMember(
            QStringLiteral("blankMode"), RunOptions::blankModeWords(), &RunOptions::blankMode) },
        [](const QString &value, RunOptions *options) {
            const int mode = int(RunOptions::blankModeWords().indexOf(value));
            if (mode == -1)
                return Status::failure(
                    QStringLiteral("Unknown blank mode '%1': use y-intercept, subtract or none.")
                        .arg(value));
            options->blankMode = RunOptions::BlankMode(mode);
            return Status::success();
        },
        {}, describeBlank };
}

Row blankRow()
{
    return { QStringLiteral("blank"), QStringLiteral("SOLUTION"),
        QStringLiteral("blank for the blank mode, also BLK_Avg_All or BLK_Avg_First_Seq;\n"
                       "default: the first blank of the file"),
        { textMember(QStringLiteral("blank"), &RunOptions::blank) },
        [](const QString &value, RunOptions *options) {
            options->blank = value;
            if (options->blankMode != RunOptions::BlankMode::None)
                return Status::success();
            return Status::failure(
                QStringLiteral("'--blank' applies only with '--blank-mode y-intercept' or "
                               "'--blank-mode subtract'."));
        },
        {}, {} };
}

Row weightingRow()
{
    return { QStringLiteral("weighting"), QStringLiteral("W"),
        QStringLiteral("weights of the calibration points: none (default), 1/x or 1/x2"),
        { choiceMember(
            QStringLiteral("weighting"), RunOptions::weightingWords(), &RunOptions::weighting) },
        [](const QString &value, RunOptions *options) {
            const int weighting = int(RunOptions::weightingWords().indexOf(value));
            if (weighting == -1)
                return Status::failure(
                    QStringLiteral("Unknown weighting '%1': use none, 1/x or 1/x2.").arg(value));
            options->weighting = Calibration::Weighting(weighting);
            return Status::success();
        },
        {},
        [](const RunOptions &options) {
            return QStringList { QStringLiteral("Calibration weighting: %1")
                                     .arg(Calibration::weightingName(options.weighting)) };
        } };
}

Row driftRow()
{
    return { QStringLiteral("drift"), QStringLiteral("H"),
        QStringLiteral("corrects each isotope's drift along the run from a monitor\n"
                       "measured again and again: the solutions named H, H followed by\n"
                       "digits, or H, _ and digits (VS: VS_1, VS_2, ...), two or more.\n"
                       "After the IS and blank corrections, each solution's intensity\n"
                       "is multiplied by m1 / m(p): m1 the monitor's first reading, m(p)\n"
                       "the straight line in run order between the readings around the\n"
                       "solution, m1 before the first and the last reading after the\n"
                       "last. A reading not measured or not above 0 is left out; an\n"
                       "isotope with fewer than two readings left is not corrected, nor\n"
                       "are the IS isotopes; the zero standard takes its blank's factor,\n"
                       "the average blanks none. --plots adds drift-ISOTOPE, the factor\n"
                       "along the run"),
        { flagMember(QStringLiteral("drift"), &RunOptions::drift),
            textMember(QStringLiteral("driftMonitor"), &RunOptions::driftMonitor) },
        // Only the data file tells whether the monitor names two solutions.
        [](const QString &value, RunOptions *options) {
            options->drift = true;
            options->driftMonitor = value;
            return Status::success();
        },
        {},
        [](const RunOptions &options) {
            return QStringList { options.drift
                    ? QStringLiteral("Drift correction: monitor %1").arg(options.driftMonitor)
                    : QStringLiteral("Drift correction: off") };
        } };
}

// As written and expanded, so that a reader of the report sees each
// isotope's coefficient.
QStringList describeInterference(const RunOptions &options)
{
    const int count = int(options.interference.size());
    if (count == 0)
        return {};
    QStringList lines { QStringLiteral(
        "Interference correction: %1, applied together before the calibration")
                            .arg(count == 1 ? QStringLiteral("1 equation")
                                            : QStringLiteral("%1 equations").arg(count)) };
    for (int k = 0; k < count; ++k) {
        const InterferenceEquation equation(options.interference.at(k));
        lines << QStringLiteral("Equation %1 as written: %2").arg(k + 1).arg(equation.text())
              << QStringLiteral("Equation %1 expanded: %2").arg(k + 1).arg(equation.expanded());
    }
    return lines;
}

Row interferenceRow()
{
    Row row { QStringLiteral("interference"), QStringLiteral("EQUATION"),
        QStringLiteral("an interference correction equation, once per equation:\n"
                       "\"[75As #1] = [75As #1] - 3.127 * ([77Se #1] - 0.815 * [82Se #1])\".\n"
                       "Isotopes in square brackets as the window lists them, numbers\n"
                       "(1e-3), + - * and parentheses; the left side one isotope, the\n"
                       "target; the right side linear in the isotopes. After the drift\n"
                       "correction, before the calibration, every equation reads the\n"
                       "values before any of them; a term not measured leaves the\n"
                       "target not measured"),
        { listMember(QStringLiteral("interference"), &RunOptions::interference) },
        // Only the data file tells whether an equation holds.
        [](const QString &value, RunOptions *options) {
            options->interference.append(value);
            return Status::success();
        },
        {}, describeInterference };
    row.repeated = true;
    return row;
}

Row qcRow()
{
    return { QStringLiteral("no-qc"), QString(), QStringLiteral("no quality-control validation"),
        { flagMember(QStringLiteral("qcValidation"), &RunOptions::qcValidation) },
        [](const QString &, RunOptions *options) {
            options->qcValidation = false;
            return Status::success();
        },
        {},
        [](const RunOptions &options) {
            return QStringList { QStringLiteral("QC validation: %1")
                                     .arg(options.qcValidation ? QStringLiteral("on")
                                                               : QStringLiteral("off")) };
        } };
}

Row acceptanceRow()
{
    return { QStringLiteral("acceptance"), QStringLiteral("R2,TOL"),
        QStringLiteral("calibration acceptance, e.g. 0.995,10: a line with fewer than\n"
                       "three points, r2 below R2, or a standard read back more than\n"
                       "TOL % off its value (2 x TOL % at the lowest level) is rejected"),
        { flagMember(QStringLiteral("acceptance"), &RunOptions::acceptance),
            numberMember(QStringLiteral("minimumR2"), &RunOptions::minimumR2),
            numberMember(QStringLiteral("tolerance"), &RunOptions::tolerance) },
        parseAcceptance,
        QStringLiteral("Invalid criteria '%1' for '--acceptance': use R2,TOL, a minimum r2 from "
                       "0 to 1 and a tolerance in percent above 0 and up to 100."),
        describeAcceptance };
}

QVector<Row> makeRows()
{
    return { instrumentRow(), referenceRow(), isotopeRow(Isotope::LR), isotopeRow(Isotope::MR),
        isotopeRow(Isotope::HR), groupsRow(), recoveryRow(), blankModeRow(), blankRow(),
        weightingRow(), driftRow(), interferenceRow(), qcRow(), acceptanceRow(),
        QcLimitsText::row() };
}

} // namespace

bool RunOptionTable::Row::owns(const QString &member) const
{
    for (const Member &candidate : members) {
        if (candidate.name == member)
            return true;
    }
    return false;
}

void RunOptionTable::Row::reset(RunOptions *options) const
{
    for (const Member &member : members)
        member.read(member.absent, options);
}

const QVector<RunOptionTable::Row> &RunOptionTable::rows()
{
    static const QVector<Row> table = makeRows();
    return table;
}

const RunOptionTable::Row *RunOptionTable::find(const QString &flag)
{
    for (const Row &row : rows()) {
        if (row.flag == flag)
            return &row;
    }
    return nullptr;
}

QStringList RunOptionTable::memberNames()
{
    QStringList names;
    for (const Row &row : rows()) {
        for (const Member &member : row.members)
            names << member.name;
    }
    return names;
}
