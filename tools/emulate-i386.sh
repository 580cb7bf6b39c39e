#!/usr/bin/env bash
# Usage: tools/emulate-i386.sh COMMAND...
# Runs COMMAND as a machine that emulates 32-bit x86 would: in a user and
# mount namespace of its own, with its own binfmt_misc instance in which
# qemu's i386 emulator takes every 32-bit program (the entry
# tools/enable-i386.sh writes where they cannot run natively). Only the
# processes inside see the emulator, so a machine that runs 32-bit x86
# natively can prove the emulated mode (`tools/emulate-i386.sh bash
# tools/test.sh`) without routing anyone else's 32-bit programs through
# qemu. Needs a kernel whose binfmt_misc can be mounted per user namespace
# (6.7 and later). Not needed by CI. Run tools/setup.sh outside first:
# inside, root owns only what root owns outside, so a package install that
# the setup would still have to make can fail there.
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 COMMAND..." >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
[ -x /usr/bin/qemu-i386-static ] || { echo "qemu-i386-static is missing (tools/setup.sh installs it)" >&2; exit 1; }
exec unshare --user --map-root-user --mount bash -c '
  set -euo pipefail
  here=$1; shift
  misc=/proc/sys/fs/binfmt_misc
  mount -t binfmt_misc binfmt_misc "$misc" ||
    { echo "cannot mount a binfmt_misc of its own here (kernel too old?)" >&2; exit 1; }
  # The same entry as tools/enable-i386.sh, the \x escapes decoded by the kernel.
  echo ":qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F" >"$misc/register"
  mode=$(bash "$here/i386-mode.sh")
  [ "$mode" = emulated ] || { echo "32-bit x86 is $mode in the namespace, not emulated" >&2; exit 1; }
  echo "32-bit x86 is emulated for this command (a namespace of its own)" >&2
  exec "$@"' bash "$here" "$@"
