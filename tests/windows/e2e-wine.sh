#!/usr/bin/env bash
# Drives the installed Windows program under Wine on an X server, as a user would, against the
# stand-in client library built as oci.dll and found on PATH: splash, login, the sessions of
# this computer (Wine reports the host's name as the computer name), a search for another
# machine, Delete on one of its sessions asking 切断確認 (No with N kills nothing, Yes with
# Alt+Y kills it), the refreshed list, the close box logging off and ending with 0, and a
# second run ended by a Windows logoff, which logs off from the database and ends with 0 too.
# Screenshots of the main window and of the question go to SHOTS; the question's Japanese
# text must have been drawn with real glyphs. A third run against a server that takes 10 s per
# statement: during a search the window answers a message sent with SendMessageTimeout within
# a second (what Windows asks before it shows (応答なし)), and Esc ends the wait.
#   e2e-wine.sh PROGRAM-DIR STANDIN-DIR DEMO-INSTANCE-SCRIPT SHOTS ANSWERS-EXE
set -euo pipefail
dir=$1 standin=$2 instance_script=$3 shots=$4 answers=$5
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$shots"
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
export WINEDEBUG=-all
export WINEPATH="$(winpath "$standin")"
export KESTROM_STANDIN_FIXTURE="$(winpath "$work/instance.txt")"
export KESTROM_STANDIN_LOG="$(winpath "$work/statements.log")"
log=$work/statements.log
"$instance_script" > "$work/instance.txt"
: > "$log"
# Settings a test left in the prefix's registry would change the run.
wine reg delete 'HKCU\Software\Kestrom' /f > /dev/null 2>&1 || true

fail() {
    echo "FAIL (Wine): $*"
    import -window root "$shots/failure.png" 2>/dev/null || true
    echo "--- statement log:"; cat "$log"; echo "--- program output:"; cat "$work/out" 2>/dev/null
    exit 1
}
geometry() { # geometry WINDOW: x y width height of the window on the screen
    xdotool getwindowgeometry --shell "$1" | awk -F= '{v[$1]=$2} END {print v["X"], v["Y"], v["WIDTH"], v["HEIGHT"]}'
}
shot() { # shot WINDOW NAME: the window's area of the screen, as the user sees it
    local x y w h
    read -r x y w h < <(geometry "$1")
    import -window root -crop "${w}x$h+$x+$y" +repage "$shots/$2.png"
}
e2e_wait=30 e2e_pause=0.3 e2e_type_delay=80
. "$here/../support/e2e_steps.sh"

echo "start: the splash, then the login dialog"
(cd "$dir" && exec wine ./kestrom.exe > "$work/out" 2>&1) & program=$!
# The splash is the program's first window: 401 x 250 pixels, no frame.
splash() {
    local w x y width height
    for w in $(xdotool search --onlyvisible --class '^kestrom\.exe$'); do
        read -r x y width height < <(geometry "$w")
        [ "$width" -eq 401 ] && [ "$height" -eq 250 ] && { echo "$w"; return 0; }
    done
    return 1
}
wait_until 60 splash || fail "no splash"
has_window_named '^ログイン$' && fail "the login dialog came with the splash"
read -r x y w h < <(geometry "$(splash)")
read -r sw sh < <(xdotool getdisplaygeometry)
echo "splash at $x $y on ${sw}x$sh"
dx=$((2 * x + w - sw)) dy=$((2 * y + h - sh))
[ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] || fail "the splash is not centred within 1 px"
shot "$(splash)" splash
wait_until 60 has_window_named '^ログイン$' || fail "no login dialog"

echo "the main window is centred on the screen, frame included"
main=$(main_window)
[ -n "$main" ] || fail "no main window"
read -r x y w h < <(geometry "$main")
read -r sw sh < <(xdotool getdisplaygeometry)
dx=$((2 * x + w - sw)) dy=$((2 * y + h - sh))
echo "outer rectangle $x $y ${w}x$h on ${sw}x$sh: centre off by $dx/2, $dy/2 px"
[ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] || fail "the main window is not centred within 1 px"

