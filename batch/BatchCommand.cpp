#include "batch/BatchCommand.h"

#include "parsers/ParserInAgilentCSV.h"
#include "parsers/ParserInHRElementCSV.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <iterator>

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

} // namespace

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
        "                     [--long FILE] [--plots DIR [--plot-format png|svg|pdf]]\n"
        "\n"
        "Processes one ICP-MS export with its standards-and-QC file, as the Process command of\n"
        "Ketrion does, and writes the results file.\n"
        "\n"
        "  --instrument NAME   instrument that wrote the data file: HR-ICP-MS or Q-ICP-MS\n"
        "  --data FILE         instrument export\n"
        "  --stdqc FILE        standard and QC concentrations\n"
        "  --output FILE       results file; replaced only when the whole run succeeds\n"
        "  --long FILE         also the results as a long table for R or pandas, one row per\n"
        "                      solution and isotope; written after the results file\n"
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
        "  --no-qc             no quality-control validation\n"
        "  --help              this text\n"
        "\n"
        "Standard output carries the processing trace; with quality-control validation the line\n"
        "\"# QC not valid: n / N\" is followed by one line per QC value outside its interval;\n"
        "with internal-standard correction the line \"# IS recovery outside LOW-HIGH %: k / M\"\n"
        "is followed by one line per solution and IS isotope outside the bounds.\n"
        "Exit status: 0 done; 1 a file cannot be read or written, a reader rejects it, the IS\n"
        "reference solution has no value for an IS isotope to correct, or no isotope has\n"
        "standards in the standards file; 2 usage error.\n");
}

