#!/usr/bin/env bash
# Prints, for each product folder, the product folders its sources include, and fails
# when a window subsystem (registry, gallery, detail, stats) includes app/ or another subsystem,
# or when core/ (no widgets) includes platform/, app/ or a subsystem.
# Usage: tools/layers.sh [REPO]   (default: the repository this script is in)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
folders=(store core layout platform registry gallery detail stats app)
subsystems=" registry gallery detail stats "

includes_of() {
    grep -rhoE '^#include "[a-z]+/' --include='*.h' --include='*.cpp' "$root/$1" |
        sed -E 's/^#include "([a-z]+)\/$/\1/' | sort -u | grep -vx "$1" || true
}

# Whether folder $1 may not include folder $2.
forbidden() {
    local above=" app $subsystems"
    case $1 in
    core) [[ $2 == platform || $above == *" $2 "* ]] ;;
    registry | gallery | detail | stats) [[ $above == *" $2 "* ]] ;;
    *) return 1 ;;
    esac
}

status=0
for folder in "${folders[@]}"; do
    targets=()
    for target in $(includes_of "$folder"); do
        [[ " ${folders[*]} " == *" $target "* ]] && targets+=("$target")
    done
    printf '%-9s -> %s\n' "$folder" "${targets[*]:-(none)}"
    for target in "${targets[@]}"; do
        if forbidden "$folder" "$target"; then
            echo "  not allowed: $folder/ includes $target/" >&2
            status=1
        fi
    done
done
exit $status
