#!/usr/bin/env bash
# Runs a command on an X server of its own (Xvfb) with the openbox window manager, so that a
# test meets what a user meets: window frames, the manager's placement, focus after a box,
# real drags driven by xdotool. Each run takes a free display number, so tests may run side
# by side; the server and the window manager end with the command.
#
#   tests/support/with-x11.sh COMMAND [ARGS...]
set -uo pipefail
for tool in Xvfb openbox xdotool xprop; do
    command -v "$tool" >/dev/null || { echo "with-x11: $tool is missing (scripts/run-tests.sh installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
cleanup() {
    [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null
    [ -n "${server:-}" ] && kill "$server" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# -displayfd makes the server pick a free display and write its number once it is ready.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
server=$!
exec 3>&-
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$server" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
[ -s "$work/display" ] || { echo "with-x11: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
# The window manager is ready once it has announced itself on the root window.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done

export QT_QPA_PLATFORM=xcb
"$@"
rc=$?
exit $rc
