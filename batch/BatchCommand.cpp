#include "batch/BatchCommand.h"

#include "parsers/FileError.h"
#include "parsers/MethodFile.h"
#include "parsers/RunOptionTable.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <functional>

namespace {

// The same text for every path to one file, also to one not written yet:
// then its folder with links and ".." resolved, and its name. A link counts
// as the file it names, existing or not: a write through it replaces that.
QString identity(const QString &path)
{
    QFileInfo file(path);
    for (int hops = 0; hops < 40 && file.isSymLink(); ++hops)
        file = QFileInfo(file.symLinkTarget());
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
    for (const char *file : { "data", "stdqc", "output", "long", "xlsx", "report", "plots",
             "plot-format", "samples" }) {
        if (parser.isSet(QLatin1String(file)))
            return Status::failure(
                QStringLiteral("'--save-method' takes only the options of a method, not '--%1'.")
                    .arg(QLatin1String(file)));
    }
    return Status::success();
}

} // namespace

// One option of the command line: its name, the name of its value (none for
// a switch), its help and what it sets, returning why the value is refused.
// The run's own options come from RunOptionTable.
struct BatchCommand::Option
{
    QString name;
    QString valueName;
    QString help;
    std::function<Status(BatchCommand &command, const QString &value)> set;
    const RunOptionTable::Row *row = nullptr;
};

