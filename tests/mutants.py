#!/usr/bin/env python3
"""Plants faults one at a time and checks that the test suite catches each.

Every fault below replaces one piece of program text, found exactly once in
its file, by a wrong one. The faults are planted in a copy of the tracked
files (build-mutants/src, uncommitted changes included), never in the working
tree; each is built in build-mutants/build and run with ctest, which must fail.

    make mutants                 # every fault
    make mutants MUTANTS=engine  # the faults whose area or text holds "engine"

Exit status 0 when every fault is caught, 1 otherwise.
"""

import os
import shutil
import subprocess
import sys
import time

# (area, file, original text, planted text, what the fault breaks)
FAULTS = [
    # Number reading
    ("numbers", "parsers/NumberReader.cpp",
     "if (text.isEmpty() || text == m_notDefinedTag)", "if (text.isEmpty())",
     "the undefined-value tag reads as 0"),
    ("numbers", "parsers/NumberReader.cpp",
     "*value = ascii[0] == '-' ? -magnitude : magnitude;", "*value = magnitude;",
     "the sign of a plain decimal"),
    ("numbers", "parsers/NumberReader.cpp", "if (digits <= 15) {", "if (digits <= 18) {",
     "exact arithmetic only where it is exact"),
    ("numbers", "parsers/NumberReader.cpp",
     "plain.setNumberOptions(plain.numberOptions() | QLocale::RejectGroupSeparator);", "",
     "a decimal comma read as a group separator"),
    ("numbers", "parsers/NumberReader.cpp", "        QLocale::setDefault(french);\n", "",
     "the switch to the French convention"),
    ("numbers", "parsers/NumberReader.cpp", "*ok = qIsFinite(value);", "*ok = true;",
     "nan and inf refused"),
    ("numbers", "parsers/NumberReader.cpp", "return value == 0.0 ? 0.0 : value;", "return value;",
     "-0 read as 0"),
    ("numbers", "parsers/NumberReader.cpp", "constexpr int shown = 40;", "constexpr int shown = 400;",
     "a long cell shortened in the message"),
    # Text decoding
    ("readers", "parsers/TextFile.cpp", "if (state.invalidChars == 0 && state.remainingChars == 0)",
     "if (state.remainingChars == 0)", "Windows-1252 when the bytes are not UTF-8"),
    ("readers", "parsers/TextFile.cpp", "if (c == '\\r' && i + 1 < size && chars[i + 1] == QLatin1Char('\\n'))",
     "if (false)", "CRLF line ends"),
    ("readers", "parsers/TextFile.cpp", "return controls > bytes.size() / 100;", "return false;",
     "binary files refused"),
    # Quadrupole reader
    ("readers", "parsers/QuadrupoleReader.cpp", "        names.removeFirst();\n", "",
     "the Sample: cell is no solution"),
    ("readers", "parsers/QuadrupoleReader.cpp", "if (nValues != 2 * nSolutions)",
     "if (nValues < 2 * nSolutions)", "too many values on an isotope line"),
    ("readers", "parsers/QuadrupoleReader.cpp", "cps.at(k) * rsd.at(k) / 100.0);",
     "cps.at(k) * rsd.at(k) / 10.0);", "standard deviation from the RSD"),
    ("readers", "parsers/QuadrupoleReader.cpp", "for (int row = sampleRow + 1; row < lines.size(); ++row)",
     "for (int row = 0; row < lines.size(); ++row)", "isotope lines before Sample: skipped"),
    ("readers", "parsers/QuadrupoleReader.cpp", "if (containsDigit(cells.at(c)) || cells.at(c).contains(NOT_DEFINED_TAG))",
     "if (true)", "unrecognised value cells refused"),
    # High-resolution reader
    ("readers", "parsers/HighResolutionReader.cpp", "        if (row == 0)\n            continue;\n", "",
     "the first line only names solutions"),
    ("readers", "parsers/HighResolutionReader.cpp", "        return Isotope::MR;", "        return Isotope::HR;",
     "MR resolution"),
    ("readers", "parsers/HighResolutionReader.cpp", "        parsedSolutions = nSolutions;\n", "",
     "the summary's solution count"),
    ("readers", "parsers/HighResolutionReader.cpp", "rsd.at(k) * cps.at(k) / 100.0);",
     "rsd.at(k) / 100.0);", "standard deviation from the RSD"),
    ("model", "model/Solution.cpp", "m_measured.setBit(i, intensity != 0.0);", "m_measured.setBit(i, true);",
     "an intensity of 0.0 as read is not measured"),
    # Standards reader
    ("readers", "parsers/StandardsReader.cpp", "for (int j = headers.size() - 1; j >= 0; --j) {",
     "for (int j = 0; j < headers.size(); ++j) {", "the rightmost matching header wins"),
    ("readers", "parsers/StandardsReader.cpp", "cell = readCell(rows, i, column + 1, &error);",
     "cell = readCell(rows, i, column + 2, &error);", "the error column beside the value"),
    ("readers", "model/Solution.cpp", "    if (name.at(i) == QLatin1Char('_'))\n        ++i;\n",
     "", "replicates named family_n"),
    ("readers", "parsers/StandardsReader.cpp", "        if (!firstRow.contains(name))\n", "",
     "the first row of an element wins"),
    ("readers", "parsers/StandardsReader.cpp",
     "    *expected = read;\n    return Status::success(QStringLiteral(\"Concentrations Introduced\"));",
     "    return Status::success(QStringLiteral(\"Concentrations Introduced\"));",
     "what the file gives is kept"),
    # Working set, average blanks, first blank run
    ("model", "model/Measurements.cpp", "    if (blanks.size() < 2)\n        return;", "    if (blanks.size() < 1)\n        return;",
     "no average of a single blank"),
    ("model", "model/Measurements.cpp", "largestSD = qMax(largestSD, blank.intensitySD(i));",
     "largestSD = qMin(largestSD, blank.intensitySD(i));", "an average's deviation is its members' largest"),
    ("model", "model/Measurements.cpp", "            if (!blank.isMeasured(i))\n                continue;\n", "",
     "an unmeasured blank left out of the average"),
    ("model", "model/Measurements.cpp", "average.setIntensity(i, count == 0 ? 0.0 : sum / count);",
     "average.setIntensity(i, count == 0 ? 0.0 : sum / members.size());", "the average over the measuring blanks"),
    ("model", "model/Measurements.cpp", "while (s < solutionCount() && m_solutions.at(s).type() == Solution::Blank)",
     "while (s < solutionCount() && run.size() < 2 && m_solutions.at(s).type() == Solution::Blank)",
     "the whole first run of blanks"),
    ("model", "model/Measurements.cpp", "if (missing[m_isotopes.at(i).group()])", "if (missing[Isotope::LR])",
     "a missing IS affects its own group only"),
    ("model", "model/Isotope.h", "return m_resolution == Undefined ? LR : m_resolution;",
     "return m_resolution == Undefined ? MR : m_resolution;", "quadrupole isotopes belong to LR"),
    # Engine steps
    ("engine", "processing/InternalStandardCorrection.cpp", "const double factor = referenceValue / y;",
     "const double factor = y / referenceValue;", "IS factor"),
    ("engine", "processing/BlankSubtraction.cpp", "if (keep.contains(i) || !data->solution(blank).isMeasured(i))",
     "if (!data->solution(blank).isMeasured(i))", "IS isotopes kept out of the subtraction"),
    ("engine", "processing/BlankSubtraction.cpp", "if (keep.contains(i) || !data->solution(blank).isMeasured(i))",
     "if (keep.contains(i))", "a blank without its IS subtracts nothing of its group"),
    ("engine", "processing/BlankSubtraction.cpp", "solution.setIntensity(i, c - b);", "solution.setIntensity(i, c + b);",
     "blank subtraction"),
    ("engine", "processing/CalibrationFit.cpp", "line->intercept = sums.yMean - sums.xMean * slope;",
     "line->intercept = sums.yMean + sums.xMean * slope;", "intercept"),
    ("engine", "processing/CalibrationFit.cpp", "/ (n - 2.0);", "/ (n - 1.0);", "residual variance"),
    ("engine", "processing/CalibrationFit.cpp", "(1.0 / n + sums.xMean * sums.xMean / sums.sxx) * s2",
     "(1.0 / n + sums.xMean / sums.sxx) * s2", "intercept variance"),
    ("engine", "processing/CalibrationFit.cpp", "line->r2 = 1.0 - ssRes / sums.syy;",
     "line->r2 = ssRes / sums.syy;", "r2"),
    ("engine", "processing/CalibrationFit.cpp",
     "if (c == 0.0 && solution.name() != Solution::ZERO_STANDARD_NAME)", "if (c == 0.0)",
     "the zero standard is a point"),
    ("engine", "processing/CalibrationFit.cpp", "        if (!solution.isMeasured(isotope)) {",
     "        if (false) {", "a standard not measured is no point"),
    ("engine", "processing/CalibrationFit.cpp", "w[k] = weighting == Calibration::Weighting::InverseX ? 1.0 / c : 1.0 / (c * c);",
     "w[k] = 1.0 / c;", "1/x2 weights"),
    ("engine", "processing/CalibrationFit.cpp", "const double c = x.at(k) != 0.0 ? x.at(k) : lowest;",
     "const double c = x.at(k) != 0.0 ? x.at(k) : 1.0;", "the zero standard weighs as the lowest"),
    ("engine", "processing/CalibrationFit.cpp", "        w[k] *= n / total;\n", "",
     "weights scaled to sum to n"),
    ("engine", "processing/CalibrationFit.cpp", ": w.at(k) * residual * residual;",
     ": residual * residual;", "weighted residuals"),
    ("engine", "processing/ConcentrationCalculation.cpp",
     "const double c = (treated.intensity(i) - line.intercept) / line.slope;",
     "const double c = (treated.intensity(i) + line.intercept) / line.slope;", "concentration"),
    ("engine", "processing/ConcentrationCalculation.cpp",
     "return (sy * sy + syb * syb + line.interceptVariance) / (signal * signal);",
     "return (sy * sy + line.interceptVariance) / (signal * signal);", "blank term of the RSD"),
    ("engine", "processing/ConcentrationCalculation.cpp",
     "return (((sy / y) * (sy / y) + a + b) * corrected * corrected",
     "return (((sy / y) * (sy / y) + a) * corrected * corrected", "reference IS term of the RSD"),
    ("engine", "processing/ConcentrationCalculation.cpp", "return (((sy * sy + syb * syb) / (net * net) + a + b)",
     "return (((sy * sy) / (net * net) + a + b)", "blank term of the IS RSD"),
    ("engine", "processing/ConcentrationCalculation.cpp", "    return reference / value;\n}", "    return value / reference;\n}",
     "IS factor in the RSD"),
    ("engine", "processing/ConcentrationCalculation.cpp", "return line.slopeVariance / (line.slope * line.slope);",
     "return line.slopeVariance / line.slope;", "slope term of the RSD"),
    ("engine", "processing/ConcentrationCalculation.cpp", "    q += slopeTerm(line);\n", "",
     "slope term added"),
    ("engine", "processing/ConcentrationCalculation.cpp", "results.set(s, i, c, 100.0 * std::sqrt(q));",
     "results.set(s, i, c, std::sqrt(q));", "RSD in percent"),
    ("engine", "processing/ConcentrationCalculation.cpp", "if (!line.isUsable() || !treated.isMeasured(i))",
     "if (!line.isUsable())", "no concentration when not measured"),
    ("engine", "processing/ConcentrationCalculation.cpp",
     "                results.set(s, i, expected.value(s, i), expected.error(s, i));",
     "                results.set(s, i, 0.0, 0.0);", "standards report their given value"),
    ("engine", "processing/DetectionLimits.cpp", "line.lod = 3.0 * sigma;", "line.lod = 2.0 * sigma;", "LOD"),
    ("engine", "processing/DetectionLimits.cpp", "line.loq = 10.0 * sigma;", "line.loq = 9.0 * sigma;", "LOQ"),
    ("engine", "processing/DetectionLimits.cpp", "            if (working.solution(s).isMeasured(i))\n", "",
     "limits over the blanks that measured the isotope"),
    ("engine", "processing/DetectionLimits.cpp", "const double sigma = std::sqrt(sum / v.size());",
     "const double sigma = std::sqrt(sum / (v.size() - 1));", "population deviation of the blanks"),
    ("engine", "processing/QualityControlCheck.cpp", "|| (loC <= hiE && hiE <= hiC)", "",
     "QC pass with the expected upper bound inside"),
    ("engine", "processing/QualityControlCheck.cpp", "            if (!calibration.hasLine(i))\n                check.verdict",
     "            if (false)\n                check.verdict", "QC value without a line is not valid"),
    ("engine", "processing/QualityControlCheck.cpp", "            else if (!qc.isMeasured(i))\n                check.verdict = QcReport::Verdict::NotMeasured;\n",
     "", "QC value not measured is not valid"),
    ("engine", "processing/QcReport.cpp", "lines.append(QStringLiteral(\"%1 : %2\").arg(solution, isotope.name()));",
     "lines.append(QStringLiteral(\"%1 : %2\").arg(solution, isotope.typedName()));", "QC failure lines as they always were"),
    ("engine", "processing/RecoveryCheck.cpp", "return read && low <= shown && shown <= high;",
     "return read && low < shown && shown <= high;", "recovery bounds inclusive"),
    ("engine", "processing/RecoveryCheck.cpp", "const double shown = QString::number(percent, 'f', 1).toDouble(&read);",
     "const double shown = percent;\n    read = true;", "recovery judged as printed"),
    ("display", "display/InternalStandardPlot.cpp", "if (!solution.isMeasured(iso) || !Statistics::isFinite(v))",
     "if (!Statistics::isFinite(v))", "the IS plot leaves values not measured out"),
    ("engine", "processing/RecoveryCheck.h", "return 100.0 * value / reference;",
     "return 100.0 * reference / value;", "recovery in percent of the reference"),
    ("engine", "processing/RecoveryCheck.cpp", "        if (s == reference)\n            continue;\n", "",
     "the reference is not checked against itself"),
    ("engine", "processing/Statistics.cpp", "return qMakePair(average, std::sqrt(sum / values.size()));",
     "return qMakePair(average, std::sqrt(sum / (values.size() - 1)));", "population deviation of the IS plot"),
    # Results writer and long table
    ("writer", "parsers/ResultsWriter.cpp", "} else if (loq.at(i) > c) {",
     "} else if (loq.at(i) >= c) {", "a value at the LOQ is shown"),
    ("writer", "parsers/ResultsWriter.cpp", "NumberFormat::append(bytes, c * rsd / 100.0);",
     "NumberFormat::append(bytes, c * rsd);", "SD column"),
    ("writer", "parsers/ResultsWriter.cpp", "        NumberFormat::append(bytes, calibration.lines.at(i).loq);",
     "        NumberFormat::append(bytes, calibration.lines.at(i).lod);", "LOQ line"),
    ("writer", "parsers/NumberFormat.cpp", "if (std::fabs(fraction - 0.5) < 1e-6)", "if (false)",
     "six-digit rounding near a tie"),
    ("writer", "parsers/NumberFormat.cpp", "    if (value == 0.0) {\n        out.append('0');",
     "    if (value == 0.0 && false) {\n        out.append('0');", "-0 written as 0"),
    ("writer", "parsers/LongTableWriter.cpp", "|| bytes.contains('\"') ||", "||",
     "a field holding a quote is quoted"),
    ("writer", "parsers/LongTableWriter.cpp", "appendText(isotopes[i], working.isotope(i).typedName());",
     "appendText(isotopes[i], working.isotope(i).name());", "isotope names without trailing blanks"),
    ("writer", "processing/Reporting.cpp", "    if (solution.type() == Solution::Standard)\n        return Qualifier::NoValue;\n",
     "", "a standard without a value"),
    ("writer", "processing/Reporting.cpp", "    if (c < line.loq)\n        return Qualifier::BelowQuantification;\n",
     "", "the <LOQ flag"),
    ("writer", "parsers/LongTableWriter.cpp", "    if (std::isfinite(value))\n        NumberFormat::append(out, value);",
     "    NumberFormat::append(out, value);", "nan and inf as empty fields"),
    # Run sequence
    ("run", "processing/ProcessingRun.cpp", "if (plan.options.groups[g].corrected && plan.reference != -1)",
     "if (plan.reference != -1)", "only corrected groups lose values and take IS terms"),
    ("run", "processing/ProcessingRun.cpp", "&outcome->calibration, working, outcome->results, source.firstBlankRun());",
     "&outcome->calibration, working, outcome->results, source.firstBlankRun().mid(0, 2));",
     "limits over the whole first run of blanks"),
    ("run", "processing/ProcessingRun.cpp", "&outcome->calibration, working, outcome->results, source.firstBlankRun());",
     "&outcome->calibration, working, outcome->results, source.blanks());", "limits over the first run only"),
    ("run", "processing/BlankHandling.cpp",
     "mode == RunOptions::BlankMode::Subtract && plan.blank >= data.blanks().size();",
     "mode == RunOptions::BlankMode::Subtract && plan.blank > data.blanks().size();",
     "an average blank built before it is subtracted"),
    ("run", "processing/BlankHandling.cpp", "Solution::ZERO_STANDARD_NAME, Solution::Standard));",
     "Solution::ZERO_STANDARD_NAME, Solution::Blank));", "the zero standard is a standard"),
    ("run", "processing/ProcessingRun.cpp", "        outcome->results.copyRow(working.blanks().at(plan.blank), zero);\n",
     "", "the zero standard reports its blank's results"),
    ("run", "processing/RunPlan.cpp", "!solution.isMeasured(isotope)",
     "solution.intensity(isotope) < 0.0", "a reference without its IS refused"),
    ("run", "processing/ProcessingRun.cpp", "        outcome->refusal = RunOutcome::Refusal::NoCalibration;\n", "",
     "a run without any line stops"),
    ("run", "processing/BlankHandling.cpp", "        outcome->warnings.append(ProcessingRun::NO_SUBTRACTION_BLANK);\n", "",
     "subtraction without a blank said"),
    ("run", "processing/RunPlan.cpp", "flags.append(flag(options.groups[group].corrected));",
     "flags.prepend(flag(options.groups[group].corrected));", "check boxes in the trace"),
    ("run", "processing/RunPlan.cpp", "if (data.isotope(i).typedName() == key)",
     "if (data.isotope(i).name() == key)", "isotope names without their trailing blank"),
    ("run", "processing/RunPlan.cpp", "plan->blank = options.blank.isEmpty() ? (blanks.isEmpty() ? -1 : 0)",
     "plan->blank = options.blank.isEmpty() ? -1", "the first blank by default"),
    ("run", "processing/ProcessingRun.cpp", "            for (const QString &failure : outcome.qc.failureLines(data))\n                Trace::line(failure);\n",
     "", "QC failure lines"),
    ("run", "processing/ProcessingRun.cpp", "            for (const QString &outside : recovery.lines(data))\n                Trace::line(outside);\n",
     "", "recovery lines"),
    # Batch tool
    ("batch", "parsers/RunOptionTable.cpp", "                options->groups[resolution].corrected = true;",
     "                options->groups[Isotope::LR].corrected = true;", "--is-groups"),
    ("batch", "batch/BatchCommand.cpp", "    if (m_inputs.contains(target))\n", "    if (false)\n",
     "an output naming an input refused"),
    ("batch", "batch/BatchCommand.cpp", "        if (earlier.second == target)\n", "        if (false)\n",
     "one output over another refused"),
    ("batch", "model/RunOptions.cpp", "if (recoveryLow >= recoveryHigh)", "if (recoveryLow > recoveryHigh)",
     "equal recovery bounds refused"),
    ("batch", "batch/BatchJob.cpp", "        saved = save(command.longFile, outcome, ProcessingRun::Layout::Long, errors);",
     "        saved = save(command.longFile, outcome, ProcessingRun::Layout::Wide, errors);",
     "--long writes the long table"),
    ("batch", "batch/BatchPlots.cpp", "static const QRegularExpression others(QStringLiteral(\"[^A-Za-z0-9_-]+\"));",
     "static const QRegularExpression others(QStringLiteral(\"[^A-Za-z0-9_-]\"));",
     "a run of other characters in a plot's name is one _"),
    ("batch", "batch/BatchPlots.cpp", "        if (!outcome.calibration.hasLine(iso))",
     "        if (false)", "calibration plots only for isotopes with a line"),
    ("batch", "batch/PlotModule.cpp", "    if (qEnvironmentVariableIsEmpty(\"XDG_RUNTIME_DIR\")) {",
     "    if (false) {", "plots drawn quietly without a session"),
    ("batch", "parsers/RunOptionTable.cpp", "            if (options->blankMode != RunOptions::BlankMode::None)\n                return Status::success();",
     "            return Status::success();", "--blank without a blank mode refused"),
    ("batch", "batch/BatchCommand.cpp", "            if (row.needsReference && !command.options.internalStandard)",
     "            if (false)", "IS options without --is-ref refused"),
    ("batch", "batch/BatchCommand.cpp", "if (parser.isSet(name) && !options.groups[group].corrected)",
     "if (false)", "an IS isotope of a group not corrected refused"),
    ("batch", "batch/BatchCommand.cpp", "if (parser.isSet(QStringLiteral(\"is-recovery\")) && !anyCorrected)",
     "if (false)", "recovery bounds without a group refused"),
    ("batch", "batch/main.cpp", "    std::signal(SIGPIPE, SIG_IGN);\n", "", "a closed trace reader"),
    ("batch", "parsers/OutputFile.cpp", "    if (file.flush())\n        return file.error() == QFileDevice::NoError;",
     "    if (true)\n        return true;", "a full disk seen before the commit"),
    ("batch", "parsers/OutputFile.cpp", "    file.flush();\n    return false;\n}", "    return false;\n}",
     "the system's reason for a short write"),
    ("batch", "parsers/OutputFile.cpp", "m_straight = target.exists() && !target.isFile() && !target.isDir();",
     "m_straight = false;", "a named pipe written into, not replaced"),
    ("batch", "batch/BatchPlots.cpp", "const QString count = occurrence > 1 ? QStringLiteral(\"-%1\").arg(occurrence) : QString();",
     "const QString count;", "a repeated isotope's image beside the first one's"),
    ("model", "model/Measurements.cpp", "const int occurrence = ++m_occurrences[isotope.baseName()];",
     "const int occurrence = 1;", "a repeated isotope told apart"),
    # Window glue
    ("window", "app/Application.cpp", "void Application::chooseSubtraction()\n{\n    ui->yIntercept->setChecked(false);",
     "void Application::chooseSubtraction()\n{\n", "the two blank options exclude each other"),
    ("window", "app/Application.cpp", "ui->yIntercept->isChecked() || ui->subtractBlank->isChecked()",
     "ui->yIntercept->isChecked() && ui->subtractBlank->isChecked()", "blank list enabled"),
    ("window", "app/Application.cpp", "m_saveOutputAct->setEnabled(page == ui->outputTab);",
     "m_saveOutputAct->setEnabled(page != ui->outputTab);", "Save Output on its tab"),
    ("window", "app/Application.cpp", "options.groups[Isotope::MR] = { ui->correctMR->isChecked(), ui->isotopeMR->currentText() };",
     "options.groups[Isotope::MR] = { ui->correctMR->isChecked(), ui->isotopeLR->currentText() };",
     "the MR isotope read from its box"),
    ("window", "app/Application.cpp", "{ ui->isotopeMR, QStringLiteral(\"MR\") }, { ui->isotopeHR, QStringLiteral(\"HR\") } };",
     "{ ui->isotopeLR, QStringLiteral(\"MR\") }, { ui->isotopeHR, QStringLiteral(\"HR\") } };",
     "isotopes remembered at closing"),
    ("window", "app/Application.cpp", "    m_calibrationPlot->clear();\n", "", "plots of the previous file cleared"),
    ("window", "app/Application.cpp", "    case RunOutcome::Refusal::NoCalibration:\n        QMessageBox::warning(this, tr(\"Process\"), outcome.reason);\n        return;",
     "    case RunOutcome::Refusal::NoCalibration:\n        QMessageBox::warning(this, tr(\"Process\"), outcome.reason);\n        break;",
     "a refused run keeps the earlier results"),
    ("window", "app/Application.cpp", "    setNames(m_outputNames, ui->outputSolutions, workingSet().solutionNames());",
     "    Q_UNUSED(m_outputNames);", "the zero standard listed"),
    ("window", "app/Application.cpp", "setEntries(ui->isotopeMR, m_data.isotopeNames(m_data.group(Isotope::MR)));",
     "setEntries(ui->isotopeMR, m_data.isotopeNames(m_data.group(Isotope::HR)));", "MR isotopes listed"),
    ("window", "app/Application.cpp", "    Status saved = m_processed\n        ? ProcessingRun::save(", "    Status saved = true\n        ? ProcessingRun::save(",
     "Save Output before Process refused"),
    ("window", "app/Application.cpp", "        if (found != -1)\n            choices[k].combo->setCurrentIndex(found);",
     "        if (found != -1)\n            lost.append(QString());", "the choices made stay across files"),
    ("window", "app/Application.cpp", "    if (!m_dataFile.isEmpty())\n        loadDataFile(m_dataFile);", "",
     "another instrument reads the open file again"),
    ("display", "display/RunningOrderScaleDraw.cpp", "return QwtText(QString::number(std::lround(value)));",
     "return QwtScaleDraw::label(value);", "positions without thousands separators"),
    ("display", "display/PlotStyle.cpp", "            if (n / step <= MOST_TICKS)\n                break;", "",
     "a long run's ticks on round positions"),
    # Display
    ("display", "display/SolutionTableModel.cpp", "if (c != 0.0 && calibration->lines.at(i).loq > c)",
     "if (c != 0.0 && calibration->lines.at(i).loq < c)", "<LOQ in the output table"),
    ("display", "display/CalibrationPlot.cpp", "    for (const CalibrationLine::Point &point : outcome.calibration.lines.at(iso).points) {",
     "    const CalibrationLine &fitted = outcome.calibration.lines.at(iso);\n    for (const CalibrationLine::Point &point : fitted.points + fitted.leftOut) {",
     "the plot draws the line's own points"),
    ("display", "display/EvolutionPlot.cpp", "if (pattern.match(solution.name()).hasMatch()) {",
     "if (true) {", "evolution of the chosen solutions only"),
    # Sample sheet, acceptance and qualifiers
    ("sheet", "processing/Reporting.cpp", "const double value = c == 0.0 ? none : c * f;",
     "const double value = c == 0.0 ? none : c * f * f;", "F applied twice"),
    ("sheet", "processing/Reporting.cpp", "{ value, sd, line.lod * f, line.loq * f,",
     "{ value, sd, line.lod, line.loq,", "limits not scaled by F"),
    ("sheet", "parsers/SampleSheetReader.cpp", "dilution * volume / (1000.0 * mass)",
     "dilution * mass / (1000.0 * volume)", "mass and volume swapped"),
    ("sheet", "processing/CalibrationAcceptance.cpp",
     "point.concentration == lowest ? 2.0 * tolerance : tolerance", "tolerance",
     "the lowest standard held to TOL, not 2 x TOL"),
    ("sheet", "processing/Reporting.cpp", "highest = std::max(highest, point.concentration);",
     "highest = point.concentration;", "over range against the last standard, not the highest"),
    ("sheet", "processing/Reporting.cpp", "std::abs(value) * results.rsd(s, i)",
     "value * results.rsd(s, i)", "reported SD negative below the blank"),
    ("sheet", "parsers/LongTableWriter.cpp", "appendField(bytes, std::abs(c) * rsd / 100.0);",
     "appendField(bytes, c * rsd / 100.0);", "sd_ppb negative below the blank"),
    ("sheet", "processing/Reporting.cpp",
     "    if (line.isRejected())\n        return Qualifier::CalibrationRejected;\n", "",
     "values on a rejected line qualified"),
    ("sheet", "processing/Reporting.cpp", "    if (c < line.lod)\n        return Qualifier::BelowDetection;\n",
     "", "<LOD told from <LOQ"),
    ("sheet", "processing/CalibrationAcceptance.cpp",
     "line.points.size() < CalibrationAcceptance::MINIMUM_POINTS", "line.points.size() < 2",
     "a line of two points rejected"),
    ("sheet", "processing/CalibrationAcceptance.cpp", "    if (line.r2 < minimumR2) {",
     "    if (line.r2 < minimumR2 - 0.01) {", "the minimum r2"),
    ("sheet", "processing/CalibrationAcceptance.cpp",
     "        if (name == Solution::ZERO_STANDARD_NAME)\n            continue;\n", "",
     "the zero standard not read back"),
    ("sheet", "processing/ProcessingRun.cpp", "            for (const QString &line : rejected)\n                Trace::line(line);\n",
     "", "rejected isotopes listed in the trace"),
    ("sheet", "parsers/SampleSheetReader.cpp", "{ QLatin1Char('\\t'), QLatin1Char(';') }",
     "{ QLatin1Char(';') }", "tab-separated sheets"),
    ("sheet", "parsers/SampleSheetReader.cpp", "&& name.compare(QLatin1String(COLUMN_NAMES[column]), Qt::CaseInsensitive) != 0)",
     "&& name != QLatin1String(COLUMN_NAMES[column]))", "column names in any case"),
    ("sheet", "parsers/SampleSheetReader.cpp", "    if (m_listed.contains(solution))\n", "    if (false)\n",
     "a solution listed twice refused"),
    ("sheet", "parsers/SampleSheetReader.cpp", "if ((mass == 0.0) != (volume == 0.0)) {",
     "if (false) {", "a mass without volume refused"),
    ("sheet", "parsers/SampleSheetTemplate.cpp",
     " || solution.type() == Solution::QualityControl)", ")", "QC solutions in the template"),
    ("sheet", "model/RunOptions.cpp", "if (!(tolerance > 0.0 && tolerance <= 100.0))",
     "if (!(tolerance <= 100.0))", "a tolerance of 0 refused"),
    ("sheet", "app/Application.cpp", "options.acceptance = ui->acceptanceGroup->isChecked();",
     "options.acceptance = false;", "the window's acceptance box"),
    ("sheet", "app/Application.cpp", "        settings().value(QStringLiteral(\"SampleSheet\")).toString() };",
     "        QString() };", "the window's sample sheet"),
    ("sheet", "app/Application.cpp", "line.isRejected() ? tr(\"Calibration rejected: %1\").arg(line.rejection) : QString()",
     "QString()", "rejected isotopes marked in the Calibration list"),
    ("sheet", "display/SolutionTableModel.cpp", "marked[i] = reported->at(solution, i).qualifier != ReportedResults::Qualifier::None;",
     "marked[i] = false;", "a qualified value marked in the Output table"),
    # Run QC: the bracketing, the limits and the qualifiers
    ("runqc", "processing/RunQc.cpp", "for (const int check : { verificationBefore, verificationAfter }) {",
     "for (const int check : { verificationBefore }) {", "a failing CCV after a result"),
    ("runqc", "processing/RunQc.cpp", "for (const int check : { blankBefore, blankAfter }) {",
     "for (const int check : { blankAfter, blankAfter }) {", "a failing CCB before a result"),
    ("runqc", "processing/RunQc.cpp", "(m_verifications && (verificationBefore == -1 || verificationAfter == -1))",
     "(m_verifications && (verificationBefore == -1 && verificationAfter == -1))",
     "a result without a CCV after it is not bracketed"),
    ("runqc", "processing/RunQc.cpp", "        if (role == QcRole::CCV)\n            verificationAfter = s;",
     "        if (bounds(role, QcRole::Kind::Verification))\n            verificationAfter = s;",
     "an ICV after a result is no verification after"),
    ("runqc", "processing/RunQc.cpp", "        if (failed(check, QcRole::CCV))",
     "        if (check != -1 && m_verdicts.at(check) == Verdict::Fail)",
     "a failing ICV before is ICV failed, not CCV failed"),
    ("runqc", "processing/RunQc.cpp", "        if (verdicts.at(s) == Verdict::None)\n            continue;\n", "",
     "a check without a verdict skipped before"),
    ("runqc", "processing/RunQc.cpp", "        if (m_verdicts.at(s) == Verdict::None)\n            continue;\n", "",
     "a check without a verdict skipped after"),
    ("runqc", "processing/RunQc.cpp", "? role == QcRole::ICV || role == QcRole::CCV",
     "? role == QcRole::ICV || role == QcRole::CCV || role == QcRole::LLCCV",
     "an LLCCV brackets nothing, nor bounds a gap"),
    ("runqc", "processing/RunQc.cpp", "if (previous != -1 && between > run.limits.every)",
     "if (previous != -1 && between >= run.limits.every)", "a gap is more than EVERY"),
    ("runqc", "processing/RunQc.cpp", "            && RunQc::hasConcentration(m_run.results.concentration(s, m_isotope))) {",
     ") {", "only a result with a concentration gets findings"),
    ("runqc", "processing/RunQc.cpp", "    const double c = run.results.concentration(s, i);",
     "    const double c = run.results.concentration(s, i) * run.sheet.factor(s);",
     "checks judged in the measured solution"),
    ("runqc", "processing/RunQc.cpp", "check.limit = run.limits.blankFactor(role) * loq;",
     "check.limit = loq;", "the blank factor of the LOQ"),
    ("runqc", "model/QcLimits.cpp", "        : role == QcRole::LLCCV ? llccv\n", "",
     "the LLCCV's own recovery range"),
    ("runqc", "parsers/QcLimitsText.cpp", "            const QString reason\n                = parse(value,",
     "            options->qcLimits = QcLimits();\n            const QString reason\n                = parse(value,",
     "--qc-limits keeps the limits it does not name"),
    ("runqc", "parsers/QcLimitsText.cpp", "QStringLiteral(\"^([0-9]+\\\\.?[0-9]*|\\\\.[0-9]+)$\")",
     "QStringLiteral(\"^[+]?([0-9]+\\\\.?[0-9]*|\\\\.[0-9]+)$\")", "limits without a sign"),
    ("runqc", "parsers/QcLimitsText.cpp", "if (name == QLatin1String(candidate.name))",
     "if (name.compare(QLatin1String(candidate.name), Qt::CaseInsensitive) == 0)", "limits' keys in capitals"),
    ("runqc", "parsers/QcLimitsText.cpp", "    member.optional = true;\n", "",
     "a method written before the run QC opens"),
    ("runqc", "parsers/QcLimitsText.cpp", "return limits == format(QcLimits()) ? QJsonValue(QJsonValue::Undefined)",
     "return false ? QJsonValue(QJsonValue::Undefined)", "default limits left out of a method"),
    ("runqc", "processing/Reporting.cpp",
     "    if (findings && !findings->isEmpty())\n        return findings->first().kind;\n    if (c < line.lod)\n        return Qualifier::BelowDetection;\n",
     "    if (c < line.lod)\n        return Qualifier::BelowDetection;\n    if (findings && !findings->isEmpty())\n        return findings->first().kind;\n",
     "a finding qualifies before <LOD"),
    ("runqc", "processing/RunQcReport.cpp", "    if (listed)\n        lines << failureLines(data);\n", "",
     "the failing checks listed in the trace"),
    ("runqc", "parsers/SampleSheetReader.cpp", "    if (!QcRole::suits(role, measured.type()))", "    if (false)",
     "a role on a solution of another type refused"),
    ("runqc", "model/QcRole.cpp", "if (word.compare(all.at(k), Qt::CaseInsensitive) == 0) {",
     "if (word == all.at(k)) {", "roles in any case"),
    ("runqc", "display/RunReport.cpp", "m_method, m_outcome.runQc.applies, m_outcome.runQc.batchApplies);",
     "m_method, true, true);", "a report without roles reads as before"),
    # Batch QC: the duplicates' switch at 5 x LOQ, the spikes' dilutions and
    # 30 % rule, the method blank's 10 x rule, what the findings reach
    ("batchqc", "processing/BatchQc.cpp", "if (c.value >= 5.0 * loq && c.other >= 5.0 * loq)",
     "if (c.value >= 5.0 * loq || c.other >= 5.0 * loq)", "an RPD only when both reach 5 x LOQ"),
    ("batchqc", "processing/BatchQc.cpp", "const double loq = batch.loq(i) * batch.sheet.factor(p);",
     "const double loq = batch.loq(i) * batch.sheet.factor(s);", "a duplicate's thresholds in the parent's factor"),
    ("batchqc", "processing/BatchQc.cpp", "c.other = batch.c(p, i) * batch.sheet.factor(p) / batch.sheet.factor(s);",
     "c.other = batch.c(p, i);", "the parent taken into the spike's dilution"),
    ("batchqc", "processing/BatchQc.cpp", "if (c.spike < 0.3 * c.other) {",
     "if (c.spike < 0.2 * c.other) {", "a spike below 30 % of the sample not evaluated"),
    ("batchqc", "processing/BatchQc.cpp", "batch.c(s, c.isotope) < 10.0 * c.value",
     "batch.reported(s, c.isotope) < 10.0 * c.value", "the 10 x blank rule on c, not R"),
    ("batchqc", "processing/BatchQc.cpp", "        if (ms != -1)\n", "        if (false)\n",
     "an MSD's RPD to its MS"),
    ("batchqc", "processing/BatchQc.cpp",
     "{ Qualifier::LcsFailed, Qualifier::BlankContamination,\n             Qualifier::SpikeRecovery, Qualifier::DuplicateRpd }",
     "{ Qualifier::DuplicateRpd, Qualifier::LcsFailed,\n             Qualifier::BlankContamination, Qualifier::SpikeRecovery }",
     "the batch findings' order"),
    ("batchqc", "processing/RunQcReport.cpp", "return !found.isEmpty() && ReportedResults::asksRerun(found.first().kind);",
     "return !found.isEmpty();", "a batch finding asks for no rerun"),
    ("batchqc", "parsers/StandardsReader.cpp", "int(headers.lastIndexOf(spike))", "int(headers.indexOf(spike))",
     "the last spike column of a name"),
    ("batchqc", "parsers/StandardsReader.cpp", "        header = header.trimmed();", "        header = QString(header);",
     "spike headers trimmed"),
    ("batchqc", "parsers/SampleSheetReader.cpp", "    if (parent == solution)\n", "    if (false)\n",
     "a preparation is not its own parent"),
    # Drift
    ("drift", "processing/DriftCorrection.cpp",
     "(p - checks.at(before))\n        / (checks.at(after) - checks.at(before))",
     "(p - before)\n        / (after - before)", "drift interpolated by run position, not check number"),
    ("drift", "processing/DriftCorrection.cpp",
     "const double factor = levels.first() / expectedLevel(drift.checks, levels, p);",
     "const double factor = expectedLevel(drift.checks, levels, p) / levels.first();",
     "the drift factor m1 / m(p), not inverted"),
    ("drift", "processing/DriftCorrection.cpp",
     "const double factor = levels.first() /", "const double factor = levels.last() /",
     "the first drift check is the reference"),
    ("drift", "processing/ProcessingRun.cpp",
     "        if (standard != -1)\n            skipped.append(standard);\n", "",
     "the IS isotopes keep out of the drift correction"),
    ("drift", "processing/DriftCorrection.cpp",
     "if (check.isMeasured(iso) && check.intensity(iso) > 0.0) {", "if (check.isMeasured(iso)) {",
     "a drift check at or below zero is left out"),
    ("drift", "processing/ProcessingRun.cpp",
     "        DriftCorrection::apply(&working, outcome->drift, zero, working.blanks().at(plan.blank));\n",
     "", "the zero standard takes its blank's drift factor"),
    ("drift", "processing/DriftCorrection.cpp", "change > drift.largest", "change >= drift.largest",
     "the first solution of the largest drift"),
    ("drift", "processing/RunPlan.cpp", "plan->driftChecks.size() < 2", "plan->driftChecks.size() < 1",
     "a drift monitor names two solutions or more"),
    ("drift", "model/Solution.cpp",
     "        if (isReplicate(name, name.left(length)))\n",
     "        if (isReplicate(name, name.left(length)) && name.at(length) != QLatin1Char('_'))\n",
     "drift monitors offered: replicates named H_n"),
    ("drift", "app/Application.cpp", "options.drift = ui->driftGroup->isChecked();",
     "options.drift = false;", "the window's drift correction"),
    ("drift", "display/DriftPlot.cpp", "y.append(drift.factors.at(k));",
     "y.append(data.solution(k).intensity(iso));", "the drift plot draws the factor"),
    ("drift", "batch/BatchPlots.cpp", "    if (!outcome.driftCorrected)\n        return Status::success();\n    for",
     "    if (true)\n        return Status::success();\n    for", "ketrion-batch's drift plots"),
    # Method file and report
    ("method", "parsers/MethodFile.cpp", "if (!known.contains(member.key()))", "if (false)",
     "a misspelt member of a method refused"),
    ("method", "parsers/MethodFile.cpp", "        readOptions(members, &read);", "        readOptions(members, options);",
     "a refused method changes nothing"),
    ("method", "parsers/RunOptionTable.cpp", "Isotope::withoutTrailingBlanks(options.groups[group].isotope)",
     "options.groups[group].isotope", "a method names isotopes without trailing blanks"),
    ("method", "parsers/MethodFile.cpp", "int(bytes.left(error.offset).count('\\n')) + 1",
     "int(bytes.left(error.offset).count('\\n'))", "the line of a syntax error"),
    ("method", "batch/BatchCommand.cpp", "return MethodFile::read(file.readAll(), path, &options);",
     "RunOptions read;\n    return MethodFile::read(file.readAll(), path, &read);",
     "ketrion-batch runs the method's options"),
    ("method", "batch/BatchCommand.cpp", "    m_inputs << identity(path);\n", "        (void)path;\n",
     "no output replaces the method file"),
    ("method", "app/Application.cpp", "            lacking << QStringLiteral(\"%1 (%2)\").arg(choice.name, tr(choice.box));",
     "            lacking.clear();", "the names a method's data file lacks listed"),
    ("method", "app/Application.cpp", "    ui->acceptanceGroup->setChecked(method.acceptance);\n", "",
     "the window opens a method's acceptance"),
    ("method", "app/Application.cpp", "    m_saveReportAct->setEnabled(false);\n\n", "\n",
     "Save Report only after a run"),
    ("method", "display/RunReport.cpp", "    hash.addData(MethodFile::write(m_method));\n", "",
     "the report identifier covers the method"),
    ("method", "display/RunReport.cpp", "        pageCount = pages.page();", "        pageCount = pages.page() + 1;",
     "page x of y"),
    ("method", "display/RunReport.cpp", "parts << number(value.value) + QLatin1Char(' ') + unit;",
     "parts << number(value.value) + QStringLiteral(\" µg/L\");", "the report's results in their unit"),
    ("method", "display/RunReport.cpp", "{ QStringLiteral(\"Sample sheet\"), files.sampleSheet } };",
     "{ QStringLiteral(\"Sample sheet\"), QString() } };", "the sample sheet among the report's inputs"),
    ("method", "display/RunReport.cpp", "    QLocale::setDefault(QLocale::c());\n", "",
     "the report does not depend on the file read before"),
]


