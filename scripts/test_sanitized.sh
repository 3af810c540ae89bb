#!/usr/bin/env bash
# Builds every target with AddressSanitizer and UndefinedBehaviorSanitizer in its own
# build folder and runs the whole test suite under them: any finding fails the run.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
PLANOVA_BUILD="${PLANOVA_SANITIZE_BUILD:-$PLANOVA_ROOT/build-sanitize}"
planova_install_packages
planova_build -DPLANOVA_SANITIZE=ON
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:suppressions=$PLANOVA_ROOT/scripts/lsan.supp"
export LSAN_OPTIONS="suppressions=$PLANOVA_ROOT/scripts/lsan.supp"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
cd "$PLANOVA_BUILD"
ctest --output-on-failure -j "$(nproc)"
