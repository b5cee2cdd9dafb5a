#!/usr/bin/env python3
"""Write the example instrument exports and standards-and-QC files.

Two made-up measurement batches of natural waters, one on a high-resolution
sector-field instrument and one on a quadrupole instrument. Intensities come
from a linear response per isotope (sensitivity times concentration plus a
background), with a slow signal loss along the run, matrix suppression in the
samples and measurement noise. Python 3 standard library only; the random
generators are seeded, so running the script again rewrites the same files.

Usage: python3 make_examples.py [output directory]   (default: this folder)
"""

import math
import os
import random
import sys

# Standards are five levels of a multi-element mix, times each element's scale.
STD_LEVELS = [0.1, 0.5, 1.0, 5.0, 10.0]
# The drift-check solution is the middle standard run as an unknown.
VS_LEVEL = STD_LEVELS[2]
# Internal standard added on line to every solution, ppb.
IS_CONC = 2.0
# Replicate readings behind each reported mean.
READINGS = 3
# Fraction of the previous solution still in the sample introduction system.
CARRY = 2e-4

# Per element: standards scale, typical level in river water (ppb),
# contamination of the acid every solution is made up in (ppb),
# and the two QC solutions' reference values (ppb, None = not certified).
ELEMENTS = {
    "Li": dict(scale=1, typical=2.0, acid=0.02, qc_a=5.0, qc_b=1.6),
    "Al": dict(scale=10, typical=25.0, acid=0.5, qc_a=50.0, qc_b=32.0),
    "V": dict(scale=1, typical=0.7, acid=0.01, qc_a=2.0, qc_b=1.1),
    "Cr": dict(scale=1, typical=0.5, acid=0.05, qc_a=2.0, qc_b=0.8),
    "Mn": dict(scale=10, typical=8.0, acid=0.03, qc_a=20.0, qc_b=15.0),
    "Fe": dict(scale=10, typical=40.0, acid=0.5, qc_a=50.0, qc_b=90.0),
    "Co": dict(scale=1, typical=0.1, acid=0.005, qc_a=1.0, qc_b=0.3),
    "Ni": dict(scale=1, typical=1.0, acid=0.05, qc_a=3.0, qc_b=1.5),
    "Cu": dict(scale=1, typical=1.5, acid=0.05, qc_a=5.0, qc_b=2.5),
    "Zn": dict(scale=10, typical=6.0, acid=0.3, qc_a=20.0, qc_b=8.0),
    "As": dict(scale=1, typical=0.8, acid=0.02, qc_a=2.0, qc_b=1.2),
    "Se": dict(scale=1, typical=0.2, acid=0.08, qc_a=1.0, qc_b=None),
    "Rb": dict(scale=1, typical=1.5, acid=0.005, qc_a=5.0, qc_b=None),
    "Sr": dict(scale=20, typical=60.0, acid=0.02, qc_a=50.0, qc_b=150.0),
    "Cd": dict(scale=1, typical=0.03, acid=0.005, qc_a=1.0, qc_b=0.1),
    "Sb": dict(scale=1, typical=0.1, acid=0.01, qc_a=1.0, qc_b=None),
    "Ba": dict(scale=10, typical=30.0, acid=0.02, qc_a=30.0, qc_b=50.0),
    "Pb": dict(scale=1, typical=0.3, acid=0.01, qc_a=2.0, qc_b=0.5),
    "U": dict(scale=1, typical=0.4, acid=0.001, qc_a=1.0, qc_b=0.8),
}

# Sample families: level factor per element (default 1), spread of the
# log-normal levels, and the dissolved load that suppresses the signal.
FAMILIES = {
    "River": dict(factors={}, spread=0.9, load=(0.03, 0.015)),
    "Lake": dict(factors={"Fe": 0.5, "Al": 0.5, "Mn": 0.5}, spread=0.8,
                 load=(0.02, 0.01)),
    "Spring": dict(factors={"Sr": 1.5, "Li": 1.5, "Fe": 0.2, "Al": 0.2},
                   spread=0.8, load=(0.04, 0.015)),
    "Well": dict(factors={"Fe": 4.0, "Mn": 5.0, "As": 3.0, "U": 3.0,
                          "Sr": 2.0, "Ba": 1.5, "Al": 0.3, "Pb": 0.5},
                 spread=1.1, load=(0.06, 0.03)),
}
# QC_B is a natural-water reference material, QC_A a synthetic mix in acid.
QC_LOAD = {"QC_A": 0.0, "QC_B": 0.07}


