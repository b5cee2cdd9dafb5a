#!/usr/bin/env python3
"""Works out the expected results file and trace of each whole run in runs.txt,
into runs/<name>.csv, runs/<name>.trace (standard output of ketrion-batch) and
runs/<name>.err (standard error, when it says something) and runs/<name>.long
(the long table).

An implementation of the processing rules apart from the program, in another
language and without its code, so that the whole-run checks compare the
program with an independent computation. Run it after a deliberate change of
the rules and read the differences before committing them:

    python3 tests/data/work_out.py          # rewrites tests/data/runs/*
"""

import csv
import io
import json
import math
import os
from decimal import ROUND_HALF_UP, Decimal
import re
import shlex
import sys

import equations

HERE = os.path.dirname(os.path.abspath(__file__))
ZERO = 1e-14


class Iso:
    def __init__(self, element, mass, resol, line):
        self.element, self.mass, self.resol, self.line, self.count = element, mass, resol, line, 1

    @property
    def base(self):
        return "%d%s %s" % (self.mass, self.element, self.resol if self.resol != "ND" else "")

    @property
    def name(self):  # a second line of the same isotope is told apart
        return self.base if self.count == 1 else "%s (%d)" % (self.base.rstrip(), self.count)

    @property
    def group(self):  # index among HR, MR, LR
        return {"HR": 0, "MR": 1}.get(self.resol, 2)


def repeats(isos):
    """Counts each isotope's lines; one message per line after the first."""
    said = []
    for i, iso in enumerate(isos):
        earlier = [e for e in isos[:i] if e.base == iso.base]
        iso.count = len(earlier) + 1
        if earlier:
            said.append("%s is on lines %d and %d of the data file: the one on line %d is named %s."
                        % (iso.base.rstrip(), earlier[0].line, iso.line, iso.line, iso.name))
    return said


class Sol:
    def __init__(self, name, n, kind=None):
        self.name = name
        self.kind = kind or classify(name)
        self.cps, self.sd = [0.0] * n, [0.0] * n
        self.conc, self.rsd = [0.0] * n, [0.0] * n
        self.measured = [False] * n


def classify(name):
    for tag, kind in (("BLK_", "BLK"), ("STD_", "STD"), ("QC_", "QC")):
        if tag in name:
            return kind
    return "SAMPLE"


def number(cell, tag):
    if cell == "" or cell == tag:
        return 0.0
    return float(cell.replace(",", "."))


def read_hr(path):
    lines = open(path, encoding="utf-8").read().splitlines()
    names = [c for c in lines[0].split(";") if c]
    pattern = re.compile(r"[A-Z][a-z]?\d{1,3}\((LR|MR|HR)\);")
    rows = [(k + 1, l) for k, l in enumerate(lines) if k > 0 and pattern.search(l)]
    isos, sols = [], [Sol(n, len(rows)) for n in names]
    for i, (row, line) in enumerate(rows):
        cells = [c for c in line.split(";") if c]
        label = cells[0]
        isos.append(Iso(re.search(r"[A-Z][a-z]?", label).group(),
                        int(re.search(r"\d{1,3}", label).group()),
                        re.search(r"(LR|MR|HR)", label).group(), row))
        values = [c for c in cells[1:] if re.search(r"\d|not def.", c)]
        assert len(values) == 2 * len(sols)
        for k, s in enumerate(sols):
            s.cps[i] = number(values[2 * k], "not def.")
            s.sd[i] = number(values[2 * k + 1], "not def.") * s.cps[i] / 100.0
    return isos, sols


def read_q(path):
    lines = open(path, encoding="utf-8").read().splitlines()
    start = next(k for k, l in enumerate(lines) if l.startswith("Sample:"))
    names = [c for c in lines[start].split(";") if c][1:]
    pattern = re.compile(r"[A-Z][a-z]? / \d{1,3} \[#\d\];")
    rows = [(k + 1, l) for k, l in enumerate(lines) if k > start and pattern.search(l)]
    isos, sols = [], [Sol(n, len(rows)) for n in names]
    for i, (row, line) in enumerate(rows):
        cells = [c for c in line.split(";") if c]
        label = cells[0]
        symbol = re.search(r"[A-Z][a-z]?", label).group()
        tune = re.search(r"\[#\d\]", label).group()[1:-1]
        isos.append(Iso(symbol + " " + tune, int(re.search(r"/ (\d{1,3})", label).group(1)), "ND",
                        row))
        values = cells[1:]
        assert len(values) == 2 * len(sols)
        for k, s in enumerate(sols):
            s.cps[i] = number(values[2 * k], "<###> ")
            s.sd[i] = number(values[2 * k + 1].replace("%", ""), "<###> ") * s.cps[i] / 100.0
    return isos, sols


def read_stdqc(path, isos, sols):
    lines = open(path, encoding="utf-8").read().splitlines()
    headers = lines[0].split(";")
    first = {}
    for l in lines[1:]:
        first.setdefault(l.split(";")[0], l.split(";"))
    for s in sols:
        s.conc, s.rsd = [0.0] * len(isos), [0.0] * len(isos)
        if s.kind not in ("STD", "QC"):
            continue
        column = max(j for j, h in enumerate(headers) if re.fullmatch(re.escape(h) + r"(_?\d+)?", s.name))
        for i, iso in enumerate(isos):
            row = first.get(iso.element)
            if row:
                cell = lambda c: row[c] if c < len(row) else ""
                s.conc[i], s.rsd[i] = number(cell(column), ""), number(cell(column + 1), "")


