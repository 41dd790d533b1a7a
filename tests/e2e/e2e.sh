#!/usr/bin/env bash
# Drives the built program as a user would, under an X server, against the stand-in client
# library; with "openbox" as the last argument under that window manager, as on a desktop.
#   1. Splash, a second copy refused, the login dialog with a validation message above it, the
#      main window centred, the sessions of this computer, a search for another machine, Enter
#      on セッション切断 and No, Delete and Yes, the refreshed list, a second copy refused
#      again, SIGTERM logging off and ending with 0.
#   2. Against a server whose every statement takes 2 s: the search banner painted while the
#      query blocks, a Delete and an F5 typed meanwhile doing nothing, and the close box during
#      a search (with another search asked for meanwhile) ending the program.
#   3. A close request on the main window ending the program after a connection lost at the
#      login's search, a search, a kill, the refresh after a kill and the details, and with
#      the login dialog or the version window open.
#   4. Against a server whose every statement takes 10 s: the window resized during a search
#      painted, answering _NET_WM_PING within 1 s and dropping a Delete; Esc ending the search,
#      a kill and the details within a second with one break (none once the answer is in), the
#      next search needing no new login, the close
#      box and SIGTERM during a call ending the program within 5 s, logged off; a logon that
#      hangs given up with Esc (and logged off once it completes) or ended by the close box.
# Checks what the stand-in received and that the program ends cleanly.
#   e2e.sh KESTROM STANDIN-LIB-DIR WM-CLOSE XINSPECT DEMO-INSTANCE-SCRIPT [openbox]
set -euo pipefail
kestrom=$1 libdir=$2 wm_close=$3 xinspect=$4 instance_script=$5 wm=${6:-}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
export LD_LIBRARY_PATH="$libdir" KESTROM_STANDIN_FIXTURE="$work/instance.txt"
export KESTROM_STANDIN_LOG="$work/statements.log"
# The instance lock of a copy the developer may be running lives elsewhere.
export TMPDIR="$work" XDG_RUNTIME_DIR="$work"
chmod 700 "$work"
# Settings of its own, so that a switch remembered on this machine cannot change the run.
export XDG_CONFIG_HOME="$work/config"
"$instance_script" > "$work/instance.txt"
: > "$KESTROM_STANDIN_LOG"

fail() {
    echo "FAIL${wm:+ ($wm)}: $*"
    echo "--- statement log:"; cat "$KESTROM_STANDIN_LOG"
    echo "--- program output:"; cat "$work/first.out" 2>/dev/null
    exit 1
}
geometry() { "$xinspect" outer "$1"; }
log=$KESTROM_STANDIN_LOG e2e_wait=20 e2e_pause=0.2 e2e_type_delay=50
. "$(dirname "$0")/../support/e2e_steps.sh"
visible_windows() { xdotool search --onlyvisible --pid "$1" 2>/dev/null || true; }
# xdotool matches names without regard to case; the message boxes titled with the executable's
# name ("kestrom") are told from the main window ("Kestrom") here.
window_titled() {
    local w
    for w in $(xdotool search --onlyvisible --name "^$1\$"); do
        [ "$(xdotool getwindowname "$w")" = "$1" ] && { echo "$w"; return 0; }
    done
    return 1
}
no_window_titled() { ! window_titled "$1"; }
# position_in_stack WINDOW: its place from the bottom among the top-level windows.
position_in_stack() { "$xinspect" stacking | grep -nx "$1" | cut -d: -f1; }

if [ "$wm" = openbox ]; then
    openbox --sm-disable > "$work/openbox.out" 2>&1 &
    wait_until 20 "$xinspect" wm || fail "openbox did not start"
fi

# A second copy shows only the refusal; after OK it ends with no other window.
check_refused() {
    "$kestrom" > "$work/second.out" 2>&1 & local second=$!
    wait_until 20 has_window_named '^APP Load Error$' || fail "no refusal message from the second copy"
    local box
    box=$(window_named '^APP Load Error$')
    [ "$(visible_windows "$second" | wc -l)" -eq 1 ] || fail "the second copy shows more than its message"
    xdotool windowfocus --sync "$box" key Return
    local rc=0
    wait_until 20 bash -c "! kill -0 $second" || fail "the second copy did not end after OK"
    wait "$second" || rc=$?
    [ "$rc" -eq 0 ] || { cat "$work/second.out"; fail "the second copy ended with $rc"; }
    kill -0 "$first" || fail "the first copy ended too"
}


