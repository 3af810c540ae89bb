#!/usr/bin/env python3
"""Writes JPL DE405 ASCII block files (ascp1960.405, ascp1980.405, ascp2000.405,
ascp2020.405, ascp2040.405) from the casacore table of Debian's package
casacore-data-jpl-de405.

Usage: make_de405_blocks.py DESTDIR [--table PATH] [--years 1960 1980 2000 2020 2040]

The table (JPL's DE405, public domain) has one row per 32-day record: column MJD is the
record's start (JD = MJD + 2400000.5) and column x holds the record's values 3..1020 of
JPL's ASCII layout (1016 Chebyshev coefficients and two zeros that pad the record to 340
lines of three).  Its 1143 records run from JD 2436912.5 (1959 Dec 10) to JD 2473488.5
(2060 Jan 30), contiguous, 32 days each: exactly the records of JPL's files
ascp1960.405 .. ascp2040.405.  Each block file gets the records whose start lies in its
20-year block plus the first record of the next block, numbered from 1 in each file, as
JPL's own files have them.  The last one, ascp2040.405, covers JD 2466128.5 (2039 Dec 6)
to JD 2473456.5 (2059 Dec 29) and its 230th record, the first of JPL's ascp2060.405, runs
on to JD 2473488.5 (2060 Jan 30), where the table ends.

Checks before a file is kept: the table's records follow each other without gap or
overlap, 32 days each; record n of a block file starts 32 (n - 1) days after the block's
first JD; every value written is parsed back bit for bit; the written file is read back
and its record numbers, NCOEFF and dates checked.

Layout written (that of JPL's ascp files, as read by JPL's asc2eph with formats (2I6) and
(3D26.18)): per record one line "%6d%6d" with the record number and 1018, padded with
blanks to 80 characters, then 340 lines of three values, each right-aligned in 26
characters as "0." + 18 digits + "D" + signed two-digit exponent
("  0.243691250000000000D+07"), padded with two blanks to 80 characters; lines end with
CR LF.  18 significant digits always give back the same double: every value written is
parsed back and compared bit for bit before a file is kept.

Needs Debian's python3-casacore (run with /usr/bin/python3).
"""

import argparse
import math
import os
import struct
import sys

DEFAULT_TABLE = "/usr/share/casacore/data/ephemerides/DE405"
DEFAULT_YEARS = (1960, 1980, 2000, 2020, 2040)
VALUES_PER_RECORD = 1020   # 340 lines of three
COEFFICIENT_COUNT = 1018   # JPL's NCOEFF: start JD, end JD and 1016 coefficients
RECORD_DAYS = 32.0
MJD_TO_JD = 2400000.5
LINE_WIDTH = 80
EOL = "\r\n"

# First JD of each 20-year block (the coverage table of JPL's block files): block year -> JD from.
# Each is the last 32-day record start (2305424.5 + 32 k) on or before 1 January of the
# block's year; 2040 and 2060 follow that rule, and 2060's is where the table's last record
# starts.
BLOCK_START = {
    1600: 2305424.5, 1620: 2312752.5, 1640: 2320048.5, 1660: 2327344.5,
    1680: 2334640.5, 1700: 2341968.5, 1720: 2349264.5, 1740: 2356560.5,
    1760: 2363856.5, 1780: 2371184.5, 1800: 2378480.5, 1820: 2385776.5,
    1840: 2393104.5, 1860: 2400400.5, 1880: 2407696.5, 1900: 2414992.5,
    1920: 2422320.5, 1940: 2429616.5, 1960: 2436912.5, 1980: 2444208.5,
    2000: 2451536.5, 2020: 2458832.5, 2040: 2466128.5, 2060: 2473456.5,
}


def bits(x):
    return struct.pack("<d", x)


def jpl_text(x):
    """One value as JPL writes it: 0.dddddddddddddddddd D+ee, 18 significant digits."""
    if not math.isfinite(x):
        raise ValueError("value is not finite: %r" % x)
    sign = "-" if math.copysign(1.0, x) < 0 else ""
    if x == 0:
        return sign + "0." + "0" * 18 + "D+00"
    mantissa, exponent = ("%.17e" % abs(x)).split("e")   # d.ddddddddddddddddd, correctly rounded
    digits = mantissa.replace(".", "")
    e = int(exponent) + 1
    if not -99 <= e <= 99:
        raise ValueError("exponent out of the two-digit range: %r" % x)
    return "%s0.%sD%s%02d" % (sign, digits, "+" if e >= 0 else "-", abs(e))


def parse_jpl(text):
    return float(text.replace("D", "E"))


