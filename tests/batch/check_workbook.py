#!/usr/bin/env python3
"""Reads a run's workbook back with openpyxl and checks it against the run's
long table, worked out apart from the program.

    check_workbook.py [--qualified N] WORKBOOK LONG_TABLE [INPUT...]

The inputs, when given, must be named in the Method sheet with their SHA-256;
with --qualified, at least N qualified values must have been checked (2 by
default), so that a run chosen for its qualifiers does show them. Prints
every difference and exits 1, or prints what it checked and exits 0.
"""

import argparse
import csv
import hashlib
import os
import re
import sys

import openpyxl

SHEETS = ["Results", "Long", "Calibration", "QC", "Method"]
# The qualifiers' fills, as docs/files.md lists them; an empty value shows its
# qualifier in grey instead.
FILLS = {"calibration rejected": "FFF4B6B6", "<LOD": "FFC6DCF5", "<LOQ": "FFFFF0A8",
         "over range": "FFFFD699", "not bracketed": "FFD5DEE6"}
FILLS.update({"%s failed" % check: "FFE2C6F0" for check in ("ICV", "ICB", "LLCCV", "CCV", "CCB")})
FILLS.update({kind: "FFF6C4DC" for kind in
              ("LCS failed", "blank contamination", "spike recovery", "duplicate RPD")})
GREY = "FF808080"
# Columns of names: text even where a name looks like a number.
NAMES = ("solution", "isotope")


def number(text):
    try:
        return float(text)
    except ValueError:
        return None


def is_number(value):
    return isinstance(value, (int, float)) and not isinstance(value, bool)


def check_long(sheet, rows, problems):
    """Every field of the file in its cell: a number as the same number, a
    name or a word as the same text, an empty field as an empty cell."""
    cells = list(sheet.iter_rows(values_only=True))
    if len(cells) != len(rows):
        problems.append("Long: %d rows, the long table %d" % (len(cells), len(rows)))
    header = rows[0]
    for r, (want, got) in enumerate(zip(rows, cells)):
        if len(got) != len(want):
            problems.append("Long row %d: %d cells, %d fields" % (r + 1, len(got), len(want)))
            continue
        for c, (field, cell) in enumerate(zip(want, got)):
            if r > 0 and header[c] not in NAMES and number(field) is not None:
                same = is_number(cell) and float(cell) == float(field)
            elif field == "":
                same = cell is None
            else:
                same = cell == field
            if not same:
                problems.append("Long %s%d: %r, the long table %r"
                                % (openpyxl.utils.get_column_letter(c + 1), r + 1, cell, field))
    if sheet.freeze_panes != "A2":
        problems.append("Long frozen at %s" % sheet.freeze_panes)


def matrix_layout(records):
    """The solutions in run order, the isotopes in file order, the units."""
    isotopes = []
    for record in records:
        if record["isotope"] in isotopes:
            break
        isotopes.append(record["isotope"])
    units = {record["unit"] for record in records}
    return isotopes, units


def check_cell(cell, record, counts, problems):
    reported, flag = record["reported"], record["flag"]
    where = "Results %s (%s, %s)" % (cell.coordinate, record["solution"], record["isotope"])
    fill = cell.fill.fgColor.rgb if cell.fill.fill_type == "solid" else None
    comment = cell.comment.text if cell.comment else None
    if reported == "":
        if cell.value != flag or cell.font.color is None or cell.font.color.rgb != GREY:
            problems.append("%s: %r, not %r in grey" % (where, cell.value, flag))
        return
    if not is_number(cell.value) or float(cell.value) != float(reported):
        problems.append("%s: %r, reported %s" % (where, cell.value, reported))
    if flag:
        counts[flag] = counts.get(flag, 0) + 1
        if fill != FILLS.get(flag) or comment is None or not comment.startswith(flag + ":"):
            problems.append("%s: fill %s, comment %r for %s" % (where, fill, comment, flag))
        elif record.get("qc_findings") and not comment.endswith("\nQC findings: " + record["qc_findings"]):
            problems.append("%s: comment %r without %r" % (where, comment, record["qc_findings"]))
    elif fill or comment:
        problems.append("%s: fill %s, comment %r without a qualifier" % (where, fill, comment))


def check_results(sheet, records, problems):
    """Solutions down, isotopes across: the reported value, its qualifier's
    fill and its comment, or the qualifier in grey; the unit in the header,
    or in a column of its own when the solutions' units differ."""
    isotopes, units = matrix_layout(records)
    mixed = len(units) > 1
    header = ["Solution"] + (["Unit"] if mixed else [])
    header += [iso if mixed else "%s (%s)" % (iso, next(iter(units))) for iso in isotopes]
    got = [cell.value for cell in sheet[1]]
    if got != header:
        problems.append("Results header %r, not %r" % (got, header))
    fixed = 2 if mixed else 1
    counts = {}
    for k, record in enumerate(records):
        row = k // len(isotopes) + 2
        if k % len(isotopes) == 0:
            named = [sheet.cell(row, 1).value] + ([sheet.cell(row, 2).value] if mixed else [])
            if named != [record["solution"]] + ([record["unit"]] if mixed else []):
                problems.append("Results row %d: %r" % (row, named))
        check_cell(sheet.cell(row, fixed + k % len(isotopes) + 1), record, counts, problems)
    if sheet.max_row != len(records) // len(isotopes) + 1:
        problems.append("Results: %d rows" % sheet.max_row)
    if sheet.freeze_panes != ("C2" if mixed else "B2"):
        problems.append("Results frozen at %s" % sheet.freeze_panes)
    return counts


