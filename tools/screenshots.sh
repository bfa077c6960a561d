#!/usr/bin/env bash
# Pictures of Velmora as a user sees it: the real program under Xvfb (with a
# window manager, so captions show), on a fresh sample data directory, one PNG
# of the screen per shot listed in tools/screenshots/shots.txt.
#
# Usage: tools/screenshots.sh [--scale N | --both] [output-dir] [shot-name...]
#   --scale N   run the program at N × (QT_SCALE_FACTOR=N; 1 = 100 %, 2 = 200 %)
#   --both      100 % into output-dir/100, then 200 % into output-dir/200
#   output-dir  where the PNGs go (default /tmp/velmora-shots)
#   shot-name   take only these shots (and the steps before them still run)
# The screen is 1280 × 1024. VELMORA_BUILD_DIR picks the build directory (default
# <repo>/build).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORA_BUILD_DIR:-$root/build}
scale=1
case ${1:-} in
  --both)
    shift
    base=${1:-/tmp/velmora-shots}
    shift || true
    "$0" --scale 1 "$base/100" "$@"
    exec "$0" --scale 2 "$base/200" "$@"
    ;;
  --scale)
    scale=${2:?"--scale precisa de um número"}
    [[ $scale =~ ^[1-9]$ ]] || { echo "escala inválida: $scale" >&2; exit 2; }
    shift 2
    ;;
esac
out=${1:-/tmp/velmora-shots}
shift || true
wanted=("$@")
export SHOT_SCALE=$scale
shots=$root/tools/screenshots/shots.txt
# shellcheck source=screenshots/actions.sh
source "$root/tools/screenshots/actions.sh"

for tool in Xvfb xdotool import xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "falta o programa $tool (scripts/deps.sh instala)" >&2; exit 1; }
done

work=$(mktemp -d /tmp/velmora-shots-run.XXXXXX)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

# Build what the shots need; an up-to-date build costs a second.
{
  [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build"
  cmake --build "$build" -j2 --target velmora velmora-datadir
} >"$work/build.log" 2>&1 || { cat "$work/build.log" >&2; exit 1; }

# The program reads ~/Velmora: a temporary home holds a sample data directory.
home=$work/home
mkdir -p "$home"
"$build/tools/velmora-datadir" create "$home/Velmora" --sample >/dev/null
# Clubs with the longest texts the fields take, and the longest country name: every
# window must fit them.
"$build/tools/velmora-datadir" import "$home/Velmora" "$root/tools/screenshots/long-names.csv" \
  --pictures "$home/Velmora/Distintivos" >/dev/null

# A free display number.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
export DISPLAY=:$display
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.2
done
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb não iniciou" >&2; cat "$work/xvfb.log" >&2; exit 1; }

if command -v openbox >/dev/null; then
  openbox >"$work/openbox.log" 2>&1 &
  pids+=($!)
  sleep 1
fi

# Where the screen-reader stack is installed (at-spi2-core, python3-pyatspi), the
# program runs on a session bus of its own with accessibility on, and a "tree" step
# reads a window as a screen reader would.
if command -v dbus-daemon >/dev/null && /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  {
    read -r DBUS_SESSION_BUS_ADDRESS
    read -r dbus_pid
  } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
  export DBUS_SESSION_BUS_ADDRESS QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  pids+=("$dbus_pid")
  screen_reader=1
fi

HOME=$home LANG=C.UTF-8 QT_SCALE_FACTOR=$scale "$build/velmora" >"$work/velmora.log" 2>&1 &
app_pid=$!
pids+=("$app_pid")
mkdir -p "$out"

# The splash during its five-second wait: the program is blocked then, so only a
# picture painted before the wait is on the screen. A black splash fails the run.
if ! splash_id=$(wait_pid_window "$app_pid" 10); then
  echo "o splash não apareceu" >&2
  exit 1
fi
sleep 1.5
if [ ${#wanted[@]} -eq 0 ] || [[ " ${wanted[*]} " == *" splash "* ]]; then
  import -window root "$out/splash.png"
  echo "$out/splash.png"
fi
# The splash's own area, away from the window manager's frames.
import -window "$splash_id" "$work/splash-only.png"
brightness=$(identify -format '%[fx:int(100*mean)]' "$work/splash-only.png")
if [ "$brightness" -lt 5 ]; then
  echo "o splash está preto durante a espera (brilho médio $brightness%)" >&2
  exit 1
fi

# The splash stays five seconds; then the main window comes.
if ! wait_window "Velmora" 30; then
  echo "a janela principal não apareceu" >&2
  cat "$work/velmora.log" >&2
  import -window root "$out-failed.png" 2>/dev/null || true
  exit 1
fi
sleep 1

taken=0
while IFS='|' read -r name steps; do
  name=$(echo "$name" | xargs)
  [ -z "$name" ] || [[ $name == \#* ]] && continue
  run_steps "$steps"
  if ! kill -0 "$app_pid" 2>/dev/null; then
    echo "o programa terminou antes de \"$name\"" >&2
    cat "$work/velmora.log" >&2
    exit 1
  fi
  if [ ${#wanted[@]} -eq 0 ] || [[ " ${wanted[*]} " == *" $name "* ]]; then
    import -window root "$out/$name.png"
    echo "$out/$name.png"
    taken=$((taken + 1))
  fi
done <"$shots"
[ "$taken" -gt 0 ] || { echo "nenhuma foto tirada" >&2; exit 1; }
