#!/bin/sh
# The system-wide keys under an X server of the test's own: starts Xvfb on a free display,
# runs the probe given as $1 there, and stops the server. Exit 77 (skipped) only when Xvfb or
# xdotool is missing.
set -u
probe="$1"
for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool is missing: skipped"
        exit 77
    fi
done

tmp=$(mktemp -d)
xvfb=""
cleanup() {
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null
        wait "$xvfb" 2>/dev/null
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT INT TERM

# Under LeakSanitizer: the suite's suppressions, and the D-Bus connection Qt's xcb platform
# keeps for the process's life.
here=$(cd "$(dirname "$0")" && pwd)
cat "$here/../lsan.supp" >"$tmp/lsan.supp" 2>/dev/null
echo "leak:libdbus-1.so" >>"$tmp/lsan.supp"
LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$tmp/lsan.supp"
export LSAN_OPTIONS

# Without an X server the keys are unavailable, and nothing breaks.
if ! QT_QPA_PLATFORM=offscreen timeout 30 "$probe"; then
    echo "the offscreen platform must give no system-wide keys"
    exit 1
fi

# The server picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -nolisten tcp -screen 0 800x600x24 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
tries=0
while [ ! -s "$tmp/display" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$xvfb" 2>/dev/null; then
        echo "Xvfb did not start:"
        cat "$tmp/xvfb.log"
        exit 1
    fi
    sleep 0.1
done
DISPLAY=":$(head -n 1 "$tmp/display")"
export DISPLAY
unset WAYLAND_DISPLAY XAUTHORITY
QT_QPA_PLATFORM=xcb timeout 60 "$probe"
