#!/usr/bin/env python3
"""Writes tests/data/precise_places.txt: geocentric places of the Sun, Moon and planets computed
with astropy (IAU 2006/2000A) from JPL's DE405, an outside reference for the program's rigorous
apparent places.

Usage: make_precise_places.py [--blocks DIR] [--spk PATH] [--output PATH] [--testpo PATH]

Steps:
1. Read JPL's DE405 ASCII block files ascp1960.405, ascp1980.405, ascp2000.405 (--blocks DIR;
   without it they are made in a temporary folder by scripts/install_de405.sh from Debian's
   casacore-data-jpl-de405).
2. Write their Chebyshev coefficients into a binary SPK file (DAF, type-2 segments) with the
   segments astropy's get_body_barycentric uses, and check that file against JPL's test
   positions (tests/data/testpo-1960-1987.405) and against a direct evaluation of the block files.
3. With astropy (no network, no IERS download, its cache in a temporary folder) compute for each
   case the GCRS place (get_body), the apparent place on the true equator and equinox of date
   (astropy's TETE frame), the astrometric geocentric place and the elongation from the Sun.
4. Write the fixture: one line per case,
   body jd_tt gcrs_ra gcrs_dec tete_ra tete_dec astr_ra astr_dec dist_au elong_deg.

The epochs are fixed by a seeded generator and every value is printed with a fixed format, so a
re-run with the same library versions gives the same file.  Run with Debian's /usr/bin/python3
(python3-astropy, python3-jplephem, python3-erfa).
"""

import argparse
import os
import struct
import subprocess
import sys
import tempfile
import warnings

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

AU_KM = 149597870.691       # DE405's astronomical unit
EMRAT = 81.30056            # DE405's Earth/Moon mass ratio
J2000 = 2451545.0
DAY_S = 86400.0
RECORD_VALUES = 1020        # 340 lines of three per record; 1018 of them are used
BLOCK_FILES = ("ascp1960.405", "ascp1980.405", "ascp2000.405")

# DE405 record layout: body -> (1-based offset of its first coefficient, coefficients per
# coordinate, sub-intervals per 32-day record).  Planets, Sun and Earth-Moon barycentre are
# barycentric, the Moon geocentric; km, ICRF axes.
LAYOUT = {
    "mercury": (3, 14, 4), "venus": (171, 10, 2), "emb": (231, 13, 2), "mars": (309, 11, 1),
    "jupiter": (342, 8, 1), "saturn": (366, 7, 1), "uranus": (387, 6, 1),
    "neptune": (405, 6, 1), "pluto": (423, 6, 1), "moon_geo": (441, 13, 8),
    "sun": (753, 11, 2),
}

# Epochs of the fixture: TT Julian dates, multiples of 1/1024 day (held exactly by a double).
FIRST_JD = 2436938.5        # 1960-01-05
LAST_JD = 2458837.5         # 2019-12-20
JD_STEP = 1.0 / 1024.0
RANDOM_PER_BODY = 300
CLOSE_PER_BODY = 20
CLOSE_MIN_DEG = 0.3         # just outside the solar disc
CLOSE_MAX_DEG = 5.0
SEED = 20240405

# The program's body numbers and astropy's names (3, the Earth-Moon barycentre, is no target).
BODIES = [(0, "sun"), (1, "mercury"), (2, "venus"), (4, "mars"), (5, "jupiter"),
          (6, "saturn"), (7, "uranus"), (8, "neptune"), (9, "pluto"), (11, "moon")]
CLOSE_BODIES = ("mercury", "venus", "mars", "moon")

# Checks of the SPK file.
TESTPO_POSITION_TOL_AU = 1e-12
TESTPO_VELOCITY_TOL_AU_D = 1e-12
BLOCK_POSITION_TOL_KM = 1e-5   # 1 cm: rounding of 1e-16 on Pluto's 6e9 km is 1e-6 km
TETE_MATRIX_TOL_DEG = 1e-11


