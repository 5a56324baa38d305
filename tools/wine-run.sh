#!/usr/bin/env bash
# Runs a Windows program under Wine in one of the build tree's prefixes (CTest's emulator).
# QUINTREL_WINE_ARCH picks the prefix (win32, the default, or win64).
set -eu
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
wine_warm
exec wine "$@"
