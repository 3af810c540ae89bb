#!/usr/bin/env python3
"""Writes tests/data/topocentric_places.txt: topocentric places of Pluto, Mars and the Moon seen
from two MPC stations, computed with Skyfield (its own relativity, precession, nutation and
sidereal time, independent of ERFA) from JPL's DE405: an outside reference for the program's
rigorous topocentric places.

Usage: make_topocentric_places.py [--spk PATH] [--output PATH]

The SPK kernel (default build/de405/de405.bsp) is the one scripts/make_de405_spk.py writes
from the DE405 block files: segments 1..9 and 10 about the barycentre, 301 and 399 about the
Earth-Moon barycentre 3, so Skyfield chains the Earth as 0 -> 3 -> 399 and the Moon as
0 -> 3 -> 301; Mars and Pluto are their barycentres 4 and 9, as in the program.

Time: each epoch is a UTC date that is a whole number of microdays (the MPC line's
"YYYY MM DD.dddddd" holds it exactly); TT = UTC + (TAI - UTC) + 32.184 s from Skyfield's
leap-second table; the Earth's rotation is dated by UT1 = UTC (a timescale whose delta_t is
that epoch's TT - UTC), with no polar motion.  The sites are Skyfield ITRSPosition vectors
from the MPC parallax constants (km = constant x 6378.137).

The epochs come from a seeded generator and every value is printed with a fixed format, so a
re-run with the same library versions gives the same file.  Run with Debian's /usr/bin/python3
(python3-skyfield, python3-jplephem).
"""

import argparse
import math
import os
import random
import sys

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

EARTH_RADIUS_KM = 6378.137  # GRS80, the unit of the MPC's parallax constants
SEED = 20261209
PER_BODY = 60
FIRST_JD_UTC = 2447892.5    # 1990-01-01
LAST_JD_UTC = 2461406.5     # 2027-01-01
MICRODAYS = 1000000
MIN_ALTITUDE_DEG = 5.0      # observable: the body above the horizon

# Program body number, Skyfield target.
BODIES = [(9, 9), (4, 4), (11, "moon")]
# MPC code, east longitude (deg), rho cos phi', rho sin phi'.
STATIONS = [("007", 2.33675, 0.659470, +0.749223), ("568", 204.5278, 0.94171, +0.33725)]

HEADER = """\
# Topocentric places of Pluto, Mars and the Moon from JPL's DE405, made with Skyfield by
# scripts/make_topocentric_places.py: an outside reference for the rigorous topocentric places.
# Skyfield {skyfield}, jplephem {jplephem}, numpy {numpy}: Debian packages.
# Ephemeris: build/de405/de405.bsp (scripts/make_de405_spk.py, from DE405's block files);
#   Earth 0->3->399, Moon 0->3->301, Mars and Pluto their barycentres 4 and 9.
# Sites: MPC parallax constants, ITRS position = (rho cos phi' cos lon, rho cos phi' sin lon,
#   rho sin phi') x {radius} km; Skyfield ITRSPosition, velocity from its Earth rotation rate.
#   007 Paris: lon 2.33675, 0.659470, +0.749223; 568 Maunakea: lon 204.5278, 0.94171, +0.33725.
# Time: UTC a whole number of microdays between JD {first} and {last} (seed {seed});
#   TT = UTC + (TAI - UTC) + 32.184 s (Skyfield's leap seconds); Earth rotation with UT1 = UTC
#   (a timescale with delta_t = TT - UTC at the epoch), no polar motion; TDB Skyfield's.
# Epochs kept where the body stands at least {alt:.0f} deg above the site's horizon (alt_deg).
# Columns:
#   body: 4 Mars, 9 Pluto, 11 Moon;  station: MPC code;  date: the MPC line's UTC date
#   jd_utc jd_tt
#   astr_ra astr_dec: (earth + site).at(t).observe(body).radec(): astrometric topocentric
#     place, ICRS, light time iterated from the site
#   app_ra app_dec: .apparent() of it on ICRS axes (epoch=None): deflection by the Sun,
#     Jupiter, Saturn and (above the horizon) the Earth, aberration by the site's barycentric
#     velocity (annual + diurnal)
#   dist_km: topocentric distance of the astrometric place
#   alt_deg: the apparent place's altitude over the plane square to the site's geocentric radius
# Angles in degrees, RA in [0, 360).
# body station date jd_utc jd_tt astr_ra astr_dec app_ra app_dec dist_km alt_deg
"""


