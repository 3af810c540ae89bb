# Shared steps of the set-up scripts: install the Debian packages that are missing and
# build the project.  Sourced, not run.
set -euo pipefail

PLANOVA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PLANOVA_BUILD="${PLANOVA_BUILD:-$PLANOVA_ROOT/build}"

PLANOVA_PACKAGES=(
  g++ cmake make pkg-config
  qt6-base-dev libgl-dev fonts-dejavu-core
  qt6-l10n-tools qt6-tools-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  liberfa-dev libfreexl-dev
  python3
)

# Installs the packages of the list (and any given as arguments) that are not installed yet.
planova_install_packages() {
  local missing=()
  for p in "${PLANOVA_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# Configures and builds in Release (extra CMake options may be given).
planova_build() {
  cmake -S "$PLANOVA_ROOT" -B "$PLANOVA_BUILD" -DCMAKE_BUILD_TYPE=Release "$@"
  cmake --build "$PLANOVA_BUILD" -j "$(nproc)"
}
