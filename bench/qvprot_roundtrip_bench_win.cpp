// Figures for QVProt.dll on loopback, each beside its floor measured in the
// same run:
//  (a) the floor: one thread that writes a request frame to the simulator's
//      USB port with plain Winsock and reads the answer frame back, the same
//      bytes the link moves, with nothing of ours in between;
//  (b) SendPacket round trips through the DLL, the USB stand-in and the
//      simulator, and their ratio to (a);
//  (c) the same over the serial line on the simulator's pty (COM5);
//  (d) a full-phone ReadAll and WriteAll of the demo phone through the DLL;
//  and the CPU that one send costs while it waits five seconds for an answer
//  that never comes (the wait should block, not spin), with the serial port
//  open as well and with USB alone.
// Run it with bench/run_qvprot_bench.sh, which starts the simulators.
#include <winsock2.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "frame_encoder.h"
#include "pool_platform.h"
#include "pool_texts.h"
#include "qvdp_all.h"
#include "qvprot_api.h"
#include "sim_control_win.h"

namespace {

using TClock = std::chrono::steady_clock;
constexpr double Seconds = 2;
const uint16_t Sizes[] = {0, MaxPacketData};

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

// The request the echo simulator answers with the same data: a memory read,
// every data byte one that the frame must stuff, the worst case on the wire.
TProtPacket Request(uint16_t Len) {
  TProtPacket packet{};
  packet.Channel = chDevice;
  packet.Code = 3;
  packet.Len = Len;
  std::memset(packet.Data, FrameEscape, Len);
  return packet;
}

// Microseconds per round trip of Trip, run for a while; 0 when a trip failed.
double MicrosPerTrip(const std::function<bool()>& Trip) {
  long count = 0;
  const auto start = TClock::now();
  double elapsed = 0;
  while ((elapsed = std::chrono::duration<double>(TClock::now() - start).count()) < Seconds) {
    if (!Trip()) return 0;
    ++count;
  }
  return 1e6 * elapsed / count;
}

void SetVariable(const char* Name, const std::string& Value) {
  SetEnvironmentVariableA(Name, Value.c_str());  // the stand-in reads Win32's copy
  _putenv_s(Name, Value.c_str());                // the simulator's control line reads the C library's
}

// (a) One bus port of the echo simulator, taken by hand with a phone plugged
// into it, and frames exchanged on it by one thread with blocking calls.
class TPlainPort {
 public:
  explicit TPlainPort(TSimControl& Sim) {
    const char* port = std::getenv("QV_WDU_PORT");
    FSocket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port ? std::atoi(port) : 0));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const BOOL noDelay = TRUE;
    setsockopt(FSocket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    char greeting[6];
    if (connect(FSocket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        recv(FSocket, greeting, 1, 0) != 1)
      return;
    Sim.Send("plug");
    const char taken = 'T';
    FReady = recv(FSocket, greeting, 6, MSG_WAITALL) == 6 && send(FSocket, &taken, 1, 0) == 1 &&
             IsOk(Sim.ReadReply());
  }
  // The phone goes back to the bus, for the stand-in's first port.
  ~TPlainPort() { closesocket(FSocket); }
  bool Ready() const { return FReady; }

  bool RoundTrip(const TProtPacket& Packet) {
    const int length = static_cast<int>(EncodeFrame(Packet, FFrame));
    if (send(FSocket, reinterpret_cast<const char*>(FFrame), length, 0) != length) return false;
    // The answer ends with the first unstuffed end byte.
    for (;;) {
      const int got = recv(FSocket, reinterpret_cast<char*>(FAnswer), sizeof FAnswer, 0);
      if (got <= 0) return false;
      if (std::memchr(FAnswer, FrameEnd, static_cast<size_t>(got))) return true;
    }
  }

 private:
  SOCKET FSocket = INVALID_SOCKET;
  bool FReady = false;
  uint8_t FFrame[MaxFrameSize];
  uint8_t FAnswer[4096];
};

bool LinkTrip(uint16_t Len) {
  TProtPacket packet = Request(Len);
  return SendPacket(&packet, 1000) && packet.Len == Len;
}

// The pools' seam filled with the link library, as the desktop program fills it.
class TLinkPlatform final : public TPoolPlatform {
 public:
  bool SendPacket(TProtPacket& Packet, int32_t Timeout) override {
    ++Requests;
    return ::SendPacket(&Packet, Timeout) != 0;
  }
  int GetActiveLink() override { return static_cast<int>(::GetActiveLink()); }
  void SetCursor(TPoolCursor) override {}
  std::string ResourceText(int Id) override { return BuiltInPoolText(Id); }
  void Beep(uint32_t, uint32_t) override {}
  void Sleep(uint32_t) override {}
  long Requests = 0;
};

// One send that waits five seconds for an answer the simulator drops: the CPU
// it costs, of the host thread and of the whole process (the links' threads).
void WaitingSendCpu(TSimControl& Sim, const char* Links) {
  Sim.Command("drop");
  TProtPacket packet = Request(0);
  const double processBefore = ProcessCpuMs(), hostBefore = HostThreadCpuMs();
  const auto start = TClock::now();
  const LONG answered = SendPacket(&packet, 5000);
  const double wall = std::chrono::duration<double, std::milli>(TClock::now() - start).count();
  const double process = ProcessCpuMs() - processBefore, host = HostThreadCpuMs() - hostBefore;
  std::printf("waiting send (%s), 5,000 ms time-out: %s after %.0f ms; CPU: host thread %.1f ms, whole process "
              "%.1f ms (%.2f %%)\n",
              Links, answered ? "answered" : "timed out", wall, host, process, 100.0 * process / wall);
}

void Row(const char* Label, double Floor, double Link) {
  std::printf("%-34s floor %7.1f us   link %7.1f us   link/floor %5.2f   link - floor %+7.1f us\n", Label, Floor,
              Link, Floor > 0 ? Link / Floor : 0, Link - Floor);
}

// (d) ReadAll and WriteAll of the whole demo phone, served by the second simulator.
void FullPhone() {
  const char* wduPort = std::getenv("QV_BENCH_PHONE_WDU_PORT");
  const char* controlPort = std::getenv("QV_BENCH_PHONE_CONTROL_PORT");
  if (!wduPort || !controlPort) {
    std::printf("full phone: no demo-phone simulator (QV_BENCH_PHONE_WDU_PORT)\n");
    return;
  }
  SetVariable("QV_WDU_PORT", wduPort);
  SetVariable("QV_SIM_CONTROL_PORT", controlPort);
  TSimControl phone;
  phone.Send("plug");
  if (OpenCommunication(0) != ocOk || !IsOk(phone.ReadReply())) {
    std::printf("full phone: cannot open the link with the demo phone\n");
    return;
  }
  Pump(200);
  TLinkPlatform platform;
  SetPoolPlatform(&platform);
  TQVDP_ALL pools;
  auto start = TClock::now();
  const bool read = pools.ReadAll();
  const double readMs = std::chrono::duration<double, std::milli>(TClock::now() - start).count();
  const long readRequests = platform.Requests;
  platform.Requests = 0;
  start = TClock::now();
  const bool written = read && pools.WriteAll(false);
  const double writeMs = std::chrono::duration<double, std::milli>(TClock::now() - start).count();
  std::printf("full phone ReadAll:  %s, %ld requests in %6.0f ms (%.0f us each)\n", read ? "ok" : "FAILED",
              readRequests, readMs, 1e3 * readMs / (readRequests ? readRequests : 1));
  std::printf("full phone WriteAll: %s, %ld requests in %6.0f ms (%.0f us each)\n", written ? "ok" : "FAILED",
              platform.Requests, writeMs, 1e3 * writeMs / (platform.Requests ? platform.Requests : 1));
  SetPoolPlatform(nullptr);
  WaitingSendCpu(phone, "USB only");
  CloseCommunication();
}

}  // namespace