echo "== 1. the ordinary instance${wm:+, under $wm}"
echo "start, and a second copy while the splash shows"
"$kestrom" > "$work/first.out" 2>&1 & first=$!
wait_until 20 bash -c "[ -n \"\$(xdotool search --onlyvisible --pid $first)\" ]" || fail "no splash"
check_refused

echo "the main window is centred on the screen, frame included"
wait_until 20 has_window_named '^ログイン$' || fail "no login dialog"
main=$(main_window)
read -r x y w h < <("$xinspect" outer "$main")
read -r sw sh < <("$xinspect" screen)
dx=$((2 * x + w - sw)) dy=$((2 * y + h - sh))
echo "outer rectangle $x $y ${w}x$h on ${sw}x$sh: centre off by $dx/2, $dy/2 px"
[ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] || fail "the main window is not centred within 1 px"

echo "a validation message sits above the login dialog, which sits above the main window"
login=$(window_named '^ログイン$')
xdotool windowfocus --sync "$login"
xdotool key Return; sleep 0.2; xdotool key Return; sleep 0.2; xdotool key Return
wait_until 20 window_titled kestrom || fail "no message for the empty host string"
box=$(window_titled kestrom)
sleep 0.5
stack_main=$(position_in_stack "$main") stack_login=$(position_in_stack "$login")
stack_box=$(position_in_stack "$box")
echo "stacking from the bottom: main $stack_main, login $stack_login, message $stack_box"
[ -n "$stack_box" ] && [ -n "$stack_login" ] && [ -n "$stack_main" ] &&
    [ "$stack_box" -gt "$stack_login" ] && [ "$stack_login" -gt "$stack_main" ] ||
    fail "the message is not above the login dialog above the main window"
xdotool windowfocus --sync "$box" key Return
wait_until 20 no_window_titled kestrom || fail "the message stayed"
xdotool windowfocus --sync "$login"
xdotool type --delay 50 ORCL; sleep 0.2; xdotool key Return
wait_until 20 logged "LOGON system@ORCL" || fail "no logon"
wait_until 20 logged "WHERE terminal = '$me'" || fail "the sessions of this computer were not listed"

echo "a second copy while the main window runs"
check_refused

echo "search another machine; Enter on セッション切断 asks, No kills nothing"
xdotool windowfocus --sync "$main"
sleep 0.3
search_machine kaikei-pc01
sleep 0.5
# Enter in the grid moves the focus to the button; Enter on the button presses it.
xdotool key Return; sleep 0.3; xdotool key Return
question "Enter on the focused kill button asked nothing"
answer_no

echo "Delete on the last row, Yes"
xdotool windowfocus --sync "$main"
# The focus went back to the kill button; Shift+Tab twice leads to the grid.
xdotool key shift+Tab; sleep 0.2; xdotool key shift+Tab; sleep 0.2
xdotool key Delete
question "no confirmation for another machine's session"
answer Return
killed_and_refreshed 66,907 KAIKEI-PC01
grep -q "KILL SESSION '52" "$KESTROM_STANDIN_LOG" && fail "another session was killed too"

echo "SIGTERM (a desktop logout) logs off and ends with 0"
sleep 0.5
kill -TERM "$first"
ends_logged_off "$first" "after SIGTERM"

echo "== 2. a server whose every statement takes 2 s${wm:+, under $wm}"
printf 'fault\tslow-execute\t2000\n' >> "$work/instance.txt"
: > "$KESTROM_STANDIN_LOG"
"$kestrom" > "$work/first.out" 2>&1 & first=$!
log_in
wait_until 20 logged "WHERE terminal = '$me'" || fail "the sessions of this computer were not listed"
wait_until 20 bash -c "xdotool search --onlyvisible --name '^Kestrom\$'" || fail "no main window"
sleep 2.5
main=$(main_window)
read -r x y w h < <("$xinspect" outer "$main")
# The banner, 192 x 32, sits over the middle of the main window; inside it, clear of its edge.
bx=$((x + w / 2 - 88)) by=$((y + h / 2 - 12))
before=$("$xinspect" colours $bx $by 176 24)

