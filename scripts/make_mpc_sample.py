#!/usr/bin/env python3
"""Writes sample/FileMPC/PARI11_1.txt: the observations of the Dov sample
(sample/FileDov/PARI11_G_1.txt) in the Minor Planet Center's 80-column optical format,
for window 1's "File MPC" import.

The Dov sample's damaged lines are left out.  The places are the Dov file's as they stand (geocentric apparent places of date, not the
J2000 places an MPC file normally holds): the file checks the import, it is no catalogue.
Columns (MPC "Format for optical astrometric observations"): 1-12 designation, 15 the
kind of observation, 16-32 date of UTC "YYYY MM DD.dddddd", 33-44 right ascension
"HH MM SS.sss", 45-56 declination "sDD MM SS.ss", 66-71 magnitude and band, 78-80 the
observatory code (007, Paris).  Lines end with CR LF.

Usage: make_mpc_sample.py [REPO]"""
import os
import sys


def mpc_line(fields):
    year, month, day, hh, mi, ss, rah, ram, ras, decd, decm, decs = fields
    fraction = (int(hh) * 3600 + int(mi) * 60 + float(ss)) / 86400
    date = "%4d %02d %09.6f" % (int(year), int(month), int(day) + fraction)
    ra = "%02d %02d %06.3f" % (int(rah), int(ram), float(ras))
    sign = "-" if decd.startswith("-") else "+"
    dec = "%s%02d %02d %05.2f" % (sign, abs(int(decd)), int(decm), float(decs))
    line = "Moon".ljust(12) + "  C" + date + ra + dec + " " * 9 + " " * 6 + " " * 6 + "007"
    assert len(line) == 80, line
    return line


def main(repo):
    source = os.path.join(repo, "sample", "FileDov", "PARI11_G_1.txt")
    with open(source, encoding="cp1251", newline="") as f:
        lines = f.read().split("\r\n")[2:]
    out = []
    for line in lines:
        try:
            out.append(mpc_line(line.split()))
        except (ValueError, AssertionError):
            pass  # the Dov sample's deliberately damaged lines

    target = os.path.join(repo, "sample", "FileMPC", "PARI11_1.txt")
    with open(target, "w", encoding="ascii", newline="") as f:
        f.write("\r\n".join(out) + "\r\n")
    print("wrote %s: %d observations" % (target, len(out)))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
