#!/usr/bin/env bash
# Drives the built program as a user would, under an X server, against the stand-in client
# library: splash, a second copy refused, login, the sessions of this computer, a search for
# another machine, Delete and Yes, the refreshed list, a second copy refused again, the close
# box. Checks what the stand-in received and that the program ends cleanly.
#   e2e.sh KESTROM STANDIN-LIB-DIR WM-CLOSE DEMO-INSTANCE-SCRIPT
set -euo pipefail
kestrom=$1 libdir=$2 wm_close=$3 instance_script=$4
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
export LD_LIBRARY_PATH="$libdir" KESTROM_STANDIN_FIXTURE="$work/instance.txt"
export KESTROM_STANDIN_LOG="$work/statements.log"
# The instance lock of a copy the developer may be running lives elsewhere.
export TMPDIR="$work" XDG_RUNTIME_DIR="$work"
# Settings of its own, so that a switch remembered on this machine cannot change the run.
export XDG_CONFIG_HOME="$work/config"
"$instance_script" > "$work/instance.txt"
: > "$KESTROM_STANDIN_LOG"
me=$(hostname | cut -d. -f1 | tr '[:lower:]' '[:upper:]' | cut -c1-15)

fail() { echo "FAIL: $*"; echo "--- statement log:"; cat "$KESTROM_STANDIN_LOG"; exit 1; }
# wait_until SECONDS COMMAND...: polls until the command succeeds.
wait_until() {
    local limit=$1; shift
    local end=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.1
    done
}
logged() { grep -qF -- "$1" "$KESTROM_STANDIN_LOG"; }
visible_windows() { xdotool search --onlyvisible --pid "$1" 2>/dev/null || true; }
has_window_named() { xdotool search --onlyvisible --name "$1"; }

# A second copy shows only the refusal; after OK it ends with no other window.
check_refused() {
    "$kestrom" > "$work/second.out" 2>&1 & local second=$!
    wait_until 20 has_window_named '^APP Load Error$' || fail "no refusal message from the second copy"
    local box
    box=$(xdotool search --onlyvisible --name '^APP Load Error$' | head -n1)
    [ "$(visible_windows "$second" | wc -l)" -eq 1 ] || fail "the second copy shows more than its message"
    xdotool windowfocus --sync "$box" key Return
    local rc=0
    wait_until 20 bash -c "! kill -0 $second" || fail "the second copy did not end after OK"
    wait "$second" || rc=$?
    [ "$rc" -eq 0 ] || { cat "$work/second.out"; fail "the second copy ended with $rc"; }
    kill -0 "$first" || fail "the first copy ended too"
}

echo "start, and a second copy while the splash shows"
"$kestrom" > "$work/first.out" 2>&1 & first=$!
wait_until 20 bash -c "[ -n \"\$(xdotool search --onlyvisible --pid $first)\" ]" || fail "no splash"
check_refused

echo "log in through the dialog: Enter, Enter, host string, Enter"
wait_until 20 has_window_named '^ログイン$' || fail "no login dialog"
login=$(xdotool search --onlyvisible --name '^ログイン$' | head -n1)
xdotool windowfocus --sync "$login"
xdotool key Return; sleep 0.2; xdotool key Return; sleep 0.2
xdotool type --delay 50 ORCL; sleep 0.2; xdotool key Return
wait_until 20 logged "LOGON system@ORCL" || fail "no logon"
wait_until 20 logged "WHERE terminal = '$me'" || fail "the sessions of this computer were not listed"

echo "a second copy while the main window runs"
check_refused

echo "search another machine, Delete its last row, Yes"
main=$(xdotool search --onlyvisible --name '^Kestrom$' | head -n1)
xdotool windowfocus --sync "$main"
sleep 0.3
xdotool key ctrl+a; xdotool type --delay 50 kaikei-pc01; xdotool key Return
wait_until 20 logged "WHERE terminal = 'KAIKEI-PC01'" || fail "the search for KAIKEI-PC01 was not sent"
sleep 0.5
xdotool key Delete
wait_until 20 has_window_named '^切断確認$' || fail "no confirmation for another machine's session"
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^切断確認$' | head -n1)" key Return
wait_until 20 logged "EXEC ALTER SYSTEM KILL SESSION '66,907'" || fail "the last row's session was not killed"
# "The session was disconnected": the box has the program's title, like the main window.
wait_until 20 bash -c "[ \$(xdotool search --onlyvisible --name '^Kestrom\$' | wc -l) -ge 2 ]" ||
    fail "no report of the kill"
xdotool key Return
wait_until 20 bash -c "[ \$(grep -c \"WHERE terminal = 'KAIKEI-PC01'\" '$KESTROM_STANDIN_LOG') -ge 2 ]" ||
    fail "the list was not refreshed after the kill"
grep -q "KILL SESSION '52" "$KESTROM_STANDIN_LOG" && fail "another session was killed too"

echo "the close box ends the program and closes the database"
sleep 0.5
main=$(xdotool search --onlyvisible --name '^Kestrom$' | head -n1)
"$wm_close" "$main"
wait_until 20 bash -c "! kill -0 $first" || fail "the program did not end after the close box"
rc=0; wait "$first" || rc=$?
[ "$rc" -eq 0 ] || { cat "$work/first.out"; fail "the program ended with $rc"; }
logged "LOGOFF" || fail "the database was not closed"
echo "--- statement log:"; cat "$KESTROM_STANDIN_LOG"
echo "e2e: 1 passed, 0 failed"