def check_calibration(sheet, records, problems):
    """An isotope without a line is one whose empty values say "no
    calibration"; the others have the long table's limits."""
    isotopes, _ = matrix_layout(records)
    rows = list(sheet.iter_rows(min_row=2, values_only=True))
    if [row[0] for row in rows] != isotopes:
        problems.append("Calibration isotopes %r" % [row[0] for row in rows])
    for row in rows:
        mine = [r for r in records if r["isotope"] == row[0]]
        without = any(r["flag"] == "no calibration" for r in mine)
        if (row[2] == "no calibration line") != without:
            problems.append("Calibration %s: %r" % (row[0], row[2]))
        elif not without and (row[6] != float(mine[0]["lod_ppb"])
                              or row[7] != float(mine[0]["loq_ppb"])):
            problems.append("Calibration %s: LOD %r, LOQ %r" % (row[0], row[6], row[7]))
    if sheet.freeze_panes != "B2":
        problems.append("Calibration frozen at %s" % sheet.freeze_panes)


def check_qc(sheet, records, problems):
    """What each QC solution was found at is its concentration in the long table."""
    found = {(r["solution"], r["isotope"]): r["concentration_ppb"] for r in records}
    checked = 0
    for row in sheet.iter_rows(values_only=True):
        if row[0] != "QC solution":
            continue
        want = found.get((row[1], row[2]))
        if want is None or (row[5] if row[5] is not None else "") != (float(want) if want else ""):
            problems.append("QC %s %s: found %r, the long table %r" % (row[1], row[2], row[5], want))
        checked += 1
    return checked


def table(sheet, heading):
    """The rows of the table under a heading cell in the first column."""
    rows, inside = [], False
    for row in sheet.iter_rows(values_only=True):
        if row[0] == heading and all(value is None for value in row[1:]):
            inside = True
        elif inside and row[0] is None:
            break
        elif inside:
            rows.append(row)
    return rows[1:]


def check_qc_counts(sheet, trace, records, problems):
    """The run and batch QC tables hold as many verdicts and failures as the
    trace counts; each check found at its concentration in the long table."""
    found = {(r["solution"], r["isotope"]): r["concentration_ppb"] for r in records}
    with open(trace, encoding="utf-8") as f:
        text = f.read()
    for heading, pattern, verdicts in (
            ("Run QC", r"# run QC: (\d+) / (\d+) checks failed", 6),
            ("Batch QC", r"# sample QC: (\d+) / (\d+) failed", 9)):
        counts = re.search(pattern, text)
        rows = [row for row in table(sheet, heading) if row[0] != "gap"]
        if not counts:
            if rows:
                problems.append("%s rows without the trace's count" % heading)
            continue
        got = (sum(row[verdicts] == "fail" for row in rows),
               sum(row[verdicts] in ("pass", "fail") for row in rows))
        if got != (int(counts.group(1)), int(counts.group(2))):
            problems.append("%s %r failed / verdicts, the trace %s" % (heading, got, counts.group(0)))
        for row in rows if heading == "Run QC" else []:
            want = found.get((row[0], row[2]))
            if want is None or (row[3] if row[3] is not None else "") != (float(want) if want else ""):
                problems.append("Run QC %s %s: found %r, the long table %r" % (row[0], row[2], row[3], want))


def check_method(sheet, inputs, problems):
    rows = [row for row in sheet.iter_rows(values_only=True)]
    for path in inputs:
        with open(path, "rb") as f:
            digest = hashlib.sha256(f.read()).hexdigest()
        if not any(row[1] == os.path.basename(path) and row[3] == digest for row in rows):
            problems.append("Method: no input %s with SHA-256 %s" % (path, digest))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--qualified", type=int, default=2)
    parser.add_argument("--trace", help="the run's trace, for the run and batch QC's counts")
    parser.add_argument("workbook")
    parser.add_argument("long_table")
    parser.add_argument("inputs", nargs="*")
    args = parser.parse_args()
    workbook = openpyxl.load_workbook(args.workbook)
    with open(args.long_table, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    records = [dict(zip(rows[0], row)) for row in rows[1:]]
    problems = []
    if workbook.sheetnames != SHEETS:
        print("sheets %r" % workbook.sheetnames)
        return 1
    check_long(workbook["Long"], rows, problems)
    counts = check_results(workbook["Results"], records, problems)
    check_calibration(workbook["Calibration"], records, problems)
    qc = check_qc(workbook["QC"], records, problems)
    if args.trace:
        check_qc_counts(workbook["QC"], args.trace, records, problems)
    check_method(workbook["Method"], args.inputs, problems)
    if sum(counts.values()) < args.qualified:
        problems.append("fewer than %d qualified values: %r" % (args.qualified, counts))
    for problem in problems[:40]:
        print(problem)
    if problems:
        return 1
    print("%d values, qualified %r, %d QC values" % (len(records), counts, qc))
    return 0


if __name__ == "__main__":
    sys.exit(main())
