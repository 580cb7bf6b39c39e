// Figures for QVProt.dll on loopback: request/answer round trips per second
// through the DLL, the USB stand-in and the phone simulator (small and
// full-size packets), and the host process's CPU time while one send waits
// five seconds for an answer that never comes (the wait should block, not spin).
// Run it with bench/run_qvprot_bench.sh, which starts the simulator.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "qvprot_api.h"
#include "sim_control_win.h"

namespace {

using TClock = std::chrono::steady_clock;

double Ms(const FILETIME& Time) {
  return (static_cast<double>(Time.dwHighDateTime) * 4294967296.0 + Time.dwLowDateTime) / 1e4;
}

// Every thread of the process: the host thread and the library's and the stand-in's threads.
double ProcessCpuMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  return Ms(kernel) + Ms(user);
}

double HostThreadCpuMs() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  return Ms(kernel) + Ms(user);
}

void Pump(DWORD Ms) {
  const DWORD end = GetTickCount() + Ms;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
}

void RoundTrips(const char* Label, uint16_t Len, double Seconds) {
  TProtPacket packet{};
  long count = 0, failed = 0;
  const auto start = TClock::now();
  double elapsed = 0;
  while ((elapsed = std::chrono::duration<double>(TClock::now() - start).count()) < Seconds) {
    packet.Channel = chDevice;
    packet.Code = 3;
    packet.Len = Len;
    std::memset(packet.Data, 0x7D, Len);  // every byte stuffed: the worst-case frame
    if (SendPacket(&packet, 1000)) ++count; else ++failed;
  }
  std::printf("%-28s %8.0f round trips/s  (%ld in %.1f s, %ld failed)\n", Label, count / elapsed, count, elapsed,
              failed);
}

}  // namespace

int main() {
  TSimControl sim;
  if (!sim.Connected()) {
    std::fprintf(stderr, "no simulator (QV_SIM_CONTROL_PORT)\n");
    return 1;
  }
  sim.Command("reset");
  sim.Send("plug");
  if (OpenCommunication(0) != ocOk || sim.ReadReply().compare(0, 2, "ok") != 0) {
    std::fprintf(stderr, "cannot open the link with a phone\n");
    return 1;
  }
  Pump(200);  // let the attach notice through
  RoundTrips("request/answer, Len 0", 0, 3);
  RoundTrips("request/answer, Len 64", 64, 3);
  RoundTrips("request/answer, Len 1025", MaxPacketData, 3);

  sim.Command("drop");
  TProtPacket packet{};
  packet.Channel = chConfig;
  packet.Code = 6;
  const double processBefore = ProcessCpuMs(), hostBefore = HostThreadCpuMs();
  const auto start = TClock::now();
  const LONG answered = SendPacket(&packet, 5000);
  const double wall = std::chrono::duration<double, std::milli>(TClock::now() - start).count();
  const double process = ProcessCpuMs() - processBefore, host = HostThreadCpuMs() - hostBefore;
  std::printf("waiting send, 5,000 ms time-out: %s after %.0f ms; CPU: host thread %.1f ms, whole process %.1f ms "
              "(%.2f %%)\n",
              answered ? "answered" : "timed out", wall, host, process, 100.0 * process / wall);
  CloseCommunication();
  return 0;
}
