#!/bin/sh
# Usage: wine-run.sh LOADER PROGRAM [ARGS...]
# Runs one Windows program under Wine in the prefix of the current test session.
# Wine's exit status is the program's exit code.
: "${WINEPREFIX:?run inside tools/wine-session.sh}"
loader=$1; shift
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
exec "$loader" "$@"
