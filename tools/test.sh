#!/usr/bin/env bash
# Builds everything and runs every test:
#  1. setup (as root: packages, the i386 emulator where needed, cross-built libraries);
#  2. a fresh Wine prefix for this run, made in the background;
#  3. the native build: the portable core's tests under ASan and UBSan;
#  4. the fuzz build: each libFuzzer target for a bounded time (QV_FUZZ_SECONDS, 60);
#  5. both Windows builds; the 64-bit one's tests under Wine, then the i686
#     build's: every Wine test where 32-bit x86 runs natively, the smoke subset
#     (CTest label wine32) where it is emulated (tools/i386-mode.sh tells),
#     its waits and time-outs scaled for the emulator; each test run's own
#     duration is printed;
#  6. one closing line "N passed, N failed, N skipped" over all of it: passed
#     and failed count CTest tests and fuzz targets, skipped counts GoogleTest
#     cases that skipped in every start of their program (every locale pass)
#     and so never ran; each of those fails the run as well.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
if [ "$(id -u)" = 0 ]; then
  bash tools/setup.sh
else
  echo "not root: setup skipped; the packages of tools/setup.sh must be installed" >&2
fi

mkdir -p build
passed=0 failed=0 skipped=0
log=build/test-logs
rm -rf "$log"; mkdir -p "$log"
# Every GoogleTest program reports its cases into cases/RUN (see never-ran.py).
cases=$here/$log/cases
i386=$(bash tools/i386-mode.sh)
# Where 32-bit x86 is emulated every step of a 32-bit Wine program is many
# times slower (starting one costs about a minute): the i686 build's test
# waits and CTest time-outs are configured ten times as long there.
i686_time_scale=1
[ "$i386" = emulated ] && i686_time_scale=10

tools/wine-prefix.sh build/wine >"$log/wine-prefix.log" 2>&1 &
prefix_job=$!

# count_ctest LOG: adds CTest's "N tests failed out of M" to the totals.
count_ctest() {
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
  if [ -z "$line" ]; then
    failed=$((failed + 1))
    return
  fi
  local bad total
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - bad)); failed=$((failed + bad))
}

# run_ctest NAME COMMAND...: runs COMMAND (a verbose CTest run, perhaps inside a
# Wine session) into a log and prints the GoogleTest and CTest summaries, and the
# output of any failed test. Wine programs write their reports through drive Z:.
run_ctest() {
  local name=$1; shift
  echo "== $name"
  mkdir -p "$cases/$name"
  local reports=$cases/$name/
  [ "$name" = native ] || reports=Z:$reports
  local start=$SECONDS
  GTEST_OUTPUT=xml:$reports "$@" >"$log/$name.log" 2>&1
  echo "$name took $((SECONDS - start)) s"
  grep -E '^[0-9]+: \[(==========|  PASSED  |  FAILED  |  SKIPPED )\] [0-9]|tests passed|Test +#' "$log/$name.log"
  if grep -qE '\*\*\*(Failed|Exception|Timeout|Not Run)' "$log/$name.log"; then
    echo "-- failing output ($log/$name.log):"
    grep -E '^[0-9]+: ' "$log/$name.log" | grep -vE '\[       OK \]|\[ RUN      \]' | tail -n 60
  fi
  count_ctest "$log/$name.log"
}

# build PRESET [CMAKE-OPTION...]
build() {
  local preset=$1; shift
  echo "== build $preset"
  if ! { cmake --preset "$preset" "$@" >"$log/configure-$preset.log" 2>&1 &&
         cmake --build "build/$preset" -j "$(nproc)" >"$log/build-$preset.log" 2>&1; }; then
    tail -n 40 "$log/configure-$preset.log" "$log/build-$preset.log"
    failed=$((failed + 1))
    return 1
  fi
}

if build native; then run_ctest native ctest -V --test-dir build/native -j "$(nproc)"; fi
build bench || true

if build fuzz; then
  echo "== fuzz (${QV_FUZZ_SECONDS:-60} s each)"
  fuzz_pids=()
  for fuzzer in build/fuzz/tests/fuzz/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    corpus=build/fuzz/corpus/$name
    mkdir -p "$corpus"
    seeds=tests/fuzz/seeds/$name
    [ -d "$seeds" ] || seeds=
    "$fuzzer" -max_total_time="${QV_FUZZ_SECONDS:-60}" -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$log/$name-" "$corpus" $seeds >"$log/$name.log" 2>&1 &
    fuzz_pids+=("$!:$name")
  done
  for entry in "${fuzz_pids[@]}"; do
    pid=${entry%%:*}; name=${entry#*:}
    # A sanitizer report ends the target (-fno-sanitize-recover); its log is
    # checked as well, so a report can never pass as "no finding".
    if wait "$pid" && ! grep -qE 'runtime error:|^==[0-9]+==ERROR: |^SUMMARY: [A-Za-z]+Sanitizer' "$log/$name.log"; then
      runs=$(grep -E '^stat::number_of_executed_units' "$log/$name.log" | awk '{print $2}')
      echo "$name: no finding, ${runs:-?} executions"
      passed=$((passed + 1))
    else
      echo "$name: FINDING"; tail -n 40 "$log/$name.log"
      failed=$((failed + 1))
    fi
  done
fi

build mingw64; ok64=$?
build mingw -DQV_TIME_SCALE="$i686_time_scale"; ok32=$?
echo "== Wine prefix"
if wait "$prefix_job"; then
  in_wine() { xvfb-run -a -s '-screen 0 1280x1024x24' tools/wine-session.sh build/wine "$@"; }
  [ $ok64 = 0 ] && run_ctest wine64 in_wine ctest -V --test-dir build/mingw64
  if [ $ok32 = 0 ] && [ "$i386" = native ]; then
    i686_tests="the whole Wine suite (32-bit x86 runs natively here)"
    run_ctest wine32 in_wine ctest -V --test-dir build/mingw
  elif [ $ok32 = 0 ]; then
    # Every emulated Wine process costs about a minute: the smoke subset, and
    # the windows in the built-in language only.
    i686_tests="the smoke subset, CTest label wine32 (32-bit x86 is $i386 here; waits and time-outs x$i686_time_scale)"
    QV_SMOKE_LANGUAGES=de run_ctest wine32 in_wine ctest -V --test-dir build/mingw -L wine32
  fi
else
  echo "could not make a Wine prefix:"; tail -n 20 "$log/wine-prefix.log"
  failed=$((failed + 1))
fi

# A case whose locale left the pass list, or a serial case without its line
# although the pty library was built, would otherwise pass unseen.
never_ran=$(python3 tools/never-ran.py "$cases")
if [ -n "$never_ran" ]; then
  echo; echo "== cases that never ran (skipped in every start of their program):"
  echo "$never_ran"
  skipped=$(echo "$never_ran" | wc -l)
  failed=$((failed + skipped))
fi

echo
echo "Logs: $log"
echo "The whole run took $SECONDS s"
echo "i686 build under Wine: ${i686_tests:-not run}"
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" = 0 ]
