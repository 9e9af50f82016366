#!/bin/bash
# Installs the Debian package and drives the installed program on a real X server the way a
# person would: first start, registration, login, records with Chinese names, quick search by
# pinyin initials, tray and automatic lock, unlock, backup, restore, password change, typing
# into an xterm with the system-wide shortcuts, the boss key, and exit. Screenshots of every
# window go to the output folder.
#   e2e.sh PACKAGE.deb [OUTPUT-FOLDER]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
deb=$(realpath "$1")
out=$(realpath -m "${2:-build/e2e}")
shots="$out/screenshots"
rm -rf "$out"
mkdir -p "$shots"
work=$(mktemp -d /tmp/ombrivo-e2e.XXXXXX)
pids=""
apps="" # the Ombrivo processes this run started
# shellcheck source=lib.sh
. "$here/lib.sh"
trap 'stop_apps; stop_desktop; rm -rf "$work"' EXIT

# --- the package -----------------------------------------------------------------------
if [ "$(id -u)" -eq 0 ]; then
    sudo=""
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    sudo="sudo -n"
else
    fail "installing the package needs root or sudo without a password; run as root or set E2E=0"
fi
log "installing $(basename "$deb")"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --reinstall "$deb" >"$out/install.log" 2>&1 ||
    { cat "$out/install.log"; fail "the package did not install"; }
for f in /usr/bin/ombrivo /usr/share/applications/org.ombrivo.Ombrivo.desktop \
    /usr/share/metainfo/org.ombrivo.Ombrivo.metainfo.xml /usr/share/ombrivo/帮助.doc \
    /usr/share/icons/hicolor/48x48/apps/org.ombrivo.Ombrivo.png \
    /usr/share/icons/hicolor/256x256/apps/org.ombrivo.Ombrivo.png; do
    [ -f "$f" ] || fail "the package lacks $f"
done
desktop-file-validate /usr/share/applications/org.ombrivo.Ombrivo.desktop ||
    fail "the desktop entry is not valid"
appstreamcli validate --no-net /usr/share/metainfo/org.ombrivo.Ombrivo.metainfo.xml \
    >"$out/appstream.log" 2>&1 || { cat "$out/appstream.log"; fail "the metainfo is not valid"; }
version=$(ombrivo --version)
log "installed: $version"
[[ "$version" == Ombrivo\ * ]] || fail "ombrivo --version said '$version'"
if ombrivo --frobnicate 2>"$work/refused.txt"; then fail "an unknown argument was accepted"; fi
grep -q -- "--frobnicate" "$work/refused.txt" || fail "the refusal does not name the argument"

# --- a fresh user account on a fresh desktop -------------------------------------------------
export HOME="$work/home"
mkdir -p "$HOME"
unset OMBRIVO_HOME QT_QPA_PLATFORM XDG_CONFIG_HOME XDG_DATA_HOME WAYLAND_DISPLAY
data="$HOME/.local/share/Ombrivo"
start_desktop
log "desktop on $DISPLAY"
xterm -u8 -geometry 70x8+10+560 -T 'ombrivo-e2e-xterm' -e sh -c "cat > '$work/typed.txt'" &
pids="$pids $!"
wait_window '^ombrivo-e2e-xterm$' 20 >/dev/null || fail "no xterm"

launch() {
    started=$(date +%s%N)
    ombrivo >>"$out/ombrivo.log" 2>&1 &
    app=$!
    apps="$apps $app"
    wait_window '^登录$' 30 >/dev/null || fail "no login window"
    echo $((($(date +%s%N) - started) / 1000000)) >>"$out/start-ms.txt"
}

user='张三'
password='Login-Pass1'
newpassword='Neues-Pass2'

log "first start"
launch
[ -f "$data/SystemData.dat" ] || fail "no data file in $data after the first start"
sleep 0.5
shot_window "$(wait_window '^登录$')" login

log "registration"
focus '^登录$'
keys alt+n
reg=$(wait_window '^注册新用户$') || fail "no registration window"
typed "$user"
keys Tab
typed "$password"
keys Tab
typed "$password"
shot_window "$reg" register
keys Return
answer_message "registered" message
wait_gone '^注册新用户$' 10 || fail "the registration window stayed"