HEADER = """
# Geocentric places of the Sun, Moon and planets from JPL's DE405, made with astropy
# (IAU 2006/2000A) by scripts/make_precise_places.py: an outside reference for the apparent places.
# astropy {astropy}, ERFA {erfa} (pyerfa {pyerfa}), jplephem {jplephem}, numpy {numpy}: Debian packages.
# Ephemeris: an SPK file (type-2 segments) written from the ASCII block files ascp1960.405,
#   ascp1980.405, ascp2000.405 that scripts/install_de405.sh makes from Debian's
#   casacore-data-jpl-de405; it gives JPL's test positions to {testpo:.1e} AU and the block files
#   to {blocks:.1e} km.  Earth = EMB - Moon/(1 + EMRAT), EMRAT = {emrat:.5f}.  It is astropy's
#   solar_system_ephemeris, so it also gives the Earth's position and velocity for the GCRS.
# Time: jd_tt is a TT Julian date, a multiple of 1/1024 day; astropy's TT->TDB is erfa.dtdb at
#   the geocentre.
# Observer: the geocentre.  Angles in degrees, RA in [0, 360).
# Columns:
#   body: 0 Sun, 1 Mercury, 2 Venus, 4 Mars, 5 Jupiter, 6 Saturn, 7 Uranus, 8 Neptune, 9 Pluto,
#     11 Moon
#   jd_tt
#   gcrs_ra gcrs_dec: astropy get_body() (GCRS, ICRF axes): light time iterated, deflection by
#     the Sun in the finite-distance form (erfa.ld, source direction seen from the Sun at the
#     observation time), relativistic aberration (erfa.ab)
#   tete_ra tete_dec: that coordinate transformed to astropy's TETE frame at the same time:
#     apparent place on the true equator and equinox of date, rotation erfa.pnm06a(TT)
#     (IAU 2006/2000A); equal to that rotation applied to the GCRS vector within {tete:.0e} deg
#   astr_ra astr_dec: astrometric geocentric place (ICRF axes): the light-time corrected
#     barycentric position of the body (astropy _get_apparent_body_position) minus the Earth's
#     at the observation time
#   dist_au: length of that vector in DE405's AU ({au:.3f} km)
#   elong_deg: angle between the GCRS places of the body and of the Sun (0 for the Sun)
# Epochs: {random} random per body over JD {first:.1f} to {last:.1f} (seed {seed}), plus {close} near
#   conjunction with the Sun (elongation {close_min:.1f} to {close_max:.1f} deg) for Mercury, Venus (half at
#   inferior, half at superior conjunction), Mars and the Moon.
# Sun (body 0): astropy's get_body() would deflect the Sun's own light, with the direction from
#   the Sun at t to the Sun at t - tau as source direction (a few mas, up to 0.8 arcsec); the
#   Sun's GCRS place here is its astrometric direction through astropy's ICRS -> GCRS as a
#   direction (no distance), which is the astrometric place plus aberration within
#   {sun_max:.3f} mas (median {sun_median:.3f} mas); the elongations use that place.
# body jd_tt gcrs_ra gcrs_dec tete_ra tete_dec astr_ra astr_dec dist_au elong_deg
"""


def log(*args):
    print(*args, file=sys.stderr, flush=True)


# ---------------------------------------------------------------------------------------------
# DE405 block files


def read_block_file(path):
    """Records of one ASCII block file as an (n, 1020) array, in file order."""
    with open(path, "r", encoding="ascii") as f:
        tokens = f.read().replace("D", "E").split()
    records = []
    i = 0
    while i < len(tokens):
        number, ncoeff = int(tokens[i]), int(tokens[i + 1])
        if ncoeff != 1018 or number != len(records) + 1:
            raise ValueError("%s: bad record header %s %s" % (path, tokens[i], tokens[i + 1]))
        values = np.array(tokens[i + 2:i + 2 + RECORD_VALUES], dtype=float)
        if values.size != RECORD_VALUES:
            raise ValueError("%s: record %d is cut short" % (path, number))
        records.append(values)
        i += 2 + RECORD_VALUES
    return np.array(records)


def read_blocks(paths):
    """Every record of the block files once, contiguous 32-day spans in time order; a record
    repeated at the junction of two files must be identical."""
    by_start = {}
    for path in paths:
        for rec in read_block_file(path):
            start = rec[0]
            if start in by_start:
                if not np.array_equal(by_start[start], rec):
                    raise SystemExit("record starting at JD %.1f differs between files" % start)
                continue
            by_start[start] = rec
    records = np.array([by_start[k] for k in sorted(by_start)])
    if not np.all(records[:, 1] - records[:, 0] == 32.0) or \
            not np.all(records[1:, 0] == records[:-1, 1]):
        raise SystemExit("the block files' records are not contiguous 32-day spans")
    return records


