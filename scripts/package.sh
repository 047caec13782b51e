#!/usr/bin/env bash
# Builds the release package: build/quorvane-<version>.zip holding the 32-bit
# quorvane.exe and README.txt, the short text for Windows users.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
[ -f build/win32/CMakeCache.txt ] || cmake --preset release >/dev/null
cmake --build --preset release >/dev/null

version=$(sed -n 's/^project(Quorvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
stage=build/package
rm -rf "$stage"
mkdir -p "$stage"
cp build/win32/bin/quorvane.exe "$stage/"
# Windows' Notepad reads UTF-8 with its mark and CRLF line ends.
{ printf '\357\273\277'; sed 's/$/\r/' docs/README-windows.txt; } >"$stage/README.txt"
zip="$PWD/build/quorvane-$version.zip"
rm -f "$zip"
(cd "$stage" && cmake -E tar cf "$zip" --format=zip quorvane.exe README.txt)
echo "$zip"
