#!/usr/bin/env bash
# Rebuilds the shipped reference data in data/ from the researched tables:
#   - copies the four tables (TSV) into data/;
#   - country flags (data/flags/countries/<code3>.jpg) from Debian's iso-flags-svg, the
#     three it lacks (England, Northern Ireland, Kosovo) from npm's flag-icons (MIT);
#   - state flags (data/flags/states/<uf>.jpg) from refdata/uf-flags (public domain);
#   - federation logos (data/logos/) and sample badges (data/sample/badges/): our own
#     drawings, made by the small Qt program in emblems/;
#   - the statistics window's maps (data/maps/) by maps.py, from npm's world-atlas
#     2.0.2 (Natural Earth) and @svg-maps/brazil 2.0.0 (CC BY 4.0), and Debian's iso-codes.
# Usage: make-data.sh [REFDATA_DIR]   (default: ../shared/refdata beside the repository)
# FLAG_ICONS_DIR may point at an unpacked flag-icons package; else `npm pack` fetches it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
refdata=${1:-$root/../shared/refdata}
data=$root/data
iso=/usr/share/iso-flags-svg/country-4x3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for t in countries states federations cities; do
  cp "$refdata/$t.tsv" "$data/$t.tsv"
done

# SVG -> JPEG on white, sized for the largest box the program shows it in, with room to print.
to_jpeg() { # svg out width [height]
  local size=(-w "$3")
  [ -n "${4:-}" ] && size+=(-h "$4")
  rsvg-convert "${size[@]}" "$1" | convert - -background white -flatten -strip -quality 88 "$2"
}

flag_icons() {
  if [ -n "${FLAG_ICONS_DIR:-}" ]; then
    echo "$FLAG_ICONS_DIR/flags/4x3"
    return
  fi
  [ -d "$work/package" ] ||
    (cd "$work" && npm pack --silent flag-icons >/dev/null && tar xzf flag-icons-*.tgz)
  echo "$work/package/flags/4x3"
}

mkdir -p "$data/flags/countries" "$data/flags/states" "$data/logos" "$data/sample/badges"
rm -f "$data"/flags/countries/*.jpg "$data"/flags/states/*.jpg "$data"/logos/*.jpg \
  "$data"/sample/badges/*.jpg

tail -n +2 "$refdata/countries.tsv" | while IFS=$'\t' read -r code3 _name iso2 _conf; do
  case "$iso2" in
    gb-sct) svg=$iso/_scotland.svg ;;
    gb-wls) svg=$iso/_wales.svg ;;
    *) svg=$iso/$iso2.svg ;;
  esac
  [ -f "$svg" ] || svg=$(flag_icons)/$iso2.svg
  to_jpeg "$svg" "$data/flags/countries/${code3,,}.jpg" 240 180
done

tail -n +2 "$refdata/states.tsv" | while IFS=$'\t' read -r uf _name _capital; do
  to_jpeg "$refdata/uf-flags/${uf,,}.svg" "$data/flags/states/${uf,,}.jpg" 240
done

cmake -S "$here/emblems" -B "$work/emblems" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/emblems" -j2 >/dev/null
export QT_QPA_PLATFORM=offscreen
"$work/emblems/velmora-emblems" logos "$data/federations.tsv" "$data/logos"
"$work/emblems/velmora-emblems" badges "$data/sample/clubs.tsv" "$data/sample/badges"

# The maps: versions pinned, so a rebuild draws the same shapes.
(cd "$work" && mkdir -p maps && cd maps &&
  npm pack --silent world-atlas@2.0.2 @svg-maps/brazil@2.0.0 >/dev/null &&
  mkdir -p world brazil && tar xzf world-atlas-2.0.2.tgz -C world &&
  tar xzf svg-maps-brazil-2.0.0.tgz -C brazil)
python3 "$here/maps.py" "$work/maps/world/package" "$work/maps/brazil/package" "$data/maps"

echo "países: $(ls "$data/flags/countries" | wc -l), estados: $(ls "$data/flags/states" | wc -l)," \
  "federações: $(ls "$data/logos" | wc -l), escudos: $(ls "$data/sample/badges" | wc -l)"
du -sh "$data"
