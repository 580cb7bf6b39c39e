#include "link_fixture_win.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

std::vector<TCallbackEvent> TLinkTest::Events;
bool TLinkTest::InsideSend = false;
bool TLinkTest::InsideClose = false;
std::function<void()> TLinkTest::OnNextFrame;
std::function<void()> TLinkTest::OnNextNotify;
DWORD TLinkTest::HostThread = 0;

namespace {

// A crash ends the test program with a failure at once, instead of waiting in Wine's debugger.
LONG WINAPI EndOnCrash(EXCEPTION_POINTERS* Exception) {
  std::fprintf(stderr, "crash: exception 0x%08lx\n", Exception->ExceptionRecord->ExceptionCode);
  std::fflush(stderr);
  ExitProcess(3);
}
const LPTOP_LEVEL_EXCEPTION_FILTER gPreviousFilter = SetUnhandledExceptionFilter(EndOnCrash);

unsigned CopySize(DWORD slot) {
  switch (slot) {
    case lcSystem: return SystemCopySize;
    case lcConfig: return ConfigCopySize;
    case lcPhonebook: return PhonebookCopySize;
    default: return DeviceCopySize;
  }
}

TCallbackEvent& Record(DWORD slot) {
  TCallbackEvent event;
  event.Slot = slot;
  event.ThreadId = GetCurrentThreadId();
  event.InsideSend = TLinkTest::InsideSend;
  event.InsideClose = TLinkTest::InsideClose;
  TLinkTest::Events.push_back(event);
  return TLinkTest::Events.back();
}

void __stdcall TextCallback(const char* Text, DWORD UserData) { Record(UserData).Text = Text; }

void __stdcall FrameCallback(DWORD Code, DWORD Len, const uint8_t* Data, DWORD UserData) {
  TCallbackEvent& event = Record(UserData);
  event.Code = Code & 0xFF;
  event.Len = Len & 0xFFFF;
  event.Copy.assign(Data, Data + CopySize(UserData));
  if (auto action = std::move(TLinkTest::OnNextFrame)) {
    TLinkTest::OnNextFrame = nullptr;
    action();
  }
}

void __stdcall NotifyCallback(DWORD UserData) {
  Record(UserData);
  if (auto action = std::move(TLinkTest::OnNextNotify)) {
    TLinkTest::OnNextNotify = nullptr;
    action();
  }
}

std::string gRunningCase;  // written before the watchdog is armed, read when it fires

void CALLBACK CaseOverdue(void*, BOOLEAN) {
  std::fprintf(stderr, "watchdog: %s still running after %lu ms\n", gRunningCase.c_str(),
               static_cast<unsigned long>(CaseTimeLimitMs()));
  std::fflush(stderr);
  ExitProcess(4);
}

}  // namespace

DWORD CaseTimeLimitMs() {
  char text[16];
  const DWORD length = GetEnvironmentVariableA("QV_CASE_TIME_LIMIT_MS", text, sizeof text);
  const unsigned long limit = length > 0 && length < sizeof text ? std::strtoul(text, nullptr, 10) : 0;
  return limit > 0 ? static_cast<DWORD>(limit) : 20000;
}

bool SerialLineMapped() {
  char flag[4];
  return GetEnvironmentVariableA("QV_SIM_SERIAL", flag, sizeof flag) > 0;
}

TScopedEnvironment::TScopedEnvironment(const char* Name, const std::string& Value) : FName(Name) {
  char old[256];
  const DWORD length = GetEnvironmentVariableA(Name, old, sizeof old);
  FHadOld = length > 0 && length < sizeof old;
  if (FHadOld) FOld = old;
  SetEnvironmentVariableA(Name, Value.c_str());
}

TScopedEnvironment::~TScopedEnvironment() { SetEnvironmentVariableA(FName.c_str(), FHadOld ? FOld.c_str() : nullptr); }

