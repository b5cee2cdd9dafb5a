#include "processing/ProcessingRun.h"

#include "model/Data.h"
#include "parsers/OutputFile.h"
#include "parsers/ParserOutCSV.h"
#include "parsers/ParserOutLongCSV.h"
#include "processing/Processing.h"
#include "processing/Trace.h"

#include <QFileInfo>

const QString ProcessingRun::NO_ZERO_STD_BLANK
    = QStringLiteral("No blank available for the zero standard: calibrated without it");
const QString ProcessingRun::NO_SUBTRACTION_BLANK
    = QStringLiteral("No blank available for the subtraction: nothing subtracted");

QString ProcessingRun::noCalibrationMessage(const QString &stdqcFileName)
{
    return QStringLiteral("No isotope of the data file has standards in %1: check the standards "
                          "file and the instrument.")
        .arg(QFileInfo(stdqcFileName).fileName());
}

namespace {

int mapIn(const QList<int> &indexes, int k)
{
    return k >= 0 && k < indexes.size() ? indexes.at(k) : -1;
}

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

void addAverageBlanks(Data *data, const QList<int> &allBlanks, const QList<int> &firstRun)
{
    data->addBLKmoy(allBlanks, Data::ALL_AVG);
    data->addBLKmoy(firstRun, Data::FIRST_SEQ_AVG);
}

} // namespace

void ProcessingRun::prepareWorkingSet(
    const Data *inputData, Data *outputData, Processing *processing, bool readAccepted)
{
    outputData->copyData(inputData);
    if (readAccepted)
        addAverageBlanks(outputData, inputData->getBlkIndexes(), inputData->firstBlankRun());
    processing->init(outputData->isoSize());
}

ParseResult ProcessingRun::readStandards(
    QIODevice *file, Parser *reader, Data *inputData, Processing *processing)
{
    Data concentrations(reader);
    concentrations.copyData(inputData);
    for (int s = 0; s < concentrations.solutionSize(); ++s) {
        Solution *solution = concentrations.getSolution(s);
        for (int i = 0; i < concentrations.isoSize(); ++i) {
            solution->setConcent(i, 0.0);
            solution->setConcentRSD(i, 0.0);
        }
    }
    const ParseResult read = concentrations.executeParsing(file, processing);
    if (read.code == 0) {
        inputData->copyData(&concentrations);
        inputData->loadParser(reader);
    }
    return read;
}

QString ProcessingRun::saveResults(
    const QString &fileName, Data *outputData, Processing *processing, Layout layout)
{
    ParserOutCSV wide;
    ParserOutLongCSV longTable;
    ParserOut &writer = layout == Layout::Long ? static_cast<ParserOut &>(longTable) : wide;
    return OutputFile::write(
        fileName, QIODevice::WriteOnly | QIODevice::Text, [&](QIODevice *device) {
            const ParseResult written = writer.parse(device, outputData, processing);
            return written.code == 0 ? QString() : written.message;
        });
}

QString ProcessingRun::checkReference(const RunOptions &options, const Data *inputData)
{
    if (!options.isCorrection || options.isReference < 0
        || options.isReference >= inputData->solutionSize())
        return {};
    const Solution *reference = inputData->getSolution(options.isReference);
    const struct
    {
        bool checked;
        int isotope;
    } groups[] = {
        { options.correctLR, mapIn(inputData->getLrIndexes(), options.isLR) },
        { options.correctMR, mapIn(inputData->getMrIndexes(), options.isMR) },
        { options.correctHR, mapIn(inputData->getHrIndexes(), options.isHR) },
    };
    for (const auto &group : groups) {
        // Its factor would be 0: every value of the group would be wiped out.
        if (group.checked && group.isotope != -1 && !reference->isMeasured(group.isotope))
            return QStringLiteral("The IS reference solution %1 has no value for %2: choose "
                                  "another reference solution or isotope.")
                .arg(reference->getName(), inputData->getIso(group.isotope).getName().trimmed());
    }
    return {};
}

