# Shared steps of the set-up scripts: install the Debian packages that are missing and
# build the project.  Sourced, not run.
set -euo pipefail

PLANOVA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PLANOVA_BUILD="${PLANOVA_BUILD:-$PLANOVA_ROOT/build}"

PLANOVA_PACKAGES=(
  g++ cmake make pkg-config desktop-file-utils
  qt6-base-dev qt6-svg-dev libgl-dev fonts-dejavu-core
  qt6-l10n-tools qt6-tools-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  liberfa-dev libfreexl-dev libzip-dev
  python3
  # What scripts/install_de405.sh makes the DE405 block files from: the tests' fixture
  # runs it with --no-install, so the set-up installs them.
  casacore-data-jpl-de405 python3-casacore
  # What scripts/make_de405_spk.py writes the tests' DE405 SPK kernel with (numpy), and the
  # independent reader it checks the kernel with (jplephem).
  python3-numpy python3-jplephem
)

# Installs the packages of the list (and any given as arguments) that are not installed yet.
planova_install_packages() {
  local missing=()
  for p in "${PLANOVA_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    planova_step "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# Says which step of the set-up begins.
planova_step() {
  echo "==> $*"
}

# Configures the build folder in Release (extra CMake options may be given); an existing
# configuration is kept and brought up to date, so an earlier build is reused.
planova_configure() {
  cmake -S "$PLANOVA_ROOT" -B "$PLANOVA_BUILD" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}

# Configures and builds every target, the tests included (extra CMake options may be given).
planova_build() {
  planova_step "Building everything in $PLANOVA_BUILD (Release)"
  planova_configure "$@"
  cmake --build "$PLANOVA_BUILD" -j "$(nproc)"
}

# Builds only the given targets of the build folder, with the build's progress shown.
planova_build_targets() {
  planova_step "Building $* in $PLANOVA_BUILD (Release)"
  planova_configure
  cmake --build "$PLANOVA_BUILD" -j "$(nproc)" --target "$@"
}
