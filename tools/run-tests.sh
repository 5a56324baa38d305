#!/usr/bin/env bash
# Runs every test: first the native logic under the sanitizers with short fuzzer runs, then
# the Windows build under Wine (the two prefixes are made once and their servers kept up for
# the run), and exits with the first failing result.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$here/.."
cmake --preset host -DFUZZ_SECONDS="${FUZZ_SECONDS:-20}" >/dev/null || exit 1
cmake --build --preset host || exit 1
ctest --preset host || exit 1
"$here/make-prefixes.sh" win32 win64 || exit 1
for arch in win32 win64; do
  (QUINTREL_WINE_ARCH=$arch; . "$here/wine-env.sh"; wine_warm)
done
ctest --preset windows "$@"
result=$?
for arch in win32 win64; do
  (QUINTREL_WINE_ARCH=$arch; . "$here/wine-env.sh"; wine_stop)
done
exit $result
