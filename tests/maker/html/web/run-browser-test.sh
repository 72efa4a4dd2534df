#!/usr/bin/env bash
# Runs the web help's browser test: puppeteer-core is installed from the lock file into the
# build's work folder when missing or changed, and drives Debian's Chromium.
# Usage: run-browser-test.sh QZDTOOL WORKDIR
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
qzdtool="$1"
work="$2"
mkdir -p "$work/node"
if [ ! -d "$work/node/node_modules/puppeteer-core" ] ||
    ! cmp -s "$here/package-lock.json" "$work/node/package-lock.json"; then
    cp "$here/package.json" "$here/package-lock.json" "$work/node/"
    (cd "$work/node" && npm ci --no-audit --no-fund --ignore-scripts)
fi
cp "$here/websitetest.mjs" "$work/node/"
exec node "$work/node/websitetest.mjs" "$qzdtool" "$work/run"
