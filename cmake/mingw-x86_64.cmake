# The same Windows code built for 64-bit Wine, which runs natively on machines
# that cannot execute 32-bit x86 code and must emulate it (see tools/wine-session.sh).
set(QV_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
