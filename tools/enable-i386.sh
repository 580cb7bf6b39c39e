#!/usr/bin/env bash
# 32-bit Wine needs the machine to run 32-bit x86 Linux programs. Some virtual
# machines cannot (their kernel refuses every 32-bit ELF file with "Exec format
# error"); there the kernel is told to run them through qemu's i386 user-mode
# emulator. Slow, but correct: the 32-bit deliverables then run for real.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ "$(bash "$here/i386-mode.sh")" = none ] || exit 0

misc=/proc/sys/fs/binfmt_misc
[ -f "$misc/register" ] || mount -t binfmt_misc binfmt_misc "$misc"
if [ -f "$misc/qemu-i386" ]; then
  echo 1 >"$misc/qemu-i386"
else
  # ELF, 32-bit, little-endian, executable or shared object, machine i386; the
  # kernel decodes the \x escapes itself, so they are written as text.
  echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' >"$misc/register"
fi
[ "$(bash "$here/i386-mode.sh")" = emulated ] || { echo "cannot run 32-bit x86 programs on this machine" >&2; exit 1; }
echo "32-bit x86 programs run through qemu-i386 on this machine"
