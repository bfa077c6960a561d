#!/usr/bin/env bash
# Starts a built Velmora: creates the data directory ~/Velmora on first use
# (--sample: with the sample catalogue) and never touches an existing one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORA_BUILD_DIR:-$root/build}
datadir="$HOME/Velmora"
if [ ! -e "$datadir/Velmora.sqlite" ]; then
  "$build/tools/velmora-datadir" create "$datadir" "$@"
else
  for arg in "$@"; do
    if [ "$arg" = "--sample" ]; then
      echo "A pasta de dados $datadir já existe: o catálogo existente foi mantido e o" \
        "catálogo de exemplo não foi criado. Para usá-lo, mova ou renomeie a pasta" \
        "$datadir e execute de novo com --sample." >&2
    fi
  done
fi
exec "$build/velmora"
