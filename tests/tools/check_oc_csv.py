#!/usr/bin/env python3
"""Reads a comparison's CSV file with Python's csv module and checks it against the
Param_data_ file of the same run: the same records, the same dates and the same O-C (the
Param_data_ file holds them in thousandths of arcseconds and seconds, truncated).

With the Stat file of the run as a third argument, the CSV's interval numbers must count
as the Stat file's intervals do, and a coordinate the record does not hold (a zero in
Param_data_... is no proof, so only the counts are compared) has an empty interval.

Usage: check_oc_csv.py PARAM_DATA.txt PARAM_DATA.csv [STAT.txt]
Exit status 0 when they agree; the first difference is printed otherwise."""
import csv
import sys


def main(param_path, csv_path, stat_path=None):
    with open(param_path, encoding="cp1251", newline="") as f:
        param = [line.split() for line in f.read().split("\r\n")[4:] if line.strip()]
    with open(csv_path, encoding="utf-8", newline="") as f:
        rows = list(csv.DictReader(f))
    if len(rows) != len(param) or not rows:
        sys.exit("%d CSV rows, %d Param_data_ records" % (len(rows), len(param)))
    for row, rec in zip(rows, param):
        number, _, _, year, jd, ra, dec, time = (float(x) for x in rec)
        # An empty O-C cell is a coordinate the record does not hold.
        value = lambda name: float(row[name]) * 1000 if row[name] != "" else None
        checks = [("record", int(row["record"]), number, 0), ("year", int(row["date_utc"][:4]) * 1000, year, 0),
                  ("jd", float(row["jd"]) * 1000, jd, 1), ("oc_ra", value("oc_ra_arcsec"), ra, 1),
                  ("oc_dec", value("oc_dec_arcsec"), dec, 1), ("oc_time", value("oc_time_s"), time, 1)]
        for name, value, expected, slack in checks:
            if value is not None and abs(value - expected) > slack:
                sys.exit("record %s: %s %r in the CSV, %r in Param_data_" % (row["record"], name, value, expected))
    if stat_path:
        with open(stat_path, encoding="cp1251", newline="") as f:
            lines = f.read().split("\r\n")
        first = next(k for k, line in enumerate(lines) if line.startswith("00..."))
        stat = {}
        for k, line in enumerate(lines[first:first + 19]):
            fields = line.split()
            stat[("ra", k + 1)], stat[("dec", k + 21)] = int(fields[1]), int(fields[3])
        counted = {key: 0 for key in stat}
        for row in rows:
            for name, column in (("ra", "interval_ra"), ("dec", "interval_dec")):
                if row[column] != "":
                    counted[(name, int(row[column]))] += 1
        for key in sorted(stat):
            if counted[key] != stat[key]:
                sys.exit("interval %s %d: %d records in the CSV, %d in Stat" % (key[0], key[1], counted[key], stat[key]))
    print("%d records agree" % len(rows))


if __name__ == "__main__":
    main(*sys.argv[1:4])
