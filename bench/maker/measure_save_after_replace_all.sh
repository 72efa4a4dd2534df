#!/bin/bash
# The save after すべて置換 as a writer meets it in the authoring program itself (qzd32mk) on an
# X server with a window manager: the largest document (100 pages of 60 KB) open, a letter
# typed and saved, then the search window's replace-all of a word on every line of every page
# (page 1, shown, changed with the others), the count box answered, and 上書き保存(S) with
# Ctrl+S. Each step prints the processor time the program spent from the key or click until it
# was idle again (300 ms without work) and the wall time until its last work.
#
#   measure_save_after_replace_all.sh <build dir> [word] [replacement]
#
# Without $DISPLAY it runs itself on an X server of its own (tests/support/with-x11.sh).
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
word=${2:-help}
replacement=${3:-hqlp}
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${DISPLAY:-}" ]; then
    exec "$here/../../tests/support/with-x11.sh" "$0" "$build" "$word" "$replacement"
fi
export QT_QPA_PLATFORM=xcb
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
export QUILLO_HOME=$work
file=$work/largest.qzd
"$build/bin/bench_search" --write-largest "$file"
beganAt=$(date +%s%N)
beganCpu=0
"$build/bin/qzd32mk" "$file" 2>"$work/qzd32mk.log" &
pid=$!

# Processor time of all the program's threads, in nanoseconds.
cpu() { cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f\n", s }'; }
# Waits until the program has worked less than 1 ms in each of six 50 ms spans (a caret blink
# costs less); prints the time it worked since `begin` (set before the key) and the wall time
# until its last span of work.
idle() {
    local last=$beganCpu now quiet=0 lastChange=$beganAt
    while [ "$quiet" -lt 6 ]; do
        sleep 0.05
        now=$(cpu)
        if [ $((now - last)) -lt 1000000 ]; then
            quiet=$((quiet + 1))
        else
            quiet=0
            lastChange=$(date +%s%N)
        fi
        last=$now
    done
    printf '%-34s processor %5d ms, busy until %5d ms\n' "$1" \
        $(((last - beganCpu) / 1000000)) $(((lastChange - beganAt) / 1000000))
}
begin() {
    beganCpu=$(cpu)
    beganAt=$(date +%s%N)
}
windowNamed() {
    local w
    for _ in $(seq 300); do
        w=$(xdotool search --name "$1" 2>/dev/null | head -n1) && [ -n "$w" ] && {
            echo "$w"
            return
        }
        sleep 0.1
    done
    echo "no window named $1" >&2
    exit 1
}

# Brings the main window to the front; the window manager may still be framing it.
activate() {
    for _ in $(seq 50); do
        xdotool windowactivate --sync "$main" 2>/dev/null && return
        sleep 0.2
    done
    echo "the main window cannot be activated" >&2
    exit 1
}

main=$(windowNamed 'Quillo32Maker .*largest.qzd')
idle "start until page 1 is shown"
activate
begin
idle "(window activated)" >/dev/null

xdotool type x
sleep 0.3
begin
xdotool key ctrl+s
idle "save after one letter"

replaceAll() { # from to: the replace-all, then its count box answered
    xdotool key ctrl+h
    local search
    search=$(windowNamed '検索・置換')
    sleep 0.3
    xdotool key ctrl+a
    xdotool type "$1"
    xdotool key Down ctrl+a
    xdotool type "$2"
    begin
    # すべて置換: 4905,720 twips (1095 by 285) in the window, 15 twips a pixel on this server.
    xdotool mousemove --window "$search" 363 57 click 1
    windowNamed 'すべて置換' >/dev/null
    idle "replace-all until its count box"
    xdotool key Return
    activate
}

replaceAll "$word" "$replacement"
begin
idle "(what the replace-all left)"
begin
xdotool key ctrl+s
idle "save after the replace-all"
begin
xdotool key ctrl+s
idle "second save"

replaceAll "$replacement" "$word"
begin
xdotool key ctrl+s
idle "save at once after a replace-all"

replaceAll "$word" "$replacement"
begin
idle "(what the replace-all left)" >/dev/null
# 次ﾍﾟｰｼﾞへ(N) from the ﾍﾟｰｼﾞ編集(PE) menu: page 2, changed by the replace-all, is shown.
begin
xdotool key alt+p n
idle "page turn"
begin
xdotool key ctrl+s
idle "save after the page turn"
