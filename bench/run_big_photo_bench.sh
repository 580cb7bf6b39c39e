#!/bin/sh
# Usage: bench/run_big_photo_bench.sh [BUILD_DIR] [RUNS]   (default build/mingw, 3 runs)
# Big photographs in the real Quorvale.exe under Wine (bench/big_photo_bench_win.cpp):
# writes the files, times `djpeg -colors 236` on each JPEG here, then loads and
# turns each file in the program and prints the program's figures beside
# djpeg's. Medians of RUNS; every run starts the program afresh so that its
# peak belongs to that file alone. Call it inside a Wine session:
#   xvfb-run -a -s '-screen 0 1280x1024x24' tools/wine-session.sh build/wine bench/run_big_photo_bench.sh build/mingw
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build/mingw}" && pwd)
runs=${2:-3}
case $build in
  *mingw64*) loader=/usr/lib/wine/wine64 ;;
  *) loader=/usr/lib/wine/wine ;;
esac
dir=$build/big_photo_bench
mkdir -p "$dir"
win="Z:$(printf %s "$dir" | tr / '\\')"
bench() { "$here/tools/wine-run.sh" "$loader" "$build/bin/big_photo_bench.exe" "$@"; }
bench write "$win" >/dev/null || { echo "writing the files failed" >&2; exit 1; }

djpeg_ms() {
  for i in $(seq "$runs"); do
    t0=$(date +%s%N)
    djpeg -colors 236 -outfile /dev/null "$dir/$1" || return 1
    t1=$(date +%s%N)
    echo $(( (t1 - t0) / 1000000 ))
  done | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
ref=$(mktemp)
trap 'rm -f "$ref"' EXIT
for f in baseline.jpg progressive.jpg; do echo "$f $(djpeg_ms "$f")" >>"$ref"; done

echo "Big photographs in $(basename "$build")/bin/Quorvale.exe under $("$loader" --version 2>/dev/null) ($(uname -m) host), medians of $runs;"
echo "load: the open dialog's OK until the size shows; peak: the program's peak working set; held: the source as the editor holds it."
echo "The machine is shared with other builds and tests while this runs: times carry their load."
bench measure "$win" "$runs" | tr -d '\r' | awk -v ref="$ref" '
  BEGIN { while ((getline line < ref) > 0) { split(line, p, " "); djpeg[p[1]] = p[2] } }
  /^file=/ {
    for (i = 1; i <= NF; ++i) { split($i, kv, "="); v[kv[1]] = kv[2] }
    f = v["file"]
    printf "%s (%s)\n", f, v["size"]
    if (f in djpeg)
      printf "  load %7d ms   djpeg -colors 236 %7d ms   ratio %.2f (goal <= 1.15)\n", v["load_ms"], djpeg[f], v["load_ms"] / djpeg[f]
    else
      printf "  load %7d ms   (djpeg reads no bitmap)\n", v["load_ms"]
    printf "  turn %7d ms\n", v["turn_ms"]
    printf "  peak before load %7.1f MB, after load %7.1f MB, after turn %7.1f MB   held source %7.1f MB\n", v["peak_start_mb"], v["peak_load_mb"], v["peak_turn_mb"], v["held_mb"]
    printf "  peak over held: after load %.2f (goal <= 1.3 for the bitmap), during turn %.2f (goal <= 2.3); above the program before the load: %.2f, %.2f\n", v["peak_load_mb"] / v["held_mb"], v["peak_turn_mb"] / v["held_mb"], v["load_over_held"], v["turn_over_held"]
    if ("libjpeg_buffers_mb" in v) printf "  libjpeg own buffers (bare decode in the bench process) %7.1f MB\n", v["libjpeg_buffers_mb"]
    delete v
    next
  }
  { print }'
