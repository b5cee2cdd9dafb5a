#!/usr/bin/env python3
"""Reads a run report's results back with pdftotext and checks them against
the run's long table, worked out apart from the program.

    check_report.py REPORT LONG_TABLE [--left ISOTOPE]... [--rejected ISOTOPE]...

Each value must be the long table's, its SD to two significant digits and
the value to the same decimal place (an exact half away from zero), as the
report says once; a standard's marked "given"; each with its qualifier,
limits and findings, beside its solution's factor and unit. Up to 40
solutions the results are a list, a heading per solution; beyond, a matrix
of solutions by isotopes, a page per block, a rejected line's isotope marked
above its column. The isotopes --left (the internal standards) must be named
as left out and appear nowhere in the results. The plot of each isotope
--rejected, and only theirs, is titled as rejected; every word on a page of
plots prints at 6 points or more. Prints every difference and exits 1, or
prints what it checked and exits 0.
"""

import argparse
import csv
import re
import subprocess
import sys
from decimal import ROUND_HALF_UP, Decimal

LIST_MOST = 40
FOOTER = re.compile(r"^Ketrion run report [0-9a-f]{12} +Page \d+ of \d+$")
# A word's box is about 1.16 times its font's size in points.
SMALLEST_PRINT = 6.0 * 1.16
RULE = ("Values are rounded to two significant digits of their standard deviation "
        "(value ± SD); a value without SD keeps six significant digits.")


def fixed(number):
    text = format(number, "f")
    return text.lstrip("-") if set(text) <= set("-0.") else text


def rounded(value, sd):
    """value ± sd as the report must show it, from the long table's text."""
    if value == "":
        return ""
    if sd == "" or Decimal(sd) <= 0:
        return value
    spread = Decimal(sd)
    place = spread.adjusted() - 1
    sd_rounded = spread.quantize(Decimal(1).scaleb(place), ROUND_HALF_UP)
    if sd_rounded.adjusted() > spread.adjusted():
        place += 1
        sd_rounded = spread.quantize(Decimal(1).scaleb(place), ROUND_HALF_UP)
    if abs(place) > 15:
        return f"{value} ± {sd}"
    number = Decimal(value)
    if place < number.adjusted() - 5:
        return f"{value} ± {fixed(sd_rounded)}"
    return f"{fixed(number.quantize(Decimal(1).scaleb(place), ROUND_HALF_UP))} ± {fixed(sd_rounded)}"


def qualifier(row):
    words = ["given"] if row["type"] == "STD" and row["reported"] else []
    return ", ".join(words + ([row["flag"]] if row["flag"] else []))


def results_lines(pdf):
    text = subprocess.run(["pdftotext", "-layout", pdf, "-"], check=True,
                          capture_output=True, text=True).stdout
    lines = text.replace("\f", "\n").split("\n")
    start = lines.index("Results")
    end = lines.index("Calibration plots", start)
    return [line for line in lines[start + 1:end] if not FOOTER.match(line.strip())]


def same_name(shown, name):
    """A name as shown: whole, or shortened in its middle with an ellipsis."""
    if shown == name:
        return True
    left, mark, right = shown.partition("…")
    return bool(mark) and name.startswith(left) and name.endswith(right) and \
        len(left) + len(right) < len(name)


def list_blocks(lines, isotopes):
    """[heading, rows' lines] per solution: the lines before a table's
    header, then those of its isotopes and of its findings carried over
    (indented). A table that runs onto the next page repeats its header
    without a heading."""
    blocks = []
    pending = []
    row = re.compile(r"^(" + "|".join(re.escape(i) for i in isotopes) + r")(\s|$)")
    for line in lines:
        bare = line
        if re.match(r"^Isotope\s+Value ± SD", bare):
            if pending or not blocks:
                blocks.append([" ".join(pending), []])
            pending = []
        elif blocks and not pending and (bare.startswith("    ") or row.match(bare)):
            blocks[-1][1].append(bare)
        elif bare.strip():
            pending.append(bare.strip())
    return blocks


def check_list(lines, rows, errors):
    blocks = list_blocks(lines, {row["isotope"] for row in rows})
    checked = 0
    for row in rows:
        name = re.escape(row["solution"].replace(" ", "")) + "—"
        found = [block for block in blocks
                 if re.search(r"(^|\.)" + name, block[0].replace(" ", ""))]
        if len(found) != 1:
            errors.append(f"{len(found)} headings for {row['solution']}")
            continue
        title, block = found[0]
        if not title.endswith(f", F {row['factor']}; {row['unit']}"):
            errors.append(f"{row['solution']}: heading '{title}' lacks F {row['factor']}; {row['unit']}")
        cells = [row["isotope"], rounded(row["reported"], row["reported_sd"]), row["reported_lod"],
                 row["reported_loq"], qualifier(row)]
        pattern = re.compile(r"^" + r"\s+".join(re.escape(c) for c in cells if c) + r"(\s+(.*))?$")
        at = [k for k, line in enumerate(block) if pattern.match(line)]
        if len(at) != 1:
            errors.append(f"{row['solution']} {row['isotope']}: no row {cells}")
            continue
        findings = [pattern.match(block[at[0]]).group(2) or ""]
        for line in block[at[0] + 1:]:
            if not line.startswith("    "):
                break
            findings.append(line.strip())
        if " ".join(f for f in findings if f) != row.get("qc_findings", ""):
            errors.append(f"{row['solution']} {row['isotope']}: findings {findings}")
        checked += 1
    return checked


