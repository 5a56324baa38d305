#!/usr/bin/env bash
# Makes the build tree's two Wine prefixes once: win32, and win64 (32-bit programs run under
# WOW64 there). Reused by every test; delete build/wine to start afresh.
set -eu
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=${QUINTREL_WINE_ROOT:-$here/../build/wine}
mkdir -p "$root"
for arch in ${*:-win32 win64}; do
  prefix=$root/$arch
  [ -f "$prefix/.quintrel-ready" ] && continue
  echo "making the $arch Wine prefix (once per build tree)"
  rm -rf "$prefix"
  WINEPREFIX=$prefix WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    wineboot -i </dev/null >"$root/$arch-boot.log" 2>&1
  WINEPREFIX=$prefix wineserver -w
  touch "$prefix/.quintrel-ready"
done