def log(*args):
    print(*args, file=sys.stderr, flush=True)


def site_km(lon_deg, rho_cos, rho_sin):
    lon = math.radians(lon_deg)
    return [rho_cos * EARTH_RADIUS_KM * math.cos(lon), rho_cos * EARTH_RADIUS_KM * math.sin(lon),
            rho_sin * EARTH_RADIUS_KM]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--spk", default=os.path.join(ROOT, "build", "de405", "de405.bsp"))
    parser.add_argument("--output", default=os.path.join(ROOT, "tests", "data", "topocentric_places.txt"))
    args = parser.parse_args()

    import jplephem
    import skyfield
    from skyfield.api import load
    from skyfield.jpllib import SpiceKernel
    from skyfield.toposlib import ITRSPosition
    from skyfield.units import Distance

    eph = SpiceKernel(args.spk)
    earth = eph["earth"]
    for name in ("earth", "moon", 4, 9, "sun", "jupiter barycenter", "saturn barycenter"):
        eph[name]  # every segment the places need is there (KeyError otherwise)

    utc_scale = load.timescale(builtin=True)
    rng = random.Random(SEED)
    first = int(FIRST_JD_UTC * MICRODAYS)
    last = int(LAST_JD_UTC * MICRODAYS)
    lines = []
    for body, target in BODIES:
        kept = 0
        while kept < PER_BODY:
            code, lon, rho_cos, rho_sin = STATIONS[kept % len(STATIONS)]
            micro = rng.randrange(first, last)
            day_start = (micro - int(0.5 * MICRODAYS)) // MICRODAYS  # whole days since JD 0.5
            fraction = micro - int(0.5 * MICRODAYS) - day_start * MICRODAYS
            jd0 = day_start + 0.5  # 0 h UTC
            t0 = utc_scale.ut1_jd(jd0 + 0.25)  # only for the calendar date
            year, month, day = (int(x) for x in t0.ut1_calendar()[:3])
            t_utc = utc_scale.utc(year, month, day, 0, 0, fraction * 0.0864)
            tt_minus_utc = round((t_utc.tai - jd0 - fraction / MICRODAYS) * 86400.0) + 32.184
            ts = load.timescale(delta_t=tt_minus_utc)
            t = ts.tt_jd(t_utc.whole, t_utc.tt_fraction)
            site = ITRSPosition(Distance(km=site_km(lon, rho_cos, rho_sin)))
            astrometric = (earth + site).at(t).observe(eph[target])
            apparent = astrometric.apparent()
            # Altitude over the plane square to the site's geocentric radius.
            up = site.at(t).position.au
            p = apparent.position.au
            alt = 90.0 - math.degrees(math.acos(np.dot(up, p) / np.linalg.norm(up) / np.linalg.norm(p)))
            if alt < MIN_ALTITUDE_DEG:
                continue
            ra, dec, dist = astrometric.radec()
            ara, adec, _ = apparent.radec()
            date = "%04d %02d %02d.%06d" % (year, month, day, fraction)
            jd_utc = jd0 + fraction / MICRODAYS
            jd_tt = t.whole + t.tt_fraction
            lines.append("%2d %s %s %.8f %.10f %.10f %.10f %.10f %.10f %.6f %.3f" % (
                body, code, date, jd_utc, jd_tt, ra._degrees % 360.0, dec.degrees, ara._degrees % 360.0,
                adec.degrees, dist.km, alt))
            kept += 1
    log("%d cases" % len(lines))

    header = HEADER.format(skyfield=skyfield.__version__, jplephem=jplephem.__version__,
                           numpy=np.__version__, radius=EARTH_RADIUS_KM, first=FIRST_JD_UTC,
                           last=LAST_JD_UTC, seed=SEED, alt=MIN_ALTITUDE_DEG)
    tmp = args.output + ".tmp"
    with open(tmp, "w", encoding="ascii", newline="\n") as f:
        f.write(header)
        f.write("\n".join(lines) + "\n")
    os.replace(tmp, args.output)


if __name__ == "__main__":
    main()