echo "while a search blocks, the banner is painted and a Delete typed meanwhile kills nothing"
searches=$(count_logged "EXEC SELECT")
xdotool windowfocus --sync "$main" key Return
wait_until 20 bash -c "[ \$(grep -c 'EXEC SELECT' '$KESTROM_STANDIN_LOG') -gt $searches ]" ||
    fail "the search was not sent"
sleep 0.8
during=$("$xinspect" colours $bx $by 176 24)
echo "colours in the banner's area: $before before the search, $during while it runs"
[ "$during" -gt 8 ] && [ "$during" -gt "$before" ] || fail "the banner is not painted while the search runs"
xdotool key Delete
sleep 3.5
has_window_named '^切断確認$' && fail "the Delete typed during the search asked to kill"
logged "KILL SESSION" && fail "the Delete typed during the search killed a session"

echo "F5 typed while a search blocks is dropped, not carried out afterwards"
searches=$(count_logged "EXEC SELECT")
searched_more_than() { [ "$(count_logged "EXEC SELECT")" -gt "$1" ]; }
xdotool windowfocus --sync "$main" key F5
wait_until 20 searched_more_than "$searches" || fail "F5 did not search"
sleep 0.5
xdotool key F5
sleep 4.5
[ "$(count_logged "EXEC SELECT")" -eq $((searches + 1)) ] ||
    fail "the F5 typed during the search searched again afterwards"

echo "the close box during a search ends the program, also with a search asked for meanwhile"
searches=$(count_logged "EXEC SELECT")
# Shift+Tab from the grid reaches 検　索; Enter presses it.
xdotool windowfocus --sync "$main" key shift+Tab
sleep 0.3
xdotool key Return
wait_until 20 bash -c "[ \$(grep -c 'EXEC SELECT' '$KESTROM_STANDIN_LOG') -gt $searches ]" ||
    fail "Enter on the focused search button did not search"
sleep 1
xdotool key Return
sleep 0.3
"$wm_close" "$main"
ends_logged_off "$first" "after the close box during a search"
[ "$(count_logged "EXEC SELECT")" -eq $((searches + 1)) ] ||
    fail "the search asked for during the blocked one ran after all"

echo "== 3. a close request after a lost connection, and with a modal window open${wm:+, under $wm}"
# start_fresh EXTRA-FIXTURE-LINES: starts a copy against the demo instance with those lines.
start_fresh() {
    "$instance_script" > "$work/instance.txt"
    printf '%b' "$1" >> "$work/instance.txt"
    : > "$KESTROM_STANDIN_LOG"
    "$kestrom" > "$work/first.out" 2>&1 & first=$!
}
# ok_box WHAT: waits for a message box over the main window and presses its OK. Message boxes
# are titled Kestrom or kestrom, as the main window is (and the search banner is not).
other_window() {
    xdotool search --onlyvisible --name '^Kestrom$' 2>/dev/null | grep -vx "$(main_window)" |
        head -n1
}
other_window_shown() { [ -n "$(other_window)" ]; }
window_gone() { ! visible_windows "$first" | grep -qx "$1"; }
ok_box() {
    wait_until 20 other_window_shown || fail "no message: $1"
    local box
    box=$(other_window)
    sleep 0.3
    xdotool windowfocus --sync "$box" key Return
    wait_until 20 window_gone "$box" || fail "the message stayed: $1"
}
# to_grid: from the machine-name box, where the login leaves the focus, to the grid.
to_grid() { xdotool windowfocus --sync "$(main_window)" key Tab; sleep 0.2; xdotool key Tab; sleep 0.2; }
close_ends() {
    sleep 0.3
    "$wm_close" "$(main_window)"
    ends_with_zero "$first" "$1"
}