def read_spikes(path, isos, spikes):
    """Spike column name -> its ppb per isotope: the last header that is the
    name, trimmed; an empty cell or a missing row is 0."""
    lines = open(path, encoding="utf-8").read().splitlines()
    headers = [h.strip() for h in lines[0].split(";")]
    first = {}
    for l in lines[1:]:
        first.setdefault(l.split(";")[0], l.split(";"))
    found = {}
    for spike in set(spikes.values()) - {""}:
        column = max(j for j, h in enumerate(headers) if h == spike)
        found[spike] = []
        for iso in isos:
            row = first.get(iso.element, [])
            found[spike].append(number(row[column] if column < len(row) else "", ""))
    return found


def read_sheet(path):
    """Solution name -> (factor, unit) from a sample sheet, and name -> role,
    name -> parent and name -> spike column. Cells in quotes as the csv module
    reads them (RFC 4180); every cell stripped, so no name here may begin or
    end in a blank."""
    text = open(path, encoding="utf-8-sig", newline="").read()
    header = next(l for l in re.split(r"\r\n|\r|\n", text) if l.strip())
    # the first of tab and semicolon that the header holds outside quotes
    sep = next((c for c in "\t;" if len(next(csv.reader([header], delimiter=c))) > 1), ",")
    rows = [[c.strip() for c in r] for r in csv.reader(io.StringIO(text, newline=""), delimiter=sep)]
    rows = [r for r in rows if any(r)]
    heads = [h.lower() for h in rows[0]]
    sheet, roles, parents, spikes = {}, {}, {}, {}
    for cells in rows[1:]:
        row = dict(zip(heads, cells))
        roles[row["solution"]] = row.get("role", "").upper()
        parents[row["solution"]] = row.get("parent", "")
        spikes[row["solution"]] = row.get("spike", "")
        value = lambda key: float(row[key].replace(",", ".")) if row.get(key) else 1.0
        if row.get("mass_g"):
            sheet[row["solution"]] = (value("dilution") * value("volume_ml") / (1000 * value("mass_g")), "mg/kg")
        else:
            sheet[row["solution"]] = (value("dilution"), "\u00b5g/L")
    return sheet, roles, parents, spikes


def average(name, members, isos):
    avg = Sol(name, len(isos), "BLK")
    for i in range(len(isos)):
        used = [m for m in members if m.measured[i]]
        if used:
            avg.cps[i] = sum(m.cps[i] for m in used) / len(used)
            avg.sd[i] = max([0.0] + [m.sd[i] for m in used])
            avg.measured[i] = True
    return avg


def copy(sols):
    out = []
    for s in sols:
        c = Sol(s.name, len(s.cps), s.kind)
        c.cps, c.sd, c.conc, c.rsd = list(s.cps), list(s.sd), list(s.conc), list(s.rsd)
        c.measured = [v != 0.0 for v in s.cps]
        out.append(c)
    return out


def fit(points, weighting="none"):
    n = len(points)
    if n == 0:
        return None
    if weighting == "none":
        w = [1.0] * n
    else:
        # The zero standard weighs as much as the lowest standard.
        lowest = min(x for x, _ in points if x != 0) if any(x != 0 for x, _ in points) else 0.0
        power = 1 if weighting == "1/x" else 2
        raw = [1.0 / (x if x != 0 else lowest) ** power if (x or lowest) else math.inf for x, _ in points]
        total = sum(raw)
        w = [r * n / total for r in raw]
    xm = sum(wk * x for wk, (x, _) in zip(w, points)) / n
    ym = sum(wk * y for wk, (_, y) in zip(w, points)) / n
    sxx = sum(wk * (x - xm) ** 2 for wk, (x, _) in zip(w, points))
    sxy = sum(wk * (x - xm) * (y - ym) for wk, (x, y) in zip(w, points))
    if sxx == 0 or sxx != sxx:
        return None
    slope = sxy / sxx
    icpt = ym - xm * slope
    syy = sum(wk * (y - ym) ** 2 for wk, (_, y) in zip(w, points))
    ssres = sum(wk * (y - (slope * x + icpt)) ** 2 for wk, (x, y) in zip(w, points))
    line = dict(slope=slope, icpt=icpt, vs=0.0, vi=0.0, r2=0.0, complete=False)
    if syy == 0:
        return line
    s2 = (syy - slope * slope * sxx) / (n - 2) if n > 2 else math.nan
    line.update(r2=1 - ssres / syy, vs=s2 / sxx, vi=(1 / n + xm * xm / sxx) * s2, complete=True)
    return line


def g(x):
    """A number as the results file writes it: six significant digits."""
    if x != x:
        return "nan"
    if x == 0:
        return "0"
    if math.isinf(x):
        return "inf" if x > 0 else "-inf"
    return "%g" % x


def fixed8(x):
    return "nan" if x != x else "%.8f" % x


