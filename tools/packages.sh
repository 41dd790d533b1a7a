# Installs the Debian packages given as arguments when any of them is missing.
# Sourced by ./run and ./test.
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        local status
        status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
        [ "$status" = "install ok installed" ] || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building and running the program needs: xcb to ask the window manager for its frame,
# Qt's own translations for its standard texts in Japanese, and for its Debian package file
# and dpkg-shlibdeps, with which cpack finds the program's library dependencies.
KESTROM_BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev qt6-svg-dev libgl-dev libxcb1-dev
    fonts-ipafont-gothic qt6-translations-l10n dpkg-dev file)
# What the tests need on top: the end-to-end test runs under a window manager too, the
# start-up test serves a display through socat, the package test runs lintian.
KESTROM_TEST_PACKAGES=(xvfb xauth xdotool libx11-dev openbox desktop-file-utils appstream socat
    lintian)

# What the Windows build and its tests under Wine need: the posix-threads MinGW compilers,
# Wine and the fonts it draws window frames with, NSIS for the installer, and the IPA fonts
# and xdotool already listed above.
KESTROM_WINDOWS_PACKAGES=(mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
    libz-mingw-w64-dev wine wine64 fonts-wine nsis ninja-build cmake qt6-base-dev qt6-svg-dev
    qt6-translations-l10n perl xz-utils imagemagick)

# apt-get source needs a deb-src entry; add one for the archive apt already uses.
ensure_deb_src() {
    if grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return 0
    fi
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    local out=/etc/apt/sources.list.d/kestrom-deb-src.sources
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
            "${sudo[@]}" tee "$out" >/dev/null
    else
        grep -hE '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
            "${sudo[@]}" tee /etc/apt/sources.list.d/kestrom-deb-src.list >/dev/null
    fi
    "${sudo[@]}" apt-get update -qq
}