class Isotope:
    def __init__(self, label, symbol, mass, sens, bkg, internal=False):
        self.label = label          # text of the isotope cell
        self.symbol = symbol
        self.mass = mass
        self.sens = sens            # cps per ppb at the start of the run
        self.bkg = bkg              # cps at zero concentration
        self.internal = internal


# Sector-field instrument: low resolution is the most sensitive; medium and
# high resolution separate the argon-based interferences at a loss of signal.
HR_ISOTOPES = [
    Isotope("Li7(LR)", "Li", 7, 5.0e4, 15.0),
    Isotope("Rb85(LR)", "Rb", 85, 2.0e5, 4.0),
    Isotope("Sr88(LR)", "Sr", 88, 2.2e5, 8.0),
    Isotope("Cd111(LR)", "Cd", 111, 8.0e4, 2.0),
    Isotope("In115(LR)", "In", 115, 2.0e5, 1.0, internal=True),
    Isotope("Pb208(LR)", "Pb", 208, 2.5e5, 25.0),
    Isotope("U238(LR)", "U", 238, 3.0e5, 1.0),
    Isotope("Al27(MR)", "Al", 27, 5.0e3, 300.0),
    Isotope("V51(MR)", "V", 51, 1.0e4, 8.0),
    Isotope("Cr52(MR)", "Cr", 52, 1.2e4, 60.0),
    Isotope("Fe56(MR)", "Fe", 56, 1.2e4, 200.0),
    Isotope("Co59(MR)", "Co", 59, 1.2e4, 4.0),
    Isotope("Ni60(MR)", "Ni", 60, 4.0e3, 30.0),
    Isotope("Cu63(MR)", "Cu", 63, 8.0e3, 40.0),
    Isotope("Zn66(MR)", "Zn", 66, 2.5e3, 90.0),
    Isotope("In115(MR)", "In", 115, 2.2e4, 0.5, internal=True),
    Isotope("As75(HR)", "As", 75, 5.0e2, 1.5),
    Isotope("Se78(HR)", "Se", 78, 8.0e1, 3.0),
    Isotope("In115(HR)", "In", 115, 3.0e3, 0.3, internal=True),
]

# Quadrupole: tune step 1 without gas, tune step 2 with helium in the
# collision cell for the isotopes that suffer polyatomic interferences.
Q_ISOTOPES = [
    Isotope("Li / 7 [#1]", "Li", 7, 2.0e4, 60.0),
    Isotope("Al / 27 [#1]", "Al", 27, 3.0e4, 900.0),
    Isotope("V / 51 [#2]", "V", 51, 1.0e4, 35.0),
    Isotope("Cr / 52 [#2]", "Cr", 52, 1.2e4, 220.0),
    Isotope("Mn / 55 [#1]", "Mn", 55, 6.0e4, 110.0),
    Isotope("Fe / 56 [#2]", "Fe", 56, 1.5e4, 3200.0),
    Isotope("Co / 59 [#1]", "Co", 59, 6.0e4, 25.0),
    Isotope("Ni / 60 [#1]", "Ni", 60, 1.5e4, 160.0),
    Isotope("Cu / 63 [#1]", "Cu", 63, 3.0e4, 210.0),
    Isotope("Zn / 66 [#1]", "Zn", 66, 8.0e3, 320.0),
    Isotope("As / 75 [#2]", "As", 75, 4.0e3, 22.0),
    Isotope("Se / 78 [#2]", "Se", 78, 5.0e2, 160.0),
    Isotope("Sr / 88 [#1]", "Sr", 88, 1.0e5, 55.0),
    Isotope("Rh / 103 [#1]", "Rh", 103, 1.4e5, 8.0, internal=True),
    Isotope("Cd / 111 [#1]", "Cd", 111, 1.5e4, 12.0),
    Isotope("In / 115 [#1]", "In", 115, 1.2e5, 10.0, internal=True),
    Isotope("Sb / 121 [#1]", "Sb", 121, 4.0e4, 30.0),
    Isotope("Ba / 137 [#1]", "Ba", 137, 1.5e4, 40.0),
    Isotope("Pb / 208 [#1]", "Pb", 208, 8.0e4, 110.0),
    Isotope("U / 238 [#1]", "U", 238, 1.2e5, 6.0),
]

# Quadrupole readings the instrument could not report (written "<###> ").
Q_MISSING = {("Well_07", "Fe / 56 [#2]"), ("River_04", "Zn / 66 [#1]")}
Q_NOT_DEFINED = "<###> "


