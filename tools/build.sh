#!/usr/bin/env bash
# Configures and builds both architectures: build/x86_64 (the client, the
# toolkit and the tests) and build/i686 (the toolkit and the uninstaller).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
for arch in x86_64 i686; do
  dir=$root/build/$arch
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch-w64-mingw32.cmake" >/dev/null
  fi
  cmake --build "$dir"
done
