#include "batch/BatchCommand.h"

#include "parsers/InstrumentReader.h"
#include "parsers/MethodFile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

namespace {

// The same text for every path to one file, also to one not written yet:
// then its folder with links and ".." resolved, and its name.
QString identity(const QString &path)
{
    const QFileInfo file(path);
    if (file.exists())
        return file.canonicalFilePath();
    const QString folder = file.absoluteDir().canonicalPath();
    return (folder.isEmpty() ? QDir::cleanPath(file.absolutePath()) : folder) + QLatin1Char('/')
        + file.fileName();
}

Status fileName(QString *target, const QString &option, const QString &value)
{
    *target = value;
    if (value.isEmpty())
        return Status::failure(QStringLiteral("Missing file name after '--%1'.").arg(option));
    return Status::success();
}

Status setIsotope(RunOptions &options, Isotope::Resolution group, const QString &value)
{
    options.groups[group].isotope = value;
    if (!value.isEmpty())
        return Status::success();
    return Status::failure(QStringLiteral("Unknown isotope '' for '--is-%1'.")
                               .arg(Isotope::resolutionName(group).toLower()));
}

// A template needs the data file alone.
Status checkAlone(const QCommandLineParser &parser, const QStringList &taken)
{
    for (const QString &name : parser.optionNames()) {
        if (!taken.contains(name) && name != QLatin1String("samples-template"))
            return Status::failure(
                QStringLiteral("'--samples-template' takes only '--instrument' and '--data', not "
                               "'--%1'.")
                    .arg(name));
    }
    return Status::success();
}

// The instrument may come from the method file.
Status checkRequired(const QCommandLineParser &parser)
{
    const bool writingTemplate = parser.isSet(QStringLiteral("samples-template"));
    const bool savingMethod = parser.isSet(QStringLiteral("save-method"));
    QStringList required = writingTemplate
        ? QStringList { QStringLiteral("instrument"), QStringLiteral("data") }
        : savingMethod ? QStringList { QStringLiteral("instrument") }
                       : QStringList { QStringLiteral("instrument"), QStringLiteral("data"),
                             QStringLiteral("stdqc"), QStringLiteral("output") };
    if (parser.isSet(QStringLiteral("method")) && !writingTemplate)
        required.removeFirst();
    for (const QString &name : qAsConst(required)) {
        if (!parser.isSet(name))
            return Status::failure(QStringLiteral("Missing option '--%1'.").arg(name));
    }
    if (writingTemplate)
        return checkAlone(parser, required);
    if (!savingMethod)
        return Status::success();
    // A method holds no file of a run.
    for (const char *file :
        { "data", "stdqc", "output", "long", "report", "plots", "plot-format", "samples" }) {
        if (parser.isSet(QLatin1String(file)))
            return Status::failure(
                QStringLiteral("'--save-method' takes only the options of a method, not '--%1'.")
                    .arg(QLatin1String(file)));
    }
    return Status::success();
}

} // namespace

// One option of the command line: its name, the name of its value (none for
// a switch) and what it sets, returning why the value is refused.
struct BatchCommand::Option
{
    const char *name;
    const char *valueName;
    Status (*set)(BatchCommand &command, const QString &value);
    // Refused without "--is-ref", which comes before it.
    bool needsReference = false;
};