def interfere(texts, isos, work, exported):
    """Every equation on every solution at once, from the values and marks as
    they were before any equation; the trace's lines."""
    names = [iso.name.rstrip() for iso in isos]
    read = [equations.read(text) for text in texts]
    lines = ["# interference correction: %d equation%s" % (len(read), "" if len(read) == 1 else "s")]
    lines += [equations.expanded(target, terms) for target, terms in read]
    lost, largest = [0] * len(read), [None] * len(read)
    for k, s in enumerate(work):
        cps, sd, measured = list(s.cps), list(s.sd), list(s.measured)
        for e, (target, terms) in enumerate(read):
            t = names.index(target)
            if not measured[t]:
                continue
            used = [(names.index(name), c) for name, c in terms]
            if not all(measured[i] for i, _ in used):
                s.measured[t] = False
                lost[e] += k < exported
                continue
            s.cps[t] = sum(c * cps[i] for i, c in used)
            s.sd[t] = math.sqrt(sum((c * sd[i]) ** 2 for i, c in used))
            if k < exported and s.kind == "SAMPLE" and cps[t] != 0:
                change = 100.0 * abs(s.cps[t] - cps[t]) / abs(cps[t])
                if largest[e] is None or change > largest[e][0]:
                    largest[e] = (change, s.name.rstrip())
    for e, (target, _) in enumerate(read):
        if lost[e]:
            lines.append("%s: %d solution%s without a value (a term not measured)"
                         % (target, lost[e], "" if lost[e] == 1 else "s"))
        if largest[e]:
            lines.append("%s: largest correction %.1f %% of the signal at %s" % ((target,) + largest[e]))
    return lines


def read_method(run):
    """The instrument and run QC limits of a method file that sets no other
    option than its defaults; the command line's options come on top."""
    method = json.load(open(os.path.join(HERE, run["method"]), encoding="utf-8"))
    defaults = {"acceptance": False, "blank": "", "blankMode": "y-intercept", "drift": False,
                "internalStandard": False, "qcValidation": True, "weighting": "none"}
    assert all(method[key] == value for key, value in defaults.items())
    run.setdefault("instrument", method["instrument"])
    run["qc-limits"] = ",".join(filter(None, (method.get("qcLimits"), run.get("qc-limits"))))


