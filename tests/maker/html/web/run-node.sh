#!/usr/bin/env bash
# Runs a Node.js script that drives Debian's Chromium through puppeteer-core: puppeteer-core is
# installed from this folder's lock file into WORKDIR/node when missing or changed, and the
# script is run from there, beside this folder's modules, so that it finds them.
# Usage: run-node.sh WORKDIR SCRIPT [ARGS...]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$1"
script="$2"
shift 2
mkdir -p "$work/node"
if [ ! -d "$work/node/node_modules/puppeteer-core" ] ||
    ! cmp -s "$here/package-lock.json" "$work/node/package-lock.json"; then
    cp "$here/package.json" "$here/package-lock.json" "$work/node/"
    (cd "$work/node" && npm ci --no-audit --no-fund --ignore-scripts)
fi
cp "$here"/*.mjs "$work/node/"
[ "$(dirname "$script")" -ef "$here" ] || cp "$script" "$work/node/"
exec node "$work/node/$(basename "$script")" "$@"