// In the order the values are checked.
const BatchCommand::Option BatchCommand::OPTIONS[] = {
    { "instrument", "NAME",
        [](BatchCommand &command, const QString &value) {
            command.options.instrument = value;
            if (InstrumentReader::instruments().contains(value))
                return Status::success();
            return Status::failure(
                QStringLiteral("Unknown instrument '%1': use %2.")
                    .arg(value, InstrumentReader::instruments().join(QStringLiteral(" or "))));
        } },
    { "data", "FILE",
        [](BatchCommand &command, const QString &value) {
            return fileName(&command.dataFile, QStringLiteral("data"), value);
        } },
    { "stdqc", "FILE",
        [](BatchCommand &command, const QString &value) {
            return fileName(&command.standardsFile, QStringLiteral("stdqc"), value);
        } },
    { "output", "FILE",
        [](BatchCommand &command, const QString &value) {
            command.m_inputs << identity(command.dataFile) << identity(command.standardsFile);
            const Status named = fileName(&command.outputFile, QStringLiteral("output"), value);
            return named.ok() ? command.claim(QStringLiteral("output"), value) : named;
        } },
    { "long", "FILE",
        [](BatchCommand &command, const QString &value) {
            const Status named = fileName(&command.longFile, QStringLiteral("long"), value);
            return named.ok() ? command.claim(QStringLiteral("long"), value) : named;
        } },
    { "report", "FILE",
        [](BatchCommand &command, const QString &value) {
            const Status named = fileName(&command.reportFile, QStringLiteral("report"), value);
            return named.ok() ? command.claim(QStringLiteral("report"), value) : named;
        } },
    { "plots", "DIR",
        [](BatchCommand &command, const QString &value) {
            command.plotFolder = value;
            if (value.isEmpty())
                return Status::failure(QStringLiteral("Missing folder name after '--plots'."));
            return command.claim(QStringLiteral("plots"), value);
        } },
    { "plot-format", "F",
        [](BatchCommand &command, const QString &value) {
            if (command.plotFolder.isEmpty())
                return Status::failure(
                    QStringLiteral("'--plot-format' applies only with '--plots'."));
            for (const PlotImage::Format format :
                { PlotImage::Format::Png, PlotImage::Format::Svg, PlotImage::Format::Pdf }) {
                if (PlotImage::suffix(format) == value) {
                    command.plotFormat = format;
                    return Status::success();
                }
            }
            return Status::failure(
                QStringLiteral("Unknown plot format '%1': use png, svg or pdf.").arg(value));
        } },
    { "is-ref", "SOLUTION",
        [](BatchCommand &command, const QString &value) {
            command.options.internalStandard = true;
            command.options.reference = value;
            return Status::success();
        } },
    { "is-lr", "ISOTOPE",
        [](BatchCommand &command, const QString &value) {
            return setIsotope(command.options, Isotope::LR, value);
        },
        true },
    { "is-mr", "ISOTOPE",
        [](BatchCommand &command, const QString &value) {
            return setIsotope(command.options, Isotope::MR, value);
        },
        true },
    { "is-hr", "ISOTOPE",
        [](BatchCommand &command, const QString &value) {
            return setIsotope(command.options, Isotope::HR, value);
        },
        true },
    { "is-groups", "LIST",
        [](BatchCommand &command, const QString &value) { return command.setGroups(value); },
        true },
    { "is-recovery", "LOW,HIGH",
        [](BatchCommand &command, const QString &value) { return command.setRecovery(value); },
        true },
    { "blank-mode", "MODE",
        [](BatchCommand &command, const QString &value) {
            const int mode = int(RunOptions::blankModeWords().indexOf(value));
            if (mode >= 0) {
                command.options.blankMode = RunOptions::BlankMode(mode);
                return Status::success();
            }
            return Status::failure(
                QStringLiteral("Unknown blank mode '%1': use y-intercept, subtract or none.")
                    .arg(value));
        } },
    { "blank", "SOLUTION",
        [](BatchCommand &command, const QString &value) {
            command.options.blank = value;
            if (command.options.blankMode != RunOptions::BlankMode::None)
                return Status::success();
            return Status::failure(
                QStringLiteral("'--blank' applies only with '--blank-mode y-intercept' or "
                               "'--blank-mode subtract'."));
        } },
    { "weighting", "W",
        [](BatchCommand &command, const QString &value) {
            const int weighting = int(RunOptions::weightingWords().indexOf(value));
            if (weighting >= 0) {
                command.options.weighting = Calibration::Weighting(weighting);
                return Status::success();
            }
            return Status::failure(
                QStringLiteral("Unknown weighting '%1': use none, 1/x or 1/x2.").arg(value));
        } },
    { "drift", "H",
        [](BatchCommand &command, const QString &value) {
            // Only the data file tells whether H names two solutions.
            command.options.drift = true;
            command.options.driftMonitor = value;
            return Status::success();
        } },
    { "no-qc", nullptr,
        [](BatchCommand &command, const QString &) {
            command.options.qcValidation = false;
            return Status::success();
        } },
    { "samples", "FILE",
        [](BatchCommand &command, const QString &value) {
            Status named = fileName(&command.sampleSheet, QStringLiteral("samples"), value);
            if (!named.ok())
                return named;
            for (const auto &output : qAsConst(command.m_outputs)) {
                if (output.second == identity(value))
                    return Status::failure(
                        QStringLiteral("'--%1' names an input file: %2.").arg(output.first, value));
            }
            return Status::success();
        } },
    { "acceptance", "R2,TOL",
        [](BatchCommand &command, const QString &value) { return command.setAcceptance(value); } },
    { "samples-template", "FILE",
        [](BatchCommand &command, const QString &value) {
            command.m_inputs << identity(command.dataFile);
            const Status named
                = fileName(&command.templateFile, QStringLiteral("samples-template"), value);
            return named.ok() ? command.claim(QStringLiteral("samples-template"), value) : named;
        } },
    { "save-method", "FILE",
        [](BatchCommand &command, const QString &value) {
            const Status named
                = fileName(&command.saveMethodFile, QStringLiteral("save-method"), value);
            return named.ok() ? command.claim(QStringLiteral("save-method"), value) : named;
        } },
};

