#!/usr/bin/env bash
# Runs every test of the build tree under Wine: makes the two prefixes once, keeps their
# servers up for the run, stops them afterwards, and exits with CTest's result.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
"$here/make-prefixes.sh" win32 win64 || exit 1
for arch in win32 win64; do
  (QUINTREL_WINE_ARCH=$arch; . "$here/wine-env.sh"; wine_warm)
done
cd "$here/.." && ctest --preset windows "$@"
result=$?
for arch in win32 win64; do
  (QUINTREL_WINE_ARCH=$arch; . "$here/wine-env.sh"; wine_stop)
done
exit $result
