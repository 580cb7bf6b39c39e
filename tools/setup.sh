#!/usr/bin/env bash
# Brings a fresh Debian 12 machine (run as root) to a state that builds and tests the
# whole system: the native toolchain and test libraries, the mingw-w64 cross
# compilers (i686 for the deliverables, x86_64 for the fast Wine tests), Wine under
# Xvfb, and libjpeg and GoogleTest cross-built once into .deps/.
# Safe to run again: every step checks whether it is already done.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

packages=(g++ make cmake ninja-build pkg-config dpkg-dev nasm
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64
  xvfb xauth x11-utils imagemagick googletest libgtest-dev libgmock-dev
  libbenchmark-dev libjpeg62-turbo-dev clang-14 libclang-rt-14-dev gcc-multilib
  libjpeg-turbo-progs
  qemu-user-static python3 tzdata)

missing() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
src=/etc/apt/sources.list.d/bookworm-src.sources
if [ ! -f "$src" ]; then
  cat >"$src" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  rm -f /var/lib/apt/.qv-updated
fi
if [ -n "$(missing)" ] || [ ! -f /var/lib/apt/.qv-updated ]; then
  apt-get update -q
  touch /var/lib/apt/.qv-updated
fi
todo=$(missing)
if [ -n "$todo" ]; then
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $todo
fi

bash "$here/tools/enable-i386.sh"
bash "$here/tools/build-deps.sh"
