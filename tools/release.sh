#!/usr/bin/env bash
# A release of one brand: Release builds of the client, the uninstaller and
# the installer, without tests, into dist/ with SHA256SUMS.
#   tools/release.sh [--brand FILE] [--sign PFX] [--out DIR] [--trees PREFIX]
# --brand  the brand file (default brand/default.ini)
# --sign   signs with Authenticode (SHA-256) through osslsigncode with the
#          certificate and key of this PKCS#12 file, whose password comes from
#          the environment variable VSTORM_SIGN_PASSWORD: the client and the
#          uninstaller before the installer packs them, then the installer.
#          The brand's [Release] timestamp_url, when it names one, time-stamps
#          the signatures.
# --out    where the release goes (default dist/): empty, or holding an
#          earlier release, which is replaced
# --trees  the build trees are <this>-i686 and <this>-x86_64 (default
#          build/release): beside the test trees, whose compiled objects
#          the compiler cache then serves where the brand does not matter
#
# Two unsigned releases of the same sources and brand are byte-identical:
# the programs carry no link time and no checkout path, the installer no
# file times.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
brand=$root/brand/default.ini
pfx=
out=$root/dist
trees=$root/build/release
while [ $# -gt 0 ]; do
  case $1 in
    --brand) brand=$(realpath "$2"); shift 2 ;;
    --sign) pfx=$(realpath "$2"); shift 2 ;;
    --out) out=$(realpath -m "$2"); shift 2 ;;
    --trees) trees=$(realpath -m "$2"); shift 2 ;;
    *) echo "usage: tools/release.sh [--brand FILE] [--sign PFX] [--out DIR] [--trees PREFIX]" >&2; exit 2 ;;
  esac
done
[ -f "$brand" ] || { echo "release: no brand file $brand" >&2; exit 2; }
if [ -n "$pfx" ]; then
  [ -f "$pfx" ] || { echo "release: no certificate file $pfx" >&2; exit 2; }
  [ -n "${VSTORM_SIGN_PASSWORD+set}" ] ||
    { echo "release: --sign needs the certificate's password in VSTORM_SIGN_PASSWORD" >&2; exit 2; }
  "$root/tools/setup.sh" osslsigncode
fi
"$root/tools/setup.sh" cmake ninja-build g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix nsis

# Tools that honour it put this time where they would put the current one.
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)
export SOURCE_DATE_EPOCH

# The release folder is emptied of an earlier release (what its SHA256SUMS
# lists) and of nothing else: anything more in it stops the release.
if [ -f "$out/SHA256SUMS" ]; then
  (cd "$out" && sed 's/^[0-9a-f]*  //' SHA256SUMS | while IFS= read -r file; do rm -f -- "./$file"; done && rm SHA256SUMS)
fi
mkdir -p "$out" "$(dirname "$trees")"
[ -z "$(ls -A "$out")" ] || { echo "release: $out holds files of no release; choose another --out" >&2; exit 2; }
stage=$(mktemp -d "$trees-stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT

# Every address comes from the brand: an override left in a tree's cache
# from an earlier configuration is cleared.
settings=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DVSTORM_BUILD_TESTS=OFF "-DVSTORM_BRAND_FILE=$brand"
  -DVSTORM_STATS_ORIGIN= -DVSTORM_LANDING_ORIGIN= -DVSTORM_LOGIN_HOST= -DVSTORM_OFFICIAL_ORIGIN=
  -DVSTORM_FORUM_ORIGIN= -DVSTORM_MAKER_ORIGIN= -DVSTORM_TOPUP_ORIGIN= -DVSTORM_SURVEY_ORIGIN=)
configure() {
  cmake -S "$root" -B "$trees-$1" "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/toolchain-$1-w64-mingw32.cmake" \
    "${settings[@]}" "${@:2}" >/dev/null
}

timestamp=
sign() {
  local file=$1 options=(-h sha256 -n "$product")
  if [ -n "$timestamp" ]; then options+=(-ts "$timestamp"); fi
  # The password goes through a pipe from a shell builtin: it is never on a
  # command line that ps or a log could show.
  printf '%s' "$VSTORM_SIGN_PASSWORD" |
    osslsigncode sign -pkcs12 "$pfx" -readpass - "${options[@]}" -in "$file" -out "$file.signed" >/dev/null
  mv "$file.signed" "$file"
  echo "Signed $(basename "$file")"
}

configure i686
cmake --build "$trees-i686" --target uninstall
configure x86_64 "-DVSTORM_SHIPPED_UNINSTALLER=$stage/uninstall.exe" "-DVSTORM_SHIPPED_CLIENT=$stage/vstorm.exe"
cmake --build "$trees-x86_64" --target vstorm
cp "$trees-i686/bin/uninstall.exe" "$trees-x86_64/bin/vstorm.exe" "$stage/"

product=$(sed -n 's/^!define kProductName "\(.*\)"$/\1/p' "$trees-x86_64/installer/Product.nsh")
if [ -n "$pfx" ]; then
  timestamp=$(sed -n 's/^timestamp_url=//p' "$trees-x86_64/brand-release.txt")
  if [ -z "$timestamp" ]; then
    echo "release: the brand names no [Release] timestamp_url: the signatures carry no time stamp"
  fi
  sign "$stage/vstorm.exe"
  sign "$stage/uninstall.exe"
fi

cmake --build "$trees-x86_64" --target setup
setup=$(sed -n 's/^!define OUTFILE "\(.*\)"$/\1/p' "$trees-x86_64/installer/setup.nsh")
cp "$setup" "$stage/"
setup=$stage/$(basename "$setup")
[ -z "$pfx" ] || sign "$setup"

cp "$stage/vstorm.exe" "$stage/uninstall.exe" "$setup" "$out/"
(cd "$out" && sha256sum "$(basename "$setup")" uninstall.exe vstorm.exe >SHA256SUMS)
echo "Release of $product in $out:"
cat "$out/SHA256SUMS"
