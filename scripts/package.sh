#!/usr/bin/env bash
# Builds the Debian package build/quillmere_<version>_<arch>.deb and checks it: lintian finds
# no errors, and the AppStream metadata and menu entry it ships are valid.
#   --install  also installs it with apt, starts the installed program in a real X server
#              (scripts/window-check.sh), and removes the package again.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(cd "$here/.." && pwd)
build="$top/build"
source "$here/deps.sh"
quillmere_install_deps

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j2 --target quillmere quillmere-docs
(cd "$build" && cpack -G DEB)
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb="$build/quillmere_${version}_$(dpkg --print-architecture).deb"

echo "== lintian"
lintian --fail-on error --display-info "$deb"
shipped=$(mktemp -d)
trap 'rm -rf "$shipped"' EXIT
dpkg-deb -x "$deb" "$shipped"
echo "== appstreamcli"
appstreamcli validate --no-net "$shipped"/usr/share/metainfo/*.metainfo.xml
echo "== desktop-file-validate"
desktop-file-validate "$shipped/usr/share/applications/quillmere.desktop"
echo "package built and checked: $deb"

if [ "${1:-}" = "--install" ]; then
  sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  if dpkg-query -W -f='${Status}' quillmere 2>/dev/null | grep -q 'install ok installed'; then
    echo "quillmere is installed already; not trying the package over it"; exit 1
  fi
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y "$deb"
  status=0
  bash "$here/window-check.sh" /usr/bin/quillmere || status=$?
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get remove -y quillmere
  exit $status
fi
