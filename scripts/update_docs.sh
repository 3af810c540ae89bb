#!/usr/bin/env bash
# Runs the window tests (offscreen) and copies the screenshots they save into docs/,
# where the README and docs/user-guide.md show them.  Run after a change to a window's layout or captions.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
planova_install_packages
planova_build
bash "$PLANOVA_ROOT/scripts/install_de405.sh" "$PLANOVA_BUILD/de405"
QT_QPA_PLATFORM=offscreen "$PLANOVA_BUILD/tests/planova_ui_tests" --gtest_filter='Windows.*' >/dev/null
mkdir -p "$PLANOVA_ROOT/docs"
for shot in window1_import window2_loaded window2_de405 window3_corrected help \
            window1_import_en window2_loaded_en window3_en help_en; do
  if [ -f "$PLANOVA_BUILD/screenshots/$shot.png" ]; then
    cp "$PLANOVA_BUILD/screenshots/$shot.png" "$PLANOVA_ROOT/docs/$shot.png"
  fi
done
echo "docs/ screenshots updated"
