#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/deps.sh"
quillmere_install_deps
quillmere_build
QT_QPA_PLATFORM=offscreen ctest --test-dir "$here/../build" --output-on-failure
# The program in a real X server: its window appears, closes like under a window manager,
# and the settings file is written.
bash "$here/window-check.sh"
# The benchmark on a small size, to prove it runs; its figures are read, not asserted.
"$here/../build/quillmere-bench" --n 200 > /dev/null 2>&1
