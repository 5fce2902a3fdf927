#!/usr/bin/env bash
# Starts the built program in a real X server (Xvfb, no window manager) with a prepared
# FilePath.ini, waits for its window, takes a screenshot, closes the window as a window
# manager would (WM_DELETE_WINDOW), and checks that the program ended by itself and saved
# the folder it showed. The screenshot is left at build/window-check.png.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build"
work=$(mktemp -d)
trap 'kill "${xvfb_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

# The settings live beside the executable, so the check runs a copy in its own folder.
mkdir -p "$work/app" "$work/files"
cp "$build/quillmere" "$work/app/"
for n in 1 2 3; do echo "photo $n" > "$work/files/照片$n.jpg"; done
printf '[path]\nvalue=%s\n' "$work/files" > "$work/app/FilePath.ini"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x700x24 -nolisten tcp &
xvfb_pid=$!
for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

export DISPLAY=$display QT_QPA_PLATFORM=xcb
dbus-run-session -- bash -c '
  "$1/app/quillmere" & app=$!
  "$2/quillmere-xcheck" "Quillmere1.7" "$2/window-check.png" 30 || { kill $app; exit 1; }
  for _ in $(seq 100); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
  if kill -0 $app 2>/dev/null; then echo "window closed but the program is still running"; kill $app; exit 1; fi
  wait $app
' _ "$work" "$build"

grep -qxF "value=$work/files" "$work/app/FilePath.ini" \
  || { echo "FilePath.ini does not hold the folder:"; cat "$work/app/FilePath.ini"; exit 1; }
echo "window check passed: screenshot at build/window-check.png"
