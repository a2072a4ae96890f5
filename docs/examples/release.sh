#!/bin/sh
# A release's ReadMe in three formats, in one command:
#
#   sh release.sh 1.2.1 2026/12/09
#
# The form MySoft.ref is made once from last release's ReadMe.txt. Its install
# text names the archive as {{アーカイブ名}}, so each release sets the archive's
# name once and every text that names it follows. CHANGES.txt (UTF-8 or
# Shift_JIS) becomes the history, install.txt the install text.
set -eu
version=$1
date=$2
archive="pochimemo$(printf '%s' "$version" | tr -d .).zip"

if [ ! -f MySoft.ref ]; then
    kelvaro-compose --import ReadMe.txt --write-form MySoft.ref
fi
kelvaro-compose MySoft.ref \
    --set "バージョン=$version" --set "作成日=$date" --set "アーカイブ名=$archive" \
    --set-file 開発履歴=CHANGES.txt --set-file インストール方法=install.txt \
    --write-form MySoft.ref
kelvaro-compose MySoft.ref --output ReadMe.txt
kelvaro-compose MySoft.ref --format markdown --output README.md
kelvaro-compose MySoft.ref --format html5 --output ReadMe.html
