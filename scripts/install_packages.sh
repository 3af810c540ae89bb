#!/usr/bin/env bash
# Installs the Debian packages given that are not installed yet, quietly: apt-get update
# only when apt does not know one of them, sudo only when not root, apt's output shown
# only when it fails.
#
# Usage: install_packages.sh PACKAGE...
set -euo pipefail

missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
known=1
for p in "${missing[@]}"; do
  candidate="$(apt-cache policy "$p" 2>/dev/null | awk '/Candidate:/ {print $2}')"
  if [ -z "$candidate" ] || [ "$candidate" = "(none)" ]; then known=0; fi
done
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
if [ "$known" -eq 0 ] && ! $sudo apt-get update -qq >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
if ! DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" \
    >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