log "login"
focus '^登录$'
typed "$password"
keys Return
main=$(wait_window '当前用户:张三' 20) || fail "no main window after the login"

# add_record CATEGORY NAME USER-ID PASSWORD DATE URL REMARKS
add_record() {
    focus '当前用户'
    keys alt+a
    editor=$(wait_window '^添加资料$') || fail "no editor window"
    typed "$1"
    keys Tab
    typed "$2"
    keys Tab
    typed "$3"
    keys Tab
    typed "$4"
    keys Tab
    typed "$5"
    keys Tab Tab ctrl+a
    typed "$6"
    keys Tab
    typed "$7"
    [ -n "${8:-}" ] && shot_window "$editor" "$8"
    # Alt+S is the boss key; the save button is the default one.
    keys shift+Tab Return
    wait_gone '^添加资料$' 10 || fail "the record '$2' was not saved"
}

log "records"
add_record '银行帐号' '工商银行' 'gh-user-01' 'Icbc-Pass-777' '2025-03-01' 'https://www.icbc.com.cn' '信用卡'
add_record '银行帐号' '招商银行' 'zhangsan-cmb' 'Cmb-Pass-888' '2026-12-10' 'https://www.cmbchina.com' '工资卡' record
add_record '邮箱帐号' '网易邮箱' 'zhangsan@163.com' '邮箱密码-163' '2024-05-20' 'https://mail.163.com' ''

# click_main X Y: a click at a point of the main window (its layout is fixed).
click_main() {
    focus '当前用户'
    xdotool mousemove --window "$(wait_window '当前用户')" "$1" "$2" click 1
    sleep 0.3
}

# Quick search: a click into the search box, then the initials.
search() {
    click_main 300 50
    keys ctrl+a
    typed "$1"
    sleep 0.5
    shot_window "$(wait_window '当前用户')" "search-$1"
}

# The list's menu: "复制+快捷键" gives the chosen record to the system-wide shortcuts.
# Under load the list is still being filled after the search: the keys wait for it, or the menu
# opens on no record and the shortcuts stay unarmed (the xterm then gets Alt+1 itself).
arm_shortcuts() {
    focus '当前用户'
    sleep 1
    keys Tab Tab Tab
    sleep 0.5
    keys Menu
    sleep 1
    [ -n "${1:-}" ] && shot_root "$1"
    keys c
    sleep 0.5
}

# paste KEYS...: types into the xterm with the shortcuts, one line each.
paste() {
    focus '^ombrivo-e2e-xterm$'
    for k in "$@"; do
        keys "$k"
        sleep 1
        keys Return
    done
}

log "quick search by pinyin initials"
search 'zsyh'
shot_window "$main" main
arm_shortcuts list-menu
paste alt+1 alt+2
search 'wyyx'
arm_shortcuts
paste alt+1
wait_lines 3 || fail "the shortcuts did not type three lines"
expected=$(printf '%s\n' 'zhangsan-cmb' 'Cmb-Pass-888' 'zhangsan@163.com')
[ "$(tr -d '\000' <"$work/typed.txt")" = "$expected" ] ||
    fail "the shortcuts typed '$(tr -d '\000' <"$work/typed.txt")' instead of '$expected'"

log "boss key"
focus '当前用户'
keys alt+s
wait_gone '当前用户' 5 || fail "the boss key did not hide the program"
keys alt+s
wait_window '当前用户' 5 >/dev/null || fail "the boss key did not bring the program back"

log "settings: lock one minute after minimising"
click_main 393 21
settings=$(wait_window '^设置$') || fail "no settings window"
keys Tab
xdotool mousemove --window "$settings" 300 32 click 1
sleep 0.3
keys ctrl+a
typed 1
shot_window "$settings" settings
keys alt+o
wait_gone '^设置$' 5 || fail "the settings window stayed"

