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

# How many times longer than where they were measured the Wine tests' waits
# and time-outs may take: 1 where the build's programs run at native speed;
# tools/test.sh configures the i686 build with more where 32-bit x86 is
# emulated and every 32-bit Wine process costs about a minute. Each program
# the tests start under Wine sees it as QV_TIME_SCALE and scales its waits
# by it (the installer's driver does); qv_wine_timeout scales CTest's.
set(QV_TIME_SCALE 1 CACHE STRING "factor for the Wine tests' waits and time-outs")
if(NOT QV_TIME_SCALE MATCHES "^[1-9][0-9]*$")
  message(FATAL_ERROR "QV_TIME_SCALE must be a whole number from 1, not '${QV_TIME_SCALE}'")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR
    env QV_TIME_SCALE=${QV_TIME_SCALE} ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh ${QV_WINE_LOADER})

# qv_wine_timeout(SECONDS TEST...): the time-out of each TEST, SECONDS where
# the build's programs run at native speed.
function(qv_wine_timeout seconds)
  math(EXPR scaled "${seconds} * ${QV_TIME_SCALE}")
  set_tests_properties(${ARGN} PROPERTIES TIMEOUT ${scaled})
endfunction()

# qv_wine_gtest(TEST...): each TEST runs GoogleTest programs under Wine. A
# failure they print fails it even where the exit status says success: under
# the i386 emulator a driver whose assertion had failed was ended during its
# teardown, before GoogleTest's summary, and exited with status 0.
function(qv_wine_gtest)
  set_tests_properties(${ARGN} PROPERTIES FAIL_REGULAR_EXPRESSION ": Failure|\\[  FAILED  \\]")
endfunction()
