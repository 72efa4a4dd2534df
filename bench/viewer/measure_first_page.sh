#!/bin/sh
# Time from process start to the first page painted, for the largest document, on the
# display in $DISPLAY (or offscreen when none is set). Usage: measure_first_page.sh <build dir> [runs]
set -eu
build=${1:?build folder}
runs=${2:-10}
prog="$build/bench/viewer/viewer_first_page"
[ -x "$prog" ] || prog="$build/bin/viewer_first_page"
file=$(mktemp --suffix=.qzd)
trap 'rm -f "$file"' EXIT
"$prog" --write "$file"
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
i=0
while [ "$i" -lt "$runs" ]; do
    start=$(date +%s%N)
    shown=$("$prog" "$file" 2>/dev/null | tail -n 1)
    echo "run $i: $(( (shown - start) / 1000000 )) ms"
    i=$((i + 1))
done
