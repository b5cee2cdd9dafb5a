#!/usr/bin/env python3
"""Writes drift_generated_hr.csv and drift_generated_stdqc.csv: a 60-solution
high-resolution run whose sensitivity falls linearly by 20 % from the first
solution to the last, a monitor VS every ten solutions and a QC early and late.
Seeded, so running it again rewrites the same files:

    python3 tests/data/make_drift_run.py
"""

import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
LEVELS = [0.5, 1, 2, 5, 10]
# Isotope label, cps per ppb at the start, background cps, QC value (ppb, 0: none).
ISOTOPES = [("Li7(LR)", 50000, 40, 5), ("In115(LR)", 0, 200000, 0),
            ("Co59(MR)", 12000, 5, 2), ("As75(HR)", 600, 2, 2)]


def main():
    rng = random.Random(20240611)
    order = ["BLK_1", "BLK_2", "BLK_3"] + ["STD_%d" % (k + 1) for k in range(5)]
    samples = iter("Sample_%02d" % k for k in range(1, 60))
    while len(order) < 59:
        order.append("VS_%d" % ((len(order) + 2) // 10) if len(order) % 10 == 8 else
                     "QC_A_1" if len(order) == 9 else next(samples))
    order.append("QC_A_2")
    conc = {name: rng.uniform(0.2, 8) for name in order if name.startswith("Sample")}
    conc.update({"VS_%d" % k: 5 for k in range(1, 7)}, QC_A_1=1, QC_A_2=1)
    conc.update(("STD_%d" % (k + 1), v) for k, v in enumerate(LEVELS))
    out = ";" + "".join(n + ";;" for n in order) + "\n"
    out += "Isotope;" + "Intensity (cps);RSD (%);" * len(order) + "\n"
    for label, sens, bkg, qc in ISOTOPES:
        out += label + ";"
        for p, name in enumerate(order):
            c = conc.get(name, 0) * (qc if name.startswith("QC") else 1)
            cps = (bkg + sens * c) * (1 - 0.2 * p / (len(order) - 1)) * rng.gauss(1, 0.003)
            out += "%.6g;%.3g;" % (cps, rng.uniform(0.5, 3))
        out += "\n"
    open(os.path.join(HERE, "drift_generated_hr.csv"), "w").write(out)
    with open(os.path.join(HERE, "drift_generated_stdqc.csv"), "w") as f:
        f.write("Element;" + "".join("STD_%d;;" % (k + 1) for k in range(5)) + "QC_A;\n")
        for label, _, _, qc in ISOTOPES:
            if qc:
                f.write(label[:2] + ";" + "".join("%g;2;" % v for v in LEVELS) + "%g;5\n" % qc)


if __name__ == "__main__":
    main()