def block_coefficients(records, body, scale=1.0):
    """Chebyshev coefficients of one body, (n_records * sub-intervals, 3, ncoef), in time order."""
    offset, ncoef, nsub = LAYOUT[body]
    n = records.shape[0]
    c = records[:, offset - 1:offset - 1 + 3 * ncoef * nsub]
    return c.reshape(n * nsub, 3, ncoef) * scale


def block_position(records, body, jd_tdb):
    """Position (km) by direct Chebyshev evaluation of the block records, shape (3, n)."""
    offset, ncoef, nsub = LAYOUT[body]
    jd_tdb = np.atleast_1d(np.asarray(jd_tdb, dtype=float))
    start = records[0, 0]
    irec = np.floor((jd_tdb - start) / 32.0).astype(int)
    irec = np.clip(irec, 0, records.shape[0] - 1)
    t = (jd_tdb - records[irec, 0]) / 32.0 * nsub          # sub-interval units within the record
    isub = np.clip(np.floor(t).astype(int), 0, nsub - 1)
    tau = 2.0 * (t - isub) - 1.0
    coef = block_coefficients(records, body)[irec * nsub + isub]   # (n, 3, ncoef)
    # T_k(tau) by the recurrence.
    cheb = np.empty((jd_tdb.size, ncoef))
    cheb[:, 0] = 1.0
    cheb[:, 1] = tau
    for k in range(2, ncoef):
        cheb[:, k] = 2.0 * tau * cheb[:, k - 1] - cheb[:, k - 2]
    return np.einsum("nck,nk->cn", coef, cheb)


def block_barycentric(records, target, jd_tdb):
    """Barycentric position (km) of a testpo target number from the block records."""
    moon = None
    if target in (3, 10):
        moon = block_position(records, "moon_geo", jd_tdb)
    emb = block_position(records, "emb", jd_tdb) if target in (3, 10, 13) else None
    names = {1: "mercury", 2: "venus", 4: "mars", 5: "jupiter", 6: "saturn", 7: "uranus",
             8: "neptune", 9: "pluto", 11: "sun"}
    if target in names:
        return block_position(records, names[target], jd_tdb)
    if target == 3:
        return emb - moon / (1.0 + EMRAT)
    if target == 10:
        return emb + moon * (EMRAT / (1.0 + EMRAT))
    if target == 13:
        return emb
    if target == 12:
        return np.zeros((3, np.size(jd_tdb)))
    raise ValueError("no position for target %d" % target)


# ---------------------------------------------------------------------------------------------
# SPK (DAF) writer


def type2_segment(records, body, scale=1.0):
    """The array of an SPK type-2 segment: per sub-interval MID, RADIUS (TDB seconds past J2000),
    X, Y, Z coefficients (km); then INIT, INTLEN, RSIZE, N.  Returns (array, init, end)."""
    offset, ncoef, nsub = LAYOUT[body]
    coef = block_coefficients(records, body, scale)
    n = coef.shape[0]
    intlen = 32.0 * DAY_S / nsub
    init = (records[0, 0] - J2000) * DAY_S
    mids = init + intlen * (np.arange(n) + 0.5)
    rows = np.empty((n, 2 + 3 * ncoef))
    rows[:, 0] = mids
    rows[:, 1] = intlen / 2.0
    rows[:, 2:] = coef.reshape(n, 3 * ncoef)
    array = np.concatenate([rows.ravel(), [init, intlen, 2 + 3 * ncoef, n]])
    return array, init, init + n * intlen


def zero_segment(init, end):
    """A type-2 segment of one record with a zero constant: a body at its system's centre."""
    rows = [(init + end) / 2.0, (end - init) / 2.0, 0.0, 0.0, 0.0]
    return np.array(rows + [init, end - init, 5, 1]), init, end


