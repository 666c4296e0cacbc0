#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, or
# the packages named as arguments. As root it installs what is missing with
# apt-get; as any other user it names what is missing and stops. The
# uninstaller is a 32-bit program: Wine runs it through Debian's wine32, a
# package of the i386 architecture, which is added first.
set -euo pipefail

packages=(
  cmake ninja-build clang-tidy
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  googletest
  nsis osslsigncode openssl
  wine wine64 libwine wine32:i386
  xvfb xauth x11-utils
  pulseaudio
  python3
  procps util-linux
)
if [ $# -gt 0 ]; then
  packages=("$@")
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Install them as root with:" >&2
  echo "  apt-get install --no-install-recommends ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