QString BatchCommand::usage()
{
    return QStringLiteral(
        "Usage: ketrion-batch --instrument HR-ICP-MS|Q-ICP-MS --data FILE --stdqc FILE --output "
        "FILE\n"
        "                     [--is-ref SOLUTION] [--is-lr ISOTOPE] [--is-mr ISOTOPE] [--is-hr "
        "ISOTOPE]\n"
        "                     [--is-groups LR,MR,HR] [--is-recovery LOW,HIGH]\n"
        "                     [--blank-mode y-intercept|subtract|none]\n"
        "                     [--blank SOLUTION] [--weighting none|1/x|1/x2] [--no-qc]\n"
        "                     [--samples FILE] [--acceptance R2,TOL]\n"
        "                     [--drift H]\n"
        "                     [--method FILE] [--long FILE] [--report FILE]\n"
        "                     [--plots DIR [--plot-format png|svg|pdf]]\n"
        "       ketrion-batch --instrument HR-ICP-MS|Q-ICP-MS --data FILE --samples-template FILE\n"
        "       ketrion-batch [--method FILE] [options of the method] --save-method FILE\n"
        "\n"
        "Processes one ICP-MS export with its standards-and-QC file, as the Process command of\n"
        "Ketrion does, and writes the results file.\n"
        "\n"
        "  --instrument NAME   instrument that wrote the data file: HR-ICP-MS or Q-ICP-MS\n"
        "  --data FILE         instrument export\n"
        "  --stdqc FILE        standard and QC concentrations\n"
        "  --output FILE       results file, replaced only when the whole run succeeds\n"
        "  --long FILE         also the results as a long table for R or pandas, one row per\n"
        "                      solution and isotope; written after the results file\n"
        "  --report FILE       also the run report, an A4 PDF to sign: inputs with their\n"
        "                      SHA-256, method, calibration, QC, results, plots, warnings;\n"
        "                      written after the long table and before the plots\n"
        "  --plots DIR         also the plots, drawn as the window draws them at 1200 x 800\n"
        "                      pixels, into DIR (made if missing), after the results file and\n"
        "                      the long table: calibration-ISOTOPE for every isotope with a\n"
        "                      calibration line, internal-standard-GROUP for every group\n"
        "                      corrected (LR, MR, HR); in ISOTOPE each run of characters other\n"
        "                      than letters, digits, - and _ becomes one _ (115In_LR)\n"
        "  --plot-format F     image format of the plots: png (default), svg or pdf\n"
        "  --is-ref SOLUTION   internal-standard reference solution; internal-standard\n"
        "                      correction is on only with this option\n"
        "  --is-lr ISOTOPE     internal-standard isotope of the LR group, by its display name\n"
        "                      without trailing blanks (115In LR, or 115In #1 for a Q-ICP-MS);\n"
        "                      default: the first isotope of the group\n"
        "  --is-mr ISOTOPE     the same for the MR group\n"
        "  --is-hr ISOTOPE     the same for the HR group\n"
        "  --is-groups LIST    groups to correct, comma-separated among LR, MR and HR;\n"
        "                      default: LR,MR,HR\n"
        "  --is-recovery LOW,HIGH\n"
        "                      IS recovery bounds in whole percents of the reference\n"
        "                      solution's IS value, 0 <= LOW < HIGH; default: 60,125\n"
        "  --blank-mode MODE   y-intercept (default): the blank becomes a zero standard;\n"
        "                      subtract: the blank is subtracted; none: no blank correction\n"
        "  --blank SOLUTION    blank for the blank mode, also BLK_Avg_All or BLK_Avg_First_Seq;\n"
        "                      default: the first blank of the file\n"
        "  --weighting W       weights of the calibration points: none (default), 1/x or 1/x2\n"
        "  --drift H           corrects each isotope's drift along the run from a monitor\n"
        "                      measured again and again: the solutions named H, H followed by\n"
        "                      digits, or H, _ and digits (VS: VS_1, VS_2, ...), two or more.\n"
        "                      After the IS and blank corrections, each solution's intensity\n"
        "                      is multiplied by m1 / m(p): m1 the monitor's first reading, m(p)\n"
        "                      the straight line in run order between the readings around the\n"
        "                      solution, m1 before the first and the last reading after the\n"
        "                      last. A reading not measured or not above 0 is left out; an\n"
        "                      isotope with fewer than two readings left is not corrected, nor\n"
        "                      are the IS isotopes; the zero standard takes its blank's factor,\n"
        "                      the average blanks none. --plots adds drift-ISOTOPE, the factor\n"
        "                      along the run\n"
        "  --no-qc             no quality-control validation\n"
        "  --samples FILE      sample sheet: a header row naming the columns solution,\n"
        "                      dilution, mass_g and volume_ml (any order and case; tab,\n"
        "                      semicolon or comma), then one row per solution; the long\n"
        "                      table reports each value times the solution's factor\n"
        "                      (dilution, or dilution x volume_ml / (1000 x mass_g) in mg/kg)\n"
        "  --acceptance R2,TOL calibration acceptance, e.g. 0.995,10: a line with fewer than\n"
        "                      three points, r2 below R2, or a standard read back more than\n"
        "                      TOL % off its value (2 x TOL % at the lowest level) is rejected\n"
        "  --samples-template FILE\n"
        "                      writes a sample sheet listing the data file's samples and QC\n"
        "                      solutions with dilution 1, to fill in, and processes nothing\n"
        "  --method FILE       reads the processing options from a method file (the window's\n"
        "                      Save Method); options given here override it, and\n"
        "                      --instrument may then be left out. A method file that cannot\n"
        "                      be read or is refused is a usage error\n"
        "  --save-method FILE  writes the method the other options describe and processes\n"
        "                      nothing: no --data, --stdqc, --output or other file of a run\n"
        "  --help              this text\n"
        "  --version           the program's version\n"
        "\n"
        "Standard output carries the processing trace; with quality-control validation the line\n"
        "\"# QC not valid: n / N\" is followed by one line per QC value outside its interval;\n"
        "with internal-standard correction the line \"# IS recovery outside LOW-HIGH %: k / M\"\n"
        "is followed by one line per solution and IS isotope outside the bounds; with\n"
        "calibration acceptance \"# calibration rejected: k / N\" is followed by one line per\n"
        "rejected isotope with its first reason. The long table's flag column qualifies each\n"
        "value with the first that applies: no value, no calibration or not measured for an\n"
        "empty one, then calibration rejected, <LOD, <LOQ, over range (above the highest\n"
        "standard).\n"
        "Exit status: 0 done; 1 a file cannot be read or written, a reader rejects it (the\n"
        "sample sheet too), the IS reference solution has no value for an IS isotope to\n"
        "correct, or no isotope has standards in the standards file; 2 usage error, also a\n"
        "method file that cannot be read or is refused.\n");
}

