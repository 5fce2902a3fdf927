#!/usr/bin/env bash
# Starts the built program in a real X server (Xvfb, no window manager) with a prepared
# FilePath.ini, waits for its window, takes a screenshot, closes the window as a window
# manager would (WM_DELETE_WINDOW), and checks that the program ended by itself and saved
# the folder it showed. The screenshot is left at build/window-check.png.
# Given the path of an installed program (window-check.sh /usr/bin/quillmere), checks that
# one instead on its first start: it shows its own folder and saves it in the configuration
# folder, since it cannot keep its settings beside itself.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build"
work=$(mktemp -d)
trap 'kill "${xvfb_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

# The settings live beside the executable, so the check runs a copy in its own folder; an
# installed copy keeps them in the configuration folder, which is the check's own too.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$work/app" "$work/files"
for n in 1 2 3; do echo "photo $n" > "$work/files/照片$n.jpg"; done
if [ $# -gt 0 ]; then
  program=$1
  ini="$XDG_CONFIG_HOME/quillmere/FilePath.ini"
  saved=$(dirname "$program")
else
  cp "$build/quillmere" "$work/app/"
  program="$work/app/quillmere"
  ini="$work/app/FilePath.ini"
  saved="$work/files"
  printf '[path]\nvalue=%s\n' "$saved" > "$ini"
fi

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x700x24 -nolisten tcp &
xvfb_pid=$!
for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

export DISPLAY=$display QT_QPA_PLATFORM=xcb
dbus-run-session -- bash -c '
  "$1" & app=$!
  "$2/quillmere-xcheck" "Quillmere1.7" "$2/window-check.png" 30 || { kill $app; exit 1; }
  for _ in $(seq 100); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
  if kill -0 $app 2>/dev/null; then echo "window closed but the program is still running"; kill $app; exit 1; fi
  wait $app
' _ "$program" "$build"

grep -qxF "value=$saved" "$ini" \
  || { echo "FilePath.ini does not hold the folder:"; cat "$ini"; exit 1; }
echo "window check passed: screenshot at build/window-check.png"