def write_spk(records, path):
    """Writes a little-endian DAF/SPK file with the segments astropy's get_body_barycentric reads
    (its BODY_NAME_TO_KERNEL_SPEC): 0->10, 0->1..9, 1->199, 2->299, 3->301, 3->399."""
    from jplephem.daf import DAF, FTPSTR

    segments = [(10, 0, "DE405 SUN", type2_segment(records, "sun"))]
    for number, name in [(1, "mercury"), (2, "venus"), (3, "emb"), (4, "mars"), (5, "jupiter"),
                         (6, "saturn"), (7, "uranus"), (8, "neptune"), (9, "pluto")]:
        segments.append((number, 0, "DE405 " + name.upper() + " BARYCENTER",
                         type2_segment(records, name)))
    first, last = segments[0][3][1], segments[0][3][2]
    segments.append((199, 1, "MERCURY AT ITS BARYCENTER", zero_segment(first, last)))
    segments.append((299, 2, "VENUS AT ITS BARYCENTER", zero_segment(first, last)))
    # Moon and Earth relative to the Earth-Moon barycentre from the geocentric Moon: the
    # Chebyshev series scale linearly.
    segments.append((301, 3, "DE405 MOON",
                     type2_segment(records, "moon_geo", EMRAT / (1.0 + EMRAT))))
    segments.append((399, 3, "DE405 EARTH",
                     type2_segment(records, "moon_geo", -1.0 / (1.0 + EMRAT))))

    # File record: ND=2, NI=6, first and last summary record 2, first free word after the
    # summary and name records 2 and 3.
    file_record = struct.pack(
        "<8sII60sIII8s603s28s297s", b"DAF/SPK ", 2, 6,
        b"DE405 from Debian casacore-data-jpl-de405 block files".ljust(60), 2, 2,
        3 * 128 + 1, b"LTL-IEEE", b"\0" * 603, FTPSTR, b"\0" * 297)
    assert len(file_record) == 1024
    with open(path, "w+b") as f:
        f.write(file_record)
        f.write(b"\0" * 1024)   # summary record: next 0, previous 0, count 0
        f.write(b" " * 1024)    # name record
        daf = DAF(f)
        for target, center, name, (array, init, end) in segments:
            # Summary: start, end (TDB s), target, center, frame 1 (J2000), type 2.
            daf.add_array(name.encode("ascii"), (init, end, target, center, 1, 2), array)
        # Pad the last record to a whole kilobyte.
        f.seek(0, os.SEEK_END)
        size = f.tell()
        if size % 1024:
            f.write(b"\0" * (1024 - size % 1024))


def spk_barycentric(kernel, target, jd):
    """Barycentric position (km) and velocity (km/day) of a testpo target from the SPK file.

    The date goes to jplephem as whole day plus fraction, as astropy passes it: jplephem's
    offset from the segment start in seconds (about 1e9) would otherwise lose 1e-7 s."""
    jd = np.atleast_1d(np.asarray(jd, dtype=float))
    jd1 = np.floor(jd)
    jd2 = jd - jd1
    chains = {1: [(0, 1), (1, 199)], 2: [(0, 2), (2, 299)], 3: [(0, 3), (3, 399)],
              4: [(0, 4)], 5: [(0, 5)], 6: [(0, 6)], 7: [(0, 7)], 8: [(0, 8)], 9: [(0, 9)],
              10: [(0, 3), (3, 301)], 11: [(0, 10)], 12: [], 13: [(0, 3)]}
    n = jd.size
    p = np.zeros((3, n))
    v = np.zeros((3, n))
    for pair in chains[target]:
        pos, vel = kernel[pair].compute_and_differentiate(jd1, jd2)
        p += pos
        v += vel
    return p, v