log "tray and automatic lock"
xdotool windowminimize "$(wait_window '当前用户')"
sleep 2
tray=""
for id in $(xdotool search --class ombrivo); do
    [ "$(xdotool getwindowname "$id" 2>/dev/null)" = Ombrivo ] && tray=$id
done
[ -n "$tray" ] || fail "no tray icon while minimised"
shot_root tray
sleep 63
xdotool mousemove --window "$tray" 11 15 click 1
unlock=$(wait_window '^解锁' 10) || fail "the program did not ask to be unlocked"
sleep 0.3
shot_window "$unlock" unlock
focus '^解锁'
typed "$password"
keys Return
wait_window '当前用户' 10 >/dev/null || fail "no main window after unlocking"

# tool ALT-KEY: opens the tools window and presses one of its buttons.
tool() {
    focus '当前用户'
    keys alt+t
    tools=$(wait_window '^工具$') || fail "no tools window"
    [ -n "${2:-}" ] && shot_window "$tools" "$2"
    keys "$1"
}

log "backup"
backup="$HOME/备份/E2E备份.dat"
mkdir -p "$(dirname "$backup")"
tool alt+b tools
wait_window '^保存备份文件$' >/dev/null || fail "no save dialog"
# A file dialog maps before it takes the keyboard (it reads its folder first): typing at once
# loses the first characters under load.
focus '^保存备份文件$'
keys ctrl+a
typed "$backup"
shot_window "$(wait_window '^保存备份文件$')" backup-dialog
keys Return
answer_message "backed up" backed-up
[ -s "$backup" ] || fail "no backup at $backup"
[ "$(head -c 15 "$backup")" != "SQLite format 3" ] || fail "the backup is not scrambled"
focus '^工具$'
keys alt+c
wait_gone '^工具$' 5 || fail "the tools window stayed"

log "delete a record, then restore it from the backup"
search 'zsyh'
focus '当前用户'
keys alt+d
answer_message "delete question" delete-question '删除提示'
search 'zsyh'
: >"$work/typed.txt"
tool alt+r
wait_window '^请选择备份文件$' >/dev/null || fail "no open dialog"
focus '^请选择备份文件$'
keys ctrl+a
typed "$backup"
shot_window "$(wait_window '^请选择备份文件$')" restore-dialog
keys Return
resume=$(wait_window '^恢复数据$') || fail "no restore window"
keys Down
keys Tab
typed "$password"
shot_window "$resume" restore
keys alt+r
answer_message "restore question" restore-question
answer_message "restored" restored
wait_gone '^恢复数据$' 5 || true
focus '^工具$'
keys alt+c
wait_gone '^工具$' 5 || true
search 'zsyh'
arm_shortcuts
paste alt+1
wait_lines 1 || fail "the shortcut did not type the restored user ID"
[ "$(tr -d '\000' <"$work/typed.txt")" = "zhangsan-cmb" ] ||
    fail "the restored record did not come back (typed '$(tr -d '\000' <"$work/typed.txt")')"

log "password change"
tool alt+p
change=$(wait_window '^修改密码$') || fail "no password window"
typed "$password"
keys Tab
typed "$newpassword"
keys Tab
typed "$newpassword"
shot_window "$change" password
keys Return
answer_message "password changed"
wait_gone '^修改密码$' 5 || true
focus '^工具$'
keys alt+c

log "exit"
focus '当前用户'
keys alt+q
answer_message "exit question" exit-question
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not end"
[ "$(head -c 15 "$data/SystemData.dat")" != "SQLite format 3" ] ||
    fail "the data file was left unscrambled"
[ ! -e "$data/SystemData.lock" ] || fail "the lock file stayed"

log "second start with the new password"
launch
focus '^登录$'
typed "$password"
keys Return
answer_message "old password refused" wrong-password
focus '^登录$'
keys ctrl+a
typed "$newpassword"
keys Return
wait_window '当前用户:张三' 20 >/dev/null || fail "the new password did not log in"
focus '当前用户'
keys alt+q
answer_message "exit question"
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not end"

log "start to login window (ms): $(tr '\n' ' ' <"$out/start-ms.txt")"
log "passed; screenshots in $shots"
