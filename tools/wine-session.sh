#!/usr/bin/env bash
# Usage: wine-session.sh DIR COMMAND...
# Runs COMMAND with the Wine prefix under DIR (made by wine-prefix.sh) and one
# persistent wineserver for the whole session; call it inside xvfb-run so that
# the server and its explorer belong to that display. The server is ended at the
# end, so no Wine process outlives the session (and none keeps CTest's pipes).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh" "$1"; shift
[ -f "$WINEPREFIX/system.reg" ] || { echo "no Wine prefix in $WINEPREFIX (tools/wine-prefix.sh)" >&2; exit 2; }
wineserver -p </dev/null >/dev/null 2>&1
"$WINELOADER" cmd /c exit </dev/null >/dev/null 2>&1
"$@"
rc=$?
wineserver -k
exit $rc
