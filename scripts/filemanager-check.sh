#!/usr/bin/env bash
# The hand-off to a real file manager: starts the built program in a real X server with a
# private session bus on which Debian's Thunar offers org.freedesktop.FileManager1, clicks the
# pane's first file, "←" (加入列表), the rename list's first entry and "打开所在文件夹", and checks
# that the file manager was asked over D-Bus to show exactly that file, answered without an
# error, and opened a window on its folder. The file manager's window is left as a screenshot
# at build/filemanager-check.png.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build="$here/../build"
source "$here/deps.sh"
quillmere_install_deps "${QUILLMERE_FILEMANAGER_PACKAGES[@]}"
work=$(mktemp -d)
trap 'kill "${xvfb_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

mkdir -p "$work/app" "$work/照片"
cp "$build/quillmere" "$work/app/"
for n in 1 2 3; do echo "photo $n" > "$work/照片/照片$n.jpg"; done
printf '[path]\nvalue=%s\n' "$work/照片" > "$work/app/FilePath.ini"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
xvfb_pid=$!
for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# The file manager keeps its own settings and caches in the check's folder, not the user's.
export DISPLAY=$display QT_QPA_PLATFORM=xcb LANG=C.UTF-8 HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
dbus-run-session -- bash -c '
  set -euo pipefail
  work=$1 build=$2
  dbus-monitor --session "interface=org.freedesktop.FileManager1" "type=method_return" "type=error" \
    > "$work/bus.log" 2>&1 &
  "$work/app/quillmere" & app=$!
  w=$(timeout 30 xdotool search --sync --name "^Quillmere1\.7\$" | head -1)
  sleep 1.5   # the first paint
  # The window keeps the size it was designed for (761 x 525 between its menu bar and its
  # status bar, which is 22 pixels high with the fonts the check installs) without a window
  # manager, so its controls are where the program places them.
  eval "$(xdotool getwindowgeometry --shell "$w")"
  top=$((HEIGHT - 525 - 22))
  click() { xdotool mousemove --window "$w" "$1" "$2" click 1; sleep 0.5; }
  click 552 $((top + 144))   # the pane'"'"'s first file
  click 528 $((top + 124))   # ← 加入列表
  click 40 $((top + 120))    # the rename list'"'"'s first entry
  click 144 $((top + 100))   # 打开所在文件夹
  "$build/quillmere-xcheck" "照片 - Thunar" "$build/filemanager-check.png" 30
  "$build/quillmere-xcheck" "Quillmere1.7" "$work/closing.png" 10 >/dev/null
  wait $app
  kill %1 2>/dev/null || true
' _ "$work" "$build"

# The call and the file manager's answer to it (not an error).
want="file://$(python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1]))' "$work/照片/照片1.jpg")"
call=$(grep -A3 "member=ShowItems" "$work/bus.log" || true)
grep -qF "string \"$want\"" <<<"$call" \
  || { echo "the file manager was not asked to show $want:"; cat "$work/bus.log"; exit 1; }
line=$(grep -m1 "member=ShowItems" "$work/bus.log")
sender=$(sed 's/.* sender=\([^ ]*\) .*/\1/' <<<"$line")
serial=$(sed 's/.* serial=\([0-9]*\) .*/\1/' <<<"$line")
grep -E "^method return .* destination=$sender serial=[0-9]+ reply_serial=$serial\$" "$work/bus.log" | grep -qv "sender=org.freedesktop.DBus" \
  || { echo "the file manager did not answer the call:"; cat "$work/bus.log"; exit 1; }
echo "file manager check passed: Thunar showed $work/照片 with 照片1.jpg; screenshot at build/filemanager-check.png"
