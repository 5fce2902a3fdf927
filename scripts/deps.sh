#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quillmere need.
# The one list of packages; start.sh and test.sh both source this file.
set -euo pipefail

QUILLMERE_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev   # Qt 6 Widgets, Network, DBus, Test
  qt6-translations-l10n                       # Qt's own Chinese texts: standard buttons, picker
  libgumbo-dev                                # HTML5 parser for the recommendation page
  libxext-dev                                 # X11 DPMS for the display standby
  zlib1g-dev                                  # CRC-32 that checks the undo journals
  fonts-wqy-microhei                          # renders the Simplified Chinese texts
  dbus                                        # private session bus for the desktop hand-off tests
  xvfb xauth x11-utils xdotool libxtst-dev    # real-window check
  desktop-file-utils                          # validates the installed .desktop entry
  dpkg-dev file lintian appstream             # builds the Debian package and checks it
)
# A real file manager offering org.freedesktop.FileManager1, for scripts/filemanager-check.sh
# only: quillmere_install_deps "${QUILLMERE_FILEMANAGER_PACKAGES[@]}".
QUILLMERE_FILEMANAGER_PACKAGES=(thunar)

# Installs the packages named, or by default the list above, where they are missing.
quillmere_install_deps() {
  local missing=()
  local p
  local wanted=("$@")
  [ ${#wanted[@]} -eq 0 ] && wanted=("${QUILLMERE_PACKAGES[@]}")
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

quillmere_build() {
  local top
  top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$top/build" -j2
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  quillmere_install_deps
fi
