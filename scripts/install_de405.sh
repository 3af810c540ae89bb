#!/usr/bin/env bash
# Installs JPL's DE405 block files ascp1960.405, ascp1980.405, ascp2000.405, ascp2020.405
# and ascp2040.405 into DESTDIR (the application folder's JPL folder, or a test folder):
# JD 2436912.5 (1959 Dec 10) to JD 2473488.5 (2060 Jan 30), all that Debian's table holds.
# The last file, ascp2040.405, covers its block 2039 Dec 6 .. 2059 Dec 29 and, as each of
# JPL's files does, the first record of the next block (to 2060 Jan 30).
#
# Usage: install_de405.sh [--no-install] DESTDIR
#
# The files are made by scripts/make_de405_blocks.py from Debian's casacore-data-jpl-de405
# (JPL's DE405, public domain) read with Debian's python3-casacore; this script installs
# those two packages when they are missing (apt-get update only when apt does not know
# them yet).  With --no-install (the tests' fixture: the set-up scripts install the
# packages) it installs nothing and fails, naming them, when one is missing.  Nothing is
# done when the five files are already there and newer than this script and the
# converter.  Quiet unless something goes wrong.
set -euo pipefail

install=1
if [ "${1:-}" = "--no-install" ]; then
  install=0
  shift
fi
if [ $# -ne 1 ] || [ -z "$1" ]; then
  echo "usage: $(basename "$0") [--no-install] DESTDIR" >&2
  exit 2
fi
dest="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
converter="$here/make_de405_blocks.py"
years=(1960 1980 2000 2020 2040)
files=()
for y in "${years[@]}"; do files+=("ascp$y.405"); done

up_to_date=1
for f in "${files[@]}"; do
  if [ ! -s "$dest/$f" ] || [ ! "$dest/$f" -nt "${BASH_SOURCE[0]}" ] || [ ! "$dest/$f" -nt "$converter" ]; then
    up_to_date=0
  fi
done
[ "$up_to_date" -eq 1 ] && exit 0

packages=(casacore-data-jpl-de405 python3-casacore)
if [ "$install" -eq 1 ]; then
  bash "$here/install_packages.sh" "${packages[@]}"
else
  for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      echo "$(basename "$0"): Debian's $p is not installed; the DE405 block files for $dest" \
           "are made from ${packages[*]} (scripts/test.sh installs them)" >&2
      exit 1
    fi
  done
fi

# Debian's interpreter, where python3-casacore lives (a python3 first on PATH may be another).
python=/usr/bin/python3
[ -x "$python" ] || python="$(command -v python3)"

mkdir -p "$dest"
"$python" "$converter" --quiet "$dest" --years "${years[@]}"
