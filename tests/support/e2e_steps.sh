# Sourced by the end-to-end scripts, tests/e2e/e2e.sh (Linux) and tests/windows/e2e-wine.sh
# (the Windows program under Wine): the helpers and the steps both drive the program with,
# through xdotool on an X server. Before sourcing, the script sets
#   log             the stand-in's statement log
#   e2e_wait        seconds the program is given to answer a step
#   e2e_pause       seconds between keys
#   e2e_type_delay  milliseconds between typed characters
# and defines fail MESSAGE and geometry WINDOW (its x, y, width and height on the screen).
. "$(dirname "${BASH_SOURCE[0]}")/wait_until.sh"
# This computer's name, as the program and the demo instance name it.
me=$("$(dirname "${BASH_SOURCE[0]}")/../../tools/computer-name.sh")

logged() { grep -qF -- "$1" "$log"; }
count_logged() { grep -cF -- "$1" "$log" || true; }
has_window_named() { [ -n "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ]; }
window_named() { xdotool search --onlyvisible --name "$1" | head -n1; }
# The largest visible window titled Kestrom is the main window; the message boxes are smaller.
main_window() {
    local w best="" area=0 x y width height
    for w in $(xdotool search --onlyvisible --name '^Kestrom$'); do
        read -r x y width height < <(geometry "$w")
        if [ $((width * height)) -gt $area ]; then best=$w; area=$((width * height)); fi
    done
    echo "$best"
}

# log_in: the login dialog opens; Enter, Enter, the host string, Enter.
log_in() {
    wait_until "$e2e_wait" has_window_named '^ログイン$' || fail "no login dialog"
    xdotool windowfocus --sync "$(window_named '^ログイン$')"
    xdotool key Return; sleep "$e2e_pause"; xdotool key Return; sleep "$e2e_pause"
    xdotool type --delay "$e2e_type_delay" ORCL; sleep "$e2e_pause"; xdotool key Return
    wait_until "$e2e_wait" logged "LOGON system@ORCL" || fail "no logon"
}

# search_machine NAME: replaces the name in the machine-name box, which has the focus, and
# presses Enter; the search for it in upper case must reach the server.
search_machine() {
    local upper
    upper=$(tr '[:lower:]' '[:upper:]' <<<"$1")
    xdotool key ctrl+a; xdotool type --delay "$e2e_type_delay" "$1"; xdotool key Return
    wait_until "$e2e_wait" logged "WHERE terminal = '$upper'" ||
        fail "the search for $upper was not sent"
}

# question WHY: waits for the kill's confirmation 切断確認; WHY is the failure without it.
question() { wait_until "$e2e_wait" has_window_named '^切断確認$' || fail "$1"; }
# answer KEY: answers the confirmation with the key.
answer() { xdotool windowfocus --sync "$(window_named '^切断確認$')" key "$1"; }
# answer_no: N answers the confirmation; nothing may be killed.
answer_no() {
    answer n
    wait_until 20 bash -c "! xdotool search --onlyvisible --name '^切断確認\$'" ||
        fail "the question stayed after N"
    logged "KILL SESSION" && fail "No killed a session"
    return 0
}
# killed_and_refreshed SID,SERIAL MACHINE: after Yes, the session is killed, the report of the
# kill (titled Kestrom, like the main window) is answered with Enter, and the list of MACHINE
# is asked for again.
killed_and_refreshed() {
    wait_until "$e2e_wait" logged "EXEC ALTER SYSTEM KILL SESSION '$1'" ||
        fail "the current row's session was not killed"
    wait_until "$e2e_wait" bash -c "[ \$(xdotool search --onlyvisible --name '^Kestrom\$' | wc -l) -ge 2 ]" ||
        fail "no report of the kill"
    xdotool key Return
    wait_until "$e2e_wait" bash -c "[ \$(grep -c \"WHERE terminal = '$2'\" '$log') -ge 2 ]" ||
        fail "the list was not refreshed after the kill"
}

# ends_with_zero PID WHY: waits for the program to end and checks its exit code.
ends_with_zero() {
    wait_until "$e2e_wait" bash -c "! kill -0 $1" || fail "the program did not end: $2"
    local rc=0
    wait "$1" || rc=$?
    [ "$rc" -eq 0 ] || fail "the program ended with $rc: $2"
}
# ends_logged_off PID WHY: the program ends with 0, having logged off from the database.
ends_logged_off() {
    ends_with_zero "$1" "$2"
    logged "LOGOFF" || fail "the database was not closed $2"
}
