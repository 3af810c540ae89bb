#!/usr/bin/env python3
"""Writes de405.bsp, an SPK kernel (NAIF DAF, little-endian, type-2 segments), from JPL's
DE405 ASCII block files ascpYYYY.405 in a folder (those scripts/install_de405.sh makes from
Debian's casacore-data-jpl-de405): the same data as the block files, in the form JPL's
planetary kernels take, for the tests of the SPK reader.

Usage: make_de405_spk.py FOLDER [--output PATH] [--quiet]

Segments, as in JPL's planetary kernels (ICRF/J2000 axes, km, TDB seconds past J2000):
  1..9 -> 0   the planets' barycentres (3 the Earth-Moon barycentre), 10 -> 0 the Sun,
  301 -> 3    the Moon and 399 -> 3 the Earth, both from the geocentric Moon of the blocks:
              Moon - EMB = Moon_geo * EMRAT / (1 + EMRAT), Earth - EMB = -Moon_geo / (1 + EMRAT)
              (the Chebyshev series scale linearly).
Each record of a block body's sub-interval becomes one type-2 record (MID, RADIUS, the X, Y, Z
coefficients).  Only numpy and struct are needed to write; when Debian's python3-jplephem is
installed the file is read back with it and compared with a direct evaluation of the blocks.
Nothing is done when the output is newer than the block files, this script and make_precise_places.py.
"""

import argparse
import glob
import os
import struct
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_precise_places import (EMRAT, SEED, block_position,  # noqa: E402
                                 read_blocks, type2_segment)

RECORD_BYTES = 1024
RECORD_WORDS = 128
FIRST_ARRAY_WORD = 3 * RECORD_WORDS + 1   # after the file, summary and name records
CHECK_TOL_KM = 1e-5                       # rounding of 1e-16 on Pluto's 6e9 km is 1e-6 km
# The FTP validation string of NAIF's file record (any damage by a text-mode transfer shows).
FTPSTR = b"FTPSTR:\r:\n:\r\n:\r\x00:\x81:\x10\xce:ENDFTP"


def block_files(folder):
    return sorted(glob.glob(os.path.join(folder, "ascp[0-9][0-9][0-9][0-9].405")))


def segments(records):
    """(target, center, name, (array, start, end)) of every segment."""
    out = [(10, 0, "DE405 SUN", type2_segment(records, "sun"))]
    for number, name in [(1, "mercury"), (2, "venus"), (3, "emb"), (4, "mars"), (5, "jupiter"),
                         (6, "saturn"), (7, "uranus"), (8, "neptune"), (9, "pluto")]:
        out.append((number, 0, "DE405 " + name.upper() + " BARYCENTER", type2_segment(records, name)))
    out.append((301, 3, "DE405 MOON", type2_segment(records, "moon_geo", EMRAT / (1.0 + EMRAT))))
    out.append((399, 3, "DE405 EARTH", type2_segment(records, "moon_geo", -1.0 / (1.0 + EMRAT))))
    return out


def write_spk(segs, path):
    """A little-endian DAF/SPK: file record, one summary record, its name record, the arrays."""
    if len(segs) > (RECORD_WORDS - 3) // 5:
        raise SystemExit("more segments than one summary record holds")
    summaries = struct.pack("<3d", 0.0, 0.0, float(len(segs)))
    names = b""
    arrays = []
    word = FIRST_ARRAY_WORD
    for target, center, name, (array, start, end) in segs:
        first, last = word, word + array.size - 1
        # Summary: start, end (TDB s), target, center, frame 1 (J2000), type 2, addresses.
        summaries += struct.pack("<2d6i", start, end, target, center, 1, 2, first, last)
        names += name.encode("ascii").ljust(40)[:40]
        arrays.append(array.astype("<f8").tobytes())
        word = last + 1
    free = word
    file_record = struct.pack(
        "<8sii60siii8s603s28s297s", b"DAF/SPK ", 2, 6,
        b"DE405 from Debian casacore-data-jpl-de405 block files".ljust(60), 2, 2, free,
        b"LTL-IEEE", b"\0" * 603, FTPSTR, b"\0" * 297)
    assert len(file_record) == RECORD_BYTES
    body = b"".join(arrays)
    if len(body) % RECORD_BYTES:
        body += b"\0" * (RECORD_BYTES - len(body) % RECORD_BYTES)
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(file_record)
        f.write(summaries.ljust(RECORD_BYTES, b"\0"))
        f.write(names.ljust(RECORD_BYTES, b" "))
        f.write(body)
    os.replace(tmp, path)


def check_with_jplephem(records, path, log):
    """Reads the kernel back with jplephem (an independent reader) and compares it with the
    block records evaluated directly, at random dates and at record boundaries."""
    try:
        from jplephem.spk import SPK
    except ImportError:
        log("python3-jplephem is not installed: the kernel is not read back")
        return
    rng = np.random.default_rng(SEED + 2)
    jd = np.concatenate([rng.uniform(records[0, 0], records[-1, 1], 2000), records[1:, 0] + 0.5])
    jd1 = np.floor(jd)
    jd2 = jd - jd1
    kernel = SPK.open(path)
    try:
        worst = 0.0
        pairs = [((0, 10), "sun"), ((0, 1), "mercury"), ((0, 2), "venus"), ((0, 3), "emb"),
                 ((0, 4), "mars"), ((0, 5), "jupiter"), ((0, 6), "saturn"), ((0, 7), "uranus"),
                 ((0, 8), "neptune"), ((0, 9), "pluto")]
        for pair, name in pairs:
            d = np.abs(kernel[pair].compute(jd1, jd2) - block_position(records, name, jd))
            worst = max(worst, float(d.max()))
        moon = kernel[3, 301].compute(jd1, jd2) - kernel[3, 399].compute(jd1, jd2)
        worst = max(worst, float(np.abs(moon - block_position(records, "moon_geo", jd)).max()))
    finally:
        kernel.close()
    log("jplephem reads %s as the block files to %.1e km" % (os.path.basename(path), worst))
    if worst > CHECK_TOL_KM:
        raise SystemExit("the kernel does not reproduce the block files")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("folder")
    parser.add_argument("--output")
    parser.add_argument("--quiet", action="store_true")
    args = parser.parse_args()
    log = (lambda *a: None) if args.quiet else (lambda *a: print(*a, file=sys.stderr))
    output = args.output or os.path.join(args.folder, "de405.bsp")
    paths = block_files(args.folder)
    if not paths:
        raise SystemExit("no DE405 block files ascpYYYY.405 in %s" % args.folder)
    if os.path.exists(output):
        made = os.path.getmtime(output)
        here = os.path.dirname(os.path.abspath(__file__))
        inputs = paths + [os.path.abspath(__file__), os.path.join(here, "make_precise_places.py")]
        if all(os.path.getmtime(p) < made for p in inputs):
            return
    records = read_blocks(paths)
    write_spk(segments(records), output)
    log("%s: JD %.1f to %.1f from %s" % (output, records[0, 0], records[-1, 1],
                                         ", ".join(os.path.basename(p) for p in paths)))
    check_with_jplephem(records, output, log)


if __name__ == "__main__":
    main()
