#!/usr/bin/env bash
# The Windows installer under Wine, as a user would meet it:
#   windows_installer.sh SETUP.exe
# 1. /S installs per user: the files, the Start menu entry, the .ref type
#    opening in Kelvaro with its icon, the Apps & features entry; /S on the
#    uninstaller removes every one of them.
# 2. A form and a template the user put into the program's folder, and a .ref
#    type another program has taken since, survive the uninstall; the
#    program's own state folder does not.
# Runs in the Wine prefix of the environment; skipped (77) without Wine.
set -euo pipefail
setup=$(realpath "$1")
command -v wine >/dev/null || { echo "wine not found"; exit 77; }

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

unix_path() { winepath -u "$(wine cmd /c echo "$1" 2>/dev/null | tr -d '\r')" 2>/dev/null; }
reg_value() {
  local name=(/ve)
  [ $# -lt 2 ] || name=(/v "$2")
  # The default value's name is in the system's code page: read bytes.
  wine reg query "$1" "${name[@]}" 2>/dev/null | tr -d '\r' | LC_ALL=C sed -n 's/.*REG_[A-Z_]*[[:space:]]*//p'
}
reg_exists() { wine reg query "$1" >/dev/null 2>&1; }

instdir=$(unix_path '%LOCALAPPDATA%')/Programs/Kelvaro
startmenu=$(unix_path '%APPDATA%')/Microsoft/Windows/Start\ Menu/Programs
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvaro'

install() {
  wine "$setup" /S || fail "the installer exited with $?"
}
# The uninstaller copies itself away (Au_.exe in the temporary folder) and
# returns at once: wait for that copy to end.
uninstall() {
  wine "$instdir/Uninstall.exe" /S || fail "the uninstaller exited with $?"
  for _ in $(seq 100); do
    sleep 0.2
    [ -e "$instdir/Uninstall.exe" ] || pgrep -f 'Au_\.exe' >/dev/null || return 0
  done
  fail "the uninstaller did not finish in 20 s"
}

echo "== a silent install"
install
for file in Kelvaro.exe kelvaro-compose.exe ReadMe.txt guide.html Uninstall.exe; do
  [ -f "$instdir/$file" ] || fail "$file not installed"
done
[ "$(find "$instdir/Templates" -type f | wc -l)" -gt 0 ] || fail "no templates installed"
[ -f "$startmenu/Kelvaro.lnk" ] || fail "no Start menu entry"
[ "$(reg_value 'HKCU\Software\Classes\.ref')" = Kelvaro.Form ] || fail ".ref not registered"
command=$(reg_value 'HKCU\Software\Classes\Kelvaro.Form\shell\open\command')
[[ $command == *'\Kelvaro.exe" "%1"' ]] || fail ".ref opens with '$command'"
[[ $(reg_value 'HKCU\Software\Classes\Kelvaro.Form\DefaultIcon') == *'\Kelvaro.exe",0' ]] ||
  fail ".ref has no icon"
[ "$(reg_value "$uninstall_key" DisplayName)" = Kelvaro ] || fail "no Apps & features entry"
[[ $(reg_value "$uninstall_key" QuietUninstallString) == *'Uninstall.exe" /S' ]] ||
  fail "no silent uninstall command"

echo "== its silent uninstall"
uninstall
[ ! -e "$instdir" ] || fail "left behind: $(find "$instdir" | tr '\n' ' ')"
[ ! -e "$startmenu/Kelvaro.lnk" ] || fail "the Start menu entry stayed"
! reg_exists 'HKCU\Software\Classes\.ref' || fail ".ref stayed registered"
! reg_exists 'HKCU\Software\Classes\Kelvaro.Form' || fail "the form type stayed"
! reg_exists "$uninstall_key" || fail "the Apps & features entry stayed"

echo "== what the user made stays"
install
printf 'form\r\n' >"$instdir/自分のフォーム.ref"
printf 'mine\r\n' >"$instdir/Templates/自分の定型文.txt"
mkdir -p "$instdir/State"
printf 'journal' >"$instdir/State/journal"
wine reg add 'HKCU\Software\Classes\.ref' /ve /d Other.Form /f >/dev/null 2>&1
uninstall
[ -f "$instdir/自分のフォーム.ref" ] || fail "the user's form was removed"
[ -f "$instdir/Templates/自分の定型文.txt" ] || fail "the user's template was removed"
left=$(cd "$instdir" && find . -type f | LC_ALL=C sort | tr '\n' ' ')
[ "$left" = "./Templates/自分の定型文.txt ./自分のフォーム.ref " ] || fail "left behind: $left"
[ "$(reg_value 'HKCU\Software\Classes\.ref')" = Other.Form ] || fail "another program's .ref was taken away"
wine reg delete 'HKCU\Software\Classes\.ref' /f >/dev/null 2>&1 || true
rm -rf "$instdir"

[ "$failures" -eq 0 ] && echo "the installer installs and uninstalls cleanly"
exit $((failures > 0))
