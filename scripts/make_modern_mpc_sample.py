#!/usr/bin/env python3
"""Writes the modern MPC sample: sample/FileMPC/PARI11_2.txt (the Moon) and PARI4_2.txt (Mars),
observations of 2021-2025 from two stations in the Minor Planet Center's 80-column layout, and
their exact values in tests/data/truth/PARI11_2.mpc.csv and PARI4_2.mpc.csv; and
sample/FileMPC/PARI11_3.txt, the Moon's file with four planted outliers (OUTLIERS: the
observations 11, 41, 71 and 101 moved by 2" in declination, 20 times the noise) for the
k-sigma rejection.

Every observation is the astrometric topocentric place (ICRS, light time only, as positions
measured against catalogue stars are) of the body seen from the station of its line, computed
with Skyfield from JPL's DE405 (build/de405/de405.bsp, scripts/make_de405_spk.py), plus
Gaussian noise of SIGMA_ARCSEC in declination and SIGMA_ARCSEC / cos(dec) in right
ascension, rounded to the layout's 0.001 s and 0.01".  Times are UTC, whole microdays (the
line's "YYYY MM DD.dddddd" holds them exactly); TT = UTC + (TAI - UTC) + 32.184 s; the Earth's
rotation is dated by UT1 = UTC, without polar motion; each night the body stands at least
MIN_ALTITUDE_DEG above the horizon with the Sun below -12 deg.  The stations are given by
their MPC parallax constants: 007 Paris and 568 Maunakea.

Usage: make_modern_mpc_sample.py [--spk PATH] [REPO]
Run with Debian's /usr/bin/python3 (python3-skyfield, python3-jplephem).
"""

import argparse
import math
import os
import random

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

EARTH_RADIUS_KM = 6378.137
SEED = 20211225
PER_BODY = 120
SIGMA_ARCSEC = 0.1
MIN_ALTITUDE_DEG = 15.0
MAX_SUN_ALTITUDE_DEG = -12.0
FIRST_JD_UTC = 2459215.5    # 2021-01-01
LAST_JD_UTC = 2460676.5     # 2026-01-01
MICRODAYS = 1000000
# MPC code, east longitude (deg), rho cos phi', rho sin phi' (ObsCodes.html).
STATIONS = [("007", 2.33675, 0.659470, +0.749223), ("568", 204.5278, 0.94171, +0.33725)]
# Planted outliers of PARI11_3.txt: observation number (from 1) and declination offset, arcsec.
OUTLIERS = {11: 2.0, 41: -2.0, 71: 2.0, 101: -2.0}
# Program body number, Skyfield target, designation of the line.
BODIES = [(11, "moon", "Moon"), (4, 4, "Mars")]


def site_km(lon_deg, rho_cos, rho_sin):
    lon = math.radians(lon_deg)
    return [rho_cos * EARTH_RADIUS_KM * math.cos(lon), rho_cos * EARTH_RADIUS_KM * math.sin(lon),
            rho_sin * EARTH_RADIUS_KM]


def altitude(site_au, p_au):
    return 90.0 - math.degrees(math.acos(np.dot(site_au, p_au) / np.linalg.norm(site_au) / np.linalg.norm(p_au)))


def sexagesimal(value, places):
    """Whole units, minutes and seconds rounded to `places` decimals, carried upwards."""
    scale = 10 ** places
    total = round(value * 3600 * scale)
    units, rest = divmod(total, 3600 * scale)
    minutes, seconds = divmod(rest, 60 * scale)
    return units, minutes, seconds / scale, total / scale / 3600


