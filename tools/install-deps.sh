#!/usr/bin/env bash
# Installs what building and testing Quillon needs on Debian: the native and
# MinGW compilers, GoogleTest, Wine (32-bit, and 64-bit for the 64-bit Windows tier), Xvfb, xdotool, xclip and ImageMagick.
# Quick when everything is already there.
set -euo pipefail
packages=(cmake g++ make libgtest-dev libgmock-dev googletest g++-mingw-w64-i686-win32
          wine wine32:i386 wine64 xvfb xdotool xclip imagemagick fonts-liberation clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo dpkg --add-architecture i386
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
