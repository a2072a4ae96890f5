#!/usr/bin/env bash
# The installed program as a new user meets it: staged with `cmake --install`,
# run from the staging folder under Xvfb by a user who is not root, with an
# empty home folder.
#   installed_window.sh CMAKE BUILD_DIR VERSION
# Checks: `kelvaro some.ref` shows that file's name in its title and the window
# carries the program's icon (_NET_WM_ICON); the user's template folder holds
# the installed set; the browser page is written into the user's runtime folder
# and handed to the desktop (a stand-in xdg-open records it), and it is gone
# after the program has ended.
set -euo pipefail
cmake=$1 build=$2 version=$3
for tool in xvfb-run xwininfo xdotool xprop runuser; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
DESTDIR="$work/stage" "$cmake" --install "$build" --prefix /usr >/dev/null
bin="$work/stage/usr/bin/kelvaro"
[ -x "$bin" ] || { echo "no installed program at $bin"; exit 1; }

user=$(id -un)
if [ "$(id -u)" -eq 0 ]; then user=nobody; fi
mkdir -p "$work/home" "$work/run" "$work/stub"
chmod 700 "$work/run"
# The desktop's document opener, replaced by one that writes down what it got.
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s/opened.txt"\n' "$work" >"$work/stub/xdg-open"
chmod 755 "$work/stub/xdg-open"
touch "$work/opened.txt"
chmod 666 "$work/opened.txt"

# A form whose preview mode is HTML(Browser): showing the preview page writes
# the browser page. The last three lines of a form file are the preview options.
"$work/stage/usr/bin/kelvaro-compose" --new-form "$work/some.ref"
head -n -3 "$work/some.ref" >"$work/form.tmp"
printf 'False\r\nFalse\r\nTrue\r\n' >>"$work/form.tmp"
mv "$work/form.tmp" "$work/some.ref"
chmod 644 "$work/some.ref"
chown -R "$user" "$work/home" "$work/run"

cat >"$work/inside.sh" <<INSIDE
#!/usr/bin/env bash
set -euo pipefail
"$bin" "$work/some.ref" &
pid=\$!
title="Kelvaro Ver $version --- some.ref"
window=""
for _ in \$(seq 1 150); do
  window=\$(xwininfo -root -tree | awk -v t="\"\$title\":" 'index(\$0, t) { print \$1; exit }')
  [ -n "\$window" ] && xwininfo -id "\$window" | grep -q 'IsViewable' && break
  window=""
  sleep 0.1
done
[ -n "\$window" ] || { echo "no window titled \$title"; kill \$pid; exit 1; }
echo "window: \$title"
# The window carries the program's icon for the desktop's task bar and switcher.
icon_ok=""
for id in \$(xdotool search --name "^\$title\$"); do
  props=\$(xprop -id "\$id" _NET_WM_ICON 2>/dev/null || true)
  grep -Eq '^_NET_WM_ICON\(CARDINAL\) = .*Icon \([0-9]+ x [0-9]+\)|^_NET_WM_ICON\(CARDINAL\) = [0-9]+, [0-9]+' <<<"\$props" && icon_ok=\$id
done
[ -n "\$icon_ok" ] || { echo "the window has no _NET_WM_ICON"; kill \$pid; exit 1; }
echo "window icon: _NET_WM_ICON set on \$icon_ok"
# No window manager here: give the window the keyboard by hand, then click and
# type as a mouse and keyboard do (XTEST). A click on the first tab puts the
# keyboard on the tab strip; five pages on is the preview page.
xdotool windowfocus "\$window" 2>/dev/null || true
sleep 0.3
xdotool mousemove --window "\$window" 30 36 click 1
sleep 0.3
for _ in 1 2 3 4 5; do xdotool key Right; sleep 0.2; done
for _ in \$(seq 1 50); do [ -f "$work/run/kelvaro/BrowserSample.html" ] && break; sleep 0.1; done
[ -f "$work/run/kelvaro/BrowserSample.html" ] || { echo "no browser page in the runtime folder"; kill \$pid; exit 1; }
echo "browser page: $work/run/kelvaro/BrowserSample.html"
# Ctrl+Q, then はい on the question (Tab moves from the default いいえ to はい).
xdotool key ctrl+q
sleep 0.5
xdotool key Tab Return
for _ in \$(seq 1 50); do kill -0 \$pid 2>/dev/null || break; sleep 0.1; done
if kill -0 \$pid 2>/dev/null; then echo "the program did not end"; kill \$pid; exit 1; fi
wait \$pid
INSIDE
chmod 755 "$work/inside.sh"

# The sanitizer build's settings pass through the otherwise empty environment.
sanitizer=()
for name in ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS; do
  [ -n "${!name:-}" ] && sanitizer+=("$name=${!name}")
done
runuser -u "$user" -- env -i PATH="$work/stub:/usr/bin:/bin" HOME="$work/home" \
  XDG_RUNTIME_DIR="$work/run" LANG=C.UTF-8 "${sanitizer[@]}" \
  xvfb-run -a -s "-screen 0 1024x768x24" "$work/inside.sh"

status=0
expected=$(cd "$work/stage/usr/share/kelvaro/Templates" && ls | sort)
actual=$(cd "$work/home/.local/share/kelvaro/Templates" 2>/dev/null && ls | sort) || true
if [ "$expected" != "$actual" ]; then
  echo "the user's template folder does not hold the installed set"; status=1
fi
if ! cmp -s "$work/stage/usr/share/kelvaro/Templates/Version.txt" \
  "$work/home/.local/share/kelvaro/Templates/Version.txt"; then
  echo "Version.txt was not copied as it is"; status=1
fi
if ! grep -q "$work/run/kelvaro/BrowserSample.html" "$work/opened.txt"; then
  echo "the desktop was not given the browser page: $(cat "$work/opened.txt")"; status=1
fi
if [ -e "$work/run/kelvaro/BrowserSample.html" ]; then
  echo "the browser page is still there after the program ended"; status=1
fi
[ $status -eq 0 ] && echo "installed program checks passed"
exit $status
