// A message handled inside a send's wait that runs a modal loop of its own (a
// message box, a window being dragged, a menu) for longer than the request's
// time-out: the answer that comes meanwhile completes the send, and frames of
// other channels reach their callbacks inside that loop.
#include <cstdio>

#include "link_fixture_win.h"

namespace {

constexpr UINT WM_RUNNESTED = WM_APP + 7;
constexpr DWORD NestedMs = 900;  // three times the request's time-out
constexpr LONG RequestTimeout = 300;

// The nested loop that a test posts to the window ahead of its send; it runs
// once the wait dispatches that message.
std::function<void()> gNested;

LRESULT CALLBACK NestedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_RUNNESTED && gNested) {
    gNested();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool gLoopOver;

void CALLBACK EndPlainLoop(HWND, UINT, UINT_PTR id, DWORD) {
  gLoopOver = true;
  KillTimer(nullptr, id);
}

void PlainGetMessageLoop() {
  gLoopOver = false;
  SetTimer(nullptr, 0, NestedMs, EndPlainLoop);
  MSG message;
  while (!gLoopOver && GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

BOOL CALLBACK CloseDialogOfThread(HWND window, LPARAM) {
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == "#32770") PostMessageA(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

void CALLBACK CloseMessageBox(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EnumThreadWindows(GetCurrentThreadId(), CloseDialogOfThread, 0);
}

void MessageBoxLoop() {
  SetTimer(nullptr, 0, NestedMs, CloseMessageBox);
  MessageBoxA(nullptr, "nested", "nested", MB_OK);
}

struct TNestedCase {
  const char* Name;
  void (*Run)();
};

class NestedLoopTest : public TLinkTest, public testing::WithParamInterface<TNestedCase> {
 protected:
  void SetUp() override {
    TLinkTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(OpenWithPhone());
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = NestedWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QvNestedLoopTest";
    RegisterClassA(&windowClass);
    FWindow = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              windowClass.hInstance, nullptr);
    ASSERT_NE(FWindow, nullptr);
  }
  void TearDown() override {
    gNested = nullptr;
    if (FWindow) DestroyWindow(FWindow);
    TLinkTest::TearDown();
  }
  // Sends a request whose wait first dispatches the nested loop.
  bool SendAroundNestedLoop(TProtPacket& Request, double* ElapsedMs) {
    PostMessageA(FWindow, WM_RUNNESTED, 0, 0);
    return TimedSend(Request, RequestTimeout, ElapsedMs);
  }

  HWND FWindow = nullptr;
};

TEST_P(NestedLoopTest, AnswerInTimeCompletesTheSendAndOtherFramesArriveInsideTheLoop) {
  Sim("payload 6 0a0b0c");
  Sim("delay 100");
  Sim("before 5 0x20 01");
  size_t framesSeenInLoop = 0;
  gNested = [&] {
    GetParam().Run();
    framesSeenInLoop = Count(lcDevice);
  };
  TProtPacket request = Packet(chConfig, 6, {1});
  double elapsed = 0;
  ASSERT_TRUE(SendAroundNestedLoop(request, &elapsed));
  EXPECT_GE(elapsed, NestedMs - 20) << "the nested loop ran inside the wait";
  EXPECT_EQ(request.Code, 0x86);
  ASSERT_EQ(request.Len, 3);
  EXPECT_EQ(Hex({request.Data, request.Data + 3}), "0a0b0c");
  EXPECT_EQ(framesSeenInLoop, 1u) << "the other channel's frame reached its callback inside the nested loop";
  ASSERT_EQ(Count(lcDevice), 1u);
  EXPECT_EQ(Last(lcDevice)->Code, 0x20u);
  EXPECT_EQ(Last(lcDevice)->ThreadId, HostThread);
}

INSTANTIATE_TEST_SUITE_P(Loops, NestedLoopTest,
                         testing::Values(TNestedCase{"PlainGetMessage", PlainGetMessageLoop},
                                         TNestedCase{"MessageBox", MessageBoxLoop}),
                         [](const testing::TestParamInfo<TNestedCase>& info) { return info.param.Name; });

class LongNestedLoopTest : public NestedLoopTest {};

// Far more frames than the 13 receive slots come during one nested loop; each
// is taken before the next is sent, so every one of them reaches its callback,
// in order, and so does the answer, which came first.
TEST_F(LongNestedLoopTest, ManyFramesAreDeliveredInOrderInsideTheLoop) {
  constexpr int FrameCount = 20;
  Sim("payload 6 42");
  Sim("delay 100");  // the wait has dispatched the nested loop by then
  int delivered = 0;
  gNested = [&] {
    const DWORD start = GetTickCount();
    for (int i = 0; i < FrameCount; ++i) {
      char line[32];
      std::snprintf(line, sizeof line, "send 5 %d %02x", 0x40 + i, i);
      ASSERT_TRUE(IsOk(FSim.Command(line)));
      if (!PumpUntil([&] { return Count(lcDevice) == static_cast<size_t>(i + 1); }, 1000)) return;
      delivered = i + 1;
    }
    PumpUntil([&] { return GetTickCount() - start >= NestedMs; }, NestedMs);
  };
  TProtPacket request = Packet(chConfig, 6);
  double elapsed = 0;
  ASSERT_TRUE(SendAroundNestedLoop(request, &elapsed));
  EXPECT_GE(elapsed, NestedMs - 20);
  EXPECT_EQ(request.Data[0], 0x42);
  ASSERT_EQ(delivered, FrameCount);
  std::vector<DWORD> codes;
  for (const auto& event : Events)
    if (event.Slot == lcDevice) codes.push_back(event.Code);
  ASSERT_EQ(codes.size(), static_cast<size_t>(FrameCount));
  for (int i = 0; i < FrameCount; ++i) EXPECT_EQ(codes[i], static_cast<DWORD>(0x40 + i)) << "frame " << i;
}

}  // namespace
