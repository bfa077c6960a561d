# Steps a shot line may run before its picture, driven from outside the program
# with xdotool (keys and mouse on the menu bars, as a user would).
#
#   menu M I WINDOW   open menu M (0 = first) of WINDOW's menu bar, pick item I (0 = first;
#                     separators and disabled items are skipped, as the keyboard does)
#   open M WINDOW     open menu M of WINDOW's menu bar and leave it open (close with key Escape)
#   bar WINDOW        click the first entry of WINDOW's menu bar (a bar whose entry is a command)
#   click X Y WINDOW  click at X, Y of WINDOW (window coordinates)
#   hover FX FY WINDOW  rest the pointer at fractions FX, FY (0 to 1) of WINDOW's size
#   key KEYS...       xdotool key names, e.g. Return, Escape, alt+F4
#   type TEXT         type TEXT into the focused window
#   answer KEY        press KEY in the message or entry box now up (e.g. Return, Escape)
#   wait SECONDS      pause
#   gone WINDOW       wait until WINDOW is no longer shown
#   focus WINDOW      make WINDOW the active window (as a click on its caption would)
#   active WINDOW     fail the run unless WINDOW is the active window now
#   run COMMAND       a shell command of this script (e.g. to move a folder of the data
#                     directory, $home/Velmora, away and back)
#   tree WINDOW       write what a screen reader finds in WINDOW to $out/arvore-N.txt
#                     (N counts the trees read); skipped without the screen-reader stack
# WINDOW is a caption, matched whole (^caption$) among the shown windows.
# Steps are separated by ";". X, Y are the program's own (100 %) coordinates: they are
# multiplied by SHOT_SCALE (the QT_SCALE_FACTOR the program runs with).

# Id of the shown window captioned $1 (the newest when several).
window_id() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -1
}

# Id of the first shown window of process $1, waiting up to $2 seconds.
wait_pid_window() {
  local pid=$1 limit=${2:-10} i id
  for ((i = 0; i < limit * 10; i++)); do
    id=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits up to $2 seconds for a shown window captioned $1.
wait_window() {
  local caption=$1 limit=${2:-10} i
  for ((i = 0; i < limit * 5; i++)); do
    [ -n "$(window_id "$caption")" ] && return 0
    sleep 0.2
  done
  return 1
}

need_window() {
  local id
  wait_window "$1" 10 || { echo "janela \"$1\" não encontrada" >&2; return 1; }
  id=$(window_id "$1")
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"
  echo "$id"
}

# Clicks at X, Y (100 % coordinates) of window $3.
click_at() {
  local scale=${SHOT_SCALE:-1}
  xdotool mousemove --window "$3" $(($1 * scale)) $(($2 * scale)) click 1
}

step_menu() {
  local menu=$1 item=$2 caption=${*:3} id
  id=$(need_window "$caption")
  # The first title sits at the bar's left end; the keyboard reaches the others.
  click_at 18 10 "$id"
  sleep 0.4
  # A menu opened by the mouse has no item highlighted; one reached with Right opens
  # on its first item.
  local downs=$((item + 1))
  if [ "$menu" -gt 0 ]; then
    xdotool key --delay 120 $(printf 'Right %.0s' $(seq "$menu"))
    downs=$item
  fi
  [ "$downs" -gt 0 ] && xdotool key --delay 120 $(printf 'Down %.0s' $(seq "$downs"))
  xdotool key Return
}

step_open() {
  local menu=$1 id
  id=$(need_window "${*:2}")
  click_at 18 10 "$id"
  sleep 0.4
  [ "$menu" -gt 0 ] && xdotool key --delay 120 $(printf 'Right %.0s' $(seq "$menu"))
  return 0
}

step_bar() {
  local id
  id=$(need_window "$1")
  click_at 18 10 "$id"
}

step_click() {
  local id
  id=$(need_window "${*:3}")
  click_at "$1" "$2" "$id"
}

# For windows that size themselves to the screen, where fixed coordinates would move.
step_hover() {
  local id w h
  id=$(need_window "${*:3}")
  eval "$(xdotool getwindowgeometry --shell "$id")"
  w=$WIDTH h=$HEIGHT
  xdotool mousemove --window "$id" "$(awk "BEGIN { print int($1 * $w) }")" \
    "$(awk "BEGIN { print int($2 * $h) }")"
  sleep 1.5
}

step_gone() {
  local i
  for ((i = 0; i < 50; i++)); do
    [ -z "$(window_id "$1")" ] && return 0
    sleep 0.2
  done
  echo "janela \"$1\" continua aberta" >&2
  return 1
}

step_active() {
  local name
  sleep 0.5
  name=$(xdotool getactivewindow getwindowname 2>/dev/null || true)
  [ "$name" = "$1" ] && return 0
  echo "a janela ativa é \"$name\", e não \"$1\"" >&2
  return 1
}

trees=0
step_tree() {
  [ -n "${screen_reader:-}" ] || return 0
  trees=$((trees + 1))
  # Optional: a tree that cannot be read is reported, the pictures go on.
  if /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/a11y-tree.py" "$1" >"$out/arvore-$trees.txt"; then
    echo "$out/arvore-$trees.txt"
  else
    rm -f "$out/arvore-$trees.txt"
  fi
}

run_steps() {
  local steps=$1 step verb args
  IFS=';' read -ra list <<<"$steps"
  for step in "${list[@]}"; do
    read -r verb args <<<"$step"
    [ -z "${verb:-}" ] && continue
    case $verb in
      menu) step_menu $args ;;
      open) step_open $args ;;
      bar) step_bar "$args" ;;
      click) step_click $args ;;
      hover) step_hover $args ;;
      key) xdotool key --delay 120 $args ;;
      type) xdotool type --delay 60 "$args" ;;
      answer) sleep 0.5; xdotool key $args ;;
      wait) sleep "$args" ;;
      gone) step_gone "$args" ;;
      focus) need_window "$args" >/dev/null ;;
      active) step_active "$args" ;;
      run) eval "$args" ;;
      tree) step_tree "$args" ;;
      *) echo "passo desconhecido: $verb" >&2; return 1 ;;
    esac
  done
  # Let the windows paint.
  sleep 1
}
