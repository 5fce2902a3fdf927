#!/usr/bin/env bash
# Starts the built program in a real X server (Xvfb, no window manager) with a prepared
# FilePath.ini, and ends it in three ways, checking each time that the program ended by
# itself with exit status 0 and saved the folder it showed:
#   1. the window is closed as a window manager would (WM_DELETE_WINDOW), after a screenshot
#      (left at build/window-check.png);
#   2. the window is closed while the select-all toggle walks a pane of 50000 files;
#   3. the process is sent SIGTERM, as at the end of a session.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build"
work=$(mktemp -d)
trap 'kill "${xvfb_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

# The settings live beside the executable, so the check runs a copy in its own folder.
mkdir -p "$work/app" "$work/files" "$work/many"
cp "$build/quillmere" "$work/app/"
for n in 1 2 3; do echo "photo $n" > "$work/files/照片$n.jpg"; done
(cd "$work/many" && seq -f 'f%05g.txt' 50000 | xargs touch)

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x700x24 -nolisten tcp &
xvfb_pid=$!
for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=$display QT_QPA_PLATFORM=xcb

# run NAME FOLDER ACTION: starts the program on FOLDER and ends it as ACTION says: an action
# of the X driver (close, click-close:X,Y), or "term" for SIGTERM once the window is up.
run() {
  local name=$1 folder=$2 action=$3
  printf '[path]\nvalue=%s/\n' "$folder" > "$work/app/FilePath.ini"
  dbus-run-session -- bash -c '
    "$1/app/quillmere" & app=$!
    if [ "$3" = term ]; then
      "$2/quillmere-xcheck" "Quillmere1.7" "$1/shot.png" 30 none || { kill $app; exit 1; }
      kill -TERM $app
    else
      "$2/quillmere-xcheck" "Quillmere1.7" "$4" 30 "$3" || { kill $app; exit 1; }
    fi
    for _ in $(seq 150); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
    if kill -0 $app 2>/dev/null; then echo "the program is still running"; kill -9 $app; exit 1; fi
    wait $app || { echo "the program ended with status $?"; exit 1; }
  ' _ "$work" "$build" "$action" "$build/window-check.png" || { echo "window check ($name) failed"; exit 1; }
  # Written anew by the close: the saved value had a trailing separator, the folder shown has none.
  grep -qxF "value=$folder" "$work/app/FilePath.ini" \
    || { echo "window check ($name): FilePath.ini does not hold the folder:"; cat "$work/app/FilePath.ini"; exit 1; }
  echo "window check passed: $name"
}

run "closed by the window manager" "$work/files" close
# "反选" is the first button of the top row, just under the menu bar.
run "closed during the toggle over 50000 files" "$work/many" click-close:40,38
run "ended by SIGTERM" "$work/files" term
echo "screenshot at build/window-check.png"
