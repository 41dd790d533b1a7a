#!/usr/bin/env bash
# Fails when a lower layer of src/ includes a higher one, or when anything outside oracle/
# reaches into the client-library binding other than through its session factory.
set -uo pipefail
src="${1:?usage: check_layers.sh SRC_DIR}"
status=0

# forbid LAYER PATTERN WHY: no file of LAYER may include a header matching PATTERN.
forbid() {
    local hits
    hits=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]+\"($2)/" "$src/$1")
    [ $? -le 1 ] || { echo "grep failed on $1"; status=1; }
    if [ -n "$hits" ]; then
        echo "$1 must not include $3:"
        echo "$hits"
        status=1
    fi
}

forbid platform 'console|login|auxiliary|oracle|start' 'a higher layer'
forbid oracle 'platform|auxiliary|login|console|start' 'a window layer'
forbid auxiliary 'login|console|start|oracle' 'a higher layer'
forbid login 'console|start|oracle' 'a higher layer'
forbid console 'start' 'start-up'

hits=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"oracle/oci/' "$src" \
    --include='*.cpp' --include='*.h' | grep -v "^$src/oracle/" |
    grep -v '"oracle/oci/oci_session.h"' || true)
if [ -n "$hits" ]; then
    echo "only oracle/ may include the binding, except its factory oracle/oci/oci_session.h:"
    echo "$hits"
    status=1
fi
exit $status
