#!/bin/sh
# Usage: bench/run_qvprot_bench.sh [BUILD_DIR]   (default build/mingw64)
# Runs the QVProt.dll round-trip benchmark under Wine against two simulators:
# the echo responder (round trips, serial line on COM5 where the pty's
# modem-line library exists for this loader) and the demo phone (full-phone
# read and write; QV_BENCH_PHONE_STATE names another phone state file, such as
# the full phone of `qv_make_demo_state --full`). Call it inside a Wine session:
#   xvfb-run -a tools/wine-session.sh build/wine-NAME bench/run_qvprot_bench.sh
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/mingw64}
. "$here/tests/wine/simulator_ready.sh"
sim=$build/tests/wine/qv_phone_sim
out=$(mktemp)
"$sim" --usb-port 0 --control-port 0 --state "${QV_BENCH_PHONE_STATE:-$here/simulator/demo/demo.qvphone}" >"$out" &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null; rm -f "$out"' EXIT
trap 'exit 130' INT TERM
await_simulator "$pid" "$out"
export QV_BENCH_PHONE_WDU_PORT=$QV_WDU_PORT QV_BENCH_PHONE_CONTROL_PORT=$QV_SIM_CONTROL_PORT
loader=${WINELOADER:-/usr/lib/wine/wine64}
preload=
[ "$loader" = /usr/lib/wine/wine64 ] && [ -f "$build/tests/wine/pty_modem_lines_preload.so" ] &&
  preload="--preload $build/tests/wine/pty_modem_lines_preload.so"
sh "$here/tests/wine/run_with_simulator.sh" "$sim" $preload "$here/tools/wine-run.sh" "$loader" "$build/bin/qvprot_bench.exe"