namespace {

using Option = BatchCommand::Option;

Option fileOption(const char *name, const char *valueName, const char *help,
    QString BatchCommand::*target, bool output)
{
    const QString option = QLatin1String(name);
    return { option, QLatin1String(valueName), QLatin1String(help),
        [option, target, output](BatchCommand &command, const QString &value) {
            const Status named = fileName(&(command.*target), option, value);
            return named.ok() && output ? command.claim(option, value) : named;
        } };
}

QVector<Option> plotOptions()
{
    return {
        { QStringLiteral("plots"), QStringLiteral("DIR"),
            QStringLiteral("also the plots, drawn as the window draws them at 1200 x 800\n"
                           "pixels, into DIR (made if missing), after the results file and\n"
                           "the long table: calibration-ISOTOPE for every isotope with a\n"
                           "calibration line, internal-standard-GROUP for every group\n"
                           "corrected (LR, MR, HR); in ISOTOPE each run of characters other\n"
                           "than letters, digits, - and _ becomes one _ (115In_LR)"),
            [](BatchCommand &command, const QString &value) {
                command.plotFolder = value;
                if (value.isEmpty())
                    return Status::failure(QStringLiteral("Missing folder name after '--plots'."));
                return command.claim(QStringLiteral("plots"), value);
            } },
        { QStringLiteral("plot-format"), QStringLiteral("F"),
            QStringLiteral("image format of the plots: png (default), svg or pdf"),
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
    };
}

// The files of a run, after the instrument and before the run's options.
QVector<Option> fileOptions()
{
    QVector<Option> options {
        fileOption("data", "FILE", "instrument export", &BatchCommand::dataFile, false),
        fileOption(
            "stdqc", "FILE", "standard and QC concentrations", &BatchCommand::standardsFile, false),
        { QStringLiteral("output"), QStringLiteral("FILE"),
            QStringLiteral("results file, replaced only when the whole run succeeds"),
            [](BatchCommand &command, const QString &value) {
                command.claimInputs({ command.dataFile, command.standardsFile });
                const Status named = fileName(&command.outputFile, QStringLiteral("output"), value);
                return named.ok() ? command.claim(QStringLiteral("output"), value) : named;
            } },
        fileOption("long", "FILE",
            "also the results as a long table for R or pandas, one row per\n"
            "solution and isotope; written after the results file",
            &BatchCommand::longFile, true),
        fileOption("xlsx", "FILE",
            "also a workbook for spreadsheet programs (.xlsx), numbers as\n"
            "numbers: sheets Results (the matrix of reported values, the\n"
            "qualified ones coloured), Long, Calibration, QC and Method;\n"
            "written after the long table",
            &BatchCommand::workbookFile, true),
        fileOption("report", "FILE",
            "also the run report, an A4 PDF to sign: inputs with their\n"
            "SHA-256, method, calibration, QC, results, plots, warnings;\n"
            "written after the workbook and before the plots",
            &BatchCommand::reportFile, true),
    };
    options << plotOptions();
    options << Option { QStringLiteral("samples"), QStringLiteral("FILE"),
        QStringLiteral("sample sheet: a header row naming the columns solution,\n"
                       "dilution, mass_g, volume_ml, role, parent and spike (any order\n"
                       "and case; tab, semicolon or comma), then one row per solution;\n"
                       "the long table reports each value times the solution's factor\n"
                       "(dilution, or dilution x volume_ml / (1000 x mass_g) in mg/kg);\n"
                       "a role (ICV, CCV, LLCCV, ICB, CCB) makes the solution a check\n"
                       "of the run QC, another (DUP, MS, MSD with their parent, the\n"
                       "MS's and MSD's spike a column of the standards file; LCS, MB)\n"
                       "a preparation of the batch QC"),
        [](BatchCommand &command, const QString &value) {
            const Status named = fileName(&command.sampleSheet, QStringLiteral("samples"), value);
            return named.ok() ? command.claimAsInput(value) : named;
        } };
    return options;
}

// What a command does instead of a run, after the run's options.
QVector<Option> otherCommands()
{
    return {
        { QStringLiteral("samples-template"), QStringLiteral("FILE"),
            QStringLiteral("writes a sample sheet listing the data file's samples and QC\n"
                           "solutions with dilution 1, to fill in, and processes nothing"),
            [](BatchCommand &command, const QString &value) {
                command.claimInputs({ command.dataFile });
                const Status named
                    = fileName(&command.templateFile, QStringLiteral("samples-template"), value);
                return named.ok() ? command.claim(QStringLiteral("samples-template"), value)
                                  : named;
            } },
        // Read before every other option: see parse().
        { QStringLiteral("method"), QStringLiteral("FILE"),
            QStringLiteral("reads the processing options from a method file (the window's\n"
                           "Save Method); options given here override it, and\n"
                           "--instrument may then be left out. A method file that cannot\n"
                           "be read or is refused is a usage error"),
            {} },
        fileOption("save-method", "FILE",
            "writes the method the other options describe and processes\n"
            "nothing: no --data, --stdqc, --output or other file of a run",
            &BatchCommand::saveMethodFile, true),
    };
}

Option runOption(const RunOptionTable::Row &row)
{
    return { row.flag, row.valueName, row.help,
        [&row](BatchCommand &command, const QString &value) {
            // Options that would silently do nothing are refused.
            if (row.needsReference && !command.options.internalStandard)
                return Status::failure(
                    QStringLiteral("'--%1' applies only with '--is-ref'.").arg(row.flag));
            Status parsed = row.parse(value, &command.options);
            if (!parsed.ok())
                return parsed;
            QString member;
            Status checked = command.options.check(&member);
            if (checked.ok())
                return checked;
            return Status::failure(row.owns(member) ? row.invalid.arg(value) : checked.message());
        },
        &row };
}

// The help's block of one option: its name and value, then its text in a
// column of its own.
QString helpBlock(const QString &option, const QString &help)
{
    constexpr int COLUMN = 22;
    const QString indent(COLUMN, QLatin1Char(' '));
    QString block = QStringLiteral("  ") + option;
    block += block.size() < COLUMN ? QString(COLUMN - block.size(), QLatin1Char(' '))
                                   : QLatin1Char('\n') + indent;
    return block + QString(help).replace(QLatin1Char('\n'), QLatin1Char('\n') + indent)
        + QLatin1Char('\n');
}

// The run's options after the files, as many to a line as fit.
QString synopsis(const QVector<Option> &options)
{
    const QString indent(20, QLatin1Char(' '));
    QString text;
    QString line = indent;
    for (const Option &option : options) {
        if (!option.row || option.name == QLatin1String("instrument"))
            continue;
        const QString item
            = QStringLiteral(" [--%1%2]%3")
                  .arg(option.name,
                      option.valueName.isEmpty() ? QString() : QLatin1Char(' ') + option.valueName,
                      option.row->repeated ? QStringLiteral("...") : QString());
        if (line.size() + item.size() > 90) {
            text += line + QLatin1Char('\n');
            line = indent;
        }
        line += item;
    }
    return text + line + QLatin1Char('\n');
}

const char *const EPILOGUE
    = "Standard output carries the processing trace; with quality-control validation the line\n"
      "\"# QC not valid: n / N\" is followed by one line per QC value outside its interval;\n"
      "with internal-standard correction the line \"# IS recovery outside LOW-HIGH %: k / M\"\n"
      "is followed by one line per solution and IS isotope outside the bounds; with\n"
      "calibration acceptance \"# calibration rejected: k / N\" is followed by one line per\n"
      "rejected isotope with its first reason; with roles in the sample sheet \"# run QC: k /\n"
      "N checks failed\" is followed by one line per failing check and isotope, the gaps\n"
      "between checks and \"# run QC: R results to rerun\"; with QC preparations \"# sample\n"
      "QC: k / N failed\" is followed by one line per failing preparation and isotope and,\n"
      "when some spike was below 30 % of the sample, \"# sample QC: M not evaluated (spike\n"
      "below 30 % of the sample)\". The long table's flag column qualifies each value with\n"
      "the first that applies: no value, no calibration or not measured for an empty one,\n"
      "then calibration rejected, the first run QC finding (ICV failed, ICB failed, LLCCV\n"
      "failed, CCV failed, CCB failed, not bracketed) or batch QC finding (LCS failed, blank\n"
      "contamination, spike recovery, duplicate RPD), <LOD, <LOQ, over range (above the\n"
      "highest standard); with roles its last column, qc_findings, lists every finding with\n"
      "its check or preparation.\n"
      "Exit status: 0 done; 1 a file cannot be read or written, a reader rejects it (the\n"
      "sample sheet too), the IS reference solution has no value for an IS isotope to\n"
      "correct, or no isotope has standards in the standards file; 2 usage error, also a\n"
      "method file that cannot be read or is refused.\n";

} // namespace

const QVector<BatchCommand::Option> &BatchCommand::commandOptions()
{
    static const QVector<Option> all = [] {
        const QVector<RunOptionTable::Row> &rows = RunOptionTable::rows();
        // The instrument first: the files' messages may name it.
        QVector<Option> list { runOption(rows.first()) };
        list << fileOptions();
        for (const auto *row = rows.begin() + 1; row != rows.end(); ++row)
            list << runOption(*row);
        return list << otherCommands();
    }();
    return all;
}

QString BatchCommand::usage()
{
    const QString instruments = RunOptions::instruments().join(QLatin1Char('|'));
    QString text = QStringLiteral("Usage: ketrion-batch --instrument %1 --data FILE --stdqc FILE "
                                  "--output FILE\n")
                       .arg(instruments)
        + synopsis(commandOptions())
        + QStringLiteral("                     [--samples FILE] [--method FILE] [--long FILE] "
                         "[--xlsx FILE]\n"
                         "                     [--report FILE] [--plots DIR [--plot-format "
                         "png|svg|pdf]]\n"
                         "       ketrion-batch --instrument %1 --data FILE --samples-template "
                         "FILE\n"
                         "       ketrion-batch [--method FILE] [options of the method] "
                         "--save-method FILE\n\n"
                         "Processes one ICP-MS export with its standards-and-QC file, as the "
                         "Process command of\n"
                         "Ketrion does, and writes the results file.\n\n")
              .arg(instruments);
    for (const Option &option : commandOptions())
        text += helpBlock(
            QStringLiteral("--%1 %2").arg(option.name, option.valueName).trimmed(), option.help);
    text += helpBlock(QStringLiteral("--help"), QStringLiteral("this text"));
    text += helpBlock(QStringLiteral("--version"), QStringLiteral("the program's version"));
    return text + QLatin1Char('\n') + QLatin1String(EPILOGUE);
}

QString BatchCommand::unknownName(const RunOutcome &outcome) const
{
    // The option that sets the choice, and the method-file member.
    static const QMap<RunOutcome::Choice, QPair<QString, QString>> names {
        { RunOutcome::Choice::Reference,
            { QStringLiteral("is-ref"), QStringLiteral("reference") } },
        { RunOutcome::Choice::IsotopeLR, { QStringLiteral("is-lr"), QStringLiteral("isotopeLR") } },
        { RunOutcome::Choice::IsotopeMR, { QStringLiteral("is-mr"), QStringLiteral("isotopeMR") } },
        { RunOutcome::Choice::IsotopeHR, { QStringLiteral("is-hr"), QStringLiteral("isotopeHR") } },
        { RunOutcome::Choice::Blank, { QStringLiteral("blank"), QStringLiteral("blank") } },
        { RunOutcome::Choice::DriftMonitor,
            { QStringLiteral("drift"), QStringLiteral("driftMonitor") } },
        { RunOutcome::Choice::Interference,
            { QStringLiteral("interference"), QStringLiteral("interference") } },
    };
    const QPair<QString, QString> name = names.value(outcome.unknownChoice);
    const bool fromMethod = !m_typed.contains(name.first) && !methodFile.isEmpty();
    // The monitor's reason names the monitors that would do, an equation's its fault.
    if (outcome.unknownChoice == RunOutcome::Choice::DriftMonitor)
        return outcome.reason
            + (fromMethod ? QStringLiteral(" The monitor is the method file's: %1.").arg(methodFile)
                          : QString());
    if (outcome.unknownChoice == RunOutcome::Choice::Interference)
        return outcome.reason
            + (fromMethod
                    ? QStringLiteral(" The equation is the method file's: %1.").arg(methodFile)
                    : QString());
    const QString kind = outcome.unknownChoice == RunOutcome::Choice::Reference
        ? QStringLiteral("solution")
        : outcome.unknownChoice == RunOutcome::Choice::Blank ? QStringLiteral("blank")
                                                             : QStringLiteral("isotope");
    if (fromMethod)
        return QStringLiteral("Unknown %1 '%2' for '%3' in the method file %4.")
            .arg(kind, outcome.unknownName, name.second, methodFile);
    return QStringLiteral("Unknown %1 '%2' for '--%3'.").arg(kind, outcome.unknownName, name.first);
}

void BatchCommand::claimInputs(const QStringList &paths)
{
    for (const QString &path : paths)
        m_inputs << identity(path);
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

Status BatchCommand::claimAsInput(const QString &path)
{
    for (const auto &output : qAsConst(m_outputs)) {
        if (output.second == identity(path))
            return Status::failure(
                QStringLiteral("'--%1' names an input file: %2.").arg(output.first, path));
    }
    return Status::success();
}

Status BatchCommand::readMethod(const QString &path)
{
    methodFile = path;
    if (path.isEmpty())
        return Status::failure(QStringLiteral("Missing file name after '--method'."));
    QFile file(path);
    // A usage error is one line.
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(
            FileError::unreadable(path, file.errorString(), QStringLiteral("method file"))
                .replace(QLatin1Char('\n'), QLatin1Char(' ')));
    // No output may replace the method that describes it.
    claimInputs({ path });
    return MethodFile::read(file.readAll(), path, &options);
}

// Options that would silently do nothing are refused.
Status BatchCommand::checkGroups(const QCommandLineParser &parser) const
{
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

Status BatchCommand::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption helpOption(
        QStringList { QStringLiteral("h"), QStringLiteral("help") });
    parser.addOption(helpOption);
    const QCommandLineOption versionOption(QStringLiteral("version"));
    parser.addOption(versionOption);
    for (const Option &option : commandOptions()) {
        parser.addOption(option.valueName.isEmpty()
                ? QCommandLineOption(option.name)
                : QCommandLineOption(option.name, QString(), option.valueName));
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
    Status checked = checkRequired(parser);
    if (checked.ok() && parser.isSet(QStringLiteral("method")))
        checked = readMethod(parser.value(QStringLiteral("method")));
    for (const Option &option : commandOptions()) {
        if (!parser.isSet(option.name))
            continue;
        m_typed << option.name;
        if (!checked.ok() || !option.set)
            continue;
        if (!option.row || !option.row->repeated) {
            checked = option.set(*this, parser.value(option.name));
            continue;
        }
        option.row->reset(&options);
        for (const QString &value : parser.values(option.name)) {
            if (checked.ok())
                checked = option.set(*this, value);
        }
    }
    return checked.ok() ? checkGroups(parser) : checked;
}
