#!/usr/bin/env bash
# The Windows part of ./test: builds Kestrom for 64-bit Windows with MinGW against the cached
# Qt for Windows (building that first, once per machine), and runs its tests under Wine in a
# Wine prefix of the tests' own, kept in ~/.cache/kestrom: the unit tests, the installed
# program driven on an X server, the installer and the ZIP.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
cd "$here"
. tools/packages.sh
ensure_packages "${KESTROM_WINDOWS_PACKAGES[@]}" xvfb xdotool fonts-ipafont-gothic unzip file
cache="${KESTROM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kestrom}"
started=$SECONDS

if ! tools/windows-qt.sh --check > /dev/null; then
    echo "== Qt for Windows is not built on this machine yet: building it first (about 20-27 minutes on 2 cores) =="
fi
qt_prefix=$(tools/windows-qt.sh)

# The Wine prefix: made once, with Wine's crash dialog off (a crash would wait for a click),
# the Windows fonts the windows name mapped to the IPA fonts, Wine drawing the window frames
# itself, as Windows does, so that the tests see Windows' own frame, and Japanese captions
# drawn with the IPA font where Wine's caption font has no Japanese glyphs. A prefix made with
# other settings is made anew.
settings='Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS Gothic"="IPAGothic"
'
fontlink='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
export WINEPREFIX="$cache/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# One run at a time uses the prefix: a second one (another checkout) waits for the first.
# Wine's and the X server's processes do not inherit the lock, so none outlives the run with it.
mkdir -p "$cache"
exec 9> "$cache/wine.lock"
if ! flock -n 9; then
    echo "== waiting for another run's Windows tests to finish =="
    flock -w 3600 9 || { echo "the Wine prefix stayed busy"; exit 1; }
fi
ready="$WINEPREFIX/kestrom-ready-$(printf '%s' "$settings$fontlink" | sha256sum | cut -c1-12)"
if [ ! -f "$ready" ]; then
    echo "== making the Wine prefix for the tests in $WINEPREFIX =="
    wineserver -k > /dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    timeout 300 wineboot -i > /dev/null 2>&1
    # regedit reads a file in UTF-16 (with its byte-order mark) as Unicode, the Japanese names
    # included; any other file in the ANSI code page.
    { printf '\xff\xfe'; printf '%s' "$settings" | iconv -f UTF-8 -t UTF-16LE; } \
        > "$cache/wine-settings.reg"
    timeout 120 wine regedit /S "$cache/wine-settings.reg" > /dev/null 2>&1
    timeout 120 wine reg add "$fontlink" /v Tahoma /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f \
        > /dev/null 2>&1
    timeout 120 wineserver -w
    touch "$ready"
fi

# One X server and one Wine session for the whole run. Wine binds its desktop to the display of
# the session's first window, so every test shares this display; the wineserver is kept
# running, and Wine's background processes are started once here, with their output detached:
# each test then starts in a fraction of a second, and none waits for those processes to let
# go of its output.
stop_wine() {
    wineserver -k > /dev/null 2>&1 || true
    [ -z "${xvfb:-}" ] || kill "$xvfb" 2>/dev/null || true
}
trap stop_wine EXIT
wineserver -k > /dev/null 2>&1 || true
# What tests left in the prefix's temporary folders (files a loaded DLL held open).
rm -rf "$WINEPREFIX"/drive_c/users/*/Temp/*
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3> "$displayfile" > /dev/null 2>&1 9>&- &
xvfb=$!
for _ in $(seq 300); do [ -s "$displayfile" ] && break; sleep 0.1; done
[ -s "$displayfile" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -n1 "$displayfile")
rm -f "$displayfile"
setsid wineserver -p > /dev/null 2>&1 < /dev/null 9>&- &
timeout 120 wine wineboot > /dev/null 2>&1 < /dev/null 9>&- || { echo "Wine did not start"; exit 1; }

echo "== build for Windows =="
KESTROM_WINDOWS_QT="$qt_prefix" cmake --preset windows -DKESTROM_WERROR=ON \
    -DKESTROM_WINEPREFIX="$WINEPREFIX" > /dev/null
cmake --build build-win -j "$(nproc)"

echo "== test under Wine =="
ctest --test-dir build-win --output-on-failure -j "$(nproc)" 9>&-
echo "== Windows part: $((SECONDS - started)) s =="
