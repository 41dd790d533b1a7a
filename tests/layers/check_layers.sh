#!/usr/bin/env bash
# Fails when a lower layer of src/ includes a higher one, when oracle/ takes anything from
# platform/ but the client-library loader, when anything outside oracle/ reaches into the
# client-library binding other than through its session factory, when code outside
# platform/ asks which system it is built for, or when a file declares names in a namespace
# its folder does not own:
#   classic/   namespace classic (and namespaces inside it)
#   platform/  namespace platform (platform::x11, platform::windows, ...)
#   oracle/    namespace ora (ora::binding, ...); oracle/oci/api/ holds the client library's
#              own declarations, in namespace oci as Oracle names them
#   decor/, login/, console/, start/ and src/ itself: the windows are classes in the global
#              namespace, named after their forms; a module of functions there takes its
#              file's name (decor/basline.h: namespace basline, console/kestrom_search.cpp:
#              kestrom), so that the name says where it is declared.
# Nesting is followed by the closing comments clang-format writes ("} // namespace x").
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
# namespace_owner FILE: the namespace FILE's folder owns, or "=NAME" for a file that may use
# the global namespace or a module namespace named NAME after the file.
namespace_owner() {
    local rel=${1#"$src"/} base
    case "$rel" in
    classic/*) echo classic ;;
    platform/*) echo platform ;;
    oracle/oci/api/*) echo oci ;;
    oracle/*) echo ora ;;
    *)
        base=$(basename "$rel")
        base=${base%%.*}
        echo "=${base%%_*}"
        ;;
    esac
}
hits=$(find "$src" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.h.in' \) | sort |
    while read -r file; do
        awk -v owner="$(namespace_owner "$file")" -v file="${file#"$src"/}" '
            /^[[:space:]]*(inline[[:space:]]+)?namespace[[:space:]]*\{/ { stack[++depth] = ""; next }
            /^[[:space:]]*(inline[[:space:]]+)?namespace[[:space:]]+[A-Za-z_][A-Za-z_0-9:]*[[:space:]]*\{/ {
                name = $0
                sub(/^[[:space:]]*(inline[[:space:]]+)?namespace[[:space:]]+/, "", name)
                sub(/[[:space:]]*\{.*/, "", name)
                stack[++depth] = name
                outer = ""
                for (i = 1; i <= depth && outer == ""; i++)
                    outer = stack[i]
                sub(/::.*/, "", outer)
                want = owner
                if (substr(owner, 1, 1) == "=")
                    want = substr(owner, 2)
                if (outer != want)
                    printf "%s:%d: namespace %s (here: %s)\n", file, NR, name, want
                next
            }
            /^[[:space:]]*}[[:space:]]*\/\/[[:space:]]*namespace/ { if (depth > 0) depth-- }
        ' "$file"
    done)
if [ -n "$hits" ]; then
    echo "a file must declare its names in its folder's namespace:"
    echo "$hits"
    status=1
fi
exit $status
