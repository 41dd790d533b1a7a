#!/usr/bin/env bash
# Runs the layer check on small planted trees: each breaks one rule, written with quotes or
# with angle brackets, and must be refused with the rule's message; the allowed includes must
# pass.
set -uo pipefail
check="${1:?usage: planted.sh CHECK_LAYERS_SH}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# plant NAME EXPECT FILE LINE: a tree whose FILE holds LINE; EXPECT is the message the check
# must print, or "pass" when the check must accept the tree.
plant() {
    local tree="$work/$1"
    mkdir -p "$tree"/{userid,platform,classic,oracle/oci,decor,login,console,start}
    mkdir -p "$(dirname "$tree/$3")"
    printf '%s\n' "$4" > "$tree/$3"
    local out rc
    out=$(bash "$check" "$tree" 2>&1)
    rc=$?
    if [ "$2" = pass ]; then
        if [ $rc -eq 0 ]; then
            echo "ok $1"
        else
            echo "FAIL $1: refused a sound tree: $out"
            failures=$((failures + 1))
        fi
    elif [ $rc -eq 0 ] || ! grep -qF "$2" <<<"$out"; then
        echo "FAIL $1: expected \"$2\", got (exit $rc): $out"
        failures=$((failures + 1))
    else
        echo "ok $1"
    fi
}

plant quoted_up 'console must not include start-up' console/a.cpp '#include "start/frmstart.h"'
plant angled_up 'console must not include start-up' console/a.cpp '#include <start/frmstart.h>'
plant angled_spaced 'platform must not include a higher layer' platform/x11/a.cpp \
    '  #  include  <classic/msgbox.h>'
plant classic_up 'classic must not include a higher layer' classic/a.h '#include <console/kestrom.h>'
plant oracle_window 'oracle must not include a window layer' oracle/a.cpp '#include <classic/events.h>'
plant oracle_platform 'oracle/ may take only the client-library loader' oracle/oci/a.cpp \
    '#include <platform/topmost.h>'
plant binding 'only oracle/ may include the binding' console/a.cpp '#include <oracle/oci/oci_query.h>'
plant system_ifdef 'only platform/ may ask which system' classic/a.cpp '#ifdef Q_OS_WIN'
plant userid_up 'userid must not include a higher layer' userid/a.cpp '#include "oracle/database.h"'
plant platform_userid 'platform must not include a higher layer' platform/a.cpp \
    '#include "userid/userid.h"'
plant classic_namespace 'must declare its names in its folder' classic/a.h 'namespace platform {'
plant window_namespace 'must declare its names in its folder' console/a.cpp 'namespace ora {'
plant module_namespace 'must declare its names in its folder' decor/centre.h 'namespace basline {'
plant loader pass oracle/oci/a.cpp '#include <platform/clientlibrary.h>'
plant binding_userid pass oracle/oci/a.cpp '#include "userid/userid.h"'
plant login_userid pass login/a.cpp '#include <userid/userid.h>'
plant factory pass console/a.cpp '#include "oracle/oci/oci_session.h"'
plant qt_header pass console/a.cpp '#include <QString>'
plant own_module pass console/callwait_a.cpp 'namespace callwait {'
plant nested_platform pass platform/x11/a.cpp 'namespace platform::x11 {'
plant binding_namespace pass oracle/oci/a.cpp 'namespace ora::binding {'

[ $failures -eq 0 ]
