/* Test equipment for the serial link's tests, loaded into the Wine process
 * with LD_PRELOAD; the serial code itself knows nothing of it. Wine's serial
 * support asks the modem-control lines (TIOCMGET and friends), which a pty
 * does not have: the ioctl fails with ENOTTY, and every overlapped
 * WaitCommEvent then ends at once with an error instead of waiting for
 * EV_RXCHAR. Here those four requests succeed on a descriptor that has no
 * modem lines, reporting DSR, CTS and carrier as present, so a pty behaves
 * like a cable with a phone on it. Every other call goes to the real ioctl.
 * 32-bit glibc with 64-bit time calls __ioctl_time64, so both names are hooked. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdarg.h>
#include <sys/ioctl.h>

typedef int (*ioctl_fn)(int, unsigned long, void*);

static int modem_ioctl(const char* name, int fd, unsigned long request, void* arg) {
  ioctl_fn real = (ioctl_fn)dlsym(RTLD_NEXT, name);
  if (!real) real = (ioctl_fn)dlsym(RTLD_NEXT, "ioctl");
  int result = real(fd, request, arg);
  if (result == 0 || (errno != ENOTTY && errno != EINVAL)) return result;
  switch (request) {
    case TIOCMGET:
      if (arg) *(int*)arg = TIOCM_DSR | TIOCM_CTS | TIOCM_CAR | TIOCM_DTR | TIOCM_RTS;
      return 0;
    case TIOCMSET:
    case TIOCMBIS:
    case TIOCMBIC:
      return 0;
    default:
      return result;
  }
}

int ioctl(int fd, unsigned long request, ...) {
  va_list args;
  va_start(args, request);
  void* arg = va_arg(args, void*);
  va_end(args);
  return modem_ioctl("ioctl", fd, request, arg);
}

int __ioctl_time64(int fd, unsigned long request, ...) {
  va_list args;
  va_start(args, request);
  void* arg = va_arg(args, void*);
  va_end(args);
  return modem_ioctl("__ioctl_time64", fd, request, arg);
}