def process(run):
    if "method" in run:
        read_method(run)
    instrument = run["instrument"]
    isos, raw = (read_hr if instrument == "HR-ICP-MS" else read_q)(os.path.join(HERE, run["data"]))
    sheet, roles, parents, spikes = (read_sheet(os.path.join(HERE, run["samples"]))
                                     if "samples" in run else ({}, {}, {}, {}))
    read_stdqc(os.path.join(HERE, run["stdqc"]), isos, raw)
    spiked = read_spikes(os.path.join(HERE, run["stdqc"]), isos, spikes)
    n = len(isos)
    groups = {"LR": [i for i, s in enumerate(isos) if s.group == 2],
              "MR": [i for i, s in enumerate(isos) if s.group == 1],
              "HR": [i for i, s in enumerate(isos) if s.group == 0]}
    names = [s.name for s in raw]
    blanks = [k for k, s in enumerate(raw) if s.kind == "BLK"]
    first = []
    for k in range(len(raw)):
        if raw[k].kind == "BLK" and (not first or first[-1] == k - 1):
            first.append(k)
        elif first:
            break
    errors = repeats(isos)
    trace = ["*** begin processing ***", "# Ketrion configuration:",
             "  Selected ICP instrument: " + instrument]
    ref = names.index(run["is-ref"]) if "is-ref" in run else -1
    chosen = {}
    for grp in ("LR", "MR", "HR"):
        want = run.get("is-" + grp.lower())
        members = groups[grp]
        chosen[grp] = (next(i for i in members if isos[i].name.rstrip() == want.rstrip()) if want
                       else (members[0] if members else -1))
    boxes = [g_.strip() for g_ in run.get("is-groups", "LR,MR,HR").split(",")] if ref != -1 else []
    if ref != -1:
        trace += ["  Internal standard correction is set with:",
                  "    - %s as the IS reference solution" % run["is-ref"],
                  "    - IS check boxes' status are: " + " ; ".join(
                      "1" if g_ in boxes else "0" for g_ in ("LR", "MR", "HR"))]
        trace += ["    - %s as the IS-%s isotope reference" % (
            isos[chosen[g_]].name if chosen[g_] != -1 else "", g_) for g_ in ("LR", "MR", "HR")]
    else:
        trace.append("  No internal standard correction is applied")
    mode = run.get("blank-mode", "y-intercept")
    blank_names = [names[k] for k in blanks] + [a for a, m in (("BLK_Avg_All", blanks), ("BLK_Avg_First_Seq", first)) if len(m) >= 2]
    blank = run.get("blank", blank_names[0] if blank_names else "")
    if mode == "y-intercept":
        trace.append("  Y-intercept is set with %s as the blank reference solution" % blank)
    elif mode == "subtract":
        trace.append("  Blank subtraction is set with %s as the blank reference solution" % blank)
    else:
        trace.append("  No blank correction is applied")
    weighting = run.get("weighting", "none").replace("1/x2", "1/x\u00b2")
    if weighting != "none":
        trace.append("  Calibration lines are weighted by " + weighting)
    qc = "no-qc" not in run
    if qc:
        trace.append("  Quality control validation is set")
    trace += ["# open QC-STD file", "# parse QC-STD file", "# init processing variables"]

    corrected = [grp for grp in ("LR", "MR", "HR") if grp in boxes and chosen[grp] != -1]
    is_list = [chosen[grp] for grp in ("LR", "MR", "HR") if grp in boxes]
    work = copy(raw)
    for s in work:
        for grp in corrected:
            if not s.measured[chosen[grp]]:
                for i in groups[grp]:
                    s.measured[i] = False
    if ref != -1:
        trace.append("# internal standard correction")
        for grp in corrected:
            j = chosen[grp]
            for s in work:
                y = s.cps[j]
                if y == 0.0:
                    continue
                f = raw[ref].cps[j] / y
                for i in groups[grp]:
                    if s.cps[i] != 0.0:
                        s.cps[i] *= f
    source = copy(raw)
    for s, w in zip(source, work):
        s.measured = list(w.measured)

    def add_averages(sets):
        for target in sets:
            if len(blanks) >= 2:
                target.append(average("BLK_Avg_All", [target[k] for k in blanks], isos))
            if len(first) >= 2:
                target.append(average("BLK_Avg_First_Seq", [target[k] for k in first], isos))

    blank_id = -1
    averaged_first = mode == "subtract" and blank in ("BLK_Avg_All", "BLK_Avg_First_Seq")
    if averaged_first:
        trace.append("# add blk solutions")
        add_averages([work, source])
    if mode == "subtract":
        trace.append("# substract blank")
        blank_pos = [k for k, s in enumerate(work) if s.kind == "BLK"]
        if blank in blank_names and blank_names.index(blank) < len(blank_pos):
            blank_id = blank_pos[blank_names.index(blank)]
            for grp in corrected:  # a blank without its IS cannot be corrected: not subtracted
                if not work[blank_id].measured[chosen[grp]]:
                    name, std = work[blank_id].name, isos[chosen[grp]].name.rstrip()
                    trace.append("# %s has no value for its IS %s: nothing subtracted in the %s group"
                                 % (name, std, grp))
                    errors.append("Blank %s has no value for its IS %s: nothing subtracted in the %s group"
                                  % (name, std, grp))
            for i in range(n):
                if i in is_list or not work[blank_id].measured[i]:
                    continue
                b = work[blank_id].cps[i]
                for s in work:
                    if s.cps[i] != 0.0:
                        s.cps[i] -= b
        else:
            trace.append("# no blank available: nothing subtracted")
            errors.append("No blank available for the subtraction: nothing subtracted")
    if not averaged_first:
        trace.append("# add blk solutions")
        add_averages([work])
    zero = None
    if mode == "y-intercept":
        trace.append("# y intercept")
        blank_pos = [k for k, s in enumerate(work) if s.kind == "BLK"]
        if blank in blank_names:
            zero = work[blank_pos[blank_names.index(blank)]]
        else:
            trace.append("# no blank available: no zero standard added")
            errors.append("No blank available for the zero standard: calibrated without it")
    if "drift" in run:
        watch = run["drift"]
        checks = [k for k, s in enumerate(raw) if re.fullmatch(re.escape(watch) + "(_?[0-9]+)?", s.name)]
        plural = lambda m: "%d check%s" % (m, "" if m == 1 else "s")
        trace.append("# drift correction with %s: %s" % (watch, plural(len(checks))))
        for i in range(n):
            if i in [chosen[grp] for grp in corrected]:
                continue
            # Taken before correcting: the monitors are corrected too.
            use = [(k, work[k].cps[i]) for k in checks if work[k].measured[i] and work[k].cps[i] > 0]
            if len(use) < 2:
                trace.append("%s: not corrected (%s)" % (isos[i].name.rstrip(), plural(len(use))))
                continue

            def level(p):
                if p <= use[0][0] or p >= use[-1][0]:
                    return use[0][1] if p <= use[0][0] else use[-1][1]
                (pa, ma), (pb, mb) = next((a, b) for a, b in zip(use, use[1:]) if a[0] <= p < b[0])
                return ma + (mb - ma) * (p - pa) / (pb - pa)
            worst = None
            for k in range(len(raw)):
                if work[k].measured[i]:
                    f = use[0][1] / level(k)
                    work[k].cps[i] *= f
                    if worst is None or abs(1 - f) > worst[0]:
                        worst = (abs(1 - f), raw[k].name.rstrip())
            trace.append("%s: largest drift %.1f %% at %s" % (isos[i].name.rstrip(), worst[0] * 100, worst[1]))
    if "interference" in run:
        trace += interfere(run["interference"], isos, work, len(raw))
    trace.append("# process calibration")
    lines, named = {}, {}
    for i in range(n):
        if i in is_list:
            continue
        named[i] = [(s.name, s.conc[i], s.cps[i]) for s in work
                    if s.kind == "STD" and s.measured[i] and s.conc[i] != 0.0]
        if zero is not None and zero.measured[i]:
            named[i].append((None, 0.0, zero.cps[i]))
        line = fit([(x, y) for _, x, y in named[i]], weighting)
        if line is None or not math.isfinite(line["slope"]):
            continue
        lines[i] = line
        if line["complete"]:
            trace.append("%s: slope = %s, y-intercept =  %s, r2 = %s" % (
                isos[i].name, fixed8(line["slope"]), fixed8(line["icpt"]), fixed8(line["r2"])))
    usable = {i: l for i, l in lines.items() if l["slope"] > ZERO}
    if not usable:
        return None, trace, None, ["No isotope of the data file has standards in %s: check the standards "
                             "file and the instrument." % os.path.basename(run["stdqc"])]
    is_elements = [chosen["HR"], chosen["MR"], chosen["LR"]] if ref != -1 else [-1, -1, -1]
    trace.append("blank_id = %d, is_ref_id = %d, is_elements[0] = %d, is_elements[1] = %d, "
                 "is_elements[2] = %d" % ((blank_id, ref) + tuple(is_elements)))
    trace.append("*** process concentration ***")
    group_is = {grp: chosen[grp] for grp in corrected}
    for k, (s, w) in enumerate(zip(source, work)):
        if w.kind == "STD":
            continue
        for i in range(n):
            line = usable.get(i)
            if line is None or not w.measured[i]:
                w.conc[i], w.rsd[i] = 0.0, 0.0
                continue
            w.conc[i] = (w.cps[i] - line["icpt"]) / line["slope"]
            y, sy = s.cps[i], s.sd[i]
            grp = ("HR", "MR", "LR")[isos[i].group]
            with_is = grp in group_is
            if with_is:
                j = group_is[grp]
                a = (s.sd[j] / s.cps[j]) ** 2 if s.cps[j] else math.inf
                b = (source[ref].sd[j] / source[ref].cps[j]) ** 2
                alpha = source[ref].cps[j] / s.cps[j] if s.cps[j] else math.inf
            try:
                if blank_id != -1:
                    yb, syb = source[blank_id].cps[i], source[blank_id].sd[i]
                    if with_is:
                        net = y - yb
                        q = (((sy * sy + syb * syb) / (net * net) + a + b) * (alpha * net) ** 2
                             + line["vi"]) / (alpha * net - line["icpt"]) ** 2
                    else:
                        q = (sy * sy + syb * syb + line["vi"]) / (y - yb - line["icpt"]) ** 2
                elif with_is:
                    q = (((sy / y) ** 2 + a + b) * (alpha * y) ** 2 + line["vi"]) / (
                        alpha * y - line["icpt"]) ** 2
                else:
                    q = (sy * sy + line["vi"]) / (y - line["icpt"]) ** 2
                q += line["vs"] / line["slope"] ** 2
                w.rsd[i] = 100 * math.sqrt(q) if q == q and q >= 0 else math.nan
            except ZeroDivisionError:
                w.rsd[i] = math.nan
    trace.append("*** process limits ***")
    lod, loq = [0.0] * n, [0.0] * n
    if first:
        for i in range(n):
            v = [work[k].conc[i] for k in first if work[k].measured[i]]
            if v:
                m = sum(v) / len(v)
                sigma = math.sqrt(sum((x - m) ** 2 for x in v) / len(v))
                lod[i], loq[i] = 3 * sigma, 10 * sigma
    if qc:
        trace.append("*** process QC control ***")
        failures, count = [], 0
        for k, e in enumerate(raw):
            if e.kind != "QC":
                continue
            w = work[k]
            for i in range(n):
                ce, re_ = e.conc[i], e.rsd[i]
                if ce == 0.0:
                    continue
                count += 1
                if i not in usable:
                    failures.append("%s : %s (no calibration)" % (e.name, isos[i].name.rstrip()))
                    continue
                if not w.measured[i]:
                    failures.append("%s : %s (not measured)" % (e.name, isos[i].name.rstrip()))
                    continue
                cc, rc = w.conc[i], w.rsd[i]
                if cc == 0.0:
                    continue
                ec, ee = rc * cc / 100, re_ * ce / 100
                lo_c, hi_c, lo_e, hi_e = cc - ec, cc + ec, ce - ee, ce + ee
                if not ((lo_c <= lo_e <= hi_c) or (lo_c <= hi_e <= hi_c) or (lo_e <= lo_c and hi_c <= hi_e)):
                    failures.append("%s : %s" % (e.name, isos[i].name))
        trace.append("# QC not valid: %d / %d" % (len(failures), count))
        trace += failures
    rejected = {}
    if "acceptance" in run:
        min_r2, tol = (float(v) for v in run["acceptance"].split(","))
        for i, line in usable.items():
            # The lowest standard, nearest the noise, is allowed twice the tolerance.
            lowest = min(x for _, x, _ in named[i] if x != 0.0)
            off = [(name, abs((y - line["icpt"]) / line["slope"] - x) / x * 100, x == lowest)
                   for name, x, y in named[i] if name is not None]
            bad = [(name, p) for name, p, low in off if p > (2 * tol if low else tol)]
            if len(named[i]) < 3:
                rejected[i] = "%d points" % len(named[i])
            elif line["r2"] < min_r2:
                # the criterion as typed; r2 with as many decimals as show it below
                r2 = next(t for t in ("%.*f" % (d, line["r2"]) for d in range(5, 18))
                          if float(t) < min_r2 or t.count("0") > 16)
                rejected[i] = "R\u00b2 %s < %s" % (r2, run["acceptance"].split(",")[0])
            elif bad:
                rejected[i] = "%s reads %.1f %% off" % bad[0]
        trace.append("# calibration rejected: %d / %d" % (len(rejected), len(usable)))
        trace += ["%s : %s" % (isos[i].name.rstrip(), rejected[i]) for i in sorted(rejected)]
    if ref != -1:
        low, high = (int(v) for v in run.get("is-recovery", "60,125").split(","))
        outside, checked = [], 0
        for k, s in enumerate(raw):
            if k == ref:
                continue
            for grp in corrected:
                j = chosen[grp]
                checked += 1
                if s.cps[j] == 0.0:
                    outside.append("%s : %s (not measured)" % (s.name, isos[j].name.rstrip()))
                    continue
                # judged as printed: one decimal, exact ties away from zero
                shown = Decimal(100.0 * s.cps[j] / raw[ref].cps[j]).quantize(
                    Decimal("0.1"), rounding=ROUND_HALF_UP)
                if not low <= shown <= high:
                    outside.append("%s : %s (%s %%)" % (s.name, isos[j].name.rstrip(), shown))
        trace.append("# IS recovery outside %d-%d %%: %d / %d" % (low, high, len(outside), checked))
        trace += outside
    findings = {}
    limits = qc_limits(run.get("qc-limits", ""))
    if any(r in CHECKS for r in roles.values()):
        lines_, findings = run_qc(raw, work[:len(raw)], roles, isos, loq, usable, limits)
        trace += lines_
    if any(r in PREPARATIONS for r in roles.values()):
        trace += batch_qc(raw, work[:len(raw)], (roles, parents, spikes, spiked, sheet), isos,
                          loq, usable, limits, findings)
    trace += ["*** refreshing plots and tables ***", "*** end of processing ***"]

    if zero is not None:
        zero_row = Sol("STD_ZERO_STD", n, "STD")
        zero_row.conc, zero_row.rsd, zero_row.measured = zero.conc, zero.rsd, zero.measured
        work.append(zero_row)
    out = ";;" + "".join(s.name + ";;;" for s in isos) + "\n\n"
    out += ";LOD (ppb) = ;" + "".join(g(v) + ";;;" for v in lod) + "\n"
    out += ";LOQ (ppb) = ;" + "".join(g(v) + ";;;" for v in loq) + "\n\n"
    out += ";;" + "Concentration (ppb);SD (ppb);RSD (%);" * n + "\n\n"
    for s in work:
        out += s.name + ";;"
        for i in range(n):
            c, r = s.conc[i], s.rsd[i]
            if c == 0.0:
                out += ";;;"
            elif loq[i] > c:
                out += "<LOQ;;;"
            else:
                out += "%s;%s;%s;" % (g(c), g(c * r / 100), g(r))
        out += "\n"

    def text(t):
        return '"%s"' % t.replace('"', '""') if any(c in t for c in ',"\n\r') else t

    def field(x):
        return g(x) if math.isfinite(x) else ""

    with_qc = any(r in CHECKS + PREPARATIONS for r in roles.values())
    long = ("solution,type,isotope,concentration_ppb,sd_ppb,rsd_percent,lod_ppb,loq_ppb,flag,"
            "factor,reported,reported_sd,reported_lod,reported_loq,unit"
            + (",qc_findings\n" if with_qc else "\n"))
    for k, s in enumerate(work):
        # The zero standard and the average blanks are never diluted samples.
        f, unit = sheet.get(s.name, (1.0, "\u00b5g/L")) if k < len(raw) else (1.0, "\u00b5g/L")
        for i in range(n):
            c, r = s.conc[i], s.rsd[i]
            if c == 0.0:
                numbers = [math.nan] * 5
                if s.kind == "STD":
                    flag = "no value"
                elif i not in usable:
                    flag = "no calibration"
                elif not s.measured[i]:
                    flag = "not measured"
                else:
                    flag = "no value"
            else:
                reported_sd = abs(c * f) * r / 100
                if math.isfinite(c * f) and not math.isfinite(reported_sd):
                    reported_sd = abs(c) * r / 100 * f  # the SD times F, where |c F| r overflows
                numbers = [c, abs(c) * r / 100, r, c * f, reported_sd]
                # a factor can take a finite c beyond the floats
                if not math.isfinite(c * f):
                    flag = "no value"
                elif i in rejected:
                    flag = "calibration rejected"
                elif findings.get((k, i)):
                    flag = findings[(k, i)][0].split(" (")[0]
                elif c < lod[i]:
                    flag = "<LOD"
                elif c < loq[i]:
                    flag = "<LOQ"
                elif c > max([x for _, x, _ in named.get(i, [])] or [math.inf]):
                    flag = "over range"
                else:
                    flag = ""
            cells = [text(s.name), s.kind, text(isos[i].name.rstrip())] + [field(v) for v in numbers[:3]]
            # no line, no limits: an IS isotope or one without standards
            limits = [lod[i], loq[i]] if i in usable else [math.nan, math.nan]
            cells += [field(limits[0]), field(limits[1]), flag, field(f)]
            cells += [field(v) for v in numbers[3:]]
            cells += [field(limits[0] * f), field(limits[1] * f), unit]
            if with_qc:
                cells.append(text("; ".join(findings.get((k, i), []))))
            long += ",".join(cells) + "\n"
    return out, trace, long, errors