def record_lines(number, values):
    """The 341 text lines of one record (without line ends)."""
    lines = [("%6d%6d" % (number, COEFFICIENT_COUNT)).ljust(LINE_WIDTH)]
    for i in range(0, VALUES_PER_RECORD, 3):
        fields = []
        for v in values[i:i + 3]:
            t = jpl_text(v)
            back = parse_jpl(t)
            if bits(back) != bits(v):
                raise ValueError("value does not round-trip: %r -> %s -> %r" % (v, t, back))
            fields.append(t.rjust(26))
        lines.append("".join(fields).ljust(LINE_WIDTH))
    return lines


def open_table(path, script="make_de405_blocks.py"):
    """Debian's casacore table of DE405, opened with python3-casacore."""
    try:
        from casacore import tables
    except ImportError:
        sys.exit(script + ": python3-casacore is missing (Debian package python3-casacore; "
                 "run with /usr/bin/python3)")
    return tables.table(path, ack=False)


def read_table(path):
    t = open_table(path)
    try:
        mjd = [float(v) for v in t.getcol("MJD")]
        rows = []
        for r in range(t.nrows()):
            x = [float(v) for v in t.getcell("x", r)]
            if len(x) != VALUES_PER_RECORD - 2:
                raise ValueError("row %d has %d values, expected %d" % (r, len(x), VALUES_PER_RECORD - 2))
            start = mjd[r] + MJD_TO_JD
            rows.append([start, start + RECORD_DAYS] + x)
    finally:
        t.close()
    for r in range(1, len(rows)):
        if rows[r][0] != rows[r - 1][1] or rows[r][0] != rows[0][0] + RECORD_DAYS * r:
            raise ValueError("records %d and %d are not consecutive 32-day records" % (r - 1, r))
    return rows


def check_written(path, start, count):
    """Reads a block file back: record numbers 1..count, NCOEFF, 341 lines of 80
    characters a record, and record n running from start + 32 (n - 1) for 32 days."""
    with open(path, "rb") as f:
        lines = f.read().split(b"\r\n")
    if lines[-1] != b"" or len(lines) - 1 != count * 341:
        raise ValueError("%s: %d lines, expected %d" % (path, len(lines) - 1, count * 341))
    for n in range(1, count + 1):
        head = lines[(n - 1) * 341]
        first = lines[(n - 1) * 341 + 1]
        if (int(head[0:6]), int(head[6:12])) != (n, COEFFICIENT_COUNT) or len(head) != LINE_WIDTH:
            raise ValueError("%s: record %d has the header line %r" % (path, n, head))
        begin, end = parse_jpl(first[0:26].decode()), parse_jpl(first[26:52].decode())
        if begin != start + RECORD_DAYS * (n - 1) or end != begin + RECORD_DAYS:
            raise ValueError("%s: record %d covers JD %r to %r" % (path, n, begin, end))


def write_block(rows, year, folder):
    start, end = BLOCK_START[year], BLOCK_START[year + 20]
    chosen = [r for r in rows if start <= r[0] < end]
    following = [r for r in rows if r[0] == end]
    if not chosen or chosen[0][0] != start or chosen[-1][1] != end or not following:
        raise ValueError("the table does not cover the block %d (JD %.1f to %.1f and one record more)"
                         % (year, start, end))
    records = chosen + following[:1]
    for n, values in enumerate(records, start=1):
        if values[0] != start + RECORD_DAYS * (n - 1):
            raise ValueError("block %d: record %d starts at JD %r" % (year, n, values[0]))
    name = "ascp%04d.405" % year
    path = os.path.join(folder, name)
    temp = "%s.%d.part" % (path, os.getpid())
    with open(temp, "w", encoding="ascii", newline="") as f:
        for n, values in enumerate(records, start=1):
            f.write(EOL.join(record_lines(n, values)) + EOL)
    try:
        check_written(temp, start, len(records))
    except ValueError:
        os.remove(temp)
        raise
    os.replace(temp, path)
    return path, len(records)


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("destdir")
    p.add_argument("--table", default=DEFAULT_TABLE)
    p.add_argument("--years", type=int, nargs="+", default=list(DEFAULT_YEARS))
    p.add_argument("--quiet", action="store_true")
    args = p.parse_args()
    for y in args.years:
        if y not in BLOCK_START or y + 20 not in BLOCK_START:
            sys.exit("make_de405_blocks.py: no 20-year block starts in %d" % y)
    rows = read_table(args.table)
    os.makedirs(args.destdir, exist_ok=True)
    for y in args.years:
        path, n = write_block(rows, y, args.destdir)
        if not args.quiet:
            print("%s: %d records" % (path, n))


if __name__ == "__main__":
    main()
