#!/usr/bin/env python3
"""Writes JPL's ASCII header header.405 for DE405 into DESTDIR.

Usage: make_jpl_header.py DESTDIR [--table PATH] [--links BLOCKDIR]

Where each part comes from:
- GROUP 1040/1041, the 156 constants (DENUM 405, LENUM 405, TDATEF, TDATEB, CENTER,
  CLIGHT 299792.458, AU 149597870.691, EMRAT 81.30056, GM1, GM2, GMB, GM4 .. GM9, GMS,
  the initial conditions, the Moon's and the Earth's figure and rotation, ...), their
  names and their order: the keywords of the table of Debian's casacore-data-jpl-de405,
  which carries JPL's header.405 constants as doubles (read with Debian's python3-casacore).
  Each is written with 18 significant digits and a D exponent, as JPL writes them, and
  parsed back bit for bit.
- GROUP 1050, the record layout (for each of the 13 columns: Mercury, Venus, the
  Earth-Moon barycentre, Mars, Jupiter, Saturn, Uranus, Neptune, Pluto, the geocentric
  Moon, the Sun, nutations, lunar librations - the first coefficient's place, the number
  of coefficients and of sub-intervals): the keyword Description of the table's column x.
- NCOEFF: the end of the last column of that layout (1018), KSIZE twice that (2036).
- GROUP 1030, the span: JPL's DE405 span, JED 2305424.5 (1599 Dec 09) to JED 2525008.5
  (2201 Feb 20), the first record of JPL's ascp1600.405 to the end of ascp2180.405; the
  record length, 32 days, is the table's keyword dMJD.  The files present (1960-2060 from
  Debian) cover part of it.
- GROUP 1010: JPL's title "JPL Planetary Ephemeris DE405/LE405" and the two epoch lines.

Layout (that of JPL's header files as JPL's asc2eph reads them): "KSIZE= 2036    NCOEFF=
1018", each group introduced by a line "GROUP   10x0" between blank lines, the span as
(3F12.2) - JPL writes "  2305424.50  2525008.50         32.", the count of constants as
(I6), the names as (10A8) - two blanks and the name in six characters -, the values as
(3D26.18), the layout as three lines of (13I6), and "GROUP   1070" to end.  Lines are
padded with blanks to 80 characters and end with CR LF, like the block files.

With --links BLOCKDIR the DE405 block files ascpYYYY.405 of BLOCKDIR are linked into
DESTDIR beside the header, so that DESTDIR holds JPL's full set of files.  Nothing is written when the header is newer than
this script and the table (and, with --links, the links are there).
"""

import argparse
import datetime
import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_de405_blocks import open_table  # noqa: E402

DEFAULT_TABLE = "/usr/share/casacore/data/ephemerides/DE405"
TITLE = "JPL Planetary Ephemeris DE405/LE405"
SPAN_START, SPAN_END = 2305424.5, 2525008.5     # JPL's DE405 span (1599 Dec 09 .. 2201 Feb 20)
TABLE_KEYWORDS_NOT_CONSTANTS = ("VS_CREATE", "VS_DATE", "VS_VERSION", "VS_TYPE", "TAB_VERSION", "MJD0", "dMJD")
LINE_WIDTH = 80
EOL = "\r\n"
MONTHS = ("JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC")


def jpl_text(x):
    """One value as JPL writes it: 0.dddddddddddddddddd D+ee, 18 significant digits,
    checked to give back the same double."""
    if not math.isfinite(x):
        raise ValueError("value is not finite: %r" % x)
    sign = "-" if math.copysign(1.0, x) < 0 else ""
    if x == 0:
        text = sign + "0." + "0" * 18 + "D+00"
    else:
        mantissa, exponent = ("%.17e" % abs(x)).split("e")
        e = int(exponent) + 1
        if not -99 <= e <= 99:
            raise ValueError("exponent out of the two-digit range: %r" % x)
        text = "%s0.%sD%s%02d" % (sign, mantissa.replace(".", ""), "+" if e >= 0 else "-", abs(e))
    if struct.pack("<d", float(text.replace("D", "E"))) != struct.pack("<d", x):
        raise ValueError("value does not round-trip: %r -> %s" % (x, text))
    return text


def calendar_text(jd):
    """JED as JPL's title lines give it: "1599 DEC 09 00:00:00" (Gregorian, JD at 0h)."""
    if jd - math.floor(jd) != 0.5:
        raise ValueError("not a date at 0h: %r" % jd)
    day = datetime.date(2000, 1, 1) + datetime.timedelta(days=int(jd - 2451544.5))
    return "%04d %s %02d 00:00:00" % (day.year, MONTHS[day.month - 1], day.day)