def run(command, cwd, log, timeout=None):
    with open(log, "a") as out:
        out.write("\n$ " + " ".join(command) + "\n")
        out.flush()
        try:
            return subprocess.run(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT,
                                  timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            return -1


def sync(root, src):
    """Copies the tracked files, touching only those that changed."""
    tracked = subprocess.run(["git", "ls-files", "-z"], cwd=root, check=True,
                             capture_output=True).stdout.decode().split("\0")
    for name in filter(None, tracked):
        source = os.path.join(root, name)
        target = os.path.join(src, name)
        if not os.path.isfile(source):
            continue
        with open(source, "rb") as f:
            data = f.read()
        if os.path.isfile(target):
            with open(target, "rb") as f:
                if f.read() == data:
                    continue
        os.makedirs(os.path.dirname(target), exist_ok=True)
        # A fresh time stamp: an older one than objects built from a planted
        # fault would keep them.
        shutil.copyfile(source, target)
        shutil.copymode(source, target)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    work = os.path.join(root, "build-mutants")
    src, build = os.path.join(work, "src"), os.path.join(work, "build")
    log = os.path.join(work, "mutants.log")
    os.makedirs(work, exist_ok=True)
    open(log, "w").close()
    jobs = os.environ.get("JOBS", "2")
    wanted = os.environ.get("MUTANTS", "")
    faults = [f for f in FAULTS if wanted in f[0] or wanted in f[4]]

    sync(root, src)
    ctest = ["ctest", "--test-dir", build, "-j", jobs, "--stop-on-failure", "--timeout", "120"]
    if (run(["cmake", "-S", src, "-B", build], src, log) != 0
            or run(["cmake", "--build", build, "-j", jobs], src, log) != 0
            or run(ctest, build, log) != 0):
        print("the unchanged sources do not build or pass: see " + log)
        return 1

    missed = []
    for number, (area, name, original, planted, breaks) in enumerate(faults, 1):
        path = os.path.join(src, name)
        with open(path) as f:
            text = f.read()
        started = time.time()
        if text.count(original) != 1:
            verdict = "NOT PLANTED: text found %d times" % text.count(original)
        else:
            with open(path, "w") as f:
                f.write(text.replace(original, planted))
            try:
                if run(["cmake", "--build", build, "-j", jobs], src, log) != 0:
                    verdict = "NOT PLANTED: does not build"
                elif run(ctest, build, log) != 0:
                    verdict = "caught"
                else:
                    verdict = "MISSED"
            finally:
                with open(path, "w") as f:
                    f.write(text)
        if verdict != "caught":
            missed.append(number)
        print("%3d %-8s %-32s %-45s %s (%ds)" % (number, area, name, breaks[:45], verdict,
                                               time.time() - started), flush=True)

    print("%d of %d faults caught" % (len(faults) - len(missed), len(faults)))
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
