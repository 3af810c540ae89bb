#!/usr/bin/env bash
# Installs what is missing, builds the program alone in Release (the tests are built by
# test.sh, in the same build folder, so each reuses what the other built), prepares the
# sample application folder (build/app, with the DE405 block files in build/app/JPL) and
# starts window 1 on it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
planova_install_packages
planova_build_targets planova3 sample_app_folder
if [ -f "$PLANOVA_ROOT/scripts/install_de405.sh" ]; then
  planova_step "DE405 block files in $PLANOVA_BUILD/app/JPL"
  bash "$PLANOVA_ROOT/scripts/install_de405.sh" "$PLANOVA_BUILD/app/JPL"
fi
planova_step "Starting planova3 --app-dir $PLANOVA_BUILD/app"
exec "$PLANOVA_BUILD/planova3" --app-dir "$PLANOVA_BUILD/app" "$@"
