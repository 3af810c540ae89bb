#!/usr/bin/env python3
"""Reads a comparison's CSV file with Python's csv module and checks it against the
Param_data_ file of the same run: the same records, the same dates and the same O-C (the
Param_data_ file holds them in thousandths of arcseconds and seconds, truncated).

Usage: check_oc_csv.py PARAM_DATA.txt PARAM_DATA.csv
Exit status 0 when they agree; the first difference is printed otherwise."""
import csv
import sys


def main(param_path, csv_path):
    with open(param_path, encoding="cp1251", newline="") as f:
        param = [line.split() for line in f.read().split("\r\n")[4:] if line.strip()]
    with open(csv_path, encoding="utf-8", newline="") as f:
        rows = list(csv.DictReader(f))
    if len(rows) != len(param) or not rows:
        sys.exit("%d CSV rows, %d Param_data_ records" % (len(rows), len(param)))
    for row, rec in zip(rows, param):
        number, _, _, year, jd, ra, dec, time = (float(x) for x in rec)
        checks = [("record", int(row["record"]), number, 0), ("year", int(row["date_utc"][:4]) * 1000, year, 0),
                  ("jd", float(row["jd"]) * 1000, jd, 1), ("oc_ra", float(row["oc_ra_arcsec"]) * 1000, ra, 1),
                  ("oc_dec", float(row["oc_dec_arcsec"]) * 1000, dec, 1),
                  ("oc_time", float(row["oc_time_s"]) * 1000, time, 1)]
        for name, value, expected, slack in checks:
            if abs(value - expected) > slack:
                sys.exit("record %s: %s %r in the CSV, %r in Param_data_" % (row["record"], name, value, expected))
    print("%d records agree" % len(rows))


if __name__ == "__main__":
    main(*sys.argv[1:3])
