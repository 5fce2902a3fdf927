#!/usr/bin/env bash
# Starts the built program in a real X server (Xvfb, no window manager) with a prepared
# FilePath.ini, and ends it in three ways, checking each time that the program ended by
# itself with exit status 0 and saved the folder it showed:
#   1. the window is closed as a window manager would (WM_DELETE_WINDOW), after a screenshot
#      (left at build/window-check.png);
#   2. the window is closed while the select-all toggle walks a pane of 50000 files;
#   3. the process is sent SIGTERM, as at the end of a session.
# Given the path of an installed program (window-check.sh /usr/bin/quillmere), checks that
# one instead on its first start, the first way only: it shows its own folder and saves it in
# the configuration folder, since it cannot keep its settings beside itself.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build"
work=$(mktemp -d)
trap 'kill "${xvfb_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

# The settings live beside the executable, so the check runs a copy in its own folder; an
# installed copy keeps them in the configuration folder, which is the check's own too.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$work/app" "$work/files" "$work/many"
for n in 1 2 3; do echo "photo $n" > "$work/files/照片$n.jpg"; done

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x700x24 -nolisten tcp &
xvfb_pid=$!
for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=$display QT_QPA_PLATFORM=xcb

# run NAME PROGRAM INI FOLDER ACTION: starts PROGRAM (with FOLDER saved in INI, unless FOLDER
# is empty) and ends it as ACTION says: an action of the X driver (close, click-close:X,Y), or
# "term" for SIGTERM once the window is up. Then INI must hold FOLDER, or SAVED when given.
run() {
  local name=$1 program=$2 ini=$3 folder=$4 action=$5 saved=${6:-$4}
  [ -n "$folder" ] && printf '[path]\nvalue=%s/\n' "$folder" > "$ini"
  dbus-run-session -- bash -c '
    "$1" & app=$!
    if [ "$3" = term ]; then
      "$2/quillmere-xcheck" "Quillmere1.7" "$2/window-check-term.png" 30 none || { kill $app; exit 1; }
      kill -TERM $app
    else
      "$2/quillmere-xcheck" "Quillmere1.7" "$4" 30 "$3" || { kill $app; exit 1; }
    fi
    for _ in $(seq 150); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
    if kill -0 $app 2>/dev/null; then echo "the program is still running"; kill -9 $app; exit 1; fi
    wait $app || { echo "the program ended with status $?"; exit 1; }
  ' _ "$program" "$build" "$action" "$build/window-check.png" || { echo "window check ($name) failed"; exit 1; }
  # Written anew by the close: a saved value had a trailing separator, the folder shown has none.
  grep -qxF "value=$saved" "$ini" \
    || { echo "window check ($name): FilePath.ini does not hold the folder:"; cat "$ini"; exit 1; }
  echo "window check passed: $name"
}

if [ $# -gt 0 ]; then
  run "installed program, first start" "$1" "$XDG_CONFIG_HOME/quillmere/FilePath.ini" "" close \
    "$(dirname "$1")"
else
  cp "$build/quillmere" "$work/app/"
  (cd "$work/many" && seq -f 'f%05g.txt' 50000 | xargs touch)
  program="$work/app/quillmere" ini="$work/app/FilePath.ini"
  run "closed by the window manager" "$program" "$ini" "$work/files" close
  # "反选" is the first button of the top row, just under the menu bar.
  run "closed during the toggle over 50000 files" "$program" "$ini" "$work/many" click-close:40,38
  run "ended by SIGTERM" "$program" "$ini" "$work/files" term
fi
echo "screenshot at build/window-check.png"
