#!/usr/bin/env python3
"""Makes a test ephemeris in the layout of JPL's DE430/DE440 ASCII files from DE405's:
header.440 and the block files ascp01960.440 and ascp01980.440 in DESTDIR.

Usage: make_de440_layout_fixture.py DESTDIR --header HEADER405 --blocks BLOCKDIR [--years 1960 1980]

A real DE440 cannot be had on the build machine, so its layout is tested with DE405's
coefficients rearranged into it; every body's position and velocity is DE405's to the last
bit.  What differs from DE405's files (JPL's header.405 and ascpYYYY.405, read from
HEADER405 and BLOCKDIR):
- GROUP 1050 has 15 columns, the 13 of DE405 and the two that DE430 and DE440 add: lunar
  mantle angular velocity (3 components, here 10 coefficients, 4 sub-intervals) and TT-TDB
  (1 component, here 13 coefficients, 8 sub-intervals).  Their coefficients are zeros and
  come first in each record (places 3 .. 226), so that every DE405 column lies 224 places
  further on than in DE405: a reader that does not take the places from GROUP 1050 fails.
  NCOEFF = 1018 + 224 = 1242 (414 lines of three, no padding), KSIZE = 2484.
- GROUP 1040/1041 has 420 constants: DE405's 156 in JPL's order, with DENUM and LENUM 440,
  then 264 named dummy constants DUM001 .. DUM264 with the values 1.5 .. 264.5, to carry
  more than 400 constants as DE430 and DE440 do.  AU, EMRAT and the GMs stay DE405's.
- The block files are named with a five-digit year, as JPL names DE430's and DE440's
  (ascp01960.440); each holds DE405's 20-year block with the first record of the next, its
  records numbered from 1.
- GROUP 1030 gives the span the files cover; the title names DE440.

Layouts of the files as in make_jpl_header.py and make_de405_blocks.py (CR LF, 80
characters, values in (3D26.18) parsed back bit for bit).  Nothing is written when the
files are newer than their sources and these scripts.
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_jpl_header import header_lines, jpl_text, layout_end, up_to_date, write_lines  # noqa: E402

TITLE = "JPL Planetary Ephemeris DE440/LE440"
EXTRA_COLUMNS = ((10, 4, 3), (13, 8, 1))   # mantle angular velocity, TT-TDB: coefficients, sub-intervals, components
CONSTANT_COUNT = 420
LINE_WIDTH = 80
EOL = "\r\n"


def parse_value(text):
    return float(text.replace("D", "E").replace("d", "e"))


def read_header(path):
    """JPL's ASCII header: NCOEFF, the span, the constants and the layout."""
    with open(path, encoding="ascii") as f:
        lines = [line.rstrip() for line in f]
    groups, current = {}, None
    for line in lines:
        if line.startswith("GROUP"):
            current = int(line.split()[1])
            groups[current] = []
        elif current is not None and line:
            groups[current].append(line)
    ncoeff = int(lines[0].split("NCOEFF=")[1])
    span = [parse_value(v) for v in groups[1030][0].split()]
    count = int(groups[1040][0])
    names = " ".join(groups[1040][1:]).split()
    values = [parse_value(v) for v in " ".join(groups[1041][1:]).split()]
    if len(names) != count or len(values) != int(groups[1041][0]) or len(values) != count:
        raise ValueError("%s: %d constants, %d names, %d values" % (path, count, len(names), len(values)))
    rows = [[int(v) for v in line.split()] for line in groups[1050]]
    layout = list(zip(*rows))
    if layout_end(layout) != ncoeff:
        raise ValueError("%s: the layout ends at %d, NCOEFF is %d" % (path, layout_end(layout), ncoeff))
    return ncoeff, span, names, values, layout


def read_blocks(path, ncoeff):
    """The records of a JPL block file: for each, its ncoeff values."""
    with open(path, encoding="ascii") as f:
        lines = f.read().splitlines()
    per_record = (ncoeff + 2) // 3
    records = []
    for at in range(0, len(lines), per_record + 1):
        number, count = int(lines[at][0:6]), int(lines[at][6:12])
        if number != len(records) + 1 or count != ncoeff:
            raise ValueError("%s: record %d has the header %r" % (path, len(records) + 1, lines[at]))
        values = [parse_value(line[i:i + 26]) for line in lines[at + 1:at + 1 + per_record] for i in (0, 26, 52)]
        records.append(values[:ncoeff])
    return records


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("destdir")
    p.add_argument("--header", required=True, help="JPL's header.405")
    p.add_argument("--blocks", required=True, help="the folder of the DE405 block files ascpYYYY.405")
    p.add_argument("--years", type=int, nargs="+", default=[1960, 1980])
    args = p.parse_args()
    here = os.path.dirname(os.path.abspath(__file__))
    sources = [args.header] + [os.path.join(args.blocks, "ascp%04d.405" % y) for y in args.years]
    outputs = [os.path.join(args.destdir, n) for n in ["header.440"] + ["ascp%05d.440" % y for y in args.years]]
    if up_to_date(outputs, sources + [os.path.join(here, n) for n in ("make_de440_layout_fixture.py", "make_jpl_header.py")]):
        return

    ncoeff, span, names, values, layout = read_header(args.header)
    constants = dict(zip(names, values))
    if constants.get("DENUM") != 405.0 or len(layout) != 13:
        sys.exit("make_de440_layout_fixture.py: %s is not DE405's header" % args.header)

    extra = sum(c * n * k for c, n, k in EXTRA_COLUMNS)
    new_layout, place = [], 3
    for coefficients, intervals, components in EXTRA_COLUMNS:
        new_layout.append((place, coefficients, intervals))
        place += coefficients * intervals * components
    new_layout = [(first + extra, c, n) for first, c, n in layout] + new_layout
    new_ncoeff = ncoeff + extra
    if layout_end(new_layout) != new_ncoeff or new_ncoeff % 3:
        raise ValueError("the new layout is not consistent")

    new_values = [440.0 if n in ("DENUM", "LENUM") else v for n, v in zip(names, values)]
    dummies = CONSTANT_COUNT - len(names)
    new_names = names + ["DUM%03d" % k for k in range(1, dummies + 1)]
    new_values += [k + 0.5 for k in range(1, dummies + 1)]

    os.makedirs(args.destdir, exist_ok=True)
    first_jd = last_jd = None
    for year in args.years:
        records = read_blocks(os.path.join(args.blocks, "ascp%04d.405" % year), ncoeff)
        lines = []
        for number, r in enumerate(records, start=1):
            record = r[0:2] + [0.0] * extra + r[2:ncoeff]
            lines.append(("%6d%6d" % (number, new_ncoeff)).ljust(LINE_WIDTH))
            for i in range(0, new_ncoeff, 3):
                lines.append("".join(jpl_text(v).rjust(26) for v in record[i:i + 3]).ljust(LINE_WIDTH))
        write_lines(os.path.join(args.destdir, "ascp%05d.440" % year), lines)
        first_jd = records[0][0] if first_jd is None else first_jd
        last_jd = records[-1][1]
    write_lines(os.path.join(args.destdir, "header.440"),
                header_lines(TITLE, (first_jd, last_jd, span[2]), new_names, new_values, new_layout, new_ncoeff))


if __name__ == "__main__":
    main()
