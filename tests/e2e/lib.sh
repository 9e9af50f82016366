# Helpers of the end-to-end run: a private X display with a window manager and a tray host,
# and a person's actions on it through xdotool. Sourced by e2e.sh.

# Texts of window titles are Chinese: xdotool and xterm need a UTF-8 locale.
export LANG=C.UTF-8 LC_ALL=C.UTF-8

log() { printf '[e2e %s] %s\n' "$(date +%T)" "$*"; }
fail() {
    log "FAILED: $*"
    shot_root "failure" || true
    # What the program printed, since the output folder goes with a clean clone.
    if [ -s "${out:-}/ombrivo.log" ]; then
        log "the program's output (last lines):"
        tail -n 30 "$out/ombrivo.log" >&2
    fi
    exit 1
}

start_desktop() {
    # The server picks a free display itself and writes its number once it accepts clients.
    : >"$work/display"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" \
        >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    pids="$pids $xvfb"
    for _ in $(seq 200); do
        [ -s "$work/display" ] && break
        kill -0 "$xvfb" 2>/dev/null || break
        sleep 0.1
    done
    [ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; }
    DISPLAY=":$(head -n 1 "$work/display")"
    export DISPLAY
    unset XAUTHORITY
    xdpyinfo >/dev/null 2>&1 || { cat "$work/xvfb.log" >&2; fail "Xvfb takes no clients"; }
    openbox >"$work/openbox.log" 2>&1 &
    pids="$pids $!"
    # The window manager is up once it names itself on the root window.
    for _ in $(seq 200); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
        { cat "$work/xvfb.log" "$work/openbox.log" >&2; fail "no window manager"; }
    # The tray is up once its window is mapped; it takes the icons' selection just before.
    # A tray that did not come up is started again.
    for attempt in 1 2 3; do
        trayer --edge bottom --align right --widthtype request --height 32 --SetDockType true \
            --transparent false --tint 0xb0d0f0 >>"$work/trayer.log" 2>&1 &
        tray=$!
        for _ in $(seq 200); do
            xdotool search --onlyvisible --class trayer >/dev/null 2>&1 && break
            sleep 0.1
        done
        xdotool search --onlyvisible --class trayer >/dev/null 2>&1 && break
        log "the tray did not come up (attempt $attempt)"
        kill "$tray" 2>/dev/null || true
    done
    pids="$pids $tray"
    xdotool search --onlyvisible --class trayer >/dev/null 2>&1 ||
        { cat "$work/xvfb.log" "$work/openbox.log" "$work/trayer.log" >&2; fail "no tray"; }
    sleep 1
    xsetroot -solid '#3a6ea5' 2>/dev/null || true
}

# Ends the Ombrivo processes of this run, by their ids, in order (SIGTERM scrambles the data
# file), and kills one that does not end within five seconds.
stop_apps() {
    for pid in $apps; do
        kill -0 "$pid" 2>/dev/null || continue
        kill -TERM "$pid" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -KILL "$pid" 2>/dev/null || true
    done
}

# wait_lines N [SECONDS]: waits until the xterm has written N lines of typed text.
wait_lines() {
    deadline=$(($(date +%s) + ${2:-10}))
    while [ "$(date +%s)" -le "$deadline" ]; do
        [ "$(tr -d '\000' <"$work/typed.txt" | wc -l)" -ge "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

stop_desktop() {
    for pid in $pids; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}

# wait_window TITLE-REGEX [SECONDS]: prints the id of the visible window whose title matches.
wait_window() {
    deadline=$(($(date +%s) + ${2:-20}))
    while [ "$(date +%s)" -le "$deadline" ]; do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1) || true
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# window_gone ID [SECONDS]: the window with this id is no longer shown.
window_gone() {
    deadline=$(($(date +%s) + ${2:-20}))
    while [ "$(date +%s)" -le "$deadline" ]; do
        xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1" || return 0
        sleep 0.1
    done
    return 1
}

# wait_gone TITLE-REGEX [SECONDS]
wait_gone() {
    deadline=$(($(date +%s) + ${2:-20}))
    while [ "$(date +%s)" -le "$deadline" ]; do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

# focus TITLE-REGEX: waits for the window, raises it and gives it the keyboard.
focus() {
    win=$(wait_window "$1" "${2:-20}") || fail "no window '$1'"
    timeout 5 xdotool windowactivate --sync "$win" 2>/dev/null ||
        timeout 5 xdotool windowfocus --sync "$win" 2>/dev/null || true
    sleep 0.3
}

keys() { xdotool key --clearmodifiers --delay 80 "$@"; sleep 0.3; }
typed() { xdotool type --clearmodifiers --delay 60 "$1"; sleep 0.3; }

# answer_message WHAT [SHOT] [TITLE]: a message box (titled "提示" unless TITLE says
# otherwise) is up; screenshot it as SHOT, then answer with Enter (OK, or Yes).
answer_message() {
    title="${3:-提示}"
    box=$(wait_window "^$title\$" 20) || fail "no message box ($1)"
    [ -n "${2:-}" ] && shot_window "$box" "$2"
    timeout 5 xdotool windowactivate --sync "$box" 2>/dev/null || true
    sleep 0.2
    keys Return
    # The next box may have the same title: it is this box that must go.
    window_gone "$box" 10 || fail "message box stayed ($1)"
}

shot_window() {
    [ -n "$1" ] || return 0
    import -window "$1" "$shots/$2.png" 2>/dev/null || log "screenshot $2 failed"
}
shot_root() {
    import -window root "$shots/$1.png" 2>/dev/null || true
}
