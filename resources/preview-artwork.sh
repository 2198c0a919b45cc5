#!/bin/sh
# Renders every picture at its designed size and at 2x into BUILD_DIR/preview, plus a sheet of
# the task-kind images on light, dark and selection backgrounds for checking them side by side.
# Usage: resources/preview-artwork.sh BUILD_DIR   (BUILD_DIR holds a built velloran_render_svg)
set -eu
build=${1:?usage: preview-artwork.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
tool="$build/resources/velloran_render_svg"
out="$build/preview"
# The tool draws off screen; no display is needed.
export QT_QPA_PLATFORM=offscreen
mkdir -p "$out"

size_of() {
    # The designed size is the width and height attributes of the root element.
    sed -n 's/.*<svg[^>]* width="\([0-9]*\)" height="\([0-9]*\)".*/\1 \2/p' "$1" | head -n 1
}

for svg in "$here"/svg/*.svg; do
    name=$(basename "$svg" .svg)
    set -- $(size_of "$svg")
    "$tool" render "$svg" "$out/$name.png" "$1" "$2"
    "$tool" render "$svg" "$out/$name@2x.png" $(($1 * 2)) $(($2 * 2))
done

# Kind sheet: each row one background; the small design at 16 (shown 4x enlarged without
# smoothing), the large design at 24, 48 and 96.
kinds="alarm memo executable web audio video document general"
sheet=""
for bg in "#ffffff" "#2b3340" "#3874d8"; do
    row=""
    for k in $kinds; do
        "$tool" render "$here/svg/kind-$k-16.svg" "$out/tmp-16.png" 16 16
        convert "$out/tmp-16.png" -filter point -resize 400% "$out/tmp-64.png"
        "$tool" render "$here/svg/kind-$k.svg" "$out/tmp-24.png" 24 24
        "$tool" render "$here/svg/kind-$k.svg" "$out/tmp-48.png" 48 48
        convert -background "$bg" "$out/tmp-16.png" "$out/tmp-64.png" "$out/tmp-24.png" "$out/tmp-48.png" \
            -bordercolor "$bg" -border 4 -gravity center +append +repage -alpha remove -alpha off "$out/tmp-$k.png"
        row="$row $out/tmp-$k.png"
    done
    convert -background "$bg" $row -bordercolor "$bg" -border 6 -gravity center +append +repage -alpha remove -alpha off "$out/tmp-row-${bg#\#}.png"
    sheet="$sheet $out/tmp-row-${bg#\#}.png"
done
convert $sheet +repage -append "$out/kinds-sheet.png"
rm -f "$out"/tmp-*.png
echo "previews in $out"
