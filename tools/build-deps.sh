#!/usr/bin/env bash
# Cross-builds the libraries the Windows binaries link statically, once per
# target, into .deps/<triple> (reused by every later build): libjpeg from Debian's
# libjpeg-turbo source package, and GoogleTest from the sources Debian's
# googletest package installs.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
deps="$here/.deps"
mkdir -p "$deps"

build_for() {
local triple=$1 toolchain=$2
local prefix="$deps/$triple"

if [ ! -f "$prefix/lib/libjpeg.a" ]; then
  rm -rf "$deps/jpeg-src-$triple" "$deps/jpeg-build-$triple"
  mkdir -p "$deps/jpeg-src-$triple"
  (cd "$deps/jpeg-src-$triple" && apt-get source -q --download-only libjpeg-turbo >/dev/null &&
     dpkg-source -x --no-check ./*.dsc src >/dev/null)
  cmake -S "$deps/jpeg-src-$triple/src" -B "$deps/jpeg-build-$triple" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_JPEG8=OFF -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -Wno-dev >/dev/null
  cmake --build "$deps/jpeg-build-$triple" --target install >/dev/null
  rm -rf "$deps/jpeg-src-$triple" "$deps/jpeg-build-$triple"
fi

if [ ! -f "$prefix/lib/libgtest.a" ]; then
  rm -rf "$deps/gtest-build-$triple"
  cmake -S /usr/src/googletest -B "$deps/gtest-build-$triple" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$deps/gtest-build-$triple" --target install >/dev/null
  rm -rf "$deps/gtest-build-$triple"
fi
}

build_for i686-w64-mingw32 "$here/cmake/mingw-i686.cmake"
build_for x86_64-w64-mingw32 "$here/cmake/mingw-x86_64.cmake"
