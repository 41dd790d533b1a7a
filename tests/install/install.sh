#!/usr/bin/env bash
# Makes the Debian package, unpacks it into a throw-away root with dpkg -x and checks it: its
# control fields, exactly the files it holds, lintian's verdict, the hardening of the program,
# the manual page and release history, the desktop entry, icon and AppStream metadata where
# the desktop looks for them, and the installed program's command line without a display.
#   install.sh CPACK CPACK-CONFIG APP-ID PACKAGE-VERSION VERSION-TEXT ICON-ARTWORK HARDENED
# HARDENED is 1 for a build with Debian's hardening flags (not one for the sanitizers).
set -euo pipefail
cpack=$1 config=$2 id=$3 version=$4 version_text=$5 artwork=$6 hardened=$7
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

echo "make the package"
"$cpack" -G DEB --config "$config" -B "$work/out" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$work/out/kestrom_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$work/out"; fail "no $(basename "$deb")"; }

echo "control fields"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kestrom ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "package version $(field Version)"
depends=", $(field Depends),"
[[ $depends == *", fonts-ipafont-gothic,"* ]] || fail "fonts not a dependency: $depends"
# Present only when dpkg-shlibdeps read the libraries off the binary.
[[ $depends == *", libqt6widgets6 ("* && $depends == *", libc6 ("* ]] ||
    fail "library dependencies not computed: $depends"
# Qt's own buttons and dialogs speak Japanese only with Qt's translations.
[ "$(field Recommends)" = "libaio1 | libaio1t64, qt6-translations-l10n" ] ||
    fail "recommends $(field Recommends)"

echo "lintian: no error and no warning"
lintian --info --display-info --fail-on error,warning "$deb" > "$work/lintian.out" 2>&1 ||
    { cat "$work/lintian.out"; fail "lintian"; }
cat "$work/lintian.out"

echo "exactly the program and its desktop files, nothing of the tests or the stand-in"
expected=$(LC_ALL=C sort <<END
./usr/bin/kestrom
./usr/share/applications/$id.desktop
./usr/share/doc/kestrom/README.ja.md.gz
./usr/share/doc/kestrom/README.md.gz
./usr/share/doc/kestrom/changelog.gz
./usr/share/doc/kestrom/copyright
./usr/share/icons/hicolor/scalable/apps/$id.svg
./usr/share/man/man1/kestrom.1.gz
./usr/share/metainfo/$id.metainfo.xml
END
)
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || { diff <(echo "$expected") <(echo "$actual") || true; fail "files"; }

root=$work/root
dpkg -x "$deb" "$root"
kestrom=$root/usr/bin/kestrom

echo "the program: stripped, no search path into the build"
[[ $(file -b "$kestrom") == ELF*executable*", stripped"* ]] || fail "$(file -b "$kestrom")"
! readelf -d "$kestrom" | grep -qE 'RPATH|RUNPATH' || fail "the program carries a library path"
if [ "$hardened" = 1 ]; then
    echo "the program: Debian's hardening (bind now, fortified calls, stack protector)"
    readelf -d "$kestrom" | grep -qE 'BIND_NOW|FLAGS.*\<NOW\>' || fail "not linked with -z now"
    symbols=$(readelf --dyn-syms -W "$kestrom")
    grep -qE ' __[a-z0-9_]+_chk(@|$)' <<< "$symbols" || fail "no fortified function is called"
    grep -q ' __stack_chk_fail' <<< "$symbols" || fail "no stack protector"
fi

echo "the manual page and the release history, newest first, name this version"
manual=$root/usr/share/man/man1/kestrom.1.gz
man_out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$manual" 2>&1 >/dev/null) || true
[ -z "$man_out" ] || { echo "$man_out"; fail "the manual page has faults"; }
page=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$manual" 2>/dev/null)
for section in NAME SYNOPSIS OPTIONS ENVIRONMENT FILES "EXIT STATUS"; do
    grep -qx "$section" <<< "$page" || fail "the manual page has no $section"
done
for word in LD_LIBRARY_PATH ORACLE_HOME NLS_LANG TNS_ADMIN Kestrom.conf "$version_text"; do
    grep -qF "$word" <<< "$page" || fail "the manual page does not name $word"
done
[ "$(zcat "$root/usr/share/doc/kestrom/changelog.gz" | head -n1)" = \
    "kestrom ($version) unstable; urgency=medium" ] || fail "the release history does not start with $version"

echo "the desktop entry finds the program and the icon, which is the window's own artwork"
desktop=$root/usr/share/applications/$id.desktop
report=$(desktop-file-validate "$desktop" 2>&1) || true
[ -z "$report" ] || { echo "$report"; fail "desktop-file-validate"; }
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ -x "$root/usr/bin/$(entry Exec)" ] || fail "Exec=$(entry Exec) is not installed"
[ "$(entry Icon)" = "$id" ] || fail "Icon=$(entry Icon)"
cmp "$artwork" "$root/usr/share/icons/hicolor/scalable/apps/$(entry Icon).svg" ||
    fail "the icon is not the window's artwork"

echo "AppStream metadata, alone and against the installed tree"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" ||
    fail "appstreamcli validate"
appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree"
grep -qF "<release version=\"$version\"" "$root/usr/share/metainfo/$id.metainfo.xml" ||
    fail "the metadata does not name release $version"

# Without any display: the answers must not need one.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u QT_QPA_PLATFORM
    XDG_RUNTIME_DIR="$work")
run() { # [display=D] run NAME ARGS...: exit code to $work/NAME.rc, output to NAME.out, NAME.err
    local name=$1 rc=0
    shift
    "${nodisplay[@]}" ${display:+DISPLAY=$display} timeout 30 "$kestrom" "$@" \
        > "$work/$name.out" 2> "$work/$name.err" || rc=$?
    echo "$rc" > "$work/$name.rc"
}
expect() { # expect NAME RC: the exit code, with the output shown when it differs
    [ "$(cat "$work/$1.rc")" = "$2" ] ||
        { cat "$work/$1.out" "$work/$1.err"; fail "kestrom $1 ended with $(cat "$work/$1.rc")"; }
}

echo "installed kestrom --version and --help answer on standard output"
run version --version
expect version 0
[ "$(cat "$work/version.out")" = "kestrom $version_text" ] ||
    fail "--version printed $(cat "$work/version.out")"
[ ! -s "$work/version.err" ] || fail "--version wrote to standard error"
run help --help
expect help 0
grep -q '^Usage: kestrom \[options\]$' "$work/help.out" || fail "--help shows no usage"
grep -q -- '--version' "$work/help.out" || fail "--help does not list --version"

echo "an unknown option or an argument: the usage on standard error, exit code 2"
run unknown --no-such-option
expect unknown 2
[ ! -s "$work/unknown.out" ] || fail "the refusal went to standard output"
[ "$(head -n1 "$work/unknown.err")" = "kestrom: Unknown option 'no-such-option'." ] ||
    fail "refusal: $(head -n1 "$work/unknown.err")"
grep -q '^Usage: kestrom' "$work/unknown.err" || fail "no usage after an unknown option"
run argument some-file
expect argument 2

echo "no display, or one that has gone: one line on standard error, exit code 1"
run nodisplay
display=:4093.0 run gone
for name in nodisplay gone; do
    expect "$name" 1
    [ "$(wc -l < "$work/$name.err")" -eq 1 ] || { cat "$work/$name.err"; fail "not one line"; }
    grep -q 'display' "$work/$name.err" || fail "the line does not say what is missing"
    [ ! -s "$work/$name.out" ] || fail "output on standard output"
done
echo "PASS"
