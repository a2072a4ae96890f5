#!/usr/bin/env bash
# Makes the Windows packages from a Windows build and checks them:
#   windows_packages.sh SOURCE_DIR BIN_DIR ICON
# the zip holds one folder with the programs, Templates, the guide and a
# ReadMe.txt in Shift_JIS with CR LF that is the form's own composition; the
# installer passes windows_installer.sh.
set -euo pipefail
source_dir=$1 bin=$2 icon=$3
# Until the Windows window is built there is nothing to package.
[ -f "$bin/Kelvaro.exe" ] || { echo "no Kelvaro.exe in $bin"; exit 77; }
command -v makensis >/dev/null || { echo "makensis not found"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$source_dir/scripts/package-windows" --bin "$bin" --icon "$icon" --out "$work" >/dev/null
zip=$(ls "$work"/kelvaro-*-windows-x64.zip)
name=$(basename "$zip" .zip)
(cd "$work" && unzip -q "$zip")
[ "$(ls "$work/$name")" = "$(printf '%s\n' Kelvaro.exe ReadMe.txt Templates guide.html kelvaro-compose.exe)" ] ||
  { echo "the zip's folder holds: $(ls "$work/$name" | tr '\n' ' ')"; exit 1; }
[ "$(unzip -Z1 "$zip" | cut -d/ -f1 | sort -u)" = "$name" ] || { echo "the zip is not one folder"; exit 1; }
diff -r "$bin/Templates" "$work/$name/Templates" || { echo "the templates differ"; exit 1; }

# ReadMe.txt: the form composed, Shift_JIS with CR LF throughout, with the
# release's version set in.
readme=$work/$name/ReadMe.txt
iconv -f CP932 -t UTF-8 "$readme" >"$work/readme.utf8" || { echo "ReadMe.txt is not Shift_JIS"; exit 1; }
! grep -q -v $'\r$' "$readme" || { echo "ReadMe.txt has a line without CR LF"; exit 1; }
version=${name#kelvaro-}
version=${version%-windows-x64}
grep -q "Ver $version"$'\r$' "$work/readme.utf8" || { echo "ReadMe.txt lacks Ver $version"; exit 1; }
grep -q "このReadMeファイルは、「Kelvaro」によって作成されました。" "$work/readme.utf8" ||
  { echo "ReadMe.txt was not composed by Kelvaro"; exit 1; }

"$(dirname "$0")/windows_installer.sh" "$work/$name-setup.exe"
