#!/usr/bin/env bash
# Installs the cross toolchain, Wine and the test tools from Debian's packages.
# Idempotent: does nothing when everything is already present.
set -euo pipefail

packages=(g++-mingw-w64-i686-posix wine wine32:i386 wine64 cmake ninja-build
          python3-pytest openssl clang-format clang libclang-rt-14-dev googletest
          wixl msitools)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
