// The fixture of the link library's Wine tests: QVProt.dll is bound by name at
// load time, as the desktop program binds it; the callbacks are __stdcall and
// record what reaches them; the simulator is reset around every test. Waits
// pump the host thread's messages (callbacks run there) until a condition
// holds or a deadline passes. A case still running after its time limit ends
// the program with its name, so a stuck case fails by itself and hangs nothing.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "qvprot_api.h"
#include "sim_control_win.h"

struct TCallbackEvent {
  DWORD Slot = 0;  // the TLinkCallbackKind; registered as each callback's user value
  DWORD Code = 0, Len = 0;
  std::vector<uint8_t> Copy;  // the slot's copy size of the data handed over
  std::string Text;
  DWORD ThreadId = 0;
  bool InsideSend = false;
  bool InsideClose = false;
};

// 20 s, or QV_CASE_TIME_LIMIT_MS where every Wine process is emulated and slow.
DWORD CaseTimeLimitMs();

// The simulator's serial line as the test prefix maps it (run_with_simulator.sh).
constexpr DWORD SerialLinePort = 5;
const char SerialLineName[] = "\\\\.\\COM5";
// The line is mapped and Wine's serial waits can work on it.
bool SerialLineMapped();

// Sets a variable of this process's environment (the USB stand-in reads it
// at each use) for the scope's lifetime.
class TScopedEnvironment {
 public:
  TScopedEnvironment(const char* Name, const std::string& Value);
  ~TScopedEnvironment();
  TScopedEnvironment(const TScopedEnvironment&) = delete;
  TScopedEnvironment& operator=(const TScopedEnvironment&) = delete;

 private:
  std::string FName, FOld;
  bool FHadOld;
};

class TLinkTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Registers the recording callback of every slot 1 to 7 (user value = slot).
  static void RegisterAll();
  // Opens USB only, plugs a phone and waits until the host has seen the attach.
  void OpenWithPhone();
  // Plugs a phone into the open link; the simulator's reply ("ok <id> taken|refused").
  std::string Plug(const std::string& Arguments = "");
  // Pumps messages until Condition holds; false after TimeoutMs.
  static bool PumpUntil(const std::function<bool()>& Condition, DWORD TimeoutMs = 3000);
  static size_t Count(DWORD Slot);
  static const TCallbackEvent* Last(DWORD Slot);
  // SendPacket, marking callbacks that run inside it; the elapsed milliseconds go to ElapsedMs.
  static bool TimedSend(TProtPacket& Packet, LONG Timeout, double* ElapsedMs = nullptr);
  void Sim(const std::string& Line) { ASSERT_TRUE(IsOk(FSim.Command(Line))) << Line; }
  long Requests() { return std::stol(FSim.Command("requests").substr(3)); }

  TSimControl FSim;

 private:
  HANDLE FWatchdog = nullptr;

 public:
  static std::vector<TCallbackEvent> Events;
  static bool InsideSend, InsideClose;
  // Runs inside the next frame callback (then cleared): lets a test act inside a wait.
  static std::function<void()> OnNextFrame;
  // The same for the next attach or detach callback.
  static std::function<void()> OnNextNotify;
  static DWORD HostThread;
};

TProtPacket Packet(uint8_t Channel, uint8_t Code, const std::vector<uint8_t>& Data = {});
std::string Hex(const std::vector<uint8_t>& Bytes);