void TLinkTest::SetUp() {
  const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
  gRunningCase = std::string(info->test_suite_name()) + "." + info->name();
  CreateTimerQueueTimer(&FWatchdog, nullptr, CaseOverdue, nullptr, CaseTimeLimitMs(), 0, WT_EXECUTEONLYONCE);
  ASSERT_TRUE(FSim.Connected()) << "no simulator: run through run_with_simulator.sh";
  Sim("reset");
  for (DWORD slot = 1; slot <= LinkCallbackCount; ++slot) SetCallbackFunction(slot, nullptr, 0);
  Events.clear();
  OnNextFrame = nullptr;
  OnNextNotify = nullptr;
  HostThread = GetCurrentThreadId();
}

void TLinkTest::TearDown() {
  CloseCommunication();
  OnNextFrame = nullptr;
  OnNextNotify = nullptr;
  FSim.Command("reset");
  // Waits for a callback already under way, so it never sees the next case.
  if (FWatchdog) DeleteTimerQueueTimer(nullptr, FWatchdog, INVALID_HANDLE_VALUE);
  FWatchdog = nullptr;
}

void TLinkTest::RegisterAll() {
  SetCallbackFunction(lcText, reinterpret_cast<void*>(TextCallback), lcText);
  for (DWORD slot : {lcSystem, lcConfig, lcPhonebook, lcDevice})
    SetCallbackFunction(slot, reinterpret_cast<void*>(FrameCallback), slot);
  for (DWORD slot : {lcUsbAttached, lcUsbDetached}) SetCallbackFunction(slot, reinterpret_cast<void*>(NotifyCallback), slot);
}

std::string TLinkTest::Plug(const std::string& Arguments) {
  return FSim.Command(Arguments.empty() ? "plug" : "plug " + Arguments);
}

void TLinkTest::OpenWithPhone() {
  RegisterAll();
  ASSERT_EQ(OpenCommunication(0), static_cast<DWORD>(ocOk));
  ASSERT_EQ(Plug(), "ok 1 taken");
  ASSERT_TRUE(PumpUntil([] { return Count(lcUsbAttached) == 1; }));
  ASSERT_EQ(GetActiveLink(), static_cast<DWORD>(lkUsb));
}

bool TLinkTest::PumpUntil(const std::function<bool()>& Condition, DWORD TimeoutMs) {
  const DWORD start = GetTickCount();
  while (!Condition()) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= TimeoutMs) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, TimeoutMs - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return true;
}

size_t TLinkTest::Count(DWORD Slot) {
  size_t count = 0;
  for (const auto& event : Events) count += event.Slot == Slot;
  return count;
}

const TCallbackEvent* TLinkTest::Last(DWORD Slot) {
  for (auto it = Events.rbegin(); it != Events.rend(); ++it)
    if (it->Slot == Slot) return &*it;
  return nullptr;
}

bool TLinkTest::TimedSend(TProtPacket& Packet, LONG Timeout, double* ElapsedMs) {
  const auto start = std::chrono::steady_clock::now();
  InsideSend = true;
  const LONG result = SendPacket(&Packet, Timeout);
  InsideSend = false;
  if (ElapsedMs)
    *ElapsedMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  EXPECT_TRUE(result == 0 || result == -1) << "Booleans cross the interface as -1 and 0";
  return result != 0;
}

TProtPacket Packet(uint8_t Channel, uint8_t Code, const std::vector<uint8_t>& Data) {
  TProtPacket packet{};
  packet.Channel = Channel;
  packet.Code = Code;
  packet.Len = static_cast<uint16_t>(Data.size());
  if (!Data.empty()) std::memcpy(packet.Data, Data.data(), Data.size());
  return packet;
}

std::string Hex(const std::vector<uint8_t>& Bytes) {
  static const char digits[] = "0123456789abcdef";
  if (Bytes.empty()) return "-";
  std::string text;
  for (uint8_t b : Bytes) {
    text += digits[b >> 4];
    text += digits[b & 15];
  }
  return text;
}
