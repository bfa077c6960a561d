#!/usr/bin/env bash
# Builds velmora-artwork and redraws the built-in pictures into resources/artwork.
#   tools/artwork/render.sh              write the pictures, LAYOUT.md and packaging/icons
#   tools/artwork/render.sh --preview D  write previews with stand-in controls into D
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${VELMORA_ARTWORK_BUILD_DIR:-$root/build-art}
cmake -S "$root" -B "$build" -DVELMORA_TESTS=OFF -DVELMORA_BENCH=OFF >/dev/null
cmake --build "$build" --target velmora-artwork -j2
if [ "${1:-}" = "--preview" ]; then
  QT_QPA_PLATFORM=offscreen "$build/tools/artwork/velmora-artwork" --preview "${2:?preview folder}"
else
  QT_QPA_PLATFORM=offscreen "$build/tools/artwork/velmora-artwork" "$root/resources/artwork"
  QT_QPA_PLATFORM=offscreen "$build/tools/artwork/velmora-artwork" --icons "$root/packaging/icons"
fi