echo "log in"
log_in
wait_until 30 logged "WHERE terminal = '$me'" || fail "the sessions of this computer ($me) were not listed"
sleep 1
shot "$main" main-window

echo "search another machine; Delete asks 切断確認, No kills nothing"
xdotool windowfocus --sync "$main"
sleep 0.5
search_machine kaikei-pc01
sleep 1
xdotool key Delete
question "no confirmation for another machine's session"
question=$(window_named '^切断確認$')
sleep 0.5
shot "$question" confirmation
# Inside the frame and under the caption: the message and the buttons.
read -r _ _ w h < <(geometry "$question")
convert "$shots/confirmation.png" -crop "$((w - 12))x$((h - 34))+6+28" +repage -colorspace Gray -depth 8 \
    "$work/confirmation.pgm"
shapes=$("$here/glyphs.py" "$work/confirmation.pgm")
echo "different glyph shapes in the question: $shapes"
[ "$shapes" -ge 15 ] || fail "the question's Japanese text is not drawn with real glyphs ($shapes shapes)"
answer_no

echo "Delete again, Yes with Alt+Y"
xdotool windowfocus --sync "$main"
sleep 0.5
xdotool key Delete
question "no confirmation the second time"
answer alt+y
killed_and_refreshed 66,907 KAIKEI-PC01

echo "the close box logs off and the program ends with 0"
sleep 1
main=$(main_window)
read -r x y w h < <(geometry "$main")
# Wine draws the frame itself here: the close box is the caption's rightmost button.
xdotool mousemove --sync $((x + w - 18)) $((y + 15)) click 1
ends_logged_off "$program" "after the close box"

echo "a Windows logoff logs off from the database and ends the program with 0"
: > "$log"
(cd "$dir" && exec wine ./kestrom.exe > "$work/out" 2>&1) & program=$!
wait_until 60 has_window_named '^ログイン$' || fail "no login dialog the second time"
log_in
wait_until 30 logged "WHERE terminal = '$me'" || fail "no search after the second login"
# Wine ends its session as Windows does: WM_QUERYENDSESSION, then WM_ENDSESSION.
timeout 60 wine wineboot --end-session > /dev/null 2>&1 < /dev/null || fail "wineboot --end-session failed"
ends_logged_off "$program" "after the logoff"
# Wine's background processes went with the session; they start again for the tests after
# this one, with their output detached from this test's.
timeout 120 wine wineboot > /dev/null 2>&1 < /dev/null || true

echo "a search against a slow server: the window answers Windows, and Esc ends the wait"
"$instance_script" > "$work/instance.txt"
printf 'fault\tslow-execute\t10000\n' >> "$work/instance.txt"
: > "$log"
(cd "$dir" && exec wine ./kestrom.exe > "$work/out" 2>&1) & program=$!
wait_until 60 has_window_named '^ログイン$' || fail "no login dialog the third time"
log_in
wait_until 30 logged "WHERE terminal = '$me'" || fail "no search after the third login"
sleep 11
main=$(main_window)
searches=$(grep -c "EXEC SELECT" "$log" || true)
xdotool windowfocus --sync "$main" key F5
wait_until 30 bash -c "[ \$(grep -c 'EXEC SELECT' '$log') -gt $searches ]" || fail "F5 did not search"
sleep 1.5
ms=$(wine "$answers" Kestrom 2>/dev/null | tr -d '\r') ||
    fail "the window did not answer SendMessageTimeout within 1 s while the search ran"
echo "answered SendMessageTimeout in $ms ms"
xdotool key Escape
wait_until 2 bash -c "[ \$(xdotool search --onlyvisible --name '^Kestrom\$' | wc -l) -ge 2 ]" ||
    fail "Esc did not end the search"
xdotool key Return
sleep 1
main=$(main_window)
read -r x y w h < <(geometry "$main")
xdotool mousemove --sync $((x + w - 18)) $((y + 15)) click 1
ends_logged_off "$program" "after the close box during a slow server's search"

echo "--- statement log:"; cat "$log"
echo "e2e (Wine): passed"
