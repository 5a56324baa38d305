# Sourced by the tools that run Windows programs: selects one of the build tree's Wine
# prefixes and keeps its server and services up, detached from the caller's pipes.
# QUINTREL_WINE_ARCH picks the prefix (win32, the default, or win64).

quintrel_tools=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
QUINTREL_WINE_ARCH=${QUINTREL_WINE_ARCH:-win32}
export WINEPREFIX=${QUINTREL_WINE_ROOT:-$quintrel_tools/../build/wine}/$QUINTREL_WINE_ARCH
export WINEARCH=$QUINTREL_WINE_ARCH WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# True while the prefix's wineserver runs (it listens on a socket named after the prefix).
wine_server_running() {
  local id
  id=$(stat -c '%d %i' "$WINEPREFIX" 2>/dev/null) || return 1
  set -- $id
  [ -S "/tmp/.wine-$(id -u)/server-$(printf '%x-%x' "$1" "$2")/socket" ]
}

# Wine's first process in a prefix starts its services, which inherit that process's
# output; started here with no pipe attached, later runs can be captured safely.
wine_warm() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "no Wine prefix at $WINEPREFIX: run tools/make-prefixes.sh" >&2
    return 2
  fi
  wine_server_running && return 0
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wine wineboot </dev/null >/dev/null 2>&1 || true
}

wine_stop() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
}
