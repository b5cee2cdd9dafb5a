#!/usr/bin/env python3
"""Writes batch_qc_hr.csv, batch_qc_stdqc.csv and two sample sheets for the
batch QC: a high-resolution run whose lithium, cobalt, zinc and iron read as
each solution is made to read (the standards lie exactly on their lines, the
zero standard at the background), with

- River_01 (diluted 10) and its duplicate, cobalt 24 % apart, above 5 x LOQ;
- River_05 (diluted 4) and its duplicate (diluted 5) below 5 x LOQ, both
  thresholds in the parent's dilution: lithium and zinc further apart than one
  LOQ (zinc's duplicate above 5 x LOQ, its parent below), iron within it;
- River_01_MS and River_01_MSD, diluted 20: zinc's recovery 68 % in the MS,
  95 % in the MSD, 22 % apart; no iron in the spike (an empty cell);
- River_02's MSD before its MS, spiked with SPK_B: zinc's spike below 30 % of
  the sample; the standards file names SPK_B twice, the last one (" SPK_B",
  a blank before it) the real one;
- QC_LCS_1 reading cobalt at 78 %; BLK_MB_1 with iron at 0.912 ppb; a
  sample-named method blank, Digest_Blank, with lithium;
- an ICV and ICB after the calibration and a CCV and CCB near the end, the CCV
  reading cobalt at 88 %: batch_qc_sheet.csv leaves them without roles,
  batch_qc_run_sheet.csv gives them theirs.

Seeded, so running it again rewrites the same files:

    python3 tests/data/make_batch_qc.py
"""

import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
LEVELS = [0.5, 1, 2, 5, 10]
# Label, element, cps per ppb, background cps (the zero standard), the three
# blanks of the first run.
ISOTOPES = [("Li7(LR)", "Li", 50000, 400, (400, 900, 150)),
            ("Co59(MR)", "Co", 12000, 5, (5, 5.6, 4.5)),
            ("Zn66(MR)", "Zn", 8000, 50, (50, 60, 45)),
            ("Fe56(MR)", "Fe", 20000, 2000, (2000, 7000, 500))]
# ppb in the measured solution, per element: Li, Co, Zn, Fe.
READS = {
    "QC_ICV": (5, 5, 5, 5), "BLK_ICB": (0.004, 0.0001, 0.001, 0.2),
    "River_01": (1.0, 2.0, 4.0, 5.0), "River_01_D": (1.02, 2.55, 4.1, 5.3),
    # u = c_P x 10 / 20; spike SPK_A: Li 2, Co 5, Zn 5, Fe none
    "River_01_MS": (0.5 + 2.06, 1 + 4.9, 2 + 5 * 0.681, 2.5),
    "River_01_MSD": (0.5 + 1.94, 1 + 5.0, 2 + 5 * 0.95, 2.6),
    # spike SPK_B: Li 2, Co 5, Zn 2 (below 30 % of 8), Fe none
    "River_02": (0.6, 1.0, 8.0, 12.0), "River_02_MSD": (0.6 + 2.2, 1 + 4.8, 10.3, 12.1),
    "River_02_MS": (0.6 + 1.8, 1 + 5.2, 10.0, 12.2),
    "River_03": (0.3, 1.5, 1.2, 3.0), "River_04": (2.0, 3.0, 0.5, 20.0),
    "River_05": (0.15, 0.8, 0.03, 1.0), "River_05_D": (0.06, 0.66, 0.045, 1.2),
    "QC_LCS_1": (5.05, 3.9, 4.95, 10.5), "BLK_MB_1": (0.01, -0.0001, 0.002, 0.912),
    "Digest_Blank": (0.05, 0.0001, 0.001, 0.3), "River_06": (4.0, 6.0, 3.0, 9.5),
    "QC_CCV_1": (5.1, 4.4, 5.0, 5.0), "BLK_CCB_1": (0.003, 0.0001, 0.001, 0.3),
    "River_07": (0.45, 0.4, 2.0, 8.0), "River_08": (3.0, 2.0, 0.02, 0.5),
}
# Per element: each check's and the LCS's expected ppb, and the spikes.
STANDARDS = ["STD_%d" % (k + 1) for k in range(5)]
EXPECTED = {"QC_ICV": (5, 5, 5, 5), "QC_CCV": (5, 5, 5, 5), "QC_LCS": (5, 5, 5, 10)}
SPIKES = [("SPK_A", (2, 5, 5, None)), ("SPK_B", (50, 50, 50, 50)),
          (" SPK_B", (2, 5, 2, None))]
# Solution, dilution, role, parent, spike.
SHEET = [("River_01", "10", "", "", ""), ("River_01_D", "10", "dup", "River_01", ""),
         ("River_01_MS", "20", "MS", "River_01", "SPK_A"),
         ("River_01_MSD", "20", "MSD", "River_01", " SPK_A "),
         ("River_02_MSD", "", "MSD", "River_02", "SPK_B"),
         ("River_02_MS", "", "Ms", "River_02", "SPK_B"), ("River_03", "5", "", "", ""),
         ("River_05", "4", "", "", ""), ("River_05_D", "5", "DUP", "River_05", ""),
         ("QC_LCS_1", "", "LCS", "", ""), ("BLK_MB_1", "", "MB", "", ""),
         ("Digest_Blank", "", "mb", "", "")]
CHECKS = [("QC_ICV", "", "ICV", "", ""), ("BLK_ICB", "", "ICB", "", ""),
          ("QC_CCV_1", "", "CCV", "", ""), ("BLK_CCB_1", "", "CCB", "", "")]


def main():
    rng = random.Random(20240801)
    names = ["BLK_1", "BLK_2", "BLK_3"] + STANDARDS + list(READS)
    out = ";" + "".join(n + ";;" for n in names) + "\n"
    out += "Isotope;" + "Intensity (cps);RSD (%);" * len(names) + "\n"
    for k, (label, _, sens, bkg, blanks) in enumerate(ISOTOPES):
        out += label + ";"
        for name in names:
            if name.startswith("BLK_") and name[4:].isdigit():
                cps = blanks[int(name[4:]) - 1]
            elif name.startswith("STD_"):
                cps = bkg + sens * LEVELS[int(name[4:]) - 1]
            else:
                cps = bkg + sens * READS[name][k]
            out += "%.10g;%.3g;" % (cps, rng.uniform(0.5, 3))
        out += "\n"
    open(os.path.join(HERE, "batch_qc_hr.csv"), "w").write(out)
    with open(os.path.join(HERE, "batch_qc_stdqc.csv"), "w") as f:
        f.write("Element;" + "".join(n + ";;" for n in STANDARDS + list(EXPECTED))
                + "".join(n + ";;" for n, _ in SPIKES) + "\n")
        for k, (_, element, *_) in enumerate(ISOTOPES):
            cells = ["%g;2" % v for v in LEVELS] + ["%g;10" % v[k] for v in EXPECTED.values()]
            cells += ["%s;" % ("" if v[k] is None else "%g" % v[k]) for _, v in SPIKES]
            f.write(element + ";" + ";".join(cells) + ";\n")
    for sheet, rows in (("batch_qc_sheet.csv", SHEET), ("batch_qc_run_sheet.csv", CHECKS + SHEET)):
        with open(os.path.join(HERE, sheet), "w") as f:
            f.write("solution,dilution,role,Parent,spike\n")
            for row in rows:
                f.write(",".join(row) + "\n")


if __name__ == "__main__":
    main()
