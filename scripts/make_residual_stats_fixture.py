#!/usr/bin/python3
"""Reference values for tests/residual_stats_test.cpp, computed with numpy.

  make_residual_stats_fixture.py [OUT]   (default tests/data/residual_stats.txt)

Two sets of made-up O-C residuals (numpy's generator with a fixed seed, so the file is
made once and kept):

  stats  48 records of three stations over four years, some without RA or Dec, some
         with a time residual, two stations with per-record uncertainties, flags 'A',
         'a', 'd' and 'D'; numpy's count, mean, standard error, sample σ, rms, median,
         raw MAD, weighted mean, its error and χ²/dof of each coordinate, over all
         records, per station and per year.
  clip   200 records whose RA and Dec residuals lie within 2σ of their means, with
         outliers planted 8-12σ off in RA only, in Dec only and in both, a hand-accepted
         outlier ('a'), a hand-deleted ordinary record ('d') and an ordinary record
         flagged 'D' by an earlier run; the flags an iterative 3σ clipping gives, in
         both modes, computed here with numpy and checked to be the planted ones.

Runs under Debian's interpreter (python3-numpy).  Lines: "record SET ..." (number
station year ra dec time sigma_ra sigma_dec flag; nan for a coordinate not held, "-" for
no flag), "stats GROUPING GROUP COORD n rejected mean se sigma rms median mad wmean wse
chi2dof" (nan where not defined or not weighted), "clip MODE FLAGS" (one letter per
record of the clip set, in order).
"""
import pathlib
import sys

import numpy as np

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "tests" / "data" / "residual_stats.txt"
rng = np.random.default_rng(20261209)
NAN = float("nan")


