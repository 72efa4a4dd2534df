#!/bin/sh
# Renders the SVG icons into the PNG sizes that desktops without an SVG loader look for,
# under data/icons/png/<size>x<size>/. The PNGs are kept in the repository, so that a build
# needs no renderer; run this (needs rsvg-convert, Debian librsvg2-bin) after changing an SVG.
set -eu
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
    for icon in qzd32 qzd32mk application-x-quillo32-help; do
        mkdir -p "png/${size}x${size}"
        rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio \
            --output "png/${size}x${size}/$icon.png" "$icon.svg"
    done
done
