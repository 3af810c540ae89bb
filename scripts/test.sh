#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headlessly (Qt's offscreen platform).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
planova_install_packages
planova_build
export QT_QPA_PLATFORM=offscreen
cd "$PLANOVA_BUILD"
ctest --output-on-failure -j "$(nproc)"
