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
    ("numbers", "parsers/InputParser.cpp",
     "if (text.isEmpty() || text == getNotDefinedTag())", "if (text.isEmpty())",
     "the undefined-value tag reads as 0"),
    ("numbers", "parsers/InputParser.cpp",
     "*value = ascii[0] == '-' ? -magnitude : magnitude;", "*value = magnitude;",
     "the sign of a plain decimal"),
    ("numbers", "parsers/InputParser.cpp", "if (digits <= 15) {", "if (digits <= 18) {",
     "exact arithmetic only where it is exact"),
    ("numbers", "parsers/InputParser.cpp",
     "plain.setNumberOptions(plain.numberOptions() | QLocale::RejectGroupSeparator);", "",
     "a decimal comma read as a group separator"),
    ("numbers", "parsers/InputParser.cpp", "        QLocale::setDefault(french);\n", "",
     "the switch to the French convention"),
    ("numbers", "parsers/InputParser.cpp", "*ok = qIsFinite(value);", "*ok = true;",
     "nan and inf refused"),
    ("numbers", "parsers/InputParser.cpp", "return value == 0.0 ? 0.0 : value;", "return value;",
     "-0 read as 0"),
    ("numbers", "parsers/InputParser.cpp", "constexpr int shown = 40;", "constexpr int shown = 400;",
     "a long cell shortened in the message"),
    # Text decoding
    ("readers", "parsers/TextFile.cpp", "if (state.invalidChars == 0 && state.remainingChars == 0)",
     "if (state.remainingChars == 0)", "Windows-1252 when the bytes are not UTF-8"),
    ("readers", "parsers/TextFile.cpp", "if (c == '\\r' && i + 1 < size && chars[i + 1] == QLatin1Char('\\n'))",
     "if (false)", "CRLF line ends"),
    ("readers", "parsers/TextFile.cpp", "return controls > bytes.size() / 100;", "return false;",
     "binary files refused"),
    # Quadrupole reader
    ("readers", "parsers/ParserInAgilentCSV.cpp", "        names.removeFirst();\n", "",
     "the Sample: cell is no solution"),
    ("readers", "parsers/ParserInAgilentCSV.cpp", "if (nValues != 2 * nSolutions)",
     "if (nValues < 2 * nSolutions)", "too many values on an isotope line"),
    ("readers", "parsers/ParserInAgilentCSV.cpp",
     "solution->setCpsSD(iso, cps.at(k) * rsd.at(k) / 100.0);",
     "solution->setCpsSD(iso, cps.at(k) * rsd.at(k) / 10.0);", "standard deviation from the RSD"),
    ("readers", "parsers/ParserInAgilentCSV.cpp", "for (int row = sampleRow + 1; row < lines.size(); ++row)",
     "for (int row = 0; row < lines.size(); ++row)", "isotope lines before Sample: skipped"),
    ("readers", "parsers/ParserInAgilentCSV.cpp", "if (containsDigit(cells.at(c)) || cells.at(c).contains(NOT_DEFINED_TAG))",
     "if (true)", "unrecognised value cells refused"),
    # High-resolution reader
    ("readers", "parsers/ParserInHRElementCSV.cpp", "        if (row == 0)\n            continue;\n", "",
     "the first line only names solutions"),
    ("readers", "parsers/ParserInHRElementCSV.cpp",
     "    if (text == QLatin1String(\"MR\"))\n        return Element::MR;",
     "    if (text == QLatin1String(\"MR\"))\n        return Element::HR;", "MR resolution"),
    ("readers", "parsers/ParserInHRElementCSV.cpp", "        parsedSolutions = nSolutions;\n", "",
     "the summary's solution count"),
    ("readers", "parsers/ParserInHRElementCSV.cpp",
     "solution->setCpsSD(iso, rsd.at(k) * cps.at(k) / 100.0);",
     "solution->setCpsSD(iso, rsd.at(k) / 100.0);", "standard deviation from the RSD"),
    # Standards reader
    ("readers", "parsers/ParserInSTDQC.cpp", "for (int j = headers.size() - 1; j >= 0; --j) {",
     "for (int j = 0; j < headers.size(); ++j) {", "the rightmost matching header wins"),
    ("readers", "parsers/ParserInSTDQC.cpp", "error[i] = toDouble(cells.value(column + 1), &ok);",
     "error[i] = toDouble(cells.value(column + 2), &ok);", "the error column beside the value"),
    ("readers", "parsers/ParserInSTDQC.cpp", "        if (name.at(i) == QLatin1Char('_'))\n            ++i;\n",
     "", "replicates named family_n"),
    ("readers", "parsers/ParserInSTDQC.cpp", "        if (!firstRow.contains(name))\n", "",
     "the first row of an element wins"),
    # Data set, average blanks, first blank run
    ("model", "model/Data.cpp", "    if (blanks.size() < 2)\n        return;", "    if (blanks.size() < 1)\n        return;",
     "no average of a single blank"),
    ("model", "model/Data.cpp", "if (blank.getCpsSD(i) > maxSD)", "if (blank.getCpsSD(i) < maxSD)",
     "an average's deviation is its members' largest"),
    ("model", "model/Data.cpp", "            if (!blank.isMeasured(i))\n                continue;\n", "",
     "an unmeasured blank left out of the average"),
    ("model", "model/Data.cpp", "average.setCps(i, count == 0 ? 0.0 : sum / count);",
     "average.setCps(i, count == 0 ? 0.0 : sum / members.size());", "the average over the measuring blanks"),
    ("model", "model/Data.cpp", "while (s < solutions.size() && solutions.at(s).getType() == Solution::BLK)",
     "while (s < solutions.size() && run.size() < 2 && solutions.at(s).getType() == Solution::BLK)",
     "the whole first run of blanks"),
    ("model", "model/Data.cpp", "if (missing[isos.at(i).group()])", "if (missing[2])",
     "a missing IS affects its own group only"),
    ("model", "model/Data.cpp", "            to.setMeasured(i, from.isMeasured(i));\n", "",
     "marks decided on the values as read"),
    ("model", "model/Element.h", "return resol == NOT_DEFINED ? LR : resol;", "return resol == NOT_DEFINED ? MR : resol;",
     "quadrupole isotopes belong to LR"),
    # Engine
    ("engine", "processing/Processing.cpp", "const double factor = reference / y;",
     "const double factor = y / reference;", "IS factor"),
    ("engine", "processing/Processing.cpp",
     "return resol == Element::LR || resol == Element::NOT_DEFINED;", "return resol == Element::LR;",
     "IS correction of quadrupole isotopes"),
    ("engine", "processing/Processing.cpp", "        if (keepIsotopes.contains(i))\n            continue;\n", "",
     "IS isotopes kept out of the subtraction"),
    ("engine", "processing/Processing.cpp", "solution->setCps(i, c - b);", "solution->setCps(i, c + b);",
     "blank subtraction"),
    ("engine", "processing/Processing.cpp", "line.yIntercept = sums.yMean - sums.xMean * slope;",
     "line.yIntercept = sums.yMean + sums.xMean * slope;", "intercept"),
    ("engine", "processing/Processing.cpp", "/ (n - 2.0);", "/ (n - 1.0);", "residual variance"),
    ("engine", "processing/Processing.cpp", "(1.0 / n + sums.xMean * sums.xMean / sums.sxx) * s2",
     "(1.0 / n + sums.xMean / sums.sxx) * s2", "intercept variance"),
    ("engine", "processing/Processing.cpp", "squareR[iso] = 1.0 - ssRes / sums.syy;",
     "squareR[iso] = ssRes / sums.syy;", "r2"),
    ("engine", "processing/Processing.cpp",
     "&& (c != 0.0 || solution->getName() == Solution::ZERO_STD_NAME)", "&& c != 0.0",
     "the zero standard is a point"),
    ("engine", "processing/Processing.cpp",
     "(treated->getCps(i) - line.yIntercept) / line.slope",
     "(treated->getCps(i) + line.yIntercept) / line.slope", "concentration"),
    ("engine", "processing/Processing.cpp",
     "return (sy * sy + syb * syb + line.yInterceptVariance) / (signal * signal);",
     "return (sy * sy + line.yInterceptVariance) / (signal * signal);", "blank term of the RSD"),
    ("engine", "processing/Processing.cpp",
     "return (((sy / y) * (sy / y) + a + b) * corrected * corrected",
     "return (((sy / y) * (sy / y) + a) * corrected * corrected", "reference IS term of the RSD"),
    ("engine", "processing/Processing.cpp", "return (((sy * sy + syb * syb) / (net * net) + a + b)",
     "return (((sy * sy) / (net * net) + a + b)", "blank term of the IS RSD"),
    ("engine", "processing/Processing.cpp", "    return p / q;\n}", "    return q / p;\n}", "IS factor in the RSD"),
    ("engine", "processing/Processing.cpp", "return line.slopeVariance / (line.slope * line.slope);",
     "return line.slopeVariance / line.slope;", "slope term of the RSD"),
    ("engine", "processing/Processing.cpp", "            q += computeSlopeRsdS(line);\n", "",
     "slope term added"),
    ("engine", "processing/Processing.cpp", "treated->setConcentRSD(i, 100.0 * std::sqrt(q));",
     "treated->setConcentRSD(i, std::sqrt(q));", "RSD in percent"),
    ("engine", "processing/Processing.cpp", "            if (!hasLine(i) || !treated->isMeasured(i)) {",
     "            if (!hasLine(i)) {", "no concentration when not measured"),
    ("engine", "processing/Processing.cpp", "lod[i] = 3.0 * sigma;", "lod[i] = 2.0 * sigma;", "LOD"),
    ("engine", "processing/Processing.cpp", "loq[i] = 10.0 * sigma;", "loq[i] = 9.0 * sigma;", "LOQ"),
    ("engine", "processing/Processing.cpp", "            if (blank->isMeasured(i))\n", "",
     "limits over the blanks that measured the isotope"),
    ("engine", "processing/Processing.cpp", "const double sigma = std::sqrt(sum / v.size());",
     "const double sigma = std::sqrt(sum / (v.size() - 1));", "population deviation of the blanks"),
    ("engine", "processing/Processing.cpp", "|| (loC <= hiE && hiE <= hiC)", "",
     "QC pass with the expected upper bound inside"),
    ("engine", "processing/Processing.cpp", "            if (!hasLine(i))\n                reason",
     "            if (false)\n                reason", "QC value without a line is not valid"),
    ("engine", "processing/Processing.cpp", "            else if (!measured->isMeasured(i))\n                reason = QStringLiteral(\"not measured\");\n",
     "", "QC value not measured is not valid"),
    ("engine", "processing/Processing.cpp", "w[k] = rawWeight(x.at(k) != 0.0 ? x.at(k) : lowest);",
     "w[k] = rawWeight(x.at(k) != 0.0 ? x.at(k) : 1.0);", "the zero standard weighs as the lowest"),
    ("engine", "processing/Processing.cpp", "        w[k] *= n / total;\n", "",
     "weights scaled to sum to n"),
    ("engine", "processing/Processing.cpp", ": w.at(k) * residual * residual;",
     ": residual * residual;", "weighted residuals"),
    ("engine", "processing/Processing.cpp", "weighting == Weighting::InverseX ? 1.0 / c : 1.0 / (c * c)",
     "1.0 / c", "1/x2 weights"),
    ("engine", "processing/Processing.h", "return low <= percent && percent <= high;",
     "return low < percent && percent <= high;", "recovery bounds inclusive"),
    ("engine", "processing/Processing.h", "return 100.0 * value / reference;",
     "return 100.0 * reference / value;", "recovery in percent of the reference"),
    ("engine", "processing/Processing.cpp", "        if (s == refSolution)\n            continue;\n", "",
     "the reference is not checked against itself"),
    ("engine", "processing/Processing.cpp", "return qMakePair(mean, std::sqrt(sum / v.size()));",
     "return qMakePair(mean, std::sqrt(sum / (v.size() - 1)));", "population deviation of the IS plot"),
    # Results writer and long table
    ("writer", "parsers/ParserOutCSV.cpp", "} else if (processing.getLOQ(i) > c) {",
     "} else if (processing.getLOQ(i) >= c) {", "a value at the LOQ is shown"),
    ("writer", "parsers/ParserOutCSV.cpp", "appendNumber(bytes, c * rsd / 100.0);",
     "appendNumber(bytes, c * rsd);", "SD column"),
    ("writer", "parsers/ParserOutCSV.cpp", "        appendNumber(bytes, processing.getLOQ(i));",
     "        appendNumber(bytes, processing.getLOD(i));", "LOQ line"),
    ("writer", "parsers/ParserOut.cpp", "if (std::fabs(fraction - 0.5) < 1e-6)", "if (false)",
     "six-digit rounding near a tie"),
    ("writer", "parsers/ParserOut.cpp", "    if (value == 0.0) {\n        out.append('0');",
     "    if (value == 0.0 && false) {\n        out.append('0');", "-0 written as 0"),
    ("writer", "parsers/ParserOutLongCSV.cpp", "|| bytes.contains('\"') ||", "||",
     "a field holding a quote is quoted"),
    ("writer", "parsers/ParserOutLongCSV.cpp", "appendText(isotopes[i], data.getIso(i).getName().trimmed());",
     "appendText(isotopes[i], data.getIso(i).getName());", "isotope names without trailing blanks"),
    ("writer", "parsers/ParserOutLongCSV.cpp", "if (solution->getType() == Solution::STD)\n                    flag = \"no value\";",
     "if (false)\n                    flag = \"no value\";", "a standard without a value"),
    ("writer", "parsers/ParserOutLongCSV.cpp", "                if (processing.getLOQ(i) > c)\n                    flag = \"<LOQ\";",
     "                if (false)\n                    flag = \"<LOQ\";", "the <LOQ flag"),
    ("writer", "parsers/ParserOutLongCSV.cpp", "    if (std::isfinite(value))\n        ParserOut::appendNumber(out, value);",
     "    ParserOut::appendNumber(out, value);", "nan and inf as empty fields"),
    # Run sequence
    ("run", "processing/ProcessingRun.cpp", "if (checked[k] && result.is_ref_id != -1)",
     "if (result.is_ref_id != -1)", "only corrected groups lose values and take IS terms"),
    ("run", "processing/ProcessingRun.cpp", "processing->computeLimits(outputData, firstBlankRun);",
     "processing->computeLimits(outputData, firstBlankRun.mid(0, 2));",
     "limits over the whole first run of blanks"),
    ("run", "processing/ProcessingRun.cpp", "processing->computeLimits(outputData, firstBlankRun);",
     "processing->computeLimits(outputData, allBlankIndexes);", "limits over the first run only"),
    ("run", "processing/ProcessingRun.cpp",
     "options.subBlank && options.blankSelection >= allBlankIndexes.size()",
     "options.subBlank && options.blankSelection > allBlankIndexes.size()",
     "an average blank built before it is subtracted"),
    ("run", "processing/ProcessingRun.cpp", "copy(Solution::ZERO_STD_NAME, Solution::STD)",
     "copy(Solution::ZERO_STD_NAME, Solution::BLK)", "the zero standard is a standard"),
    ("run", "processing/ProcessingRun.cpp",
     "    // No line, r2 or limit of an earlier run with other options may survive.\n    processing->init(inputData->isoSize());\n",
     "", "every run starts from fresh lines"),
    ("run", "processing/ProcessingRun.cpp", "            solution->setConcent(i, 0.0);\n            solution->setConcentRSD(i, 0.0);\n",
     "", "expected values of an earlier standards file dropped"),
    ("run", "processing/ProcessingRun.cpp", "                if (qc->getConcent(i) != 0.0)\n                    ++result.qcValueCount;",
     "                ++result.qcValueCount;", "QC count of expected values"),
    ("run", "processing/ProcessingRun.cpp", "!reference->isMeasured(group.isotope)",
     "reference->getCps(group.isotope) < 0.0", "a reference without its IS refused"),
    ("run", "processing/ProcessingRun.cpp", "    if (!result.calibrated)\n        return result;\n", "",
     "a run without any line stops"),
    ("run", "processing/ProcessingRun.cpp", "            result.status = NO_SUBTRACTION_BLANK;\n", "",
     "subtraction without a blank said"),
    ("run", "processing/ProcessingRun.cpp",
     "flag(options.correctLR)\n            + QStringLiteral(\" ; \") + flag(options.correctMR)",
     "flag(options.correctMR)\n            + QStringLiteral(\" ; \") + flag(options.correctLR)",
     "check boxes in the trace"),
    # Batch tool
    ("batch", "batch/BatchCommand.cpp", "            if (group == QLatin1String(\"LR\"))\n                correctLR = true;",
     "            if (group == QLatin1String(\"LR\"))\n                correctMR = true;", "--is-groups"),
    ("batch", "batch/BatchCommand.cpp", "        if (inputs.contains(target))\n", "        if (false)\n",
     "an output naming an input refused"),
    ("batch", "batch/BatchCommand.cpp", "            if (earlier.second == target)\n", "            if (false)\n",
     "one output over another refused"),
    ("batch", "batch/BatchCommand.cpp", "recoveryLow >= recoveryHigh", "recoveryLow > recoveryHigh",
     "equal recovery bounds refused"),
    ("batch", "batch/BatchJob.cpp", "        saved = save(command.longFile, ProcessingRun::Layout::Long, errors);",
     "        saved = save(command.longFile, ProcessingRun::Layout::Wide, errors);",
     "--long writes the long table"),
    ("batch", "batch/BatchPlots.cpp", "static const QRegularExpression others(QStringLiteral(\"[^A-Za-z0-9_-]+\"));",
     "static const QRegularExpression others(QStringLiteral(\"[^A-Za-z0-9_-]\"));",
     "a run of other characters in a plot's name is one _"),
    ("batch", "batch/BatchPlots.cpp", "        if (!processing->hasLine(iso))",
     "        if (false)", "calibration plots only for isotopes with a line"),
    ("batch", "batch/PlotModule.cpp", "    if (qEnvironmentVariableIsEmpty(\"XDG_RUNTIME_DIR\")) {",
     "    if (false) {", "plots drawn quietly without a session"),
    ("batch", "batch/BatchCommand.cpp", "    if (blankGiven && blankMode == NoBlank)\n", "    if (false)\n",
     "--blank without a blank mode refused"),
    ("batch", "batch/BatchCommand.cpp", "    if (!isCorrection) {", "    if (false) {",
     "IS options without --is-ref refused"),
    ("batch", "batch/BatchJob.cpp", "options->blankSelection = blankNames.isEmpty() ? -1 : 0;",
     "options->blankSelection = -1;", "the first blank by default"),
    ("batch", "batch/BatchJob.cpp", "    while (end > 0 && text.at(end - 1).isSpace())\n        --end;\n", "",
     "isotope names without their trailing blank"),
    ("batch", "batch/BatchJob.cpp", "            Trace::always(failure);", "            Q_UNUSED(failure);",
     "QC failure lines"),
    ("batch", "batch/BatchJob.cpp", "        Trace::always(outside);", "        Q_UNUSED(outside);",
     "recovery lines"),
    ("batch", "batch/main.cpp", "    std::signal(SIGPIPE, SIG_IGN);\n", "", "a closed trace reader"),
    ("batch", "parsers/OutputFile.cpp", "straight = target.exists() && !target.isFile() && !target.isDir();",
     "straight = false;", "a named pipe written into, not replaced"),
    # Window glue
    ("window", "app/Application.cpp", "void Application::on_subBlank_clicked()\n{\n    ui->yIntercept->setChecked(false);",
     "void Application::on_subBlank_clicked()\n{\n", "the two blank options exclude each other"),
    ("window", "app/Application.cpp", "ui->yIntercept->isChecked() || ui->subBlank->isChecked()",
     "ui->yIntercept->isChecked() && ui->subBlank->isChecked()", "blank list enabled"),
    ("window", "app/Application.cpp", "saveFileAct->setEnabled(currentTab == tabs->indexOf(ui->tab_output));",
     "saveFileAct->setEnabled(currentTab != tabs->indexOf(ui->tab_output));", "Save Output on its tab"),
    ("window", "app/Application.cpp", "options.isMR = ui->comboISMR->currentIndex();",
     "options.isMR = ui->comboISLR->currentIndex();", "the MR isotope read from its box"),
    ("window", "app/Application.cpp", "{ { ui->comboISLR, \"LR\" }, { ui->comboISMR, \"MR\" }, { ui->comboISHR, \"HR\" } };\n    for (const auto &choice : choices) {\n        const QString key",
     "{ { ui->comboISLR, \"LR\" }, { ui->comboISLR, \"MR\" }, { ui->comboISHR, \"HR\" } };\n    for (const auto &choice : choices) {\n        const QString key",
     "isotopes remembered at closing"),
    ("window", "app/Application.cpp", "    display->clearPlots();\n", "", "plots of the previous file cleared"),
    ("window", "app/Application.cpp", "        inputData->copyData(&earlierInput);\n", "",
     "a refused run keeps the earlier expected values"),
    ("window", "app/Application.cpp", "    if (present && !listed)\n        list->addItem(Solution::ZERO_STD_NAME);",
     "    if (present && !listed && false)\n        list->addItem(Solution::ZERO_STD_NAME);",
     "the zero standard listed"),
    ("window", "app/Application.cpp", "        QMessageBox::warning(this, tr(\"Process\"), refused);\n        return;",
     "        QMessageBox::warning(this, tr(\"Process\"), refused);", "a refused reference stops the run"),
    # Display
    ("display", "display/Displaying.cpp", "} else if (limits && limits->getLOQ(i) > concent) {",
     "} else if (limits && limits->getLOQ(i) < concent) {", "<LOQ in the output table"),
    ("display", "display/Displaying.cpp", "setComboEntries(ui->comboISMR, data->isotopeNames(data->getMrIndexes()));",
     "setComboEntries(ui->comboISMR, data->isotopeNames(data->getHrIndexes()));", "MR isotopes listed"),
    ("display", "display/EvolutionPlot.cpp", "if (pattern.match(solution->getName()).hasMatch()) {",
     "if (true) {", "evolution of the chosen solutions only"),
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
        shutil.copy2(source, target)


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
