#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for a bounded
# time, then prints the executions run and the findings (crash, leak or timeout files).
# Usage: tools/fuzz/run.sh [SECONDS_PER_TARGET]   (default 600)
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-600}
build=${VELMORA_FUZZ_BUILD:-build-fuzz}
command -v clang++ >/dev/null || { echo "clang++ não está instalado" >&2; exit 2; }
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVELMORA_TESTS=OFF -DVELMORA_BENCH=OFF \
  >/dev/null
cmake --build "$build" -j2 --target fuzz_paradox fuzz_csv >/dev/null
status=0
for target in fuzz_paradox fuzz_csv; do
  work="$build/fuzz/$target"
  mkdir -p "$work/corpus" "$work/findings"
  # Seeds: small tables written by pxlib and CSV files of our own.
  cp -n tools/fuzz/seeds/"${target#fuzz_}"/* "$work/corpus/"
  log="$work/last.log"
  # -timeout: an input that takes longer than 10 s counts as a hang.
  "$build/tools/fuzz/$target" "$work/corpus" -max_total_time="$seconds" -timeout=10 -max_len=16384 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/findings/" \
    >"$log" 2>&1 || true
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
  findings=$(find "$work/findings" -type f | wc -l)
  echo "$target: $runs execuções em ${seconds}s, $findings achados ($work/findings)"
  [ "$findings" -eq 0 ] || status=1
done
exit $status
