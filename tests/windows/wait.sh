# Sourced by the Windows tests' scripts.
# wait_until SECONDS COMMAND...: polls until the command succeeds; fails after SECONDS.
wait_until() {
    local limit=$1; shift
    local end=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.2
    done
}
