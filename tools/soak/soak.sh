#!/usr/bin/env bash
# Kills the store layer with kill -9 at random moments while it saves (new rows,
# changes, deletions through the data module), then checks the store each time: the
# engine's integrity check and every step the store had acknowledged. Outside CI.
# Usage: tools/soak/soak.sh [TRIALS]   (default 1000; VELMORA_BUILD_DIR picks the build)
set -euo pipefail
cd "$(dirname "$0")/../.."
trials=${1:-1000}
build=${VELMORA_BUILD_DIR:-build}
cmake --build "$build" -j2 --target velmora-soak velmora-datadir >/dev/null
soak="$build/tools/velmora-soak"
work="$build/soak"
rm -rf "$work"
mkdir -p "$work"
"$build/tools/velmora-datadir" create "$work/dados" >/dev/null
state="$work/estado"
: >"$state"
failures=0
acknowledged=0
last=""
for ((t = 1; t <= trials; t++)); do
  ledger="$work/registro-$t"
  "$soak" write "$work/dados" "$t" >"$ledger" 2>"$ledger.err" &
  pid=$!
  # Anywhere from opening the store to a few hundred saves later.
  sleep "0.$(printf '%03d' $((RANDOM % 400 + 20)))"
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  if last=$("$soak" check "$work/dados" "$state" "$ledger"); then
    acknowledged=$((acknowledged + $(grep -o '[0-9]* passos confirmados' <<<"$last" | grep -o '^[0-9]*')))
    rm -f "$ledger" "$ledger.err"
  else
    failures=$((failures + 1))
    echo "tentativa $t: $last (registro em $ledger)"
    cp "$work/dados/Velmora.sqlite" "$work/falha-$t.sqlite" 2>/dev/null || true
  fi
done
echo "$trials tentativas de kill -9, $failures falhas, $acknowledged passos confirmados ao todo;" \
  "última verificação: $last"
[ "$failures" -eq 0 ]
