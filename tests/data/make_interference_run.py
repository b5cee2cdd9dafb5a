#!/usr/bin/env python3
"""Writes interference_q.csv, interference_q_stdqc.csv and interference_true.csv:
a quadrupole run without collision cell in which seawaters put 40Ar35Cl on
75As (and 40Ar37Cl on 77) and molybdenum-rich digests put 95Mo16O on 111Cd
(and 92Mo16O on 108), with the abundance ratios of the usual equations

    [75As #1] = [75As #1] - 3.127 * ([77Se #1] - 0.815 * [82Se #1])
    [111Cd #1] = [111Cd #1] - 1.073 * ([108Cd #1] - 0.712 * [106Cd #1])

so that they give the true signals back within the noise; the matrix also
suppresses every signal, indium's too. interference_true.csv holds each
sample's true As and Cd (ppb). 82Se is not measured in Sea_05 and Digest_03,
111Cd not in Sea_06. Seeded, so running it again rewrites the same files:

    python3 tests/data/make_interference_run.py
"""

import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
LEVELS = [0.5, 1, 2, 5]
# Label, cps per ppb of its element, background cps.
ISOTOPES = [("As / 75 [#1]", 3000, 15), ("Se / 77 [#1]", 250, 8), ("Se / 82 [#1]", 250 / 0.815, 6),
            ("Mo / 95 [#1]", 1500, 4), ("Cd / 106 [#1]", 200, 3), ("Cd / 108 [#1]", 0.712 * 200, 3),
            ("Cd / 111 [#1]", 2000, 5), ("In / 115 [#1]", 0, 60000)]
ARCL_75 = 4000  # cps of 40Ar35Cl per unit of chloride
MOO_108 = 2.5  # cps of 92Mo16O per ppb of Mo
NOT_MEASURED = {("Se / 82 [#1]", "Sea_05"), ("Se / 82 [#1]", "Digest_03"),
                ("Cd / 111 [#1]", "Sea_06")}


def solutions(rng):
    """Name -> (As, Se, Cd, Mo in ppb, chloride, matrix suppression)."""
    order = {"BLK_1": (0, 0, 0, 0, 0, 1), "BLK_2": (0, 0, 0, 0, 0, 1)}
    order.update(("STD_%d" % (k + 1), (v, v, v, 0, 0, 1)) for k, v in enumerate(LEVELS))
    order["QC_1"] = (2, 2, 2, 0, 0, 1)
    for k in range(1, 7):
        order["Sea_%02d" % k] = (rng.uniform(1, 4), rng.uniform(0.2, 1), rng.uniform(0.5, 3), 0,
                                 rng.uniform(0.8, 1.5), rng.uniform(0.8, 0.9))
    order["VS_1"] = (2, 1, 2, 0, 0.5, 1)
    for k in range(1, 5):
        order["Digest_%02d" % k] = (rng.uniform(1, 4), rng.uniform(0.2, 1), rng.uniform(0.3, 1),
                                    rng.uniform(100, 300), 0.05, rng.uniform(0.85, 0.95))
    order["VS_2"] = (2, 1, 2, 0, 0.5, 1)
    order["BLK_3"] = (0, 0, 0, 0, 0, 1)
    return order


def signal(label, sens, bkg, values):
    arsenic, selenium, cadmium, molybdenum, chloride, matrix = values
    element = label.split(" /")[0]
    true = {"As": arsenic, "Se": selenium, "Cd": cadmium, "Mo": molybdenum, "In": 0}[element]
    cps = bkg + sens * true
    arcl75, moo108 = ARCL_75 * chloride, MOO_108 * molybdenum
    cps += {"As / 75 [#1]": arcl75, "Se / 77 [#1]": arcl75 / 3.127, "Cd / 108 [#1]": moo108,
            "Cd / 111 [#1]": 1.073 * moo108}.get(label, 0)
    return cps * matrix


def main():
    rng = random.Random(20250131)
    order = solutions(rng)
    out = ("Quantitative Analysis - Raw Data Report;\nBatch:;INTERF.b;\n\n"
           "Sample:;" + "".join(n + ";;" for n in order) + "\n"
           "Element / Mass [Tune Step];" + "CPS;CPS RSD;" * len(order) + "\n")
    for label, sens, bkg in ISOTOPES:
        out += label + ";"
        for name, values in order.items():
            if (label, name) in NOT_MEASURED:
                out += "<###> ;<###> ;"
                continue
            cps = signal(label, sens, bkg, values) * rng.gauss(1, 0.004)
            out += "%.6g;%.2f%%;" % (cps, rng.uniform(0.5, 3))
        out += "\n"
    open(os.path.join(HERE, "interference_q.csv"), "w").write(out)
    with open(os.path.join(HERE, "interference_q_stdqc.csv"), "w") as f:
        f.write("Element;" + "".join("STD_%d;;" % (k + 1) for k in range(4)) + "QC_1;\n")
        for element in ("As #1", "Se #1", "Cd #1"):
            f.write(element + ";" + "".join("%g;2;" % v for v in LEVELS) + "2;10\n")
    with open(os.path.join(HERE, "interference_true.csv"), "w") as f:
        f.write("solution;75As #1;111Cd #1\n")
        for name, values in order.items():
            if not name.startswith(("BLK", "STD", "QC")):
                f.write("%s;%.6g;%.6g\n" % (name, values[0], values[2]))


if __name__ == "__main__":
    main()