void ProcessingRun::traceConfiguration(const RunOptions &options)
{
    Trace::line(QStringLiteral("*** begin processing ***"));
    Trace::line(QStringLiteral("# Ketrion configuration:"));
    Trace::line(QStringLiteral("  Selected ICP instrument: ") + options.instrument);
    if (options.isCorrection) {
        Trace::line(QStringLiteral("  Internal standard correction is set with:"));
        Trace::line(QStringLiteral("    - ") + options.isReferenceName
            + QStringLiteral(" as the IS reference solution"));
        Trace::line(QStringLiteral("    - IS check boxes' status are: ") + flag(options.correctLR)
            + QStringLiteral(" ; ") + flag(options.correctMR) + QStringLiteral(" ; ")
            + flag(options.correctHR));
        Trace::line(QStringLiteral("    - ") + options.isLRName
            + QStringLiteral(" as the IS-LR isotope reference"));
        Trace::line(QStringLiteral("    - ") + options.isMRName
            + QStringLiteral(" as the IS-MR isotope reference"));
        Trace::line(QStringLiteral("    - ") + options.isHRName
            + QStringLiteral(" as the IS-HR isotope reference"));
    } else {
        Trace::line(QStringLiteral("  No internal standard correction is applied"));
    }
    const QString blankReference = QStringLiteral(" with ") + options.blankSelectionName
        + QStringLiteral(" as the blank reference solution");
    if (options.yIntercept)
        Trace::line(QStringLiteral("  Y-intercept is set") + blankReference);
    else if (options.subBlank)
        Trace::line(QStringLiteral("  Blank subtraction is set") + blankReference);
    else
        Trace::line(QStringLiteral("  No blank correction is applied"));
    if (options.weighting != Processing::Weighting::None)
        Trace::line(QStringLiteral("  Calibration lines are weighted by ")
            + Processing::weightingName(options.weighting));
    if (options.qcValidation)
        Trace::line(QStringLiteral("  Quality control validation is set"));
    Trace::line(QStringLiteral("# open QC-STD file"));
}

