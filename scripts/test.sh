#!/usr/bin/env bash
# The test command: installs what is missing, builds, runs the whole suite headless.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
VELMORA_CMAKE_ARGS="-DVELMORA_WERROR=ON ${VELMORA_CMAKE_ARGS:-}" bash "$root/scripts/build.sh"
build=${VELMORA_BUILD_DIR:-$root/build}
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "$@"
