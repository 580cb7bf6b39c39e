#!/bin/sh
# Usage: run_with_simulator.sh SIMULATOR [--preload LIBRARY] COMMAND...
# Starts the phone simulator on free loopback ports, runs COMMAND (a Wine test)
# with QV_WDU_PORT and QV_SIM_CONTROL_PORT pointing at it, then stops the
# simulator, so no simulator outlives its test. COMMAND's status is the result.
#
# The simulator's serial line (a pty) becomes COM5 of the test's Wine prefix:
# a symlink $WINEPREFIX/dosdevices/com5 -> the pty, removed again at the end.
# A pty has no modem-control lines, which Wine's serial waits ask for; LIBRARY
# (pty_modem_lines_preload.c, built for the Wine loader's word size) is
# preloaded into COMMAND to supply them. Without it the serial tests skip.
#
# COM6 of the prefix becomes a plain file (QV_FILE_PORT, its Unix path): it
# opens like a port but cannot be set up as one.
. "$(dirname "$0")/simulator_ready.sh"
sim=$1; shift
preload=
if [ "$1" = --preload ]; then preload=$2; shift 2; fi
com=${WINEPREFIX:+$WINEPREFIX/dosdevices/com5}
file_com=${WINEPREFIX:+$WINEPREFIX/dosdevices/com6}
file_port=$(mktemp)
out=$(mktemp)
"$sim" --usb-port 0 --control-port 0 >"$out" &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null; rm -f "$out" "$file_port"; [ -n "$com" ] && rm -f "$com" "$file_com"' EXIT
trap 'exit 130' INT TERM
await_simulator "$pid" "$out"
pty=$(echo "$ready_line" | sed -n 's/.*pty=\([^ ]*\).*/\1/p')
if [ -n "$com" ] && [ -n "$pty" ] && [ -n "$preload" ]; then
  ln -sfn "$pty" "$com"
  export QV_SIM_SERIAL=1 LD_PRELOAD="$preload${LD_PRELOAD:+:$LD_PRELOAD}"
fi
if [ -n "$file_com" ]; then
  ln -sfn "$file_port" "$file_com"
  export QV_FILE_PORT="$file_port"
fi
# A crash ends the test at once instead of waiting in Wine's debugger.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d};winedbg.exe=d"
"$@"
