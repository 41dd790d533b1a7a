#!/usr/bin/env bash
# Makes the Windows installer and the ZIP with CPack, installs the program silently under Wine
# as a user's administrator would, checks what the installation holds and where Windows lists
# it, starts the installed program for its version on a console, and uninstalls it silently,
# which must leave nothing behind.
#   install-wine.sh CPACK CPACK-CONFIG PACKAGE-VERSION VERSION-TEXT
set -euo pipefail
. "$(dirname "$0")/../support/wait_until.sh"
cpack=$1 config=$2 version=$3 version_text=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
export WINEDEBUG=-all WINEPATH=
name=Kestrom-$version-win64
drive_c=$WINEPREFIX/drive_c
folder="$drive_c/Program Files/Kestrom"
menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kestrom"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrom'
listed() { wine reg query "$uninstall_key" /v DisplayName 2>/dev/null | tr -d '\r' | grep -q Kestrom; }

echo "make the installer and the ZIP"
start=$SECONDS
"$cpack" -G "NSIS;ZIP" --config "$config" -B "$work/out" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
installer=$work/out/$name.exe zip=$work/out/$name.zip
[ -f "$installer" ] && [ -f "$zip" ] || { ls "$work/out"; fail "no $name.exe and $name.zip"; }
echo "made in $((SECONDS - start)) s: installer $(du -k "$installer" | cut -f1) KiB, ZIP $(du -k "$zip" | cut -f1) KiB"
[[ $(file -b "$installer") == PE32+* ]] || fail "the installer is not a 64-bit program: $(file -b "$installer")"

echo "the ZIP holds the program with all it loads, in one folder"
for f in kestrom.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libstdc++-6.dll libgcc_s_seh-1.dll \
    libwinpthread-1.dll platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qico.dll \
    translations/qtbase_ja.qm; do
    unzip -l "$zip" "$name/$f" > /dev/null || fail "the ZIP has no $f"
done
unzip -l "$zip" | grep -qiE 'oci|test|standin' && fail "the ZIP holds test files"

echo "silent installation"
# A run that was stopped half-way may have left its installation in the prefix.
if [ -e "$folder" ] || listed; then
    echo "removing the installation a stopped run left"
    [ ! -f "$folder/Uninstall.exe" ] || timeout 60 wine "$folder/Uninstall.exe" /S || true
    wait_until 60 test ! -e "$folder/kestrom.exe" || true
    rm -rf "$folder" "$menu"
    wine reg delete "$uninstall_key" /f > /dev/null 2>&1 || true
fi
timeout 120 wine "$installer" /S || fail "the installer failed"
wait_until 60 test -f "$folder/kestrom.exe" || fail "kestrom.exe was not installed"
[ -f "$folder/Uninstall.exe" ] || fail "no uninstaller"
[ -f "$menu/Kestrom.lnk" ] || { find "$drive_c" -name '*.lnk' -path '*Kestrom*'; fail "no Start-menu shortcut"; }
listed || fail "not listed in the installed programs"

echo "the installed program answers --version on a console"
out=$(cd "$work" && timeout 60 wine "$folder/kestrom.exe" --version 2>&1 | tr -d '\r') ||
    fail "kestrom.exe --version failed: $out"
[ "$out" = "kestrom $version_text" ] || fail "kestrom.exe --version printed '$out'"

echo "silent uninstallation leaves nothing"
# The uninstaller runs on from a copy of itself in the temporary folder.
timeout 60 wine "$folder/Uninstall.exe" /S || fail "the uninstaller failed"
wait_until 60 test ! -e "$folder" || { find "$folder"; fail "the installation folder is left"; }
wait_until 30 test ! -e "$menu" || { find "$menu"; fail "the Start-menu folder is left"; }
for _ in $(seq 30); do listed || break; sleep 0.3; done
listed && fail "still listed in the installed programs"
echo "install (Wine): passed"
