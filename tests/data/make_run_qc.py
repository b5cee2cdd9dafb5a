#!/usr/bin/env python3
"""Writes run_qc_hr.csv, run_qc_stdqc.csv and two sample sheets for the run
QC: a high-resolution run with an ICV and ICB after the calibration, four
CCV/CCB pairs, a low-level check (LLCCV) inside a stretch of 12 samples, a CCV
reading cobalt at 88 %, a CCB contaminated with arsenic, a CCV that did not
measure cobalt, a CCB that did not measure arsenic, and samples after the last
CCV, one of them below every LOD. The standards lie exactly on their lines, the
zero standard at the background, so that each check reads what it is made to.
run_qc_sheet.csv gives the roles (in any case, one with a dilution);
run_qc_last_icv_sheet.csv names the last verification an ICV instead. Seeded,
so running it again rewrites the same files:

    python3 tests/data/make_run_qc.py
"""

import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
LEVELS = [0.5, 1, 2, 5, 10]
# Label, element, cps per ppb, background cps (the zero standard), the three
# blanks of the first run, a CCB's and the ICB's intensity.
ISOTOPES = [("Li7(LR)", "Li", 50000, 40, (40, 44, 37), 41.3, 40.6),
            ("In115(LR)", "In", 0, 200000, (200000, 201000, 199000), 200500, 200300),
            ("Co59(MR)", "Co", 12000, 5, (5, 5.6, 4.5), 5.2, 5.1),
            ("As75(HR)", "As", 600, 2, (2, 2.5, 1.7), 2.1, 2.3)]
# Expected ppb of the checks and QC, and what each check reads in percent of
# it, per element; None: not measured.
EXPECTED = {"QC_ICV": 5, "QC_LL": 0.5, "QC_CCV": 5, "QC_A": 2}
READS = {"QC_ICV": {"As": 103.5}, "QC_LL": {"Li": 97, "Co": 92},
         "QC_CCV_2": {"Co": None}, "QC_CCV_3": {"Co": 88, "As": 99}, "QC_CCV_4": {"Co": 101}}
# The arsenic LOQ of the first blanks is 10 x their SD: 0.0055 ppb.
CONTAMINATION = {("BLK_CCB_3", "As"): 6.95, ("BLK_CCB_4", "As"): None}


def order():
    samples = iter("Sample_%02d" % k for k in range(1, 44))
    take = lambda n: [next(samples) for _ in range(n)]
    return (["BLK_1", "BLK_2", "BLK_3"] + ["STD_%d" % (k + 1) for k in range(5)]
            + ["QC_ICV", "BLK_ICB"] + take(10) + ["QC_CCV_1", "BLK_CCB_1"]
            + take(6) + ["QC_LL"] + take(6) + ["QC_CCV_2", "BLK_CCB_2"]
            + take(8) + ["QC_A_1", "QC_CCV_3", "BLK_CCB_3"] + take(10)
            + ["QC_CCV_4", "BLK_CCB_4"] + take(3))


def intensity(name, element, sens, bkg, blanks, ccb, icb, conc, rng):
    """cps as read; None when not measured."""
    if name.startswith("STD_"):
        return bkg + sens * LEVELS[int(name[4]) - 1]
    if name in ("BLK_1", "BLK_2", "BLK_3"):
        return blanks[int(name[4]) - 1]
    if name.startswith("BLK_"):
        value = CONTAMINATION.get((name, element), icb if name == "BLK_ICB" else ccb)
        return value
    if name.startswith("QC_"):
        family = name if name in EXPECTED else name.rsplit("_", 1)[0]
        percent = READS.get(name, READS.get(family, {})).get(element, 100)
        return None if percent is None else bkg + sens * EXPECTED[family] * percent / 100
    if name == "Sample_05" and element == "As":
        return None
    return (bkg + sens * conc[name]) * rng.gauss(1, 0.003)


def main():
    rng = random.Random(20240728)
    names = order()
    conc = {n: rng.uniform(0.2, 8) for n in names if n.startswith("Sample")}
    conc["Sample_42"] = 0.0001  # below every LOD, after the last CCV
    out = ";" + "".join(n + ";;" for n in names) + "\n"
    out += "Isotope;" + "Intensity (cps);RSD (%);" * len(names) + "\n"
    for label, element, sens, bkg, blanks, ccb, icb in ISOTOPES:
        out += label + ";"
        for name in names:
            cps = intensity(name, element, sens, bkg, blanks, ccb, icb, conc, rng)
            out += "not def.;not def.;" if cps is None else "%.9g;%.3g;" % (cps, rng.uniform(0.5, 3))
        out += "\n"
    open(os.path.join(HERE, "run_qc_hr.csv"), "w").write(out)
    with open(os.path.join(HERE, "run_qc_stdqc.csv"), "w") as f:
        f.write("Element;" + "".join("STD_%d;;" % (k + 1) for k in range(5))
                + "".join(q + ";;" for q in EXPECTED) + "\n")
        for _, element, sens, *_ in ISOTOPES:
            if sens:
                f.write(element + ";" + "".join("%g;2;" % v for v in LEVELS)
                        + "".join("%g;10;" % v for v in EXPECTED.values()) + "\n")
    roles = [("QC_ICV", "", "ICV"), ("BLK_ICB", "", " icb "), ("QC_CCV_1", "", "CCV"),
             ("BLK_CCB_1", "", "CCB"), ("QC_LL", "", "LLCCV"), ("QC_CCV_2", "", "ccv"),
             ("BLK_CCB_2", "", "CCB"), ("QC_CCV_3", "2", "CCV"), ("BLK_CCB_3", "", "CCB"),
             ("QC_CCV_4", "", "CCV"), ("BLK_CCB_4", "", "Ccb"), ("Sample_01", "10", ""),
             ("QC_A_1", "", "")]
    for sheet, last in (("run_qc_sheet.csv", "CCV"), ("run_qc_last_icv_sheet.csv", "ICV")):
        with open(os.path.join(HERE, sheet), "w") as f:
            f.write("solution;dilution;Role\n")
            for name, dilution, role in roles:
                f.write("%s;%s;%s\n" % (name, dilution, last if name == "QC_CCV_4" else role))


if __name__ == "__main__":
    main()