def layout_end(layout):
    """The last place the layout uses: JPL's NCOEFF.  layout: (first, coefficients,
    sub-intervals) per column; column 12 (nutations) has two components, column 15
    (TT-TDB) one, the others three."""
    end = 2
    for column, (first, coefficients, intervals) in enumerate(layout, start=1):
        components = 2 if column == 12 else 1 if column == 15 else 3
        if coefficients * intervals:
            end = max(end, first - 1 + coefficients * components * intervals)
    return end


def header_lines(title, span, names, values, layout, ncoeff):
    """The lines of a JPL ASCII header (without line ends)."""
    if len(names) != len(values):
        raise ValueError("%d names, %d values" % (len(names), len(values)))
    for n in names:
        if not 1 <= len(n) <= 6 or n != n.strip():
            raise ValueError("a constant's name must have 1 to 6 characters: %r" % n)
    blank = ""
    out = ["KSIZE=%5d    NCOEFF=%5d" % (2 * ncoeff, ncoeff), blank]
    out += ["GROUP   1010", blank, title,
            "Start Epoch: JED=%11.1f %s" % (span[0], calendar_text(span[0])),
            "Final Epoch: JED=%11.1f %s" % (span[1], calendar_text(span[1])), blank]
    days = "%.0f." % span[2]
    out += ["GROUP   1030", blank, "%12.2f%12.2f%12s" % (span[0], span[1], days), blank]
    out += ["GROUP   1040", blank, "%6d" % len(names)]
    for i in range(0, len(names), 10):
        out.append("".join("  " + n.ljust(6) for n in names[i:i + 10]))
    out += [blank, "GROUP   1041", blank, "%6d" % len(values)]
    for i in range(0, len(values), 3):
        out.append("".join(jpl_text(v).rjust(26) for v in values[i:i + 3]))
    out += [blank, "GROUP   1050", blank]
    for row in range(3):
        out.append("".join("%6d" % column[row] for column in layout))
    out += [blank, "GROUP   1070", blank]
    return [line.ljust(LINE_WIDTH) for line in out]


def up_to_date(outputs, inputs):
    """True when every output exists and is newer than every input (the scripts, the data
    they read), so that a test fixture run again does nothing."""
    try:
        oldest = min(os.path.getmtime(o) for o in outputs)
        return all(os.path.getmtime(i) < oldest for i in inputs)
    except OSError:
        return False


def write_lines(path, lines):
    temp = "%s.%d.part" % (path, os.getpid())
    with open(temp, "w", encoding="ascii", newline="") as f:
        f.write(EOL.join(lines) + EOL)
    os.replace(temp, path)


def read_table(path):
    """DE405's constants (names, values in JPL's order), the layout and the record length
    from the casacore table."""
    t = open_table(path, "make_jpl_header.py")
    try:
        keywords = t.getkeywords()
        description = [int(v) for v in t.getcolkeywords("x")["Description"]]
    finally:
        t.close()
    names = [k for k in keywords if k not in TABLE_KEYWORDS_NOT_CONSTANTS]
    values = [float(keywords[k]) for k in names]
    if len(description) != 39:
        raise ValueError("the table's layout has %d numbers, expected 3 rows of 13" % len(description))
    layout = [tuple(description[row * 13 + column] for row in range(3)) for column in range(13)]
    return names, values, layout, float(keywords["dMJD"])


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("destdir")
    p.add_argument("--table", default=DEFAULT_TABLE)
    p.add_argument("--links", metavar="BLOCKDIR")
    args = p.parse_args()
    here = os.path.abspath(__file__)
    header = os.path.join(args.destdir, "header.405")
    blocks = []
    if args.links:
        source = os.path.abspath(args.links)
        blocks = sorted(n for n in os.listdir(source) if n.startswith("ascp") and n.endswith(".405"))
    if up_to_date([header] + [os.path.join(args.destdir, n) for n in blocks], [here, args.table]):
        return
    names, values, layout, days = read_table(args.table)
    constants = dict(zip(names, values))
    if constants.get("DENUM") != 405.0 or days != 32.0:
        sys.exit("make_jpl_header.py: %s is not DE405 with 32-day records" % args.table)
    ncoeff = layout_end(layout)
    os.makedirs(args.destdir, exist_ok=True)
    write_lines(header,
                header_lines(TITLE, (SPAN_START, SPAN_END, days), names, values, layout, ncoeff))
    for name in blocks:
        link = os.path.join(args.destdir, name)
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(os.path.join(source, name), link)


if __name__ == "__main__":
    main()
