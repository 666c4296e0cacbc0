#!/usr/bin/env bash
# The brand file's checks (cmake/Brand.cmake, run as a script): the demo
# brand passes, and each bad value stops with its key named, before any of
# it could reach a name, a file or a string literal.
#   brand_test.sh <source root>
set -euo pipefail
root=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
read_brand() { cmake -DPROJECT_SOURCE_DIR="$root" -DPROJECT_BINARY_DIR="$work/out" \
  -DVSTORM_BRAND_FILE="$work/brand.ini" -P "$root/cmake/Brand.cmake" 2>&1; }
status=0
# Each case: the key the message must name (none: accepted), a sed script.
while IFS='|' read -r key edit; do
  sed -e "s|^folder = .*|folder = $root/res/art|" -e "$edit" "$root/brand/default.ini" >"$work/brand.ini"
  output=$(read_brand) && [ -z "$key" ] && continue
  grep -q "brand.ini: $key:" <<<"$output" && [ -n "$key" ] && continue
  echo "$edit: expected ${key:-no error}, got: $output"
  status=1
done <<'CASES'
|s/^;.*//
Product.game_id|s/^game_id = .*/game_id = 17x/
Product.game_id|s/^game_id = .*/game_id = 0/
Product.version|s/^version = .*/version = 1.70000/
Product.version|s/^version = .*/version = 1/
Product.name_en|s/^name_en = .*/name_en = Evil\\\\..\\\\Name/
Product.name_en|s/^name_en = .*/name_en = Quote" Name/
Product.name_zh|s/^name_zh = .*/name_zh = 风暴$PLUGINSDIR/
Product.maker_en|/^maker_en/d
Product.maker_en|s/^maker_en = .*/maker_en = A;B/
Endpoints.stats|s|^stats = .*|stats = https://stat.example/path|
Endpoints.stats|s|^stats = .*|stats = ftp://stat.example|
Endpoints.landing|s|^landing = .*|landing = http://play.example"); evil("|
Endpoints.login_host|s|^login_host = .*|login_host = a/b|
Release.timestamp|s|^timestamp_url.*||;$ a timestamp = http://t.example
Art.folder|s|^folder = .*|folder = no/such/art|
CASES
exit $status
