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

packages=(python3-astropy python3-jplephem)
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

bash "$here/install_de405.sh" "$blocks"

# Debian's interpreter, where python3-astropy lives (a python3 first on PATH may be another).
python=/usr/bin/python3
[ -x "$python" ] || python="$(command -v python3)"

"$python" "$here/make_precise_places.py" --blocks "$blocks" "$@"
