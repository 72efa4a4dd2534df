#!/usr/bin/env bash
# Sets up, builds and runs every test of Quillo32. Most tests run offscreen; those labelled
# "x11" start an X server of their own with a window manager, and the exported sites are
# checked in a headless browser (the web help through puppeteer-core, which npm installs from
# its lock file), so the test command installs those tools too.
set -euo pipefail
cd "$(dirname "$0")/.."
# Debian ships npm as a package of its own; Node.js from elsewhere brings it along.
node_packages="nodejs"
command -v npm >/dev/null || node_packages="nodejs npm"
QUILLO_EXTRA_PACKAGES="xvfb openbox xdotool x11-utils chromium lintian $node_packages ${QUILLO_EXTRA_PACKAGES:-}" \
    scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j2
