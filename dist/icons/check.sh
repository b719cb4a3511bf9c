#!/usr/bin/env bash
# Test: the committed PNGs are what render.sh makes of the SVGs now, pixel for pixel (within
# 1 % per channel, for librsvg's rounding), and there is one for every size it renders.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
"$here/render.sh" "$scratch"
status=0
for fresh in "$scratch"/*.png; do
    name="$(basename "$fresh")"
    committed="$here/png/$name"
    if [ ! -f "$committed" ]; then
        echo "missing: dist/icons/png/$name (run dist/icons/render.sh)"; status=1; continue
    fi
    # compare prints the number of differing pixels and exits 1 when there are any.
    if differing="$(compare -metric AE -fuzz 1% "$committed" "$fresh" null: 2>&1)"; then
        echo "ok: $name matches its SVG"
    else
        echo "differs: dist/icons/png/$name, $differing pixels (run dist/icons/render.sh)"
        status=1
    fi
done
for committed in "$here"/png/*.png; do
    [ -f "$scratch/$(basename "$committed")" ] ||
        { echo "not made by render.sh: $committed"; status=1; }
done
exit $status
