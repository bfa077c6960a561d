#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/, writes their seeds (small
# files made by tools/fuzz/make_seeds), runs each target for a bounded time and prints
# the executions run and the findings (crash, leak, out-of-memory or timeout files).
# Usage: tools/fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]   (default 600, every target)
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_pictures fuzz_dialect fuzz_paradox fuzz_csv)
build=${VELMORA_FUZZ_BUILD:-build-fuzz}
command -v clang++ >/dev/null || { echo "clang++ não está instalado" >&2; exit 2; }
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVELMORA_TESTS=OFF -DVELMORA_BENCH=OFF \
  >/dev/null
cmake --build "$build" -j2 --target make_seeds "${targets[@]}" >/dev/null
seeds="$build/fuzz/seeds"
QT_QPA_PLATFORM=offscreen "$build/tools/fuzz/make_seeds" "$seeds"
status=0
for target in "${targets[@]}"; do
  work="$build/fuzz/$target"
  mkdir -p "$work/corpus" "$work/findings"
  [ -d "$seeds/$target" ] && cp -n "$seeds/$target"/* "$work/corpus/" 2>/dev/null || true
  # The readers' seeds (small pxlib tables, CSV files) are kept in the repository.
  [ -d "tools/fuzz/seeds/${target#fuzz_}" ] && cp -n "tools/fuzz/seeds/${target#fuzz_}"/* "$work/corpus/" 2>/dev/null || true
  log="$work/last.log"
  started=$SECONDS
  # -timeout: an input that takes longer than 10 s counts as a hang; a picture within
  # the loader's own limits needs well under 1 GB.
  QT_QPA_PLATFORM=offscreen "$build/tools/fuzz/$target" "$work/corpus" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=3072 -malloc_limit_mb=1024 \
    -print_final_stats=1 -artifact_prefix="$work/findings/" >"$log" 2>&1 || true
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
  findings=$(find "$work/findings" -type f | wc -l)
  # libFuzzer stops at its first finding, so the time actually run is printed.
  echo "$target: $runs execuções em $((SECONDS - started))s, $findings achados ($work/findings)"
  [ "$findings" -eq 0 ] || status=1
done
exit $status