def check_spk(records, spk_path, testpo_path):
    """Compares the SPK file with JPL's test positions and with the block files; returns the
    worst differences and stops when they are beyond the tolerances."""
    from jplephem.spk import SPK

    kernel = SPK.open(spk_path)
    try:
        # JPL's test positions: 405 date JED target center coordinate value.
        rows = []
        with open(testpo_path, "r", encoding="ascii") as f:
            for line in f:
                parts = line.split()
                if len(parts) == 7 and parts[0] == "405":
                    jed, t, c, x = float(parts[2]), int(parts[3]), int(parts[4]), int(parts[5])
                    if t <= 13 and c <= 13 and records[0, 0] <= jed <= records[-1, 1]:
                        rows.append((jed, t, c, x, float(parts[6])))
        worst_p = worst_v = 0.0
        where_p = where_v = None
        for jed, t, c, x, value in rows:
            pt, vt = spk_barycentric(kernel, t, jed)
            pc, vc = spk_barycentric(kernel, c, jed)
            if x <= 3:
                d = abs((pt - pc)[x - 1, 0] / AU_KM - value)
                if d > worst_p:
                    worst_p, where_p = d, (jed, t, c, x)
            else:
                d = abs((vt - vc)[x - 4, 0] / AU_KM - value)
                if d > worst_v:
                    worst_v, where_v = d, (jed, t, c, x)
        log("SPK vs JPL test positions: %d values; worst position difference %.2e AU at %s, "
            "worst velocity difference %.2e AU/day at %s"
            % (len(rows), worst_p, where_p, worst_v, where_v))
        if worst_p > TESTPO_POSITION_TOL_AU or worst_v > TESTPO_VELOCITY_TOL_AU_D:
            raise SystemExit("the SPK file does not reproduce JPL's test positions")

        # Direct evaluation of the block records at random TDB dates and at record and
        # sub-interval boundaries.
        rng = np.random.default_rng(SEED + 1)
        jd = np.concatenate([rng.uniform(records[0, 0], records[-1, 1], 4000),
                             records[:, 0] + 1.0, records[1:, 0], records[1:, 0] + 0.5])
        worst_b = 0.0
        where_b = None
        for target in (1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13):
            d = np.abs(spk_barycentric(kernel, target, jd)[0]
                       - block_barycentric(records, target, jd)).max(axis=0)
            i = int(np.argmax(d))
            if d[i] > worst_b:
                worst_b, where_b = d[i], (target, jd[i])
        log("SPK vs direct Chebyshev evaluation of the block files: %d dates, worst %.2e km "
            "(%.2e AU) at (target, JD) %s" % (jd.size, worst_b, worst_b / AU_KM, where_b))
        if worst_b > BLOCK_POSITION_TOL_KM:
            raise SystemExit("the SPK file does not reproduce the block files")
    finally:
        kernel.close()
    return worst_p, worst_v, worst_b


# ---------------------------------------------------------------------------------------------
# Epochs


def random_epochs(rng, count):
    lo, hi = int(FIRST_JD * 1024), int(LAST_JD * 1024)
    return np.unique(rng.integers(lo, hi + 1, count)) * JD_STEP


def geometric_elongation(kernel, body, jd):
    """Angle Sun-Earth-body in degrees from geometric positions (a first look for epochs near
    conjunction), and whether the body is nearer than the Sun."""
    chains = {"mercury": [(0, 1), (1, 199)], "venus": [(0, 2), (2, 299)], "mars": [(0, 4)],
              "moon": [(0, 3), (3, 301)]}
    earth = kernel[0, 3].compute(jd) + kernel[3, 399].compute(jd)
    sun = kernel[0, 10].compute(jd) - earth
    b = sum(kernel[pair].compute(jd) for pair in chains[body]) - earth
    cosang = np.einsum("in,in->n", sun, b) / np.linalg.norm(sun, axis=0) / np.linalg.norm(b, axis=0)
    return np.degrees(np.arccos(np.clip(cosang, -1.0, 1.0))), \
        np.linalg.norm(b, axis=0) < np.linalg.norm(sun, axis=0)


