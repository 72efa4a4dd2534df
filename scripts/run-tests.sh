#!/usr/bin/env bash
# Sets up, builds and runs every test of Quillo32. Most tests run offscreen; those labelled
# "x11" start an X server of their own with a window manager, and the exported sites are
# checked in a headless browser, so the test command installs those tools too.
set -euo pipefail
cd "$(dirname "$0")/.."
QUILLO_EXTRA_PACKAGES="xvfb openbox xdotool x11-utils chromium lintian ${QUILLO_EXTRA_PACKAGES:-}" \
    scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j2
