#!/usr/bin/env bash
# Prints how this machine runs 32-bit x86 Linux programs, and so 32-bit Wine:
# "native", "emulated" (the kernel hands them to qemu's i386 emulator, which
# tools/enable-i386.sh registers where they cannot run natively; a registered
# emulator takes every 32-bit program) or "none".
set -uo pipefail
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'int main(void) { return 0; }' >"$probe/p.c"
if ! gcc -m32 -o "$probe/p" "$probe/p.c" 2>/dev/null || ! "$probe/p" 2>/dev/null; then
  echo none
elif [ "$(head -n 1 /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null)" = enabled ]; then
  echo emulated
else
  echo native
fi
