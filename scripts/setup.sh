#!/usr/bin/env bash
# Installs what the builds and the tests need on Debian 12: the MinGW-w64
# cross compilers (i686 for the release, x86_64 for the tests), 64-bit Wine,
# Xvfb, a font with Chinese glyphs, and Debian's pdftk and poppler for real
# merging under Wine. No i386 architecture: the hosts here run no 32-bit code.
# Idempotent: returns at once when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine64
  xvfb xauth x11-apps netpbm
  fonts-wqy-microhei fonts-wine
  doctest-dev
  pdftk poppler-utils
  locales
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# Without the glibc zh_CN.UTF-8 locale Wine still reports code page 936, but
# every non-ASCII file name fails.
have_locale() { locale -a 2>/dev/null | grep -qiE '^zh_CN\.utf-?8$'; }

if [ ${#missing[@]} -eq 0 ] && have_locale; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing ${missing[*]:-the zh_CN.UTF-8 locale}; run this script as root to install" >&2
  exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if ! have_locale; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
