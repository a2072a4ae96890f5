#!/usr/bin/env bash
# The program itself under Xvfb: what is typed into 作者名, and three lines typed
# into 特徴's long-text editor with no other action, come back at the next start
# after a kill -9 three seconds later, and after a kill -TERM at once; a kill
# -TERM while the restore question is shown ends the program and keeps the journal.
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

for field_ending in author:KILL author:TERM editor:KILL editor:TERM; do
  field=${field_ending%:*}
  ending=${field_ending#*:}
  value="Taro$field$ending"
  start
  click_into "$field"
  if [ "$field" = editor ]; then
    xdotool type --delay 20 "first line"
    xdotool key Return
    xdotool type --delay 20 "second line"
    xdotool key Return
  fi
  xdotool type --delay 20 "$value"
  if [ "$ending" = KILL ]; then
    sleep 3
  fi
  kill -"$ending" "$pid"
  wait "$pid" || true
  restore_and_check "$value"
done
# An end signal while the restore question is shown: the program ends, and
# the journal it was offering is still there to offer next time.
value="TaroQuestion"
start
click_into author
xdotool type --delay 20 "$value"
sleep 3
kill -KILL "$pid"
wait "$pid" || true
start # the question shows
kill -TERM "$pid"
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  kill -KILL "$pid"
  echo "journal_under_xvfb: a TERM during the restore question did not end the program" >&2
  exit 1
fi
restore_and_check "$value"
echo "journal_under_xvfb: all came back"
