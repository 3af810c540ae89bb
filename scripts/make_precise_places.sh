#!/usr/bin/env bash
# Remakes tests/data/precise_places.txt, the astropy reference for the rigorous apparent places
# (scripts/make_precise_places.py).
#
# Usage: make_precise_places.sh [DE405DIR [options of make_precise_places.py]]
#
# DE405DIR (default build/de405) receives JPL's DE405 block files from scripts/install_de405.sh
# when they are missing or out of date.  Debian's python3-astropy and python3-jplephem are
# installed when missing (apt-get update only when apt does not know them yet); both steps are
# quiet unless they fail.  The python script prints its checks (worst differences) on stderr.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
blocks="${1:-$root/build/de405}"
[ $# -gt 0 ] && shift

bash "$here/install_packages.sh" python3-astropy python3-jplephem

bash "$here/install_de405.sh" "$blocks"

# Debian's interpreter, where python3-astropy lives (a python3 first on PATH may be another).
python=/usr/bin/python3
[ -x "$python" ] || python="$(command -v python3)"

"$python" "$here/make_precise_places.py" --blocks "$blocks" "$@"
