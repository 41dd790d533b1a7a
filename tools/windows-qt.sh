#!/usr/bin/env bash
# Builds Qt's qtbase for 64-bit Windows (MinGW) from Debian's own source package, once per
# machine, into ~/.cache/kestrom/. Prints the installed prefix on its last line.
# With --check it only says whether the build is there: prefix and 0, or 1.
# A build counts as finished only when its marker file exists; an interrupted build is
# resumed (ninja picks up where it stopped), never used.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
. "$here/tools/packages.sh"

QT_VERSION=6.4.2
cache="${KESTROM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kestrom}"
# The smallest qtbase that gives Core, Gui, Widgets, Test, the windows and offscreen
# platforms, the windowsvista style and ICO images. The +dfsg tarball has no sqlite or
# wintab sources, hence SQL and tablet events off.
QT_OPTIONS=(-release -shared -nomake examples -nomake tests
    -no-opengl -no-feature-vulkan -no-dbus -no-feature-network -no-feature-printsupport
    -no-feature-concurrent -no-feature-xml -no-feature-sql -no-feature-tabletevent
    -no-feature-jpeg -no-feature-gif -qt-zlib -qt-pcre -qt-libpng -qt-harfbuzz -qt-freetype
    -no-feature-testlib_selfcover)
key=$(printf '%s\n' "$QT_VERSION" "${QT_OPTIONS[@]}" "$(cat "$here/cmake/mingw-w64-x86_64.cmake")" |
    sha256sum | cut -c1-12)
base="$cache/qt-$QT_VERSION-mingw64-$key"
prefix="$base/install"
marker="$base/finished"

say() { echo "windows-qt: $*" >&2; }

if [ -f "$marker" ]; then
    echo "$prefix"
    exit 0
fi
[ "${1:-}" != --check ] || exit 1

ensure_packages "${KESTROM_WINDOWS_PACKAGES[@]}"
mkdir -p "$base"
# Qt's generated toolchain file records the absolute path of ours: keep it at a fixed place.
toolchain="$base/mingw-w64-x86_64.cmake"
cp "$here/cmake/mingw-w64-x86_64.cmake" "$toolchain"

src="$base/qtbase-everywhere-src-$QT_VERSION"
if [ ! -f "$src/.unpacked" ]; then
    dl="$base/download"
    mkdir -p "$dl"
    if ! (cd "$dl" && ls qt6-base_"$QT_VERSION"*.dsc >/dev/null 2>&1); then
        ensure_deb_src
        say "downloading Debian's qt6-base source package"
        version=$(apt-cache showsrc qt6-base | awk -v v="$QT_VERSION" \
            '/^Version:/ && index($2, v "+") == 1 {print $2; exit}')
        [ -n "$version" ] || { say "no qt6-base $QT_VERSION source package in the archive"; exit 1; }
        (cd "$dl" && apt-get source --download-only "qt6-base=$version" >&2)
    fi
    dsc=$(ls "$dl"/qt6-base_"$QT_VERSION"*.dsc | head -n1)
    tarball=$(ls "$dl"/qt6-base_"$QT_VERSION"*.orig.tar.* | head -n1)
    # The checksum the .dsc gives for the tarball, compared before anything is unpacked.
    want=$(awk '/^Checksums-Sha256:/{on=1; next} /^[^ ]/{on=0} on {print $1, $3}' "$dsc" |
        awk -v f="$(basename "$tarball")" '$2 == f {print $1}')
    have=$(sha256sum "$tarball" | cut -d' ' -f1)
    if [ -z "$want" ] || [ "$want" != "$have" ]; then
        say "checksum of $(basename "$tarball") does not match $(basename "$dsc")"
        exit 1
    fi
    say "tarball checksum matches the .dsc ($have)"
    rm -rf "$src"
    tar -C "$base" -xf "$tarball"
    touch "$src/.unpacked"
fi

build="$base/build"
mkdir -p "$build"
if [ ! -f "$build/build.ninja" ]; then
    say "configuring qtbase $QT_VERSION for MinGW"
    (cd "$build" && "$src/configure" -prefix "$prefix" -xplatform win32-g++ \
        -qt-host-path /usr "${QT_OPTIONS[@]}" -- -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake) >"$base/configure.log" 2>&1 || {
        say "configure failed; see $base/configure.log"
        rm -f "$build/build.ninja"
        exit 1
    }
fi
say "building qtbase for Windows (about 20-27 minutes on 2 cores the first time)"
# ninja's own [done/total] lines are the progress.
if ! nice cmake --build "$build" --parallel "$(nproc)" 2>&1 | awk '
    /^\[[0-9]+\/[0-9]+\]/ { split(substr($1, 2), n, "/"); p = int(100 * n[1] / n[2]);
        if (p != last) { printf "windows-qt: %d%% (%s)\n", p, substr($1, 2, length($1) - 2) > "/dev/stderr"; last = p }; next }
    /error:|FAILED/ { print > "/dev/stderr" }'; then
    say "build failed"
    exit 1
fi
cmake --install "$build" >/dev/null
touch "$marker"
say "Qt for Windows ready in $prefix"
echo "$prefix"