def stats_records():
    stations = ["084", "568", "G96"]
    years = [1995, 1996, 1997, 1998]
    records = []
    for i in range(48):
        station = stations[i % 3]
        year = years[(i // 3) % 4]
        ra = round(float(rng.normal(0.05, 0.3)), 3)
        dec = round(float(rng.normal(-0.02, 0.25)), 3)
        time = round(float(rng.normal(0.1, 0.5)), 3) if i % 2 == 0 else NAN
        if i in (5, 17):
            ra = NAN  # RA not observed
        if i in (8, 30, 41):
            dec = NAN
        sra = sdec = 0.0
        if station != "G96":
            sra = round(float(rng.uniform(0.15, 0.5)), 3)
            sdec = round(float(rng.uniform(0.15, 0.5)), 3)
        flag = "A"
        if i in (10, 33):
            flag = "d"
            ra, dec = 50.0, -40.0  # deleted by hand: must not count
        elif i == 21:
            flag = "D"
            ra = 9.5  # deleted by an earlier clipping
        elif i == 26:
            flag = "a"
        elif i == 2:
            flag = "-"  # not decided yet: counts as accepted
        records.append([i + 1, station, year, ra, dec, time, sra, sdec, flag])
    return records


def coordinate_stats(values, sigmas, rejected, weighted):
    x = np.array(values, dtype=float)
    n = len(x)
    row = [n, rejected]
    if n == 0:
        return row + [NAN] * 9
    mean = np.mean(x)
    sigma = np.std(x, ddof=1) if n > 1 else NAN
    median = np.median(x)
    row += [mean, sigma / np.sqrt(n), sigma, np.sqrt(np.mean(x * x)), median, np.median(np.abs(x - median))]
    s = np.array(sigmas, dtype=float)
    if weighted and np.all(s > 0):
        w = 1 / s**2
        wmean = np.average(x, weights=w)
        chi2 = np.sum(w * (x - wmean) ** 2) / (n - 1) if n > 1 else NAN
        row += [wmean, 1 / np.sqrt(np.sum(w)), chi2]
    else:
        row += [NAN] * 3
    return row


def group_lines(grouping, name, records):
    lines = []
    for c, (col, scol) in enumerate([(3, 6), (4, 7), (5, None)]):
        held = [r for r in records if not np.isnan(r[col])]
        acc = [r for r in held if r[8] not in ("D", "d")]
        stats = coordinate_stats([r[col] for r in acc], [r[scol] if scol else 0 for r in acc],
                                 len(held) - len(acc), scol is not None)
        lines.append(f"stats {grouping} {name} {['ra', 'dec', 'time'][c]} " + " ".join(repr(float(v)) if i > 1 else str(v)
                                                                             for i, v in enumerate(stats)))
    return lines


def clip(ra, dec, flags, k, joint):
    """Iterative k·σ clipping as the program does it, in numpy."""
    flags = list(flags)
    hand = np.array([f in "ad" for f in flags])
    cur = np.array([f if h else "A" for f, h in zip(flags, hand)])
    for _ in range(50):
        acc = np.array([f in "Aa" for f in cur])
        m_ra, s_ra = np.mean(ra[acc]), np.std(ra[acc], ddof=1)
        m_dec, s_dec = np.mean(dec[acc]), np.std(dec[acc], ddof=1)
        z_ra, z_dec = np.abs(ra - m_ra) / s_ra, np.abs(dec - m_dec) / s_dec
        out = (z_ra**2 + z_dec**2 > k * k) if joint else ((z_ra > k) | (z_dec > k))
        new = np.where(hand, cur, np.where(out, "D", "A"))
        if (new == cur).all():
            return "".join(new)
        cur = new
    raise SystemExit("the clipping did not converge")


def clip_records():
    n = 200
    ra = rng.normal(0.1, 0.3, n)
    dec = rng.normal(-0.05, 0.2, n)
    # Ordinary records within 2σ of the set's mean in each coordinate: their joint
    # deviation stays below 8 < 3², and even a 3σ band narrowed by the clipping keeps them.
    for x, s in ((ra, 0.3), (dec, 0.2)):
        for _ in range(100):
            bad = np.abs(x - x.mean()) > 1.8 * s
            if not bad.any():
                break
            x[bad] = x.mean() + rng.uniform(-1.5, 1.5, bad.sum()) * s
    ra, dec = np.round(ra, 3), np.round(dec, 3)
    flags = ["A"] * n
    planted = {17: (3.0, None), 60: (-2.8, None), 95: (None, 2.2), 130: (None, -2.0), 170: (2.5, 1.9)}
    for i, (dra, ddec) in planted.items():
        if dra is not None:
            ra[i] = dra
        if ddec is not None:
            dec[i] = ddec
    flags[40] = "a"   # a hand-accepted outlier: it stays and counts
    ra[40] = 2.6
    flags[77] = "d"   # a hand-deleted ordinary record: it stays deleted
    flags[150] = "D"  # deleted by an earlier run, ordinary: it comes back
    result = {}
    for mode, joint in (("separately", False), ("jointly", True)):
        result[mode] = clip(ra, dec, flags, 3.0, joint)
        rejected = {i for i, f in enumerate(result[mode]) if f == "D"}
        if rejected != set(planted):
            raise SystemExit(f"{mode}: rejected {sorted(rejected)}, planted {sorted(planted)}")
    return [[i + 1, "500", 2000, ra[i], dec[i], NAN, 0.0, 0.0, flags[i]] for i in range(n)], result


def main():
    lines = ["# Made by scripts/make_residual_stats_fixture.py (numpy " + np.__version__ + "); do not edit."]
    recs = stats_records()
    for r in recs:
        lines.append("record stats " + " ".join(repr(float(v)) if isinstance(v, float) else str(v) for v in r))
    lines += group_lines("all", "-", recs)
    for station in sorted({r[1] for r in recs}):
        lines += group_lines("station", station, [r for r in recs if r[1] == station])
    for year in sorted({r[2] for r in recs}):
        lines += group_lines("year", str(year), [r for r in recs if r[2] == year])
    crecs, flags = clip_records()
    for r in crecs:
        lines.append("record clip " + " ".join(repr(float(v)) if isinstance(v, (float, np.floating)) else str(v) for v in r))
    for mode, f in flags.items():
        lines.append(f"clip {mode} {f}")
    OUT.write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