CHECKS = ("ICV", "CCV", "LLCCV", "ICB", "CCB")


def qc_limits(text):
    """The run QC's limits: the defaults, then the items of --qc-limits."""
    limits = {"ICV": (90.0, 110.0), "CCV": (90.0, 110.0), "LLCCV": (70.0, 130.0),
              "ICB": 0.5, "CCB": 1.0, "EVERY": 10,
              "RPD": 20.0, "MS": (75.0, 125.0), "LCS": (80.0, 120.0), "MB": 0.5}
    for item in filter(None, text.split(",")):
        key, value = item.split("=")
        if key in ("ICV", "CCV", "LLCCV", "MS", "LCS"):
            limits[key] = tuple(float(v) for v in value.split("-"))
        else:
            limits[key] = int(value) if key == "EVERY" else float(value)
    return limits


def run_qc(raw, sols, roles, isos, loq, usable, limits):
    """The run QC of the export's solutions, from their roles: the trace's
    lines and, per (solution, isotope), its findings in their order."""
    role = [roles.get(s.name, "") for s in sols]
    checks = [p for p in range(len(sols)) if role[p] in CHECKS]
    bracketed = [s.kind in ("SAMPLE", "QC") and role[p] not in CHECKS for p, s in enumerate(sols)]
    empty = lambda c: c == 0.0 or not math.isfinite(c)
    verdict, failed = {}, []  # (p, i) -> True (pass) or False; no key: no verdict
    for p in checks:
        for i in sorted(usable):
            c = sols[p].conc[i]
            if role[p] in ("ICV", "CCV", "LLCCV"):
                e = raw[p].conc[i]
                if e == 0.0 or empty(c):
                    continue
                low, high = limits[role[p]]
                # judged as printed: one decimal, exact ties away from zero
                shown = Decimal(100.0 * c / e).quantize(Decimal("0.1"), rounding=ROUND_HALF_UP)
                verdict[(p, i)] = low <= float(shown) <= high
                text = "%s %% (%s-%s %%)" % (shown, g(low), g(high))
            else:
                if empty(c) or not math.isfinite(loq[i]):
                    continue
                k = limits[role[p]]
                verdict[(p, i)] = abs(c) <= k * loq[i]
                text = "%s > %s (%s x LOQ)" % (g(abs(c)), g(k * loq[i]), g(k))
            if not verdict[(p, i)]:
                failed.append("%s : %s %s" % (sols[p].name, isos[i].name.rstrip(), text))
    lines = ["# run QC: %d / %d checks failed" % (len(failed), len(verdict))] + failed
    for kinds in (("ICV", "CCV"), ("ICB", "CCB")):
        bounds = [p for p in checks if role[p] in kinds]
        for a, b in zip(bounds, bounds[1:]):
            count = sum(bracketed[a + 1:b])
            if count > limits["EVERY"]:
                lines.append("# run QC: %d solutions between %s and %s (more than %d)"
                             % (count, sols[a].name, sols[b].name, limits["EVERY"]))
    findings = {}
    for p in range(len(sols)):
        for i in sorted(usable):
            if not bracketed[p] or empty(sols[p].conc[i]):
                continue
            found = []
            for kind in ("ICV", "ICB", "LLCCV"):
                found += ["%s failed (%s)" % (kind, sols[q].name) for q in checks
                          if role[q] == kind and verdict.get((q, i)) is False]
            judged = lambda q: (q, i) in verdict
            before = lambda kinds: max([q for q in checks if q < p and role[q] in kinds and judged(q)],
                                       default=None)
            after = lambda kind: min([q for q in checks if q > p and role[q] == kind and judged(q)],
                                     default=None)
            around = {"CCV": (before(("ICV", "CCV")), after("CCV")),
                      "CCB": (before(("ICB", "CCB")), after("CCB"))}
            for kind in ("CCV", "CCB"):
                found += ["%s failed (%s)" % (kind, sols[q].name) for q in around[kind]
                          if q is not None and role[q] == kind and verdict[(q, i)] is False]
            for kind, pair in (("CCV", ("ICV", "CCV")), ("CCB", ("ICB", "CCB"))):
                if any(r in pair for r in role) and None in around[kind]:
                    found.append("not bracketed")
                    break
            if found:
                findings[(p, i)] = found
    lines.append("# run QC: %d results to rerun" % len(findings))
    return lines, findings