RunResult ProcessingRun::run(
    const RunOptions &options, Data *inputData, Data *outputData, Processing *processing)
{
    RunResult result;

    Trace::line(QStringLiteral("# init processing variables"));
    // No line, r2 or limit of an earlier run with other options may survive.
    processing->init(inputData->isoSize());
    processing->setWeighting(options.weighting);
    const int isLR = mapIn(inputData->getLrIndexes(), options.isLR);
    const int isMR = mapIn(inputData->getMrIndexes(), options.isMR);
    const int isHR = mapIn(inputData->getHrIndexes(), options.isHR);
    if (options.isCorrection) {
        if (options.correctLR)
            result.isElementList.append(isLR);
        if (options.correctMR)
            result.isElementList.append(isMR);
        if (options.correctHR)
            result.isElementList.append(isHR);
    }

    outputData->copyData(inputData);

    // The IS isotope of each group this run corrects, HR, MR, LR: only these
    // groups lose a solution's values with its IS, and take the IS uncertainty.
    int correctedIS[3] = { -1, -1, -1 };
    if (options.isCorrection) {
        Trace::line(QStringLiteral("# internal standard correction"));
        result.is_ref_id
            = options.isReference >= 0 && options.isReference < outputData->solutionSize()
            ? options.isReference
            : -1;
        result.is_elements[Element::LR] = isLR;
        result.is_elements[Element::MR] = isMR;
        result.is_elements[Element::HR] = isHR;
        const Element::Resolution order[] = { Element::LR, Element::MR, Element::HR };
        const bool checked[] = { options.correctLR, options.correctMR, options.correctHR };
        for (int k = 0; k < 3; ++k) {
            if (checked[k] && result.is_ref_id != -1)
                correctedIS[order[k]] = result.is_elements[order[k]];
        }
        outputData->markMissingIS(correctedIS);
        for (int k = 0; k < 3; ++k) {
            if (checked[k])
                processing->correctionIS(
                    outputData, result.is_ref_id, result.is_elements[order[k]], order[k]);
        }
    }

    const QList<int> allBlankIndexes = inputData->getBlkIndexes();
    const QList<int> firstBlankRun = inputData->firstBlankRun();
    // The averages follow the file's blanks in the panel's list; subtracting one
    // needs it built first.
    const bool averageChosen = options.subBlank && options.blankSelection >= allBlankIndexes.size();
    Data averagedSource;
    Data *source = inputData;
    if (averageChosen) {
        Trace::line(QStringLiteral("# add blk solutions"));
        addAverageBlanks(outputData, allBlankIndexes, firstBlankRun);
        // Its uncertainty comes from the same average of the uncorrected values.
        averagedSource.copyData(inputData);
        averagedSource.markMissingIS(correctedIS);
        addAverageBlanks(&averagedSource, allBlankIndexes, firstBlankRun);
        source = &averagedSource;
    }

    if (options.subBlank) {
        Trace::line(QStringLiteral("# substract blank"));
        result.blank_id = mapIn(outputData->getBlkIndexes(), options.blankSelection);
        if (result.blank_id == -1) {
            Trace::line(QStringLiteral("# no blank available: nothing subtracted"));
            result.status = NO_SUBTRACTION_BLANK;
        }
        processing->subtructBlank(outputData, result.blank_id, true, result.isElementList);
    }

    if (!averageChosen) {
        Trace::line(QStringLiteral("# add blk solutions"));
        addAverageBlanks(outputData, allBlankIndexes, firstBlankRun);
    }

    if (options.yIntercept) {
        Trace::line(QStringLiteral("# y intercept"));
        if (outputData->containsSolution(Solution::ZERO_STD_NAME) == -1) {
            const int blank = mapIn(outputData->getBlkIndexes(), options.blankSelection);
            if (blank == -1) {
                Trace::line(QStringLiteral("# no blank available: no zero standard added"));
                result.status = NO_ZERO_STD_BLANK;
            } else {
                outputData->addSolution(
                    outputData->getSolution(blank)->copy(Solution::ZERO_STD_NAME, Solution::STD));
                result.zeroStandardAdded = true;
            }
        }
    }

    Trace::line(QStringLiteral("# process calibration"));
    processing->calibration(outputData, result.isElementList);
    // Without a single line every result would be empty: not worth a report.
    result.calibrated = false;
    for (int i = 0; i < processing->size(); ++i)
        result.calibrated = result.calibrated || processing->hasLine(i);
    if (!result.calibrated)
        return result;

    Trace::line(QStringLiteral("blank_id = %1, is_ref_id = %2, is_elements[0] = %3, "
                               "is_elements[1] = %4, is_elements[2] = %5")
                    .arg(result.blank_id)
                    .arg(result.is_ref_id)
                    .arg(result.is_elements[0])
                    .arg(result.is_elements[1])
                    .arg(result.is_elements[2]));
    Trace::line(QStringLiteral("*** process concentration ***"));
    processing->computeConcent(outputData, source, result.blank_id, result.is_ref_id, correctedIS);

    Trace::line(QStringLiteral("*** process limits ***"));
    processing->computeLimits(outputData, firstBlankRun);

    if (options.qcValidation) {
        Trace::line(QStringLiteral("*** process QC control ***"));
        result.qcChecked = true;
        result.qc = processing->passQC(inputData, outputData);
        for (int s = 0; s < inputData->solutionSize(); ++s) {
            const Solution *qc = inputData->getSolution(s);
            if (qc->getType() != Solution::QC)
                continue;
            for (int i = 0; i < inputData->isoSize(); ++i) {
                if (qc->getConcent(i) != 0.0)
                    ++result.qcValueCount;
            }
        }
        Trace::always(QStringLiteral("# QC not valid: %1 / %2")
                          .arg(result.qc.messages.size())
                          .arg(result.qcValueCount));
    }

    if (options.isCorrection && result.is_ref_id != -1) {
        QList<int> isotopes;
        for (const Element::Resolution group : { Element::LR, Element::MR, Element::HR }) {
            if (correctedIS[group] != -1)
                isotopes.append(correctedIS[group]);
        }
        result.recoveryChecked = true;
        result.recovery = Processing::checkRecovery(
            inputData, result.is_ref_id, isotopes, options.recoveryLow, options.recoveryHigh);
    }
    return result;
}

void ProcessingRun::traceRecovery(const RunResult &result)
{
    if (!result.recoveryChecked)
        return;
    Trace::always(QStringLiteral("# IS recovery outside %1-%2 %: %3 / %4")
                      .arg(result.recovery.low)
                      .arg(result.recovery.high)
                      .arg(result.recovery.outside.size())
                      .arg(result.recovery.checked));
}

QStringList ProcessingRun::recoveryLines(const RunResult &result, const Data *inputData)
{
    QStringList lines;
    for (const RecoveryResult::Pair &pair : result.recovery.outside) {
        const QString value = pair.measured
            ? QString::number(pair.percent, 'f', 1) + QStringLiteral(" %")
            : QStringLiteral("not measured");
        lines.append(QStringLiteral("%1 : %2 (%3)")
                         .arg(inputData->getSolution(pair.solution)->getName(),
                             inputData->getIso(pair.isotope).getName().trimmed(), value));
    }
    return lines;
}
