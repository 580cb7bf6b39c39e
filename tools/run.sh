#!/usr/bin/env bash
# The program's main job: the desktop program Quorvale.exe under Wine, talking
# to a simulated phone. It builds the Windows deliverables (build/mingw, i686)
# and the same code for x86-64 (build/mingw64), and runs the deliverables
# themselves, Quorvale.exe and QVProt.dll of build/mingw, where this machine
# runs 32-bit x86 natively (tools/i386-mode.sh); where it emulates it, at
# about a minute per Wine process, the x86-64 build runs instead. The
# phone simulator serves the demo phone (phonebook entries, pictures,
# languages, ring tones), plugged in from the start; the program starts
# without a data file, so it reads everything from the phone, saves its data
# file and shows its pages. With $DISPLAY set the window opens there and the
# run ends when it is closed; without, it runs under Xvfb and ends after the
# screenshots. Screenshots go to build/run/screenshots.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
run=build/run
shots=$run/screenshots

if [ "${QV_RUN_ON_DISPLAY:-}" != 1 ]; then
  if [ "$(id -u)" = 0 ]; then bash tools/setup.sh; fi
  for preset in mingw mingw64; do
    cmake --preset "$preset" >/dev/null
    cmake --build "build/$preset" -j "$(nproc)" >/dev/null
  done
  if [ "$(bash tools/i386-mode.sh)" = native ]; then
    export QV_RUN_BUILD=build/mingw
    echo "Windows binaries: build/mingw (i686, run here), build/mingw64 (x86-64)"
  else
    export QV_RUN_BUILD=build/mingw64
    echo "Windows binaries: build/mingw (i686), build/mingw64 (x86-64, run here: 32-bit x86 is emulated)"
  fi
  [ -f "$run/wine/pfx/system.reg" ] || { echo "making a Wine prefix in $run/wine (a few minutes, once)"; tools/wine-prefix.sh "$run/wine"; }
  # The program keeps its data file beside itself: a folder of its own, as installed.
  rm -rf "$run/app" "$shots"
  mkdir -p "$run/app" "$shots"
  cp "$QV_RUN_BUILD"/bin/{Quorvale.exe,QVProt.dll,wd_utils.dll} "$QV_RUN_BUILD"/bin/Quorvale.?? "$run/app/"
  export QV_RUN_ON_DISPLAY=1
  if [ -n "${DISPLAY:-}" ]; then QV_RUN_INTERACTIVE=1 exec "$0"; fi
  exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0"
fi

# On the display from here on.
source tools/wine-env.sh "$run/wine"
sim_out=$run/simulator.out
"$QV_RUN_BUILD"/tests/wine/qv_phone_sim --usb-port 0 --control-port 0 --plugged \
  --state simulator/demo/demo.qvphone >"$sim_out" 2>&1 &
sim=$!
wineserver -p </dev/null >/dev/null 2>&1
cleanup() { kill "$sim" 2>/dev/null || true; wineserver -k 2>/dev/null || true; }
trap cleanup EXIT
for _ in $(seq 100); do grep -q '^ready ' "$sim_out" && break; sleep 0.05; done
QV_WDU_PORT=$(sed -n 's/^ready usb=\([0-9]*\).*/\1/p' "$sim_out")
[ -n "$QV_WDU_PORT" ] || { echo "the phone simulator did not start:"; cat "$sim_out"; exit 1; }
export QV_WDU_PORT
"$WINELOADER" cmd /c exit </dev/null >/dev/null 2>&1

"$WINELOADER" "$run/app/Quorvale.exe" </dev/null >"$run/quorvale.log" 2>&1 &
program=$!
# The data file appears once the first read from the phone has ended.
for _ in $(seq 600); do [ -f "$run/app/Quorvale.qvd" ] && break; kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
if [ ! -f "$run/app/Quorvale.qvd" ]; then
  import -window root "$shots/failed.png" || true
  echo "Quorvale.exe did not read the phone; screenshot: $shots/failed.png"
  exit 1
fi
sleep 1  # lets the pages paint after the save
import -window root "$shots/main-window.png"
echo "Quorvale.exe read the demo phone and saved $run/app/Quorvale.qvd"
echo "screenshot: $here/$shots/main-window.png"
if [ "${QV_RUN_INTERACTIVE:-}" = 1 ]; then
  echo "close the window to end the run"
  wait "$program" || true
fi
