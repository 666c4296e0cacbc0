#!/usr/bin/env bash
# Regenerates the artwork of both programs from the SVG sources in res/art:
# the PNG images in res/vstorm and res/uninstall and the icons
# res/vstorm.ico and res/uninstall.ico. The results are committed, so a
# build needs none of these tools; run this after changing a source.
# As root it installs the Debian packages it needs with apt-get; as any
# other user it names what is missing and stops.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/setup.sh" librsvg2-bin imagemagick icoutils fonts-noto-cjk python3

art=$root/res/art
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The window code reads the images through GDI+, which applies gamma and
# colour chunks when it finds them; cairo writes none, and ImageMagick is
# told to write none, so the pixels on screen are the pixels drawn. No
# time stamps either, so that unchanged art regenerates byte for byte.
png_flags=(-strip -define png:exclude-chunks=all -define png:compression-level=9)

# Renders an SVG (at its own size, or at WxH) to a straight RGBA PNG.
render() {
  local svg=$1 out=$2 size=${3:-}
  local raw=$work/raw.png
  if [ -n "$size" ]; then
    rsvg-convert -w "${size%x*}" -h "${size#*x}" "$svg" -o "$raw"
  else
    rsvg-convert "$svg" -o "$raw"
  fi
  convert "$raw" "${png_flags[@]}" "PNG32:$out"
}

# Renders an SVG flattened onto the uninstall wizard's body colour, stored
# as plain RGB (PNG colour type 2, no alpha channel).
render_opaque() {
  local svg=$1 out=$2
  local raw=$work/raw.png
  rsvg-convert "$svg" -o "$raw"
  convert "$raw" -background '#FAFAFA' -alpha remove -alpha off "${png_flags[@]}" "PNG24:$out"
}

python3 "$art/variants.py" "$work/gen"

for program in vstorm uninstall; do
  out=$root/res/$program
  rm -rf "$out"
  mkdir -p "$out"
  for svg in "$art/$program"/*.svg "$work/gen/$program"/*.svg; do
    name=$(basename "$svg" .svg)
    case $name in
      emblem|emblem16) continue ;;  # icon sources, rendered below
      checkbox_*|progress_track) render_opaque "$svg" "$out/$name.png" ;;
      *) render "$svg" "$out/$name.png" ;;
    esac
  done

  # Icon group 128: the emblem at 48, 32 and 24 pixels and its own
  # 16-pixel cut, stored as 32-bit images with alpha.
  icons=()
  for size in 48 32 24; do
    render "$art/$program/emblem.svg" "$work/$program-$size.png" "${size}x$size"
    icons+=("$work/$program-$size.png")
  done
  render "$art/$program/emblem16.svg" "$work/$program-16.png"
  icons+=("$work/$program-16.png")
  icotool -c -o "$root/res/$program.ico" "${icons[@]}"
done

# The game window's caption icon is the emblem at 20 pixels.
render "$art/vstorm/emblem.svg" "$root/res/vstorm/caption_icon.png" 20x20

# The installer's pictures, 24-bit BMP as NSIS wants them: the side picture
# of the welcome and finish pages (164 x 314), cut from the back frame's
# left end with the title, and the header picture of the other pages
# (150 x 57), the emblem at the right of a white field.
mkdir -p "$root/res/installer"
render "$art/vstorm/back_picture.svg" "$work/back.png"
convert "$work/back.png" -crop 310x594+30+25 +repage -resize '164x314!' \
  -background white -alpha remove -alpha off -strip BMP3:"$root/res/installer/wizard.bmp"
render "$art/vstorm/emblem.svg" "$work/emblem-48.png" 48x48
convert -size 150x57 xc:white "$work/emblem-48.png" -geometry +96+4 -composite \
  -alpha off -strip BMP3:"$root/res/installer/header.bmp"

echo "Artwork written to res/vstorm, res/uninstall, res/installer, res/vstorm.ico and res/uninstall.ico"