echo "the connection lost during the login's search"
start_fresh 'fault\tlose-connection\t0\n'
log_in
ok_box "the failed login"
wait_until 20 has_window_named '^ログイン$' || fail "no login dialog after the failed login"
xdotool windowfocus --sync "$(window_named '^ログイン$')" key Escape
wait_until 20 bash -c "! xdotool search --onlyvisible --name '^ログイン\$'" || fail "the login dialog stayed"
close_ends "after a connection lost at login"

echo "the connection lost at a search"
start_fresh 'fault\tlose-connection\t1\n'
log_in
wait_until 20 logged "WHERE terminal = '$me'" || fail "the sessions of this computer were not listed"
sleep 0.5
xdotool windowfocus --sync "$(main_window)" key F5
ok_box "the failed search"
close_ends "after a connection lost at a search"

echo "the connection lost at a kill"
start_fresh 'fault\tlose-connection\t1\n'
log_in
wait_until 20 logged "WHERE terminal = '$me'" || fail "the sessions of this computer were not listed"
sleep 0.5
to_grid
xdotool key Delete
ok_box "the failed kill"
close_ends "after a connection lost at a kill"

echo "the connection lost at the refresh after a kill"
start_fresh 'fault\tlose-connection\t2\n'
log_in
wait_until 20 logged "WHERE terminal = '$me'" || fail "the sessions of this computer were not listed"
sleep 0.5
to_grid
xdotool key Delete
wait_until 20 logged "KILL SESSION" || fail "no kill"
ok_box "the report of the kill"
ok_box "the failed refresh"
close_ends "after a connection lost at the refresh"

echo "the connection lost at the details"
start_fresh 'fault\tlose-connection\t1\n'
log_in
wait_until 20 logged "WHERE terminal = '$me'" || fail "the sessions of this computer were not listed"
sleep 0.5
to_grid
xdotool key Menu; sleep 0.5; xdotool key d
ok_box "the failed details"
close_ends "after a connection lost at the details"

echo "one close request with the login dialog open ends the program"
start_fresh ''
wait_until 20 has_window_named '^ログイン$' || fail "no login dialog"
close_ends "with the login dialog open"
logged "LOGON" && fail "logged on after a close request"

echo "one close request with the version window open logs off and ends the program"
start_fresh ''
log_in
wait_until 20 logged "WHERE terminal = '$me'" || fail "the sessions of this computer were not listed"
sleep 0.5
xdotool windowfocus --sync "$(main_window)" key alt+h; sleep 0.3; xdotool key v
wait_until 20 has_window_named 'ﾊﾞｰｼﾞｮﾝ情報' || fail "no version window"
close_ends "with the version window open"
logged "LOGOFF" || fail "the database was not closed with the version window open"

echo "== 4. a server whose every statement takes 10 s: the window stays alive, Esc ends the wait${wm:+, under $wm}"
# within MS COMMAND...: the command succeeds within that many milliseconds.
within() {
    local limit=$1 start=$(date +%s%N)
    shift
    wait_until 5 "$@" || return 1
    [ $((($(date +%s%N) - start) / 1000000)) -le "$limit" ]
}
start_fresh 'fault\tslow-execute\t10000\n'
log_in
wait_until 20 logged "WHERE terminal = '$me'" || fail "the sessions of this computer were not listed"
sleep 10.5
main=$(main_window)
searches=$(count_logged "EXEC SELECT")
xdotool windowfocus --sync "$main" key F5
wait_until 20 searched_more_than "$searches" || fail "F5 did not search"
sleep 1.2
echo "while the search waits: resized and painted, answering a ping, dropping a Delete"
xdotool windowsize --sync "$main" 900 560 || true
sleep 0.5
read -r x y w h < <("$xinspect" outer "$main")
# The lower right corner, uncovered by the resize, shows the status bar drawn anew.
painted=$("$xinspect" colours $((x + w - 200)) $((y + h - 40)) 180 30)
echo "colours in the uncovered corner: $painted"
[ "$painted" -gt 3 ] || fail "the window is not painted while the search waits"
[ -n "${KESTROM_E2E_SHOTS:-}" ] && import -window root "$KESTROM_E2E_SHOTS/slow-search${wm:+-$wm}.png"
ms=$("$xinspect" ping "$main") || fail "the window did not answer _NET_WM_PING within 1 s"
echo "answered _NET_WM_PING in $ms ms"
xdotool key Delete
sleep 0.3
echo "Esc ends the wait at once with the failure message; the connection stays"
xdotool key Escape
within 1500 other_window_shown || fail "Esc did not end the search within a second"
has_window_named '^切断確認$' && fail "the Delete typed during the search asked to kill"
ok_box "the search broken off"
[ "$(count_logged BREAK)" -eq 1 ] || fail "Esc sent $(count_logged BREAK) breaks, not one"
logged "KILL SESSION" && fail "the Delete typed during the search killed a session"
searches=$(count_logged "EXEC SELECT")
xdotool windowfocus --sync "$main" key F5
wait_until 20 searched_more_than "$searches" || fail "the next search was not sent"
sleep 10.5
other_window_shown && fail "the next search failed"
[ "$(count_logged "LOGON")" -eq 1 ] || fail "the next search needed a new login"
echo "Esc after the answer arrived sends no break"
xdotool key Escape
sleep 0.3
[ "$(count_logged BREAK)" -eq 1 ] || fail "Esc after the answer sent a break"