def close_epochs(rng, kernel, body, count):
    """About `count` epochs, each near a different conjunction of `body` with the Sun, with
    the elongation between CLOSE_MIN_DEG and CLOSE_MAX_DEG (a margin is kept because the
    apparent elongation differs from the geometric one by up to about 20 arcseconds).  For
    Mercury and Venus half at inferior and half at superior conjunction."""
    step = 1.0 / 24.0 if body == "moon" else 0.25
    grid = np.arange(FIRST_JD + 1.0, LAST_JD - 1.0, step)
    elong, nearer = geometric_elongation(kernel, body, grid)
    lo, hi = CLOSE_MIN_DEG + 0.05, CLOSE_MAX_DEG - 0.1
    minima = np.nonzero((elong[1:-1] < elong[:-2]) & (elong[1:-1] <= elong[2:])
                        & (elong[1:-1] < hi))[0] + 1
    windows = []    # (inferior?, indices of grid points in the window with elong in [lo, hi])
    for m in minima:
        a = m
        while a > 0 and elong[a - 1] > elong[a] and elong[a - 1] < hi + 1.0:
            a -= 1
        b = m
        while b < grid.size - 1 and elong[b + 1] > elong[b] and elong[b + 1] < hi + 1.0:
            b += 1
        idx = np.arange(a, b + 1)
        idx = idx[(elong[idx] >= lo) & (elong[idx] <= hi)]
        if idx.size:
            windows.append((bool(nearer[m]), idx))
    if body in ("mercury", "venus"):
        groups = [[w for w in windows if w[0]], [w for w in windows if not w[0]]]
        shares = [count // 2, count - count // 2]
    else:
        groups = [windows]
        shares = [count]
    chosen = []
    for group, share in zip(groups, shares):
        # Elongations spread evenly over the range: one target in each of `share` equal parts
        # of it; each target gets a conjunction, not used yet, that comes that close.
        targets = lo + (hi - lo) * (np.arange(share) + rng.uniform(size=share)) / share
        unused = list(range(len(group)))
        for target in targets:
            if not unused:
                break
            fit = [k for k in unused if elong[group[k][1]].min() <= target]
            if not fit:     # none comes that close: the closest of those left
                fit = [min(unused, key=lambda k: elong[group[k][1]].min())]
            k = fit[rng.integers(len(fit))]
            unused.remove(k)
            idx = group[k][1]
            i = idx[np.argmin(np.abs(elong[idx] - target))]
            chosen.append(np.round(grid[i] * 1024.0) * JD_STEP)
    return np.array(sorted(chosen)), len(windows)


# ---------------------------------------------------------------------------------------------
# astropy


def radec_deg(xyz):
    """RA in [0, 360) and Dec in degrees of vectors (3, n)."""
    ra = np.degrees(np.arctan2(xyz[1], xyz[0])) % 360.0
    dec = np.degrees(np.arctan2(xyz[2], np.hypot(xyz[0], xyz[1])))
    return ra, dec


def places(name, jd_tt):
    """The fixture's columns for one body at TT Julian dates `jd_tt`, and the TETE place made
    by hand for comparison."""
    import erfa
    import astropy.units as u
    from astropy.coordinates import (GCRS, ICRS, TETE, UnitSphericalRepresentation, get_body,
                                     get_body_barycentric)
    from astropy.coordinates.solar_system import _get_apparent_body_position
    from astropy.time import Time

    t = Time(jd_tt, format="jd", scale="tt")
    astr = (_get_apparent_body_position(name, t, None)
            - get_body_barycentric("earth", t)).get_xyz().to_value(u.km)
    astr_ra, astr_dec = radec_deg(astr)
    if name == "sun":
        # The Sun's light is not deflected by the Sun: its astrometric direction goes through
        # astropy's ICRS -> GCRS as a direction (no distance), where the deflection by the
        # Sun vanishes (to 0.2 mas) and the aberration is the same.
        direction = ICRS(UnitSphericalRepresentation(astr_ra * u.deg, astr_dec * u.deg))
        gcrs = direction.transform_to(GCRS(obstime=t))
    else:
        gcrs = get_body(name, t)       # ephemeris: the SPK set in solar_system_ephemeris
    tete = gcrs.transform_to(TETE(obstime=t))

    # The same rotation by hand: IAU 2006/2000A bias-precession-nutation matrix at TT.  For a
    # geocentric observer TETE is this rotation alone; UT1 and polar motion (which astropy
    # warns about before 1962) enter only through the observer's place, here the geocentre.
    v = gcrs.cartesian.get_xyz().value  # only the direction counts
    rbpn = erfa.pnm06a(*np.broadcast_arrays(t.tt.jd1, t.tt.jd2))
    tete_ra_hand, tete_dec_hand = radec_deg(np.einsum("nij,jn->in", rbpn, v))

    cols = {
        "gcrs_ra": gcrs.ra.to_value(u.deg) % 360.0, "gcrs_dec": gcrs.dec.to_value(u.deg),
        "tete_ra": tete.ra.to_value(u.deg) % 360.0, "tete_dec": tete.dec.to_value(u.deg),
        "astr_ra": astr_ra, "astr_dec": astr_dec,
        "dist_au": np.linalg.norm(astr, axis=0) / AU_KM,
    }
    hand = {"tete_ra": tete_ra_hand, "tete_dec": tete_dec_hand}
    return cols, hand


def without_deflection(name, jd_tt):
    """GCRS place of a body as astropy's ICRS->GCRS makes it (astrometric direction,
    aberration) but without the light deflection by the Sun: for the Sun, the reference for
    how much that deflection moves the Sun's own place."""
    import erfa
    import astropy.units as u
    from astropy.coordinates import GCRS
    from astropy.coordinates.erfa_astrom import erfa_astrom
    from astropy.coordinates.solar_system import _get_apparent_body_position
    from astropy.time import Time

    t = Time(jd_tt, format="jd", scale="tt")
    astrom = erfa_astrom.get().apcs(GCRS(obstime=t))
    p = _get_apparent_body_position(name, t, None).get_xyz(xyz_axis=-1).to_value(u.au) \
        - astrom["eb"]
    _, pco = erfa.pn(p)
    ppr = erfa.ab(pco, astrom["v"], astrom["em"], astrom["bm1"])
    return radec_deg(ppr.T)


def separation_mas(ra1, dec1, ra2, dec2):
    """Angle between two directions (degrees in), in milliarcseconds (Vincenty's formula)."""
    import erfa
    return np.degrees(erfa.seps(np.radians(ra1), np.radians(dec1),
                                np.radians(ra2), np.radians(dec2))) * 3.6e6


# ---------------------------------------------------------------------------------------------


def make_blocks(folder):
    subprocess.run(["bash", os.path.join(HERE, "install_de405.sh"), folder], check=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--blocks", help="folder holding ascp1960.405, ascp1980.405 and "
                        "ascp2000.405 (default: made in a temporary folder by install_de405.sh)")
    parser.add_argument("--spk", help="where to write the SPK file (default: temporary)")
    parser.add_argument("--output", default=os.path.join(ROOT, "tests", "data",
                                                         "precise_places.txt"))
    parser.add_argument("--testpo", default=os.path.join(ROOT, "tests", "data",
                                                         "testpo-1960-1987.405"))
    args = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="precise_places_") as tmp:
        # astropy's cache and configuration in the temporary folder; no download of anything.
        os.makedirs(os.path.join(tmp, "astropy"))
        os.environ["XDG_CACHE_HOME"] = tmp
        os.environ["XDG_CONFIG_HOME"] = tmp

        blocks = args.blocks
        if blocks is None:
            blocks = os.path.join(tmp, "de405")
            make_blocks(blocks)
        records = read_blocks([os.path.join(blocks, name) for name in BLOCK_FILES])
        log("DE405 block files: %d records, JD %.1f to %.1f"
            % (records.shape[0], records[0, 0], records[-1, 1]))

        spk_path = args.spk or os.path.join(tmp, "de405.bsp")
        write_spk(records, spk_path)
        worst = check_spk(records, spk_path, args.testpo)
        run(spk_path, worst, args.output)


