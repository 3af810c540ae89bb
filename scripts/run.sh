#!/usr/bin/env bash
# Installs what is missing, builds in Release, prepares the sample application folder
# (build/app, with the DE405 block files in build/app/JPL) and starts window 1 on it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
planova_install_packages
planova_build
if [ -f "$PLANOVA_ROOT/scripts/install_de405.sh" ]; then
  bash "$PLANOVA_ROOT/scripts/install_de405.sh" "$PLANOVA_BUILD/app/JPL"
fi
exec "$PLANOVA_BUILD/planova3" --app-dir "$PLANOVA_BUILD/app" "$@"
