#!/usr/bin/env bash
# Usage: wine-prefix.sh DIR
# Makes a fresh Wine prefix (64-bit, with its 32-bit half) and home folder under
# DIR for one test run. Where 32-bit x86 code is emulated this takes minutes, so
# the test command makes it once per run, beside the native build.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh" "$1"
rm -rf "$WINEPREFIX" "$HOME"
mkdir -p "$HOME"
xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
  "$WINELOADER" wineboot -i </dev/null >/dev/null 2>&1
  # Without a window manager a destroyed top-level window lingers for two seconds.
  "$WINELOADER" reg add "HKCU\Software\Wine\X11 Driver" /v Managed /d N /f </dev/null >/dev/null 2>&1
  wineserver -k'
test -f "$WINEPREFIX/system.reg"
