#!/usr/bin/env bash
# The run command: installs what is missing, builds, creates the data directory
# on first use and starts Velmora.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh" velmora velmora-datadir  # not the tests and benchmarks
exec bash "$root/scripts/start.sh" "$@"