def run(spk_path, worst, output):
    import astropy
    import erfa
    import jplephem
    from astropy.utils import iers
    iers.conf.auto_download = False
    from astropy.coordinates import solar_system_ephemeris
    from jplephem.spk import SPK

    # Every ephemeris look-up of astropy, the Earth's for the GCRS transformation included,
    # goes to the SPK file.
    solar_system_ephemeris.set(spk_path)

    rng = np.random.default_rng(SEED)
    kernel = SPK.open(spk_path)
    epochs = {}
    close_counts = {}
    close_sets = {}
    for number, name in BODIES:
        epochs[name] = random_epochs(rng, RANDOM_PER_BODY)
    for name in CLOSE_BODIES:
        close, available = close_epochs(rng, kernel, name, CLOSE_PER_BODY)
        close_counts[name] = (close.size, available)
        close_sets[name] = close
        epochs[name] = np.union1d(epochs[name], close)
    kernel.close()

    lines = []
    seen = {}
    tete_worst = 0.0
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        # The Sun's GCRS place at every epoch of the fixture, for the elongations.
        all_jd = np.unique(np.concatenate(list(epochs.values())))
        sun_cols, _ = places("sun", all_jd)
        sun_index = {jd: i for i, jd in enumerate(all_jd)}
        nodefl_ra, nodefl_dec = without_deflection("sun", all_jd)
        sun_deflection = separation_mas(sun_cols["gcrs_ra"], sun_cols["gcrs_dec"],
                                        nodefl_ra, nodefl_dec)
        sun_rows = np.isin(all_jd, epochs["sun"])
        elong_effect = 0.0
        for number, name in BODIES:
            jd = epochs[name]
            cols, hand = places(name, jd)
            idx = np.array([sun_index[x] for x in jd])
            elong = separation_mas(cols["gcrs_ra"], cols["gcrs_dec"], sun_cols["gcrs_ra"][idx],
                                   sun_cols["gcrs_dec"][idx]) / 3.6e6
            if name != "sun":
                elong_nodefl = separation_mas(cols["gcrs_ra"], cols["gcrs_dec"], nodefl_ra[idx],
                                              nodefl_dec[idx]) / 3.6e6
                elong_effect = max(elong_effect, np.abs(elong - elong_nodefl).max() * 3.6e6)
            tete_worst = max(tete_worst,
                             separation_mas(cols["tete_ra"], cols["tete_dec"],
                                            hand["tete_ra"], hand["tete_dec"]).max() / 3.6e6)
            for i in range(jd.size):
                lines.append("%d %.10f %.10f %.10f %.10f %.10f %.10f %.10f %.15f %.10f" % (
                    number, jd[i], cols["gcrs_ra"][i], cols["gcrs_dec"][i],
                    cols["tete_ra"][i], cols["tete_dec"][i], cols["astr_ra"][i],
                    cols["astr_dec"][i], cols["dist_au"][i], elong[i]))
            if name in CLOSE_BODIES:
                close = np.isin(jd, close_sets[name])
                seen[name] = (int(np.count_nonzero(close)),
                              float(elong[close].min()), float(elong[close].max()))
                ra, dec = without_deflection(name, jd[close])
                defl = separation_mas(cols["gcrs_ra"][close], cols["gcrs_dec"][close], ra, dec)
                seen[name] += (float(defl.min()), float(defl.max()))
                if seen[name][1] < CLOSE_MIN_DEG or seen[name][2] > CLOSE_MAX_DEG:
                    raise SystemExit("%s: an epoch near conjunction is outside %g-%g deg"
                                     % (name, CLOSE_MIN_DEG, CLOSE_MAX_DEG))
    if tete_worst > TETE_MATRIX_TOL_DEG:
        raise SystemExit("astropy's TETE differs from pnm06a applied to GCRS by %.2e deg"
                         % tete_worst)
    for msg in sorted(set("%s: %s" % (w.category.__name__, w.message) for w in caught)):
        log("warning seen:", msg)
    log("astropy TETE vs erfa.pnm06a(TT) applied to the GCRS vector: worst %.2e deg"
        % tete_worst)
    sun_own = sun_deflection[sun_rows]
    log("Sun's deflection of its own light in astropy's GCRS place, at the Sun's %d epochs: "
        "median %.3f mas, 90th percentile %.3f mas, max %.3f mas (%d above 10 mas); over all "
        "%d epochs max %.3f mas; it changes the elongations by up to %.3f mas"
        % (sun_own.size, np.median(sun_own), np.percentile(sun_own, 90), sun_own.max(),
           np.count_nonzero(sun_own > 10.0), sun_deflection.size, sun_deflection.max(),
           elong_effect))
    for name in CLOSE_BODIES:
        log("%s: %d epochs near conjunction, elongation %.3f to %.3f deg, deflection by the "
            "Sun %.3f to %.3f mas, from %d conjunctions closer than %g deg"
            % ((name,) + seen[name] + (close_counts[name][1], CLOSE_MAX_DEG)))

    header = HEADER.format(
        astropy=astropy.__version__, erfa=erfa.version.erfa_version, pyerfa=erfa.__version__,
        jplephem=jplephem.__version__, numpy=np.__version__, testpo=worst[0], blocks=worst[2],
        emrat=EMRAT, au=AU_KM, tete=tete_worst, random=RANDOM_PER_BODY, first=FIRST_JD,
        last=LAST_JD, seed=SEED, close=CLOSE_PER_BODY, close_min=CLOSE_MIN_DEG,
        close_max=CLOSE_MAX_DEG, sun_median=np.median(sun_own), sun_max=sun_own.max(),
        elong_effect=elong_effect).strip("\n").split("\n")
    text = "\n".join(header + lines) + "\n"
    with open(output, "w", encoding="ascii", newline="\n") as f:
        f.write(text)
    log("wrote %s: %d cases, %d bytes" % (output, len(lines), len(text)))


if __name__ == "__main__":
    main()
