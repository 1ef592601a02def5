#!/usr/bin/env bash
# Renders the PNG sizes of the icons from their SVG drawings into hicolor/. Run it after
# changing a drawing and commit the result: the build itself needs no SVG renderer.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
render() {  # drawing, hicolor context, sizes...
  local name=$1 context=$2
  shift 2
  local size
  for size in "$@"; do
    mkdir -p "hicolor/${size}x${size}/$context"
    rsvg-convert -w "$size" -h "$size" "$name.svg" -o "hicolor/${size}x${size}/$context/$name.png"
  done
}
render org.ostrivane.Ostrivane apps 16 22 24 32 48 64 128 256
for type in program profile tooth-file; do
  render "application-x-ostrivane-$type" mimetypes 16 22 24 32 48 64
done