def mpc_line(designation, date, ra_deg, dec_deg, code):
    h, m, s, ra_rounded = sexagesimal(ra_deg / 15, 3)
    sign = "-" if dec_deg < 0 else "+"
    d, dm, ds, dec_rounded = sexagesimal(abs(dec_deg), 2)
    ra = "%02d %02d %06.3f" % (h, m, s)
    dec = "%s%02d %02d %05.2f" % (sign, d, dm, ds)
    line = designation.ljust(12) + "  C" + date + ra + dec + " " * 21 + code
    assert len(line) == 80, line
    return line, ra_rounded * 15, (-1 if sign == "-" else 1) * dec_rounded


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--spk", default=os.path.join(ROOT, "build", "de405", "de405.bsp"))
    parser.add_argument("repo", nargs="?", default=ROOT)
    args = parser.parse_args()

    from skyfield.api import load
    from skyfield.jpllib import SpiceKernel
    from skyfield.toposlib import ITRSPosition
    from skyfield.units import Distance

    eph = SpiceKernel(args.spk)
    earth, sun = eph["earth"], eph["sun"]
    utc_scale = load.timescale(builtin=True)
    rng = random.Random(SEED)
    first, last = int(FIRST_JD_UTC * MICRODAYS), int(LAST_JD_UTC * MICRODAYS)
    for body, target, designation in BODIES:
        rows = []
        while len(rows) < PER_BODY:
            code, lon, rho_cos, rho_sin = rng.choice(STATIONS)
            micro = rng.randrange(first, last)
            day_start = (micro - MICRODAYS // 2) // MICRODAYS
            fraction = micro - MICRODAYS // 2 - day_start * MICRODAYS
            jd0 = day_start + 0.5
            year, month, day = (int(x) for x in utc_scale.ut1_jd(jd0 + 0.25).ut1_calendar()[:3])
            t_utc = utc_scale.utc(year, month, day, 0, 0, fraction * 0.0864)
            tt_minus_utc = round((t_utc.tai - jd0 - fraction / MICRODAYS) * 86400.0) + 32.184
            t = load.timescale(delta_t=tt_minus_utc).tt_jd(t_utc.whole, t_utc.tt_fraction)
            site = ITRSPosition(Distance(km=site_km(lon, rho_cos, rho_sin)))
            observer = (earth + site).at(t)
            up = site.at(t).position.au
            astrometric = observer.observe(eph[target])
            if altitude(up, astrometric.apparent().position.au) < MIN_ALTITUDE_DEG:
                continue
            if altitude(up, observer.observe(sun).apparent().position.au) > MAX_SUN_ALTITUDE_DEG:
                continue
            ra, dec, _ = astrometric.radec()
            ra_deg, dec_deg = ra._degrees % 360.0, dec.degrees
            noise_dec = rng.gauss(0, SIGMA_ARCSEC)
            noise_ra = rng.gauss(0, SIGMA_ARCSEC) / math.cos(math.radians(dec_deg))
            date = "%04d %02d %02d.%06d" % (year, month, day, fraction)
            line, ra_written, dec_written = mpc_line(designation, date, ra_deg + noise_ra / 3600,
                                                     dec_deg + noise_dec / 3600, code)
            rows.append((jd0 + fraction / MICRODAYS, line, date, code, t.whole + t.tt_fraction, ra_deg, dec_deg,
                         ra_written, dec_written))
        rows.sort()
        stem = "PARI%d_2" % body
        with open(os.path.join(args.repo, "sample", "FileMPC", stem + ".txt"), "w", encoding="ascii", newline="") as f:
            f.write("".join(r[1] + "\r\n" for r in rows))
        if body == 11:
            with open(os.path.join(args.repo, "sample", "FileMPC", "PARI11_3.txt"), "w", encoding="ascii",
                      newline="") as f:
                for number, r in enumerate(rows, 1):
                    line = r[1]
                    if number in OUTLIERS:
                        line = mpc_line(designation, r[2], r[7], r[8] + OUTLIERS[number] / 3600, r[3])[0]
                    f.write(line + "\r\n")
        truth = os.path.join(args.repo, "tests", "data", "truth", stem + ".mpc.csv")
        with open(truth, "w", encoding="ascii", newline="\n") as f:
            f.write("# %s: exact astrometric topocentric places behind sample/FileMPC/%s.txt "
                    "(scripts/make_modern_mpc_sample.py), degrees, ICRS\n" % (designation, stem))
            f.write("date_utc,station,jd_utc,jd_tt,ra_exact,dec_exact,ra_written,dec_written\n")
            for jd, _, date, code, jd_tt, ra, dec, raw, decw in rows:
                f.write("%s,%s,%.6f,%.10f,%.10f,%.10f,%.10f,%.10f\n" % (date, code, jd, jd_tt, ra, dec, raw, decw))
        print("wrote %s.txt: %d observations" % (stem, len(rows)))


if __name__ == "__main__":
    main()