int main() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  TSimControl sim;
  if (!sim.Connected()) {
    std::fprintf(stderr, "no simulator (QV_SIM_CONTROL_PORT)\n");
    return 1;
  }
  sim.Command("reset");
  double floor[2] = {};
  {
    TPlainPort plain(sim);
    if (!plain.Ready()) {
      std::fprintf(stderr, "cannot take a bus port of the simulator\n");
      return 1;
    }
    for (int i = 0; i < 2; ++i) {
      const TProtPacket packet = Request(Sizes[i]);
      floor[i] = MicrosPerTrip([&] { return plain.RoundTrip(packet); });
    }
  }
  const bool serial = std::getenv("QV_SIM_SERIAL") != nullptr;
  if (OpenCommunication(serial ? 5 : 0) != ocOk) {
    std::fprintf(stderr, "cannot open the link\n");
    return 1;
  }
  Pump(200);  // the phone left by the plain port is attached: let its notice through
  if (GetActiveLink() != lkUsb) {
    std::fprintf(stderr, "no phone on USB\n");
    return 1;
  }
  std::printf("round trip of one request and its answer (%.0f s each):\n", Seconds);
  for (int i = 0; i < 2; ++i) {
    const std::string label = "USB, Len " + std::to_string(Sizes[i]);
    Row(label.c_str(), floor[i], MicrosPerTrip([&] { return LinkTrip(Sizes[i]); }));
  }
  if (serial && IsOk(sim.Command("unplug"))) {
    Pump(200);
    for (int i = 0; i < 2; ++i) {
      const std::string label = "serial (pty), Len " + std::to_string(Sizes[i]);
      Row(label.c_str(), floor[i], MicrosPerTrip([&] { return LinkTrip(Sizes[i]); }));
    }
  } else {
    std::printf("serial: no pty line (QV_SIM_SERIAL unset)\n");
  }

  WaitingSendCpu(sim, serial ? "USB and serial port open" : "USB open");
  CloseCommunication();
  FullPhone();
  return 0;
}
