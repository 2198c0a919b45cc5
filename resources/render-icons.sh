#!/bin/sh
# Renders the application icon into the desktop icon theme tree resources/icons/hicolor, with
# the same SVG renderer the program uses. Small sizes take the designs drawn on the 16 and the
# 24 px grid, as the program's own icon does.
# Usage: resources/render-icons.sh BUILD_DIR   (builds velloran_render_svg there if needed)
set -eu
build=${1:?usage: render-icons.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
tool="$build/resources/velloran_render_svg"
[ -x "$tool" ] || cmake --build "$build" --target velloran_render_svg
export QT_QPA_PLATFORM=offscreen

for size in 16 24 32 48 64 128 256; do
    svg="$here/svg/app.svg"
    [ "$size" -lt 32 ] && svg="$here/svg/app-24.svg"
    [ "$size" -lt 20 ] && svg="$here/svg/app-16.svg"
    dir="$here/icons/hicolor/${size}x${size}/apps"
    mkdir -p "$dir"
    "$tool" render "$svg" "$dir/velloran.png" "$size" "$size"
done
mkdir -p "$here/icons/hicolor/scalable/apps"
cp "$here/svg/app.svg" "$here/icons/hicolor/scalable/apps/velloran.svg"
echo "icons written to $here/icons/hicolor"
