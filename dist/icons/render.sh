#!/usr/bin/env bash
# Renders the icon's PNGs from its SVGs with rsvg-convert (Debian's librsvg2-bin):
#
#   dist/icons/render.sh [OUTDIR]     (default: dist/icons/png, the committed copies)
#
# The PNGs are committed: the program embeds them as its window icon and the .deb ships them,
# and neither the program's build nor its run then needs an SVG renderer. The test
# icons.match_svg renders them again into a scratch folder and compares the pixels, so a
# changed SVG without new PNGs fails the tests.
#
# Which drawing each size comes from: 16 from vexilo-16.svg and 22 from vexilo-22.svg, both
# drawn on the pixel grid of their size; 24 is the 22 drawing with a transparent pixel
# around it; 32 and up from vexilo.svg, whose edges fall on pixel boundaries at 32, 64, 128
# and 256.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="${1:-$here/png}"
mkdir -p "$out"

render() {  # render SIZE SVG [MARGIN]
    local size="$1" svg="$2" margin="${3:-0}" inner
    inner=$((size - 2 * margin))
    rsvg-convert --width "$inner" --height "$inner" \
        --page-width "$size" --page-height "$size" --left "$margin" --top "$margin" \
        --output "$out/vexilo-$size.png" "$here/$svg"
}

render 16 vexilo-16.svg
render 22 vexilo-22.svg
render 24 vexilo-22.svg 1
for size in 32 48 64 128 256; do render "$size" vexilo.svg; done
