#!/bin/sh
# The viewer's start with the largest document (100 pages, 64 keywords a page).
#
#   measure_first_page.sh <build dir> [runs]
#       Time from process start to the first page painted, measured inside the program, on
#       the display in $DISPLAY (or offscreen when none is set); prints each run and the median.
#
#   measure_first_page.sh <build dir> [runs] --assistant
#       The same pages against Qt Assistant (Debian packages assistant-qt6 and
#       qt6-documentation-tools): the pages are exported as HTML by qzdtool and made into a Qt
#       help collection with their contents and keywords, in a temporary folder. qzd32 on the
#       help file and Assistant on the collection (showing page 1) are started in turn, each
#       timed from outside by start_until_idle: from process start until the main thread is
#       idle with the window shown. Both get a fresh home folder; each program is started once
#       untimed first, so that Assistant's one-time copy of the collection and its search
#       index are not counted. Runs on $DISPLAY, or on an Xvfb display with openbox of its
#       own when none is set. Prints both medians and their ratio, and the medians of the
#       processor time the main threads used until then (steadier on a busy machine).
set -eu
build=$(cd "${1:?build folder}" && pwd)
runs=${2:-10}
mode=${3:-}
here=$(cd "$(dirname "$0")" && pwd)

find_prog() {
    for p in "$build/bench/viewer/$1" "$build/bin/$1"; do
        [ -x "$p" ] && { echo "$p"; return; }
    done
    echo "measure_first_page: $1 is not built (configure with -DQUILLO_BUILD_BENCH=ON)" >&2
    exit 1
}

# The median of the numbers on standard input.
median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

prog=$(find_prog viewer_first_page)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file="$work/max.qzd"
"$prog" --write "$file"

if [ "$mode" != "--assistant" ]; then
    [ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
    i=0
    while [ "$i" -lt "$runs" ]; do
        start=$(date +%s%N)
        shown=$("$prog" "$file" 2>/dev/null | tail -n 1)
        ms=$(((shown - start) / 1000000))
        echo "run $i: $ms ms"
        echo "$ms" >>"$work/times"
        i=$((i + 1))
    done
    echo "median: $(median <"$work/times") ms"
    exit 0
fi

if [ -z "${DISPLAY:-}" ]; then
    rm -rf "$work"
    exec "$here/../../tests/support/with-x11.sh" "$0" "$build" "$runs" --assistant
fi
export QT_QPA_PLATFORM=xcb

lookup() {
    for p in "$(command -v "$1" 2>/dev/null || true)" "/usr/lib/qt6/bin/$1" "/usr/lib/qt6/libexec/$1"; do
        [ -n "$p" ] && [ -x "$p" ] && { echo "$p"; return; }
    done
    echo "measure_first_page: $1 is missing (apt-get install assistant-qt6 qt6-documentation-tools)" >&2
    exit 1
}
assistant=$(lookup assistant)
qhelpgenerator=$(lookup qhelpgenerator)
timer=$(find_prog start_until_idle)
viewer=${QZD32:-$(find_prog qzd32)} # QZD32: another build's viewer to compare

# The help collection: page N is max_N.htm, the project lists the contents and keywords.
"$(find_prog qzdtool)" export-html "$file" "$work/html" >/dev/null
"$prog" --write-qhp "$work/html/max.qhp" max
cat >"$work/html/max.qhcp" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<QHelpCollectionProject version="1.0">
  <assistant>
    <title>max</title>
    <startPage>qthelp://org.quillo.maximum/doc/max_1.htm</startPage>
    <enableDocumentationManager>false</enableDocumentationManager>
    <enableAddressBar>false</enableAddressBar>
    <enableFilterFunctionality>false</enableFilterFunctionality>
  </assistant>
  <docFiles>
    <generate><file><input>max.qhp</input><output>max.qch</output></file></generate>
    <register><file>max.qch</file></register>
  </docFiles>
</QHelpCollectionProject>
EOF
"$qhelpgenerator" "$work/html/max.qhcp" -o "$work/html/max.qhc" >/dev/null

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
    XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

run_viewer() { "$timer" "$viewer" "$file" 2>/dev/null; }
run_assistant() {
    "$timer" "$assistant" -collectionFile "$work/html/max.qhc" \
        -showUrl qthelp://org.quillo.maximum/doc/max_1.htm 2>/dev/null
}

run_viewer >/dev/null
run_assistant >/dev/null
i=0
while [ "$i" -lt "$runs" ]; do
    v=$(run_viewer)
    a=$(run_assistant)
    echo "run $i: qzd32 ${v% *} ms (main thread ${v#* } ms), assistant ${a% *} ms (main thread ${a#* } ms)"
    echo "$v" >>"$work/viewer"
    echo "$a" >>"$work/assistant"
    i=$((i + 1))
done
ratio() { awk -v v="$1" -v a="$2" 'BEGIN { printf "%.2f", v / a }'; }
v=$(cut -d' ' -f1 <"$work/viewer" | median)
a=$(cut -d' ' -f1 <"$work/assistant" | median)
vc=$(cut -d' ' -f2 <"$work/viewer" | median)
ac=$(cut -d' ' -f2 <"$work/assistant" | median)
echo "median qzd32: $v ms (main thread $vc ms)"
echo "median assistant: $a ms (main thread $ac ms)"
echo "ratio qzd32/assistant: $(ratio "$v" "$a") (main thread $(ratio "$vc" "$ac"))"