def run_order(families):
    """Solution names in measurement order; families = [(name, count), ...]."""
    blanks = iter("BLK_%d" % k for k in range(1, 100))
    order = [next(blanks) for _ in range(3)]
    order += ["STD_%d_1" % (k + 1) for k in range(len(STD_LEVELS))]
    order += [next(blanks), "QC_A_1", "QC_B_1"]
    for f, (family, count) in enumerate(families):
        if f > 0:
            order.append(next(blanks))
        order.append("VS_%d" % (f + 1))
        order += ["%s_%02d" % (family, k) for k in range(1, count + 1)]
    order += [next(blanks), "VS_%d" % (len(families) + 1)]
    order += ["QC_A_2", "QC_B_2"]
    order += ["STD_%d_2" % (k + 1) for k in range(len(STD_LEVELS))]
    return order


def qc_family(name):
    return name[:4] if name.startswith("QC_") else None


def std_level(name):
    """Level index of a standard named STD_<level>_<replicate>."""
    return int(name.split("_")[1]) - 1


def make_composition(rng, names, elements):
    """True concentrations (ppb) and dissolved load of every solution."""
    # The reference values of the QC solutions are themselves known to a
    # couple of percent only: the true content differs slightly.
    qc_true = {}
    for qc, key in (("QC_A", "qc_a"), ("QC_B", "qc_b")):
        qc_true[qc] = {el: (ELEMENTS[el][key] * (1.0 + rng.gauss(0.0, 0.02))
                            if ELEMENTS[el][key] is not None
                            else ELEMENTS[el]["typical"] * 0.5)
                       for el in elements}
    comp = {}
    for name in names:
        if name.startswith("BLK_"):
            conc, load = {el: 0.0 for el in elements}, 0.0
        elif name.startswith("STD_"):
            level = STD_LEVELS[std_level(name)]
            conc = {el: level * ELEMENTS[el]["scale"] for el in elements}
            load = 0.0
        elif name.startswith("VS_"):
            conc = {el: VS_LEVEL * ELEMENTS[el]["scale"] for el in elements}
            load = 0.0
        elif qc_family(name):
            conc, load = qc_true[qc_family(name)], QC_LOAD[qc_family(name)]
        else:
            fam = FAMILIES[name.rsplit("_", 1)[0]]
            conc = {}
            for el in elements:
                mean = ELEMENTS[el]["typical"] * fam["factors"].get(el, 1.0)
                conc[el] = mean * math.exp(rng.gauss(0.0, fam["spread"]))
            load = max(0.0, rng.gauss(*fam["load"]))
        comp[name] = (conc, load)
    return comp


def measure(rng, isotopes, names, comp):
    """Reported (cps, rsd %) per solution and isotope."""
    total = len(names)
    table = {}
    previous = {}
    for t, name in enumerate(names):
        conc, load = comp[name]
        progress = t / (total - 1)
        # Nebuliser and plasma flicker, common to all masses of one solution.
        flicker = 1.0 + rng.gauss(0.0, 0.012)
        # Contamination from acid, tubes and tips varies from one tube to
        # the next, element by element.
        acid = {el: max(0.0, 1.0 + rng.gauss(0.0, 0.35)) for el in ELEMENTS}
        row = []
        for iso in isotopes:
            # Cone deposition: signal loss along the run, stronger at low mass.
            drift = 1.0 - progress * (0.08 + 0.06 * (1.0 - iso.mass / 240.0))
            # Space-charge suppression by the dissolved load, also stronger
            # for light ions.
            matrix = 1.0 - load * (1.0 + 0.6 * (115.0 - iso.mass) / 115.0)
            if iso.internal:
                c = IS_CONC
            else:
                c = (conc[iso.symbol] + previous.get(iso.symbol, 0.0) * CARRY
                     + ELEMENTS[iso.symbol]["acid"] * acid[iso.symbol])
            bkg = iso.bkg * (1.0 + rng.gauss(0.0, 0.04))
            true_cps = bkg + iso.sens * drift * matrix * flicker * c
            # Counting statistics dominate at low rates, the sample
            # introduction at high rates.
            rsd = math.hypot(0.6, 60.0 / math.sqrt(max(true_cps, 1.0)))
            rsd *= math.exp(rng.gauss(0.0, 0.25))
            # Keep the reported value within what the instrument prints.
            rsd = 0.3 + 4.6 * math.tanh(rsd / 4.6)
            cps = true_cps * (1.0 + rng.gauss(0.0, rsd / 100.0)
                              / math.sqrt(READINGS))
            row.append((max(cps, 0.01), rsd))
        table[name] = row
        previous = conc
    return table


