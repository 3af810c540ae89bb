#!/usr/bin/env python3
"""Writes the modern Moon sample in ADES: sample/FileADES/PARI11_2.psv and PARI11_2.xml, the
same observations as sample/FileMPC/PARI11_2.txt (scripts/make_modern_mpc_sample.py) in the
Minor Planet Center's Astrometry Data Exchange Standard, version 2017.

The values are those the MPC lines hold, taken from tests/data/truth/PARI11_2.mpc.csv: the
time of each line (whole microdays of UTC, which ADES's obsTime writes exactly to 0.1 ms) and
its written place (ra_written, dec_written: the sexagesimal texts of the line in degrees, to
1e-10 degree).  ADES carries them with more digits than the 80 columns, so that an import of
either file gives the MPC import's records to the last digit those lines hold.  rmsRA (of RA
times cos(dec)) and rmsDec are 0.1", the sample's noise.  Both files hold the records in the
order of the MPC file; the PSV names each record's station, the XML gives the block's station
(568) in its obsContext and names the station of each record too.

Usage: make_ades_sample.py [REPO]
"""

import csv
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SIGMA_ARCSEC = "0.1"
FIELDS = ["trkSub", "mode", "stn", "obsTime", "ra", "dec", "rmsRA", "rmsDec", "astCat"]


def obs_time(date_utc):
    """'2021 01 01.344586' -> '2021-01-01T08:16:12.2304Z' (a microday is 0.0864 s)."""
    year, month, day = date_utc.split()
    whole, fraction = day.split(".")
    microdays = int(fraction.ljust(6, "0")[:6])
    tenths_of_ms = microdays * 864  # units of 0.1 ms
    seconds, tenths = divmod(tenths_of_ms, 10000)
    hours, rest = divmod(seconds, 3600)
    minutes, seconds = divmod(rest, 60)
    return "%s-%s-%02dT%02d:%02d:%02d.%04dZ" % (year, month, int(whole), hours, minutes, seconds, tenths)


def records(repo):
    with open(os.path.join(repo, "tests", "data", "truth", "PARI11_2.mpc.csv"), newline="") as f:
        rows = [line for line in f if not line.startswith("#")]
    for row in csv.DictReader(rows):
        yield {"trkSub": "Moon", "mode": "CCD", "stn": row["station"], "obsTime": obs_time(row["date_utc"]),
               "ra": row["ra_written"], "dec": row["dec_written"], "rmsRA": SIGMA_ARCSEC,
               "rmsDec": SIGMA_ARCSEC, "astCat": "Gaia2"}


def write(path, text):
    tmp = path + ".tmp"
    with open(tmp, "w", newline="\n") as f:
        f.write(text)
    os.replace(tmp, path)


def main():
    repo = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(HERE)
    rows = list(records(repo))
    width = {k: max(len(k), *(len(r[k]) for r in rows)) for k in FIELDS}
    psv = ["# version=2017", "# observatory", "! name Planova3 sample: Paris (007) and Maunakea (568)",
           "# submitter", "! name Planova3",
           "|".join(k.ljust(width[k]) for k in FIELDS)]
    psv += ["|".join(r[k].ljust(width[k]) for k in FIELDS) for r in rows]
    out = os.path.join(repo, "sample", "FileADES")
    os.makedirs(out, exist_ok=True)
    write(os.path.join(out, "PARI11_2.psv"), "\n".join(psv) + "\n")

    xml = ['<?xml version="1.0" encoding="UTF-8"?>', '<ades version="2017">', "  <obsBlock>",
           "    <obsContext>", "      <observatory><mpcCode>568</mpcCode></observatory>",
           "      <submitter><name>Planova3</name></submitter>", "    </obsContext>", "    <obsData>"]
    for r in rows:
        xml.append("      <optical>" + "".join("<%s>%s</%s>" % (k, r[k], k) for k in FIELDS) + "</optical>")
    xml += ["    </obsData>", "  </obsBlock>", "</ades>"]
    write(os.path.join(out, "PARI11_2.xml"), "\n".join(xml) + "\n")


if __name__ == "__main__":
    main()
