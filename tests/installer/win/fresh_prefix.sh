#!/usr/bin/env bash
# Usage: fresh_prefix.sh CASES SHOTS COMMAND...
# Runs COMMAND (a Wine program) in a fresh Wine prefix of its own: a copy of
# the test session's prefix under CASES, hard-linked for speed (copied where
# links cannot be made) except for what Wine rewrites (the registry and .ini
# files), with user folders of its own instead of the links into the session's
# home folder, and its own wineserver on the session's display. Screenshots
# the program saves as BMP files into QV_SHOT_DIR are kept as PNG files in
# SHOTS. The copy is removed afterwards.
set -uo pipefail
: "${WINEPREFIX:?run inside tools/wine-session.sh}"
cases=$1 shots=$2
shift 2
mkdir -p "$cases" "$shots"
case_dir=$(mktemp -d "$cases/case.XXXXXX")
cp -al "$WINEPREFIX" "$case_dir/pfx" 2>/dev/null || { rm -rf "$case_dir/pfx"; cp -a "$WINEPREFIX" "$case_dir/pfx"; }
for own in "$case_dir"/pfx/*.reg "$case_dir"/pfx/drive_c/windows/*.ini; do
  [ -f "$own" ] && cp --remove-destination "$WINEPREFIX/${own#"$case_dir/pfx/"}" "$own"
done
for folder in "$case_dir"/pfx/drive_c/users/*/*; do
  if [ -L "$folder" ]; then rm "$folder" && mkdir "$folder"; fi
done
export WINEPREFIX=$case_dir/pfx HOME=$case_dir/home QV_SHOT_DIR=$case_dir/shots
mkdir -p "$HOME" "$QV_SHOT_DIR"
wineserver -p </dev/null >/dev/null 2>&1
"$WINELOADER" cmd /c exit </dev/null >/dev/null 2>&1
"$@"
rc=$?
wineserver -k
for shot in "$QV_SHOT_DIR"/*.bmp; do
  [ -f "$shot" ] || continue
  name=$(basename "$shot" .bmp)
  convert "$shot" "$shots/$name.png" && echo "screenshot: $shots/$name.png" || rc=1
done
rm -rf "$case_dir"
exit $rc
