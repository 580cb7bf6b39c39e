#!/usr/bin/env bash
# Usage: layout_smoke.sh OUT BIN EMULATOR...
# The per-language smoke test: runs layout_smoke.exe once for the program's
# built-in layouts and once per language module, and saves a screenshot of
# each of the six windows as OUT/WINDOW-LANGUAGE.png (ImageMagick's import
# from the test session's X display), so truncated or missing texts can be
# seen. Fails when a source's layouts do not make the windows the program
# binds or do not appear, or when a screenshot is missing or blank.
# QV_SMOKE_LANGUAGES narrows the run (tools/test.sh runs "de" only where 32-bit
# x86 is emulated).
set -uo pipefail
out=$1 bin=$2
shift 2
mkdir -p "$out"
rm -f "$out"/*.png
fail=0
views=0
languages=${QV_SMOKE_LANGUAGES:-de en nl fr it es}
for lang in $languages; do
  source=Quorvale.$lang
  [ "$lang" = de ] && source=Quorvale.exe
  coproc SMOKE { "$@" "$bin/layout_smoke.exe" "$source" 2>&1; }
  pid=$SMOKE_PID
  exec {from}<&"${SMOKE[0]}" {to}>&"${SMOKE[1]}"
  while IFS= read -r line <&$from; do
    case $line in
      "shown "*)
        read -r _ form x y w h <<<"$line"
        views=$((views + 1))
        shot=$out/$form-$lang.png
        import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot" ||
          { echo "$lang: no screenshot of $form"; fail=1; }
        # The bare screen is one colour; a window has a frame, texts and controls.
        [ -f "$shot" ] && [ "$(identify -format '%k' "$shot")" -gt 1 ] ||
          { echo "$lang: the screenshot of $form is blank"; fail=1; }
        echo >&$to
        ;;
      *) echo "$lang: $line" ;;
    esac
  done
  exec {from}<&- {to}>&-
  wait "$pid" || { echo "$lang: the windows could not be made from $source"; fail=1; }
done
shots=$(ls "$out"/*.png 2>/dev/null | wc -l)
echo "$shots screenshots in $out"
# Nine views of the six windows per source.
set -- $languages
[ "$views" -eq $((9 * $#)) ] && [ "$shots" -eq "$views" ] || fail=1
exit $fail
