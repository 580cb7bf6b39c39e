# Cross-built tests run through Wine: CTest starts every test command through
# tools/wine-run.sh. The prefix, home folder and display come from the test
# session (tools/wine-session.sh), so one run never shares Wine state with another.
# 64-bit programs go straight to the 64-bit loader: Debian's `wine` script would
# start the 32-bit loader first, which costs a whole emulated start on machines
# without 32-bit execution.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QV_WINE_LOADER /usr/lib/wine/wine64)
else()
  set(QV_WINE_LOADER /usr/lib/wine/wine)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh ${QV_WINE_LOADER})