PREPARATIONS = ("DUP", "MS", "MSD", "LCS", "MB")


def one_decimal(x):
    """A percentage as judged and printed: one decimal, exact ties away from zero."""
    return Decimal(x).quantize(Decimal("0.1"), rounding=ROUND_HALF_UP)


def batch_qc(raw, sols, sheet_, isos, loq, usable, limits, findings):
    """The batch QC of the export's solutions, from their roles: the trace's
    lines; each failure's findings appended to those of the results it
    qualifies."""
    roles, parents, spikes, spiked, sheet = sheet_
    names = [s.name for s in sols]
    role = [roles.get(n, "") for n in names]
    parent = [names.index(parents[n]) if parents.get(n) else None for n in names]
    factor = [sheet.get(n, (1.0, ""))[0] for n in names]
    has = lambda c: c != 0.0 and math.isfinite(c)
    c = lambda p, i: sols[p].conc[i]
    R = lambda p, i: c(p, i) * factor[p]
    bracketed = [s.kind in ("SAMPLE", "QC") and role[p] not in CHECKS for p, s in enumerate(sols)]
    rpd = limits["RPD"]

    def judge_rpd(a, b):
        value = one_decimal(100 * abs(a - b) / ((a + b) / 2))
        return float(value) <= rpd, "%s %% (%s %%)" % (value, g(rpd))

    verdicts = []  # (preparation, isotope, passed, text, finding, qualified solutions)
    not_evaluated = 0
    for p in range(len(sols)):
        if role[p] not in PREPARATIONS:
            continue
        P = parent[p]
        for i in sorted(usable):
            iso = isos[i].name.rstrip()
            if role[p] == "DUP" and has(c(p, i)) and has(c(P, i)) and math.isfinite(loq[i]):
                if R(p, i) >= 5 * loq[i] * factor[P] and R(P, i) >= 5 * loq[i] * factor[P]:
                    ok, text = judge_rpd(R(p, i), R(P, i))
                    text = "RPD " + text
                else:
                    diff, most = abs(R(p, i) - R(P, i)), loq[i] * factor[P]
                    ok, text = diff <= most, "difference %s > %s (LOQ)" % (g(diff), g(most))
                verdicts.append((p, i, ok, "%s : %s %s" % (names[p], iso, text), "duplicate RPD", [P, p]))
            if role[p] in ("MS", "MSD"):
                s_ = spiked[spikes[names[p]]][i]
                if s_ != 0.0 and has(c(p, i)) and has(c(P, i)):
                    u = c(P, i) * factor[P] / factor[p]
                    if s_ < 0.3 * u:
                        not_evaluated += 1
                    else:
                        low, high = limits["MS"]
                        r = one_decimal(100 * (c(p, i) - u) / s_)
                        verdicts.append((p, i, low <= float(r) <= high, "%s : %s recovery %s %% (%s-%s %%)"
                                         % (names[p], iso, r, g(low), g(high)), "spike recovery", [P, p]))
            if role[p] == "MSD":
                ms = next((q for q in range(len(sols)) if role[q] == "MS" and parent[q] == P), None)
                if ms is not None and has(c(p, i)) and has(c(ms, i)):
                    ok, text = judge_rpd(R(p, i), R(ms, i))
                    verdicts.append((p, i, ok, "%s : %s RPD to %s %s" % (names[p], iso, names[ms], text),
                                     "duplicate RPD", [P, ms, p]))
            if role[p] == "LCS":
                e = raw[p].conc[i]
                if e != 0.0 and has(c(p, i)):
                    low, high = limits["LCS"]
                    r = one_decimal(100 * c(p, i) / e)
                    every = [q for q in range(len(sols)) if bracketed[q]]
                    verdicts.append((p, i, low <= float(r) <= high, "%s : %s %s %% (%s-%s %%)"
                                     % (names[p], iso, r, g(low), g(high)), "LCS failed", every))
            if role[p] == "MB" and has(c(p, i)) and math.isfinite(loq[i]):
                most = limits["MB"] * loq[i]
                under = [q for q in range(len(sols)) if bracketed[q] and c(q, i) < 10 * c(p, i)]
                verdicts.append((p, i, c(p, i) <= most, "%s : %s %s > %s (%s x LOQ)"
                                 % (names[p], iso, g(c(p, i)), g(most), g(limits["MB"])),
                                 "blank contamination", under))
    failed = [v for v in verdicts if not v[2]]
    lines = ["# sample QC: %d / %d failed" % (len(failed), len(verdicts))] + [v[3] for v in failed]
    if not_evaluated:
        lines.append("# sample QC: %d not evaluated (spike below 30 %% of the sample)" % not_evaluated)
    for kind in ("LCS failed", "blank contamination", "spike recovery", "duplicate RPD"):
        for p, i, _, _, finding, qualified in failed:
            if finding == kind:
                for q in qualified:
                    if has(c(q, i)):
                        findings.setdefault((q, i), []).append("%s (%s)" % (kind, names[p]))
    return lines


def parse_runs(path):
    """One run a line: its name, then ketrion-batch's options, files relative to this folder."""
    runs = []
    for line in open(path, encoding="utf-8"):
        if not line.strip() or line.startswith("#"):
            continue
        words = shlex.split(line)
        run = {"name": words[0]}
        k = 1
        while k < len(words):
            key, _, value = words[k].partition("=")
            if not _ and key != "--no-qc":
                k += 1
                value = words[k]
            if key == "--interference":
                run.setdefault("interference", []).append(value)
            else:
                run[key[2:]] = value
            k += 1
        runs.append(run)
    return runs


def main():
    for run in parse_runs(os.path.join(HERE, "runs.txt")):
        results, trace, long, errors = process(run)
        base = os.path.join(HERE, "runs", run["name"])
        os.makedirs(os.path.dirname(base), exist_ok=True)
        if results is not None:
            open(base + ".csv", "w").write(results)
            open(base + ".long", "w", encoding="utf-8").write(long)
        open(base + ".trace", "w", encoding="utf-8").write("\n".join(trace) + "\n")
        if errors:
            open(base + ".err", "w").write("\n".join(errors) + "\n")
        print(run["name"], "results" if results is not None else "refused")


if __name__ == "__main__":
    sys.exit(main())
