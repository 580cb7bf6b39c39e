# Sourced by the Wine scripts: the prefix and home folder of one test run under
# DIR ($1), and the settings every Wine process of the run shares.
wine_dir=$(mkdir -p "$1" && cd "$1" && pwd)
export WINEPREFIX="$wine_dir/pfx" HOME="$wine_dir/home"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The 64-bit loader serves both kinds of program and finds the 32-bit one beside it.
export WINELOADER=/usr/lib/wine/wine64
