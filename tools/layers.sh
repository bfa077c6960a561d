#!/usr/bin/env bash
# Prints, for each product folder, the product folders its sources include, and fails
# when a window subsystem (registry, gallery, detail, stats) includes app/ or another subsystem.
# Usage: tools/layers.sh [REPO]   (default: the repository this script is in)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
folders=(store layout platform registry gallery detail stats app)
subsystems=" registry gallery detail stats "

includes_of() {
    grep -rhoE '^#include "[a-z]+/' --include='*.h' --include='*.cpp' "$root/$1" |
        sed -E 's/^#include "([a-z]+)\/$/\1/' | sort -u | grep -vx "$1" || true
}

status=0
for folder in "${folders[@]}"; do
    targets=()
    for target in $(includes_of "$folder"); do
        [[ " ${folders[*]} " == *" $target "* ]] && targets+=("$target")
    done
    printf '%-9s -> %s\n' "$folder" "${targets[*]:-(none)}"
    [[ $subsystems == *" $folder "* ]] || continue
    for target in "${targets[@]}"; do
        if [[ $target == app || $subsystems == *" $target "* ]]; then
            echo "  not allowed: $folder/ includes $target/" >&2
            status=1
        fi
    done
done
exit $status