def fmt_cps(v):
    # About five significant digits, never an exponent.
    decimals = max(0, min(3, 4 - int(math.floor(math.log10(v)))))
    return "%.*f" % (decimals, v)


def fmt_conc(v):
    text = "%.4g" % v
    if "e" in text:
        text = "%.6f" % v
    return text


def write(path, lines):
    with open(path, "w", encoding="ascii", newline="\n") as out:
        for line in lines:
            out.write(line + "\n")


def write_hr(path, names, isotopes, table):
    lines = [";" + "".join("%s;;" % n for n in names)]
    lines.append("Isotope;" + "Intensity (cps);RSD (%);" * len(names))
    for k, iso in enumerate(isotopes):
        cells = [iso.label]
        for name in names:
            cps, rsd = table[name][k]
            cells += [fmt_cps(cps), "%.2f" % rsd]
        lines.append(";".join(cells) + ";")
    write(path, lines)


def write_q(path, names, isotopes, table):
    lines = [
        "Quantitative Analysis - Raw Data Report;",
        "Batch:;WATERS_2403.b;Operator:;ML;",
        "Acquired:;2024-03-14 08:55;Tune steps:;1 = no gas, 2 = He;",
        "",
        "Sample:;" + ";".join("%s;" % n for n in names),
        "Element / Mass [Tune Step];" + "CPS;CPS RSD;" * len(names),
    ]
    for k, iso in enumerate(isotopes):
        cells = [iso.label]
        for name in names:
            cps, rsd = table[name][k]
            if (name, iso.label) in Q_MISSING:
                cells += [Q_NOT_DEFINED, Q_NOT_DEFINED]
            else:
                cells += [fmt_cps(cps), "%.2f%%" % rsd]
        lines.append(";".join(cells) + ";")
    write(path, lines)


def write_stdqc(path, extra_headers, rows, rng):
    """rows: [(cell 0, extra cells, element symbol)].

    Standards' errors are their preparation uncertainty; QC errors are the
    reference values' accepted deviation, 5 to 10 percent.
    """
    header = ["Element"] + extra_headers
    header += ["STD_%d;" % (k + 1) for k in range(len(STD_LEVELS))]
    header += ["QC_A;", "QC_B;"]
    lines = [";".join(header)]
    for first, extra, el in rows:
        cells = [first] + extra
        for level in STD_LEVELS:
            cells += [fmt_conc(level * ELEMENTS[el]["scale"]), "2"]
        for key in ("qc_a", "qc_b"):
            value = ELEMENTS[el][key]
            error = rng.choice([5, 6, 8, 10])
            cells += ["", ""] if value is None else [fmt_conc(value),
                                                       str(error)]
        lines.append(";".join(cells) + ";")
    write(path, lines)


def analytes(isotopes):
    seen = []
    for iso in isotopes:
        if not iso.internal and iso.symbol not in seen:
            seen.append(iso.symbol)
    return seen


def main():
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(
        os.path.abspath(__file__))

    # High-resolution batch.
    rng = random.Random(20240311)
    names = run_order([("River", 10), ("Spring", 8), ("Well", 10)])
    elements = analytes(HR_ISOTOPES)
    comp = make_composition(rng, names, elements)
    write_hr(os.path.join(outdir, "hr_export.csv"), names, HR_ISOTOPES,
             measure(rng, HR_ISOTOPES, names, comp))
    # The standards file names each element by its symbol alone.
    write_stdqc(os.path.join(outdir, "hr_stdqc.csv"), [],
                [(el, [], el) for el in elements], rng)

    # Quadrupole batch.
    rng = random.Random(20240314)
    names = run_order([("River", 8), ("Lake", 8), ("Well", 12)])
    elements = analytes(Q_ISOTOPES)
    comp = make_composition(rng, names, elements)
    write_q(os.path.join(outdir, "q_export.csv"), names, Q_ISOTOPES,
            measure(rng, Q_ISOTOPES, names, comp))
    # Rows are named like the quadrupole isotopes' elements ("Fe #2"). The
    # bare symbol is repeated in a second column so that the line still reads
    # as an element line to a reader that looks for a bare symbol cell.
    rows = []
    for iso in Q_ISOTOPES:
        name = "%s #%s" % (iso.symbol, iso.label[-2])
        if not iso.internal and name not in [r[0] for r in rows]:
            rows.append((name, [iso.symbol], iso.symbol))
    write_stdqc(os.path.join(outdir, "q_stdqc.csv"), ["Symbol"], rows, rng)


if __name__ == "__main__":
    main()