def check_matrix(lines, rows, rejected, errors):
    """Pages of blocks: the header names the isotopes, each row a
    solution's name, factor, unit and cells."""
    shown = {}  # (name as shown, isotope) -> (factor, unit, cell)
    isotopes = None
    for line in lines:
        cells = re.split(r" {2,}", line.strip())
        if cells[:3] == ["Solution", "F", "Unit"]:
            isotopes = cells[3:]
            for title in isotopes:
                if title.endswith(" rejected") != (title.removesuffix(" rejected") in rejected):
                    errors.append(f"column '{title}' not marked as its line is")
            isotopes = [title.removesuffix(" rejected") for title in isotopes]
        elif isotopes and len(cells) == 3 + len(isotopes):
            for isotope, cell in zip(isotopes, cells[3:]):
                shown[(cells[0], isotope)] = (cells[1], cells[2], cell)
        elif isotopes and line.strip():
            errors.append(f"matrix line of {len(cells)} cells: {line}")
    checked = 0
    for row in rows:
        matches = [value for (name, isotope), value in shown.items()
                   if isotope == row["isotope"] and same_name(name, row["solution"])]
        flag = qualifier(row)
        if row["isotope"] in rejected:
            flag = re.sub(r"(, )?calibration rejected$", "", flag)
        cell = " ".join(c for c in [rounded(row["reported"], row["reported_sd"]), flag] if c) or "-"
        if matches != [(row["factor"], row["unit"], cell)]:
            errors.append(f"{row['solution']} {row['isotope']}: {matches} for {cell}")
        checked += 1
    return checked


def check_plots(pdf, rejected, errors):
    """The plots' titles, and their words' heights page by page."""
    text = subprocess.run(["pdftotext", "-layout", pdf, "-"], check=True,
                          capture_output=True, text=True).stdout
    titled = set(re.findall(r"Calibration (\S+ \S+): rejected", text))
    if titled != rejected:
        errors.append(f"plots titled as rejected: {sorted(titled)}, not {sorted(rejected)}")
    boxes = subprocess.run(["pdftotext", "-bbox", pdf, "-"], check=True,
                           capture_output=True, text=True).stdout
    word = re.compile(r'<word xMin="[^"]*" yMin="([^"]*)" xMax="[^"]*" yMax="([^"]*)">([^<]*)</word>')
    plotted = 0
    for page in boxes.split("<page ")[1:]:
        words = [(float(bottom) - float(top), text) for top, bottom, text in word.findall(page)]
        if not any(text == "Intensity" for _, text in words):
            continue
        plotted += 1
        small = [text for height, text in words if height < SMALLEST_PRINT]
        if small:
            errors.append(f"words printed below 6 points on a page of plots: {small[:5]}")
    if not plotted:
        errors.append("no page of plots")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("report")
    parser.add_argument("long")
    parser.add_argument("--left", action="append", default=[])
    parser.add_argument("--rejected", action="append", default=[])
    args = parser.parse_args()
    with open(args.long, encoding="utf-8", newline="") as table:
        rows = [row for row in csv.DictReader(table) if row["isotope"] not in args.left]
    lines = results_lines(args.report)
    errors = []
    text = "\n".join(lines)
    if RULE not in re.sub(r"\s*\n", " ", text):
        errors.append("the rounding rule is not stated")
    if args.left:
        note = "Internal standards, without a calibration line, left out: " + ", ".join(args.left) + "."
        if note not in text:
            errors.append("no note of the internal standards left out")
        for isotope in args.left:
            if re.search(r"(^|\s)" + re.escape(isotope) + r"(\s|$)", text.replace(note, "")):
                errors.append(f"{isotope} in the results")
    solutions = list(dict.fromkeys(row["solution"] for row in rows))
    matrix = len(solutions) > LIST_MOST
    if matrix != (f"More than {LIST_MOST} solutions" in text):
        errors.append("the layout chosen is not said")
    if matrix:
        checked = check_matrix(lines, rows, set(args.rejected), errors)
    else:
        checked = check_list(lines, rows, errors)
    check_plots(args.report, set(args.rejected), errors)
    for error in errors[:40]:
        print(error)
    if errors:
        return 1
    print(f"{checked} values of {len(solutions)} solutions checked in a "
          f"{'matrix' if matrix else 'list'}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
