#!/usr/bin/env bash
# Starts the built program from a terminal as a user would where it cannot open a window, and
# with Qt's own options. Every start that fails ends with exit code 1 and one line on standard
# error that names the display and the reason; never with an abort.
#   1. An X server that refuses the authorization (no X authority, a wrong cookie), a display
#      that no server serves, a Qt platform plugin that does not exist, and a display that
#      goes away between the program's check and Qt's own connection.
#   2. Qt's options: -platform and -display reach the check and Qt; -style, -reverse,
#      -qwindowgeometry, -qwindowtitle and -session are accepted and the window opens on the
#      display named by -display alone; a joined "-platform=xcb", which Qt would pass by, and
#      an unknown option are refused with exit code 2.
#   startup.sh KESTROM
set -euo pipefail
kestrom=$1
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
chmod 700 "$work"
fail() { echo "FAIL: $*"; exit 1; }
. "$(dirname "$0")/../support/wait_until.sh"
# A display number with no server, socket or lock, from N on.
free_display() {
    local d=$1
    while [ -e "/tmp/.X11-unix/X$d" ] || [ -e "/tmp/.X$d-lock" ] ||
        grep -q "@/tmp/.X11-unix/X$d\$" /proc/net/unix; do
        d=$((d + 1))
    done
    echo "$d"
}
cookie() { od -An -N16 -tx1 /dev/urandom | tr -d ' \n'; }

echo "an X server that asks for a cookie"
good=$(cookie)
touch "$work/server.auth" "$work/good.auth" "$work/wrong.auth"
xauth -q -f "$work/server.auth" add :0 MIT-MAGIC-COOKIE-1 "$good"
Xvfb -displayfd 3 -auth "$work/server.auth" -nolisten tcp -screen 0 1024x768x24 \
    3> "$work/display" 2> "$work/xvfb.err" &
wait_until 20 test -s "$work/display" || { cat "$work/xvfb.err"; fail "Xvfb did not start"; }
n=$(head -n1 "$work/display")
gone=$(free_display 4093)
xauth -q -f "$work/good.auth" add ":$n" MIT-MAGIC-COOKIE-1 "$good"
xauth -q -f "$work/wrong.auth" add ":$n" MIT-MAGIC-COOKIE-1 "$(cookie)"