QString BatchCommand::optionOf(RunOutcome::Choice choice)
{
    switch (choice) {
    case RunOutcome::Choice::Reference:
        return QStringLiteral("--is-ref");
    case RunOutcome::Choice::IsotopeHR:
        return QStringLiteral("--is-hr");
    case RunOutcome::Choice::IsotopeMR:
        return QStringLiteral("--is-mr");
    case RunOutcome::Choice::IsotopeLR:
        return QStringLiteral("--is-lr");
    case RunOutcome::Choice::DriftMonitor:
        return QStringLiteral("--drift");
    case RunOutcome::Choice::Blank:
        break;
    }
    return QStringLiteral("--blank");
}

Status BatchCommand::claim(const QString &option, const QString &path)
{
    // A slip of the keyboard must not replace an input by an output, nor one
    // output by another.
    const QString target = identity(path);
    if (m_inputs.contains(target))
        return Status::failure(QStringLiteral("'--%1' names an input file: %2.").arg(option, path));
    for (const auto &earlier : qAsConst(m_outputs)) {
        if (earlier.second == target)
            return Status::failure(QStringLiteral("'--%1' names the '--%2' file: %3.")
                                       .arg(option, earlier.first, path));
    }
    m_outputs.append({ option, target });
    return Status::success();
}

