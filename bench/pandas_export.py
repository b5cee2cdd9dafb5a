#!/usr/bin/env python3
"""The export as pandas' C parser reads it, for ketrion-bench to time beside
ketrion-batch: `read EXPORT`, or `read-write EXPORT OUT` that writes it again."""
import sys

import pandas


def main():
    mode, export = sys.argv[1], sys.argv[2]
    # Two lines of headers (the solutions, then the columns' names), then an
    # isotope's name and its numbers per line.
    frame = pandas.read_csv(export, sep=";", skiprows=2, header=None, index_col=0, engine="c")
    if mode == "read-write":
        frame.to_csv(sys.argv[3], sep=";")
    return 0


if __name__ == "__main__":
    sys.exit(main())
