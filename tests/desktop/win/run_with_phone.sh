#!/bin/sh
# Usage: run_with_phone.sh SIMULATOR PHONE_STATE COMMAND...
# Runs every GoogleTest case of COMMAND (a Wine test program) on a phone of its
# own: for each case a fresh simulator serves the phone state PHONE_STATE
# (nothing plugged) on free loopback ports, QV_WDU_PORT and
# QV_SIM_CONTROL_PORT point at it, and it is stopped after the case. A case
# that sets the phone's clock or writes to it leaves nothing for the next.
# Fails when any case fails.
. "$(dirname "$0")/../../wine/simulator_ready.sh"
sim=$1 state=$2
shift 2
cases=$("$@" --gtest_list_tests | tr -d '\r' | awk '/^[^ ]/ { suite = $1 } /^  [^ ]/ { print suite $1 }')
[ -n "$cases" ] || { echo "no test cases in $*" >&2; exit 1; }
# A crash ends the case at once instead of waiting in Wine's debugger.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d};winedbg.exe=d"
out=$(mktemp)
pid=
stop() { [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; pid=; }
trap 'stop; rm -f "$out"' EXIT
trap 'exit 130' INT TERM
failed=0
for case in $cases; do
  # Emptied here, not by the redirection below: that one happens in the
  # started child, perhaps only after the wait has read the previous case's
  # ready line, whose ports belong to a simulator that is gone.
  : >"$out"
  "$sim" --usb-port 0 --control-port 0 --state "$state" >"$out" &
  pid=$!
  await_simulator "$pid" "$out"
  "$@" --gtest_filter="$case" || failed=1
  stop
done
exit $failed
