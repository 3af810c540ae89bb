#!/usr/bin/env bash
# Remakes tests/data/topocentric_places.txt, the Skyfield reference for the rigorous topocentric
# places (scripts/make_topocentric_places.py).
#
# Usage: make_topocentric_places.sh [DE405DIR [options of make_topocentric_places.py]]
#
# DE405DIR (default build/de405) receives JPL's DE405 block files from scripts/install_de405.sh
# and de405.bsp from scripts/make_de405_spk.py when they are missing or out of date.  Debian's
# python3-skyfield and python3-jplephem are installed when missing (apt-get update only when apt
# does not know them yet); every step is quiet unless it fails.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
blocks="${1:-$root/build/de405}"
[ $# -gt 0 ] && shift

bash "$here/install_packages.sh" python3-skyfield python3-jplephem

bash "$here/install_de405.sh" "$blocks"

# Debian's interpreter, where python3-skyfield lives (a python3 first on PATH may be another).
python=/usr/bin/python3
[ -x "$python" ] || python="$(command -v python3)"

"$python" "$here/make_de405_spk.py" --quiet "$blocks"
"$python" "$here/make_topocentric_places.py" --spk "$blocks/de405.bsp" "$@"
