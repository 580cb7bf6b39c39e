#!/usr/bin/env bash
# The program's main job, as far as it exists: builds the Windows deliverables and
# shows the frame codec at work (its throughput benchmark). Once the desktop
# program exists, this starts it under Wine against the simulated phone.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
if [ "$(id -u)" = 0 ]; then bash tools/setup.sh; fi
for preset in mingw bench; do
  cmake --preset "$preset" >/dev/null
  cmake --build "build/$preset" -j "$(nproc)" >/dev/null
done
echo "Windows binaries: build/mingw"
build/bench/bench/bench_frame_codec
