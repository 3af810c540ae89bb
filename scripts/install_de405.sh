#!/usr/bin/env bash
# Installs JPL's DE405 block files ascp1960.405, ascp1980.405 and ascp2000.405 into DESTDIR
# (the application folder's JPL folder, or a test folder).
#
# Usage: install_de405.sh DESTDIR
#
# The files are made by scripts/make_de405_blocks.py from Debian's casacore-data-jpl-de405
# (JPL's DE405, public domain) read with Debian's python3-casacore; this script installs
# those two packages when they are missing (apt-get update only when apt does not know
# them yet).  Nothing is done when the three files are already there and newer than this
# script and the converter.  Quiet unless something goes wrong.
set -euo pipefail

if [ $# -ne 1 ] || [ -z "$1" ]; then
  echo "usage: $(basename "$0") DESTDIR" >&2
  exit 2
fi
dest="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
converter="$here/make_de405_blocks.py"
files=(ascp1960.405 ascp1980.405 ascp2000.405)

up_to_date=1
for f in "${files[@]}"; do
  if [ ! -s "$dest/$f" ] || [ ! "$dest/$f" -nt "${BASH_SOURCE[0]}" ] || [ ! "$dest/$f" -nt "$converter" ]; then
    up_to_date=0
  fi
done
[ "$up_to_date" -eq 1 ] && exit 0

packages=(casacore-data-jpl-de405 python3-casacore)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  known=1
  for p in "${missing[@]}"; do
    candidate="$(apt-cache policy "$p" 2>/dev/null | awk '/Candidate:/ {print $2}')"
    if [ -z "$candidate" ] || [ "$candidate" = "(none)" ]; then known=0; fi
  done
  log="$(mktemp)"
  trap 'rm -f "$log"' EXIT
  # apt's output is shown only when it fails.
  if [ "$known" -eq 0 ] && ! $sudo apt-get update -qq >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
  fi
  if ! DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" \
      >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
  fi
fi

# Debian's interpreter, where python3-casacore lives (a python3 first on PATH may be another).
python=/usr/bin/python3
[ -x "$python" ] || python="$(command -v python3)"

mkdir -p "$dest"
"$python" "$converter" --quiet "$dest" --years 1960 1980 2000
