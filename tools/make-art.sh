#!/usr/bin/env bash
# Regenerates the artwork of both programs from the SVG sources in res/art:
# the PNG images in res/vstorm and res/uninstall at every scale the loader
# knows (ui/ImageLoader.cpp), the resource lines of the larger scales
# (res/<program>/scales.rc, made from the PNG lines of res/<program>.rc),
# and the icons res/vstorm.ico and res/uninstall.ico. Each scale is the SVG
# rendered at that size, so res/<program>/<percent>/<name>.png is also what
# a crisp screen at that scale shows (the back picture's palette aside).
# The results are committed, so a build of the demo brand needs none of
# these tools; run this after changing a source or a PNG line of a resource
# script: every scale is made anew. A build whose brand names another art
# folder renders it into its tree with this script:
#   tools/make-art.sh [--art <SVG folder>] [--out <folder for the results>]
# As root it installs the Debian packages it needs with apt-get; as any
# other user it names what is missing and stops.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/setup.sh" librsvg2-bin imagemagick icoutils pngquant fonts-noto-cjk python3

art=$root/res/art
results=$root/res
while [ $# -gt 0 ]; do
  case $1 in
    --art) art=$(realpath "$2"); shift 2 ;;
    --out) results=$(realpath -m "$2"); shift 2 ;;
    *) echo "usage: tools/make-art.sh [--art DIR] [--out DIR]" >&2; exit 2 ;;
  esac
done
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

# Renders an SVG (at its own size, or at WxH) flattened onto the uninstall
# wizard's body colour, stored as plain RGB (PNG colour type 2, no alpha
# channel).
render_opaque() {
  local svg=$1 out=$2 size=${3:-}
  local raw=$work/raw.png
  if [ -n "$size" ]; then
    rsvg-convert -w "${size%x*}" -h "${size#*x}" "$svg" -o "$raw"
  else
    rsvg-convert "$svg" -o "$raw"
  fi
  convert "$raw" -background '#FAFAFA' -alpha remove -alpha off "${png_flags[@]}" "PNG24:$out"
}

# The scales above 100 %, in percent, each in res/<program>/<percent>/ and
# stored as resource type PNG<percent>.
scales=(125 150 175 200)

# The size at percent of a 100 % PNG, rounded half up as the loader rounds.
scaled_size() {
  local png=$1 percent=$2 width height
  read -r width height < <(identify -format '%w %h' "$png")
  echo "$(((width * percent + 50) / 100))x$(((height * percent + 50) / 100))"
}

# The back picture's storm clouds are fractal noise, which PNG hardly
# compresses: its larger scales alone would burst the programs' size budget.
# They are stored with a dithered palette instead, whose normalised mean
# absolute error (about 0.0025) lies far below that of resampling. Palette
# colours that the quantiser left barely translucent are made opaque again,
# so the body stays opaque wherever windows and buttons sit on it.
shrink_noisy() {
  pngquant --speed 1 --strip --force --output "$1" "$1"
  python3 - "$1" <<'EOF'
import struct, sys, zlib
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
at = 8
while at < len(data):
    length, kind = struct.unpack(">I4s", data[at:at + 8])
    if kind == b"tRNS":
        body = data[at + 8:at + 8 + length]
        data[at + 8:at + 8 + length] = bytes(255 if a >= 250 else a for a in body)
        data[at + 8 + length:at + 12 + length] = struct.pack(">I", zlib.crc32(data[at + 4:at + 8 + length]))
    at += 12 + length
open(path, "wb").write(data)
EOF
}

python3 "$art/variants.py" "$work/gen"

for program in vstorm uninstall; do
  out=$results/$program
  rm -rf "$out"
  mkdir -p "$out"
  for svg in "$art/$program"/*.svg "$work/gen/$program"/*.svg; do
    name=$(basename "$svg" .svg)
    case $name in
      emblem|emblem16) continue ;;  # icon sources, rendered below
      checkbox_*|progress_track) draw=render_opaque ;;
      *) draw=render ;;
    esac
    $draw "$svg" "$out/$name.png"
    for percent in "${scales[@]}"; do
      mkdir -p "$out/$percent"
      $draw "$svg" "$out/$percent/$name.png" "$(scaled_size "$out/$name.png" "$percent")"
      if [ "$name" = back_picture ]; then shrink_noisy "$out/$percent/$name.png"; fi
    done
  done

  # Icon group 128: the emblem at every size a window or tray icon asks
  # for from 100 to 200 % (16 to 64 pixels, and 256 for the shell), with its
  # own 16-pixel cut, stored as 32-bit images with alpha; the 256-pixel one
  # as PNG, as the shell reads it.
  icons=()
  for size in 64 48 40 32 24 20; do
    render "$art/$program/emblem.svg" "$work/$program-$size.png" "${size}x$size"
    icons+=("$work/$program-$size.png")
  done
  render "$art/$program/emblem16.svg" "$work/$program-16.png"
  icons+=("$work/$program-16.png")
  render "$art/$program/emblem.svg" "$work/$program-256.png" 256x256
  icotool -c -o "$results/$program.ico" "${icons[@]}" --raw="$work/$program-256.png"
done

# The game window's caption icon is the emblem at 20 pixels.
render "$art/vstorm/emblem.svg" "$results/vstorm/caption_icon.png" 20x20
for percent in "${scales[@]}"; do
  render "$art/vstorm/emblem.svg" "$results/vstorm/$percent/caption_icon.png" \
    "$(scaled_size "$results/vstorm/caption_icon.png" "$percent")"
done

# The larger scales' resource lines: every PNG line of a program's script
# again, once per scale, under the type the loader looks for.
for program in vstorm uninstall; do
  {
    echo "// The PNG images of ../$program.rc at the larger scales (made by tools/make-art.sh)."
    for percent in "${scales[@]}"; do
      sed -n -E "s|^([A-Z0-9_]+) +PNG +\"$program/([a-z0-9_]+\.png)\"\$|\1 PNG$percent \"$program/$percent/\2\"|p" \
        "$root/res/$program.rc"
    done
  } >"$results/$program/scales.rc"
done

# The installer's pictures, 24-bit BMP as NSIS wants them: the side picture
# of the welcome and finish pages (164 x 314), cut from the back frame's
# left end with the title, and the header picture of the other pages
# (150 x 57), the emblem at the right of a white field.
mkdir -p "$results/installer"
render "$art/vstorm/back_picture.svg" "$work/back.png"
convert "$work/back.png" -crop 310x594+30+25 +repage -resize '164x314!' \
  -background white -alpha remove -alpha off -strip BMP3:"$results/installer/wizard.bmp"
render "$art/vstorm/emblem.svg" "$work/emblem-48.png" 48x48
convert -size 150x57 xc:white "$work/emblem-48.png" -geometry +96+4 -composite \
  -alpha off -strip BMP3:"$results/installer/header.bmp"

echo "Artwork written to $results: vstorm, uninstall, installer, vstorm.ico and uninstall.ico"
