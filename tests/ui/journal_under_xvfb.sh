#!/usr/bin/env bash
# The program itself under Xvfb: what is typed into 作者名, 開発言語 and a user
# item's name, and three lines typed into 特徴's long-text editor, with no other
# action, come back at the next start after a kill -9 three seconds later, and
# after a kill -TERM at once; a kill -TERM while the restore question is shown
# ends the program and keeps the journal.
# $1: the program. Runs a copy of it in a folder of its own, so that its state
# folder (State beside a portable program) is this test's alone.
set -euo pipefail
if [ -z "${KELVARO_UNDER_XVFB:-}" ]; then
  exec env KELVARO_UNDER_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir "$home/bin"
cp "$1" "$home/bin/kelvaro"
export XDG_RUNTIME_DIR="$home" LANG=C.UTF-8
state="$home/bin/State"

start() {
  "$home/bin/kelvaro" &
  pid=$!
  xdotool search --sync --name "Kelvaro Ver" >/dev/null
  sleep 1
}

# Restores with Enter (はい is the default), then ends by SIGTERM, which
# journals the restored form: the typed value is in it.
restore_and_check() {
  local value=$1
  start
  xdotool key Return
  sleep 1
  kill -TERM "$pid"
  wait "$pid"
  if ! grep -qa "$value" "$state"/recovery-*.journal; then
    echo "journal_under_xvfb: $value did not come back" >&2
    exit 1
  fi
  rm -f "$state"/recovery-*
}

# Clicks into the field named by $1, at the design size's places.
click_into() {
  local window
  window=$(xdotool search --name "Kelvaro Ver" | head -1)
  case $1 in
  author) xdotool mousemove --window "$window" 200 67 click 1 ;;
  choice) xdotool mousemove --window "$window" 460 67 click 1 key ctrl+a ;; # 開発言語
  username) xdotool mousemove --window "$window" 63 281 click 1 key ctrl+a ;; # ユーザー入力可能1
  editor)
    xdotool mousemove --window "$window" 95 45 click 1 # the 長文項目 tab
    sleep 0.3
    xdotool mousemove --window "$window" 368 88 click 1 # 特徴
    sleep 0.3
    xdotool mousemove --window "$window" 250 260 click 1
    ;;
  esac
  sleep 0.3
}

# Types $3 into field $1 (a one-line box, an editable choice box, a user
# item's name, the long-text editor) of a new start, then ends it with signal
# $2 (a KILL three seconds later, so that the journal is due).
type_and_end() {
  start
  click_into "$1"
  if [ "$1" = editor ]; then
    xdotool type --delay 20 "first line" key Return type --delay 20 "second line" key Return
  fi
  xdotool type --delay 20 "$3"
  [ "$2" = KILL ] && sleep 3
  kill -"$2" "$pid"
  wait "$pid" || true
}

for field in author choice username editor; do
  for ending in KILL TERM; do
    type_and_end "$field" "$ending" "Taro$field$ending"
    restore_and_check "Taro$field$ending"
  done
done

# An end signal while the restore question is shown: the program ends, and
# the journal it was offering is still there to offer next time.
type_and_end author KILL TaroQuestion
start # the question shows
kill -TERM "$pid"
if ! timeout 5 tail --pid="$pid" -f /dev/null; then
  kill -KILL "$pid"
  echo "journal_under_xvfb: a TERM during the restore question did not end the program" >&2
  exit 1
fi
restore_and_check TaroQuestion
echo "journal_under_xvfb: all came back"