# run NAME [VAR=VALUE...] [-- ARGS...]: a start with only the given window-system settings,
# exit code to $work/NAME.rc, output to NAME.out and NAME.err.
run() {
    local name=$1 settings=() rc=0
    shift
    while [ $# -gt 0 ] && [ "$1" != -- ]; do settings+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u QT_QPA_PLATFORM -u XAUTHORITY \
        -u XDG_SESSION_TYPE TMPDIR="$work" XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work/config" \
        "${settings[@]}" timeout 30 "$kestrom" "$@" > "$work/$name.out" 2> "$work/$name.err" ||
        rc=$?
    echo "$rc" > "$work/$name.rc"
}
# refused NAME EXPECTED-LINE: exit code 1, that one line on standard error, nothing else.
refused() {
    local rc
    rc=$(cat "$work/$1.rc")
    [ "$rc" = 1 ] || { cat "$work/$1.err"; fail "$1: ended with $rc, not 1"; }
    [ ! -s "$work/$1.out" ] || fail "$1: output on standard output"
    [ "$(wc -l < "$work/$1.err")" -eq 1 ] || { cat "$work/$1.err"; fail "$1: not one line"; }
    [ "$(cat "$work/$1.err")" = "$2" ] || fail "$1: the line is: $(cat "$work/$1.err")"
}

echo "== 1. starts that cannot open a window"
run noauthority DISPLAY=":$n" XAUTHORITY="$work/none"
refused noauthority "kestrom: cannot open a window on X display \":$n\": authorization refused (Authorization required, but no authorization protocol specified)"
run wrongcookie DISPLAY=":$n" XAUTHORITY="$work/wrong.auth"
refused wrongcookie "kestrom: cannot open a window on X display \":$n\": authorization refused (Invalid MIT-MAGIC-COOKIE-1 key)"
run unreachable DISPLAY=":$gone" XAUTHORITY="$work/good.auth"
refused unreachable "kestrom: cannot open a window on X display \":$gone\": unreachable"
run noplugin DISPLAY=":$n" XAUTHORITY="$work/good.auth" QT_QPA_PLATFORM=nonexistent
refused noplugin "kestrom: cannot open a window on X display \":$n\": no usable Qt platform plugin (\"nonexistent\")"

echo "a display that serves one connection only: the check's, not Qt's"
once=$(free_display $((gone + 1)))
xauth -q -f "$work/good.auth" add ":$once" MIT-MAGIC-COOKIE-1 "$good"
socat "ABSTRACT-LISTEN:/tmp/.X11-unix/X$once" "UNIX-CONNECT:/tmp/.X11-unix/X$n" &
proxy=$!
wait_until 20 grep -q "@/tmp/.X11-unix/X$once\$" /proc/net/unix || fail "socat did not listen"
run gonemeanwhile DISPLAY=":$once" XAUTHORITY="$work/good.auth"
refused gonemeanwhile "kestrom: cannot open a window on X display \":$once\": unreachable"
wait_until 10 bash -c "! kill -0 $proxy" || fail "the check did not connect through the one-time display"

echo "== 2. Qt's options"
run platform DISPLAY=":$n" XAUTHORITY="$work/good.auth" -- -platform nonexistent
refused platform "kestrom: cannot open a window on X display \":$n\": no usable Qt platform plugin (\"nonexistent\")"
run display DISPLAY=":$n" XAUTHORITY="$work/good.auth" -- --display ":$gone"
refused display "kestrom: cannot open a window on X display \":$gone\": unreachable"

echo "the window opens on the display -display names, with Qt's other options"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM TMPDIR="$work" XDG_RUNTIME_DIR="$work" \
    XDG_CONFIG_HOME="$work/config" XAUTHORITY="$work/good.auth" \
    "$kestrom" -display ":$n" -style fusion -style=fusion -reverse \
    -qwindowgeometry 400x300+10+10 -qwindowtitle KestromOptions --session kestrom-test \
    > "$work/options.out" 2>&1 &
started=$!
# Qt gives the first window it shows (the splash) the title -qwindowtitle names.
DISPLAY=":$n" XAUTHORITY="$work/good.auth" wait_until 20 \
    xdotool search --name '^KestromOptions$' || { cat "$work/options.out"; fail "no window"; }
# The window holds the login password from here on: no core file may take it.
grep -Eq '^Max core file size +0 +0 ' "/proc/$started/limits" ||
    fail "core files allowed: $(grep -i core "/proc/$started/limits")"
kill -TERM "$started"
rc=0
wait "$started" || rc=$?
[ "$rc" -eq 0 ] || { cat "$work/options.out"; fail "with Qt's options the program ended with $rc"; }

echo "a value joined to an option Qt reads apart, and an unknown option: exit code 2"
run joined DISPLAY=":$n" -- -platform=xcb
[ "$(cat "$work/joined.rc")" = 2 ] || fail "-platform=xcb ended with $(cat "$work/joined.rc")"
[ "$(head -n1 "$work/joined.err")" = "kestrom: Option 'platform' takes its value as the next argument." ] ||
    fail "refusal: $(head -n1 "$work/joined.err")"
run unknown DISPLAY=":$n" -- -no-such-option
[ "$(cat "$work/unknown.rc")" = 2 ] || fail "-no-such-option ended with $(cat "$work/unknown.rc")"
[ "$(head -n1 "$work/unknown.err")" = "kestrom: Unknown option 'no-such-option'." ] ||
    fail "refusal: $(head -n1 "$work/unknown.err")"
echo "PASS"
