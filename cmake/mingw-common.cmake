# Shared part of the two mingw-w64 toolchains; QV_MINGW_TRIPLE names the target.
# The posix thread variant is the one with std::thread and std::mutex (GoogleTest
# needs them). Libraries we cross-build ourselves live in .deps/<triple>.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${QV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QV_MINGW_TRIPLE}-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)
set(CMAKE_FIND_ROOT_PATH /usr/${QV_MINGW_TRIPLE} ${CMAKE_CURRENT_LIST_DIR}/../.deps/${QV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