Status BatchCommand::readMethod(const QString &path)
{
    methodFile = path;
    if (path.isEmpty())
        return Status::failure(QStringLiteral("Missing file name after '--method'."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(
            QStringLiteral("Cannot read method file %1: %2.").arg(path, file.errorString()));
    // No output may replace the method that describes it.
    m_inputs << identity(path);
    return MethodFile::read(file.readAll(), path, &options);
}

Status BatchCommand::setGroups(const QString &list)
{
    for (RunOptions::Group &group : options.groups)
        group.corrected = false;
    const QStringList names = list.split(QLatin1Char(','));
    for (const QString &raw : names) {
        const QString name = raw.trimmed();
        bool known = false;
        for (const Isotope::Resolution resolution : Isotope::GROUPS_SHOWN) {
            if (name == Isotope::resolutionName(resolution)) {
                options.groups[resolution].corrected = true;
                known = true;
            }
        }
        // "--is-groups ''" checks no group box at all.
        if (!known && !(name.isEmpty() && names.size() == 1))
            return Status::failure(
                QStringLiteral("Unknown group '%1' in '--is-groups': use LR, MR or HR.").arg(name));
    }
    return Status::success();
}

Status BatchCommand::setRecovery(const QString &bounds)
{
    const QRegularExpressionMatch match
        = QRegularExpression(QStringLiteral("^([0-9]+),([0-9]+)$")).match(bounds);
    bool lowRead = false;
    bool highRead = false;
    if (match.hasMatch()) {
        options.recoveryLow = match.captured(1).toInt(&lowRead);
        options.recoveryHigh = match.captured(2).toInt(&highRead);
    }
    if (lowRead && highRead && options.recoveryLow < options.recoveryHigh)
        return Status::success();
    return Status::failure(
        QStringLiteral("Invalid bounds '%1' for '--is-recovery': use LOW,HIGH, whole percents "
                       "with 0 <= LOW < HIGH.")
            .arg(bounds));
}

Status BatchCommand::setAcceptance(const QString &criteria)
{
    const QRegularExpressionMatch match
        = QRegularExpression(QStringLiteral("^([^,]+),([^,]+)$")).match(criteria);
    bool r2Read = false;
    bool toleranceRead = false;
    if (match.hasMatch()) {
        options.minimumR2 = QLocale::c().toDouble(match.captured(1), &r2Read);
        options.tolerance = QLocale::c().toDouble(match.captured(2), &toleranceRead);
    }
    options.acceptance = r2Read && toleranceRead && options.minimumR2 >= 0.0
        && options.minimumR2 <= 1.0 && options.tolerance > 0.0 && options.tolerance <= 100.0;
    if (options.acceptance)
        return Status::success();
    return Status::failure(
        QStringLiteral("Invalid criteria '%1' for '--acceptance': use R2,TOL, a minimum r2 from 0 "
                       "to 1 and a tolerance in percent above 0 and up to 100.")
            .arg(criteria));
}

Status BatchCommand::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption helpOption(
        QStringList { QStringLiteral("h"), QStringLiteral("help") });
    parser.addOption(helpOption);
    const QCommandLineOption versionOption(QStringLiteral("version"));
    parser.addOption(versionOption);
    const QCommandLineOption methodOption(
        QStringLiteral("method"), QString(), QStringLiteral("FILE"));
    parser.addOption(methodOption);
    QList<QCommandLineOption> table;
    for (const Option &option : OPTIONS) {
        table.append(option.valueName ? QCommandLineOption(
                         QLatin1String(option.name), QString(), QLatin1String(option.valueName))
                                      : QCommandLineOption(QLatin1String(option.name)));
        parser.addOption(table.last());
    }
    // The parser expects the program name first.
    if (!parser.parse(QStringList(QStringLiteral("ketrion-batch")) + arguments))
        return Status::failure(parser.errorText());
    if (parser.isSet(helpOption) || parser.isSet(versionOption)) {
        help = parser.isSet(helpOption);
        version = !help;
        return Status::success();
    }
    if (!parser.positionalArguments().isEmpty())
        return Status::failure(
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    Status complete = checkRequired(parser);
    if (!complete.ok())
        return complete;
    Status read
        = parser.isSet(methodOption) ? readMethod(parser.value(methodOption)) : Status::success();
    if (!read.ok())
        return read;

    for (int k = 0; k < table.size(); ++k) {
        if (!parser.isSet(table.at(k)))
            continue;
        // Options that would silently do nothing are refused.
        if (OPTIONS[k].needsReference && !options.internalStandard)
            return Status::failure(QStringLiteral("'--%1' applies only with '--is-ref'.")
                                       .arg(QLatin1String(OPTIONS[k].name)));
        Status set = OPTIONS[k].set(*this, parser.value(table.at(k)));
        if (!set.ok())
            return set;
    }
    bool anyCorrected = false;
    for (const Isotope::Resolution group : Isotope::GROUPS_SHOWN) {
        const QString name = QStringLiteral("is-") + Isotope::resolutionName(group).toLower();
        anyCorrected = anyCorrected || options.groups[group].corrected;
        if (parser.isSet(name) && !options.groups[group].corrected)
            return Status::failure(
                QStringLiteral("'--%1' applies only when '--is-groups' corrects %2.")
                    .arg(name, Isotope::resolutionName(group)));
    }
    if (parser.isSet(QStringLiteral("is-recovery")) && !anyCorrected)
        return Status::failure(
            QStringLiteral("'--is-recovery' applies only when '--is-groups' corrects a group."));
    return Status::success();
}
