#!/usr/bin/env bash
# Fails when a lower layer of src/ includes a higher one, when oracle/ takes anything from
# platform/ but the client-library loader, when anything outside oracle/ reaches into the
# client-library binding other than through its session factory, or when code outside
# platform/ asks which system it is built for.
set -uo pipefail
src="${1:?usage: check_layers.sh SRC_DIR}"
status=0
# An include of one of our headers, written with quotes or with angle brackets.
include='^[[:space:]]*#[[:space:]]*include[[:space:]]+["<]'

# forbid LAYER PATTERN WHY: no file of LAYER may include a header matching PATTERN.
forbid() {
    local hits
    hits=$(grep -rnE "$include($2)/" "$src/$1")
    [ $? -le 1 ] || { echo "grep failed on $1"; status=1; }
    if [ -n "$hits" ]; then
        echo "$1 must not include $3:"
        echo "$hits"
        status=1
    fi
}

# userid/ sits below everything, beside platform/: plain text work both the login dialog and
# the binding share, so it takes nothing of ours and platform/ takes nothing of it.
forbid userid 'platform|classic|console|login|decor|oracle|start' 'a higher layer'
forbid platform 'userid|classic|console|login|decor|oracle|start' 'a higher layer'
forbid classic 'console|login|decor|oracle|start' 'a higher layer'
forbid oracle 'classic|decor|login|console|start' 'a window layer'
forbid decor 'login|console|start|oracle' 'a higher layer'
forbid login 'console|start|oracle' 'a higher layer'
forbid console 'start' 'start-up'

# The loader is the one platform service below the windows; the rest would drag them in.
hits=$(grep -rnE "${include}platform/" "$src/oracle" |
    grep -vE '["<]platform/clientlibrary\.h[">]' || true)
if [ -n "$hits" ]; then
    echo "oracle/ may take only the client-library loader from platform/:"
    echo "$hits"
    status=1
fi

hits=$(grep -rnE "${include}oracle/oci/" "$src" --include='*.cpp' --include='*.h' |
    grep -v "^$src/oracle/" | grep -vE '["<]oracle/oci/oci_session\.h[">]' || true)
if [ -n "$hits" ]; then
    echo "only oracle/ may include the binding, except its factory oracle/oci/oci_session.h:"
    echo "$hits"
    status=1
fi
# What differs between systems lives in platform/posix/, x11/ and windows/, chosen by the build.
hits=$(grep -rnE '^[[:space:]]*#[[:space:]]*(if|ifdef|ifndef|elif)\b.*\b(_WIN32|_WIN64|WIN32|Q_OS_[A-Z]+|__linux__|__unix__|__APPLE__|_MSC_VER|__MINGW(32|64)__)\b' \
    "$src" --include='*.cpp' --include='*.h' | grep -v "^$src/platform/" || true)
if [ -n "$hits" ]; then
    echo "only platform/ may ask which system it is built for:"
    echo "$hits"
    status=1
fi
exit $status
