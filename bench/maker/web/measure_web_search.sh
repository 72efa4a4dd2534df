#!/bin/sh
# The web help's search over the largest document, measured in Debian's Chromium.
# Usage: measure_web_search.sh <build dir> [runs]
set -eu
build=${1:?build folder}
runs=${2:-20}
here=$(cd "$(dirname "$0")" && pwd)
prog="$build/bench/maker/bench_htmlexport"
[ -x "$prog" ] || prog="$build/bin/bench_htmlexport"
site=$(mktemp -d)
trap 'rm -rf "$site"' EXIT
"$prog" --web-site="$site"
echo "site's script and style: $(cat "$site/site.js" "$site/site.css" | wc -c) bytes"
bash "$here/../../../tests/maker/html/web/run-node.sh" "$build/bench-websearch" \
    "$here/bench_websearch.mjs" "$site" "$runs"
