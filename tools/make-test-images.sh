#!/usr/bin/env bash
# Makes the PNG images of the toolkit tests and the paint benchmark in
# tests/data/ with ImageMagick. The results are committed; run this only to
# change them. Metadata chunks (time, gamma, chromaticity) are left out so
# that decoders show exactly the pixels written here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/tests/data/images
mkdir -p "$out"
cd "$out"

png() {  # png <name> <convert arguments...>: 32-bit RGBA PNG
  local name=$1
  shift
  convert "$@" -strip -define png:exclude-chunks=date,time,gAMA,cHRM,bKGD,sRGB,iCCP \
    PNG32:"$name"
}
png24() {  # the same without an alpha channel
  local name=$1
  shift
  convert "$@" -strip -define png:exclude-chunks=date,time,gAMA,cHRM,bKGD,sRGB,iCCP \
    PNG24:"$name"
}

# State images, 20 x 20, one opaque colour each.
png red.png -size 20x20 xc:'#FF0000'
png green.png -size 20x20 xc:'#00FF00'
png blue.png -size 20x20 xc:'#0000FF'
png yellow.png -size 20x20 xc:'#FFFF00'
# Left half red, right half transparent.
png half-red.png -size 20x20 xc:none -fill '#FF0000' -draw 'rectangle 0,0 9,19'
# A strip of odd width: 10 red columns, 10 green, then one blue.
png odd-strip.png -size 21x10 xc:'#0000FF' -fill '#FF0000' -draw 'rectangle 0,0 9,9' \
  -fill '#00FF00' -draw 'rectangle 10,0 19,9'
# Too narrow to cut into two states.
png narrow-strip.png -size 1x10 xc:'#FF0000'
# Small images drawn at natural size: an offset picture and two icons.
png magenta-6x4.png -size 6x4 xc:'#FF00FF'
png icon-cyan.png -size 8x8 xc:'#00FFFF'
png icon-magenta.png -size 8x8 xc:'#FF00FF'
# Progress bar: a flat grey track without alpha and an orange gradient fill.
png24 track.png -size 500x4 xc:'#A0A0A0'
png fill.png -size 3x371 gradient:'#FFC080-#C04000' -rotate 90
# One image's art at 100, 150 and 200 %, a colour for each scale.
png scaled-100.png -size 20x10 xc:'#FF0000'
png scaled-150.png -size 30x15 xc:'#00FF00'
png scaled-200.png -size 40x20 xc:'#0000FF'
# Broken data: the first 60 bytes of a PNG, and text.
head -c 60 red.png >truncated.png
printf 'This is not a PNG image.\n' >not-a-png.png

# The benchmark's back frame: a 1450 x 641 picture with alpha and strips of
# the back frame's button sizes.
png bench-back.png -size 641x1450 gradient:'rgba(40,90,160,1)-rgba(200,120,40,0.6)' -rotate 90 \
  -fill 'rgba(255,255,255,0.5)' -draw 'roundrectangle 370,130 1180,590 12,12'
png bench-strip-56x28.png -size 56x28 xc:none -fill 'rgba(255,255,255,0.7)' \
  -draw 'roundrectangle 2,2 25,25 4,4' -fill 'rgba(255,220,120,0.9)' -draw 'roundrectangle 30,2 53,25 4,4'
png bench-strip-62x31.png -size 62x31 xc:none -fill 'rgba(255,255,255,0.7)' \
  -draw 'roundrectangle 2,2 28,28 4,4' -fill 'rgba(255,90,60,0.9)' -draw 'roundrectangle 33,2 59,28 4,4'
png bench-strip-306x49.png -size 306x49 xc:none -fill 'rgba(250,200,90,0.85)' \
  -draw 'roundrectangle 2,2 150,46 8,8' -fill 'rgba(255,230,140,0.95)' -draw 'roundrectangle 155,2 303,46 8,8'

# An icon group with one image per size, each its own colour, so that a test
# can tell which image the system chose: 16 blue, 32 green, 48 red.
for entry in 16:0000FF 32:00FF00 48:FF0000; do
  png "icon-$entry.png" -size "${entry%%:*}x${entry%%:*}" xc:"#${entry##*:}"
done
convert icon-16:0000FF.png icon-32:00FF00.png icon-48:FF0000.png icon-sizes.ico
rm icon-16:0000FF.png icon-32:00FF00.png icon-48:FF0000.png