QString BatchCommand::parse(const QStringList &arguments)
{
    const QCommandLineOption helpOption(
        QStringList { QStringLiteral("h"), QStringLiteral("help") });
    const QCommandLineOption instrumentOption(
        QStringLiteral("instrument"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption dataOption(QStringLiteral("data"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption stdqcOption(
        QStringLiteral("stdqc"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption outputOption(
        QStringLiteral("output"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption isRefOption(
        QStringLiteral("is-ref"), QString(), QStringLiteral("SOLUTION"));
    const QCommandLineOption isLROption(
        QStringLiteral("is-lr"), QString(), QStringLiteral("ISOTOPE"));
    const QCommandLineOption isMROption(
        QStringLiteral("is-mr"), QString(), QStringLiteral("ISOTOPE"));
    const QCommandLineOption isHROption(
        QStringLiteral("is-hr"), QString(), QStringLiteral("ISOTOPE"));
    const QCommandLineOption groupsOption(
        QStringLiteral("is-groups"), QString(), QStringLiteral("LIST"));
    const QCommandLineOption recoveryOption(
        QStringLiteral("is-recovery"), QString(), QStringLiteral("LOW,HIGH"));
    const QCommandLineOption blankModeOption(
        QStringLiteral("blank-mode"), QString(), QStringLiteral("MODE"));
    const QCommandLineOption blankOption(
        QStringLiteral("blank"), QString(), QStringLiteral("SOLUTION"));
    const QCommandLineOption weightingOption(
        QStringLiteral("weighting"), QString(), QStringLiteral("W"));
    const QCommandLineOption noQcOption(QStringLiteral("no-qc"));
    const QCommandLineOption longOption(QStringLiteral("long"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption plotsOption(QStringLiteral("plots"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption plotFormatOption(
        QStringLiteral("plot-format"), QString(), QStringLiteral("F"));

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(
        { helpOption, instrumentOption, dataOption, stdqcOption, outputOption, isRefOption,
            isLROption, isMROption, isHROption, groupsOption, recoveryOption, blankModeOption,
            blankOption, weightingOption, noQcOption, longOption, plotsOption, plotFormatOption });
    // The parser expects the program name first.
    if (!parser.parse(QStringList(QStringLiteral("ketrion-batch")) + arguments))
        return parser.errorText();
    if (parser.isSet(helpOption)) {
        help = true;
        return {};
    }
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("Unexpected argument '%1'.")
            .arg(parser.positionalArguments().first());

    const QCommandLineOption *required[]
        = { &instrumentOption, &dataOption, &stdqcOption, &outputOption };
    for (const QCommandLineOption *option : required) {
        if (!parser.isSet(*option))
            return QStringLiteral("Missing option '--%1'.").arg(option->names().first());
    }

    instrument = parser.value(instrumentOption);
    if (instrument != ParserInHRElementCSV::ICP_MS_NAME
        && instrument != ParserInAgilentCSV::ICP_MS_NAME)
        return QStringLiteral("Unknown instrument '%1': use %2 or %3.")
            .arg(instrument, ParserInHRElementCSV::ICP_MS_NAME, ParserInAgilentCSV::ICP_MS_NAME);

    const QCommandLineOption *files[] = { &dataOption, &stdqcOption, &outputOption };
    for (const QCommandLineOption *option : files) {
        if (parser.value(*option).isEmpty())
            return QStringLiteral("Missing file name after '--%1'.").arg(option->names().first());
    }
    dataFile = parser.value(dataOption);
    stdqcFile = parser.value(stdqcOption);
    outputFile = parser.value(outputOption);
    // A slip of the keyboard must not replace an input by an output, nor one
    // output by another.
    const QStringList inputs { identity(dataFile), identity(stdqcFile) };
    QList<QPair<QString, QString>> outputs; // option and file
    const auto claim = [&](const QString &option, const QString &path) -> QString {
        const QString target = identity(path);
        if (inputs.contains(target))
            return QStringLiteral("'--%1' names an input file: %2.").arg(option, path);
        for (const auto &earlier : qAsConst(outputs)) {
            if (earlier.second == target)
                return QStringLiteral("'--%1' names the '--%2' file: %3.")
                    .arg(option, earlier.first, path);
        }
        outputs.append({ option, target });
        return {};
    };
    QString clash = claim(QStringLiteral("output"), outputFile);
    if (clash.isEmpty() && parser.isSet(longOption)) {
        longFile = parser.value(longOption);
        if (longFile.isEmpty())
            return QStringLiteral("Missing file name after '--long'.");
        clash = claim(QStringLiteral("long"), longFile);
    }
    if (clash.isEmpty() && parser.isSet(plotsOption)) {
        plotFolder = parser.value(plotsOption);
        if (plotFolder.isEmpty())
            return QStringLiteral("Missing folder name after '--plots'.");
        clash = claim(QStringLiteral("plots"), plotFolder);
    }
    if (!clash.isEmpty())
        return clash;
    if (parser.isSet(plotFormatOption)) {
        if (plotFolder.isEmpty())
            return QStringLiteral("'--plot-format' applies only with '--plots'.");
        const QString name = parser.value(plotFormatOption);
        const PlotImage::Format formats[]
            = { PlotImage::Format::Png, PlotImage::Format::Svg, PlotImage::Format::Pdf };
        const auto known = std::find_if(std::begin(formats), std::end(formats),
            [&](PlotImage::Format format) { return PlotImage::suffix(format) == name; });
        if (known == std::end(formats))
            return QStringLiteral("Unknown plot format '%1': use png, svg or pdf.").arg(name);
        plotFormat = *known;
    }

    // Options that would silently do nothing are refused.
    isCorrection = parser.isSet(isRefOption);
    if (!isCorrection) {
        for (const QCommandLineOption *option :
            { &isLROption, &isMROption, &isHROption, &groupsOption, &recoveryOption }) {
            if (parser.isSet(*option))
                return QStringLiteral("'--%1' applies only with '--is-ref'.")
                    .arg(option->names().first());
        }
    }
    isReference = parser.value(isRefOption);
    isLRGiven = parser.isSet(isLROption);
    isMRGiven = parser.isSet(isMROption);
    isHRGiven = parser.isSet(isHROption);
    isLR = parser.value(isLROption);
    isMR = parser.value(isMROption);
    isHR = parser.value(isHROption);

    if (parser.isSet(groupsOption)) {
        correctLR = correctMR = correctHR = false;
        const QStringList groups = parser.value(groupsOption).split(QLatin1Char(','));
        for (const QString &raw : groups) {
            const QString group = raw.trimmed();
            if (group == QLatin1String("LR"))
                correctLR = true;
            else if (group == QLatin1String("MR"))
                correctMR = true;
            else if (group == QLatin1String("HR"))
                correctHR = true;
            // "--is-groups ''" checks no group box at all.
            else if (!(group.isEmpty() && groups.size() == 1))
                return QStringLiteral("Unknown group '%1' in '--is-groups': use LR, MR or HR.")
                    .arg(group);
        }
    }

    if (parser.isSet(recoveryOption)) {
        const QString bounds = parser.value(recoveryOption);
        const QRegularExpressionMatch match
            = QRegularExpression(QStringLiteral("^([0-9]+),([0-9]+)$")).match(bounds);
        bool lowRead = false;
        bool highRead = false;
        if (match.hasMatch()) {
            recoveryLow = match.captured(1).toInt(&lowRead);
            recoveryHigh = match.captured(2).toInt(&highRead);
        }
        if (!lowRead || !highRead || recoveryLow >= recoveryHigh)
            return QStringLiteral("Invalid bounds '%1' for '--is-recovery': use LOW,HIGH, whole "
                                  "percents with 0 <= LOW < HIGH.")
                .arg(bounds);
    }

    if (parser.isSet(blankModeOption)) {
        const QString mode = parser.value(blankModeOption);
        if (mode == QLatin1String("y-intercept"))
            blankMode = YIntercept;
        else if (mode == QLatin1String("subtract"))
            blankMode = Subtract;
        else if (mode == QLatin1String("none"))
            blankMode = NoBlank;
        else
            return QStringLiteral("Unknown blank mode '%1': use y-intercept, subtract or none.")
                .arg(mode);
    }
    blankGiven = parser.isSet(blankOption);
    if (blankGiven && blankMode == NoBlank)
        return QStringLiteral("'--blank' applies only with '--blank-mode y-intercept' or "
                              "'--blank-mode subtract'.");
    blank = parser.value(blankOption);

    if (parser.isSet(weightingOption)) {
        const QString name = parser.value(weightingOption);
        if (name == QLatin1String("none"))
            weighting = Processing::Weighting::None;
        else if (name == QLatin1String("1/x"))
            weighting = Processing::Weighting::InverseX;
        else if (name == QLatin1String("1/x2"))
            weighting = Processing::Weighting::InverseXSquared;
        else
            return QStringLiteral("Unknown weighting '%1': use none, 1/x or 1/x2.").arg(name);
    }

    qcValidation = !parser.isSet(noQcOption);
    return {};
}
