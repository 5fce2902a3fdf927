#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quillmere.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/deps.sh"
quillmere_install_deps
quillmere_build
exec "$here/../build/quillmere"
