#!/usr/bin/env bash
# The real program as a screen reader meets it: under Xvfb, on a session bus
# of its own with the accessibility bus, driven by accessibility_bus.py.
#   accessibility_bus.sh PROGRAM
# Runs a copy of the program (with the template set) in a folder of its own,
# with a private home, so that no journal, state or setting leaks out.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
for tool in xvfb-run dbus-run-session xdotool /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "skipped: python3-pyatspi is not installed"; exit 77; }

if [ -z "${KELVARO_UNDER_XVFB:-}" ]; then
  # A display number of its own, away from the one other tests start at.
  exec env KELVARO_UNDER_XVFB=1 xvfb-run -a -n $((100 + RANDOM % 800)) -s "-ac -screen 0 1024x768x24" "$0" "$@"
fi
# The display is known before the bus starts, so the bus and its accessibility
# bus belong to it.
export DISPLAY
# The server may still be coming up when xvfb-run hands over: wait until it answers.
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "FAILED: the X server on $DISPLAY does not answer"; exit 1; }
if [ -z "${KELVARO_ON_OWN_BUS:-}" ]; then
  exec env KELVARO_ON_OWN_BUS=1 dbus-run-session -- "$0" "$@"
fi

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/bin" "$home/config" "$home/data" "$home/state" "$home/cache" "$home/run" "$home/out"
chmod 700 "$home/run"
cp "$1" "$home/bin/kelvaro"
cp -r "$(dirname "$1")/Templates" "$home/bin/Templates"
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
  XDG_STATE_HOME="$home/state" XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/run" \
  LANG=C.UTF-8 QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
unset QT_QPA_PLATFORMTHEME QT_SCALE_FACTOR
exec timeout 150 /usr/bin/python3 "$here/accessibility_bus.py" "$home/bin/kelvaro" "$home/out"
