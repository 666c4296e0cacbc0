// Resource ids of the PNG images of the toolkit painting tests
// (tests/data/images, made by tools/make-test-images.sh).
#pragma once

#define IMG_RED 10
#define IMG_GREEN 11
#define IMG_BLUE 12
#define IMG_YELLOW 13
#define IMG_HALF_RED 15
#define IMG_ODD_STRIP 20
#define IMG_NARROW_STRIP 21
#define IMG_MAGENTA_6X4 22
#define IMG_ICON_CYAN 30
#define IMG_ICON_MAGENTA 31
#define IMG_TRUNCATED 40
#define IMG_NOT_A_PNG 41
#define IMG_MISSING 999
// Art at 100, 150, 200 and a broken 175 %.
#define IMG_SCALED 50
// The progress bar always loads these two ids.
#define IMG_TRACK 144
#define IMG_FILL 145
