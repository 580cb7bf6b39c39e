#!/bin/sh
# Usage: bench/run_qvprot_bench.sh [BUILD_DIR]   (default build/mingw64)
# Runs the QVProt.dll round-trip benchmark under Wine against the simulator.
# Call it inside a Wine session:
#   xvfb-run -a tools/wine-session.sh build/wine-NAME bench/run_qvprot_bench.sh
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/mingw64}
exec sh "$here/tests/wine/run_with_simulator.sh" "$build/tests/wine/qv_phone_sim" \
  "$here/tools/wine-run.sh" "${WINELOADER:-/usr/lib/wine/wine64}" "$build/bin/qvprot_bench.exe"