echo "Esc during a kill: the outcome is unknown, and the list is read again"
# The search left the focus in the grid, on its first row: this computer's session.
xdotool windowfocus --sync "$(main_window)" key Delete
wait_until 20 logged "KILL SESSION" || fail "no kill"
searches=$(count_logged "EXEC SELECT")
sleep 0.5
xdotool key Escape
within 1500 other_window_shown || fail "Esc did not end the kill within a second"
ok_box "the kill's unknown outcome"
wait_until 20 searched_more_than "$searches" || fail "the list was not read again after the kill"

echo "the close box during the refresh ends the program within 5 s, logged off"
sleep 0.5
"$wm_close" "$(main_window)"
wait_until 5 bash -c "! kill -0 $first" || fail "the program did not end within 5 s of the close box"
ends_with_zero "$first" "after the close box during a slow call"
logged "LOGOFF" || fail "the database was not closed"

echo "Esc during the details read ends it with the failure message"
start_fresh 'fault\tslow-execute\t10000\n'
log_in
wait_until 20 logged "WHERE terminal = '$me'" || fail "the sessions of this computer were not listed"
sleep 10.5
to_grid
xdotool key Menu; sleep 0.5; xdotool key d
wait_until 20 logged "WHERE s.sid = " || fail "the details were not asked for"
sleep 1.2
xdotool key Escape
within 1500 other_window_shown || fail "Esc did not end the details read within a second"
ok_box "the details broken off"

echo "SIGTERM during a search ends the program within 5 s, logged off"
searches=$(count_logged "EXEC SELECT")
xdotool windowfocus --sync "$(main_window)" key F5
wait_until 20 searched_more_than "$searches" || fail "F5 did not search"
sleep 0.5
kill -TERM "$first"
wait_until 5 bash -c "! kill -0 $first" || fail "the program did not end within 5 s of SIGTERM"
ends_with_zero "$first" "after SIGTERM during a slow call"
logged "LOGOFF" || fail "the database was not closed"

echo "a logon that hangs: Esc gives it up, the login dialog comes back"
start_fresh 'fault\tslow-logon\t10000\n'
log_in
sleep 1.2
xdotool key Escape
within 1500 other_window_shown || fail "Esc did not give the logon up within a second"
ok_box "the logon given up"
wait_until 20 has_window_named '^ログイン$' || fail "no login dialog after the logon was given up"
echo "the logon given up is logged off once it completes"
wait_until 20 logged "LOGOFF" || fail "the logon completed after being given up was not logged off"
logged "EXEC" && fail "the logon given up was used"
close_ends "with the login dialog open after a logon given up"

echo "the close box during a logon that hangs ends the program within 5 s"
start_fresh 'fault\tslow-logon\t10000\n'
log_in
sleep 1
"$wm_close" "$(main_window)"
wait_until 5 bash -c "! kill -0 $first" || fail "the program did not end within 5 s of the close box"
ends_with_zero "$first" "after the close box during a hanging logon"

echo "--- statement log:"; cat "$KESTROM_STANDIN_LOG"
echo "e2e${wm:+ ($wm)}: passed"
