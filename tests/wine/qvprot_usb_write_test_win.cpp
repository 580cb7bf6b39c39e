// A USB write that the bus does not take: "Transmition failed" shows as a
// box owned by the host thread's active window, which stays disabled behind
// it, and the write ends, whether the transfers fail or report success while
// moving nothing. The stand-in is told to fault its write transfers.
#include "link_fixture_win.h"

namespace {

struct TBoxSeen {
  std::string Caption, Text;
  HWND Owner = nullptr;
  bool OwnerEnabled = true;
};
std::vector<TBoxSeen> gBoxes;

BOOL CALLBACK NoteStaticText(HWND child, LPARAM box) {
  char name[16] = "", text[128] = "";
  GetClassNameA(child, name, sizeof name);
  GetWindowTextA(child, text, sizeof text);
  if (lstrcmpiA(name, "Static") == 0 && text[0]) reinterpret_cast<TBoxSeen*>(box)->Text = text;
  return TRUE;
}

BOOL CALLBACK NoteAndCloseBox(HWND window, LPARAM) {
  char name[16] = "", caption[64] = "";
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
  TBoxSeen seen;
  GetWindowTextA(window, caption, sizeof caption);
  seen.Caption = caption;
  seen.Owner = GetWindow(window, GW_OWNER);
  seen.OwnerEnabled = seen.Owner && IsWindowEnabled(seen.Owner);
  EnumChildWindows(window, NoteStaticText, reinterpret_cast<LPARAM>(&seen));
  gBoxes.push_back(seen);
  PostMessageA(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

// Runs from the box's own modal loop in the host thread.
void CALLBACK CloseBoxes(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), NoteAndCloseBox, 0); }

struct TWriteFault {
  const char* Fault;  // the stand-in's QV_WDU_WRITE_FAULT
};

class UsbWriteFaultTest : public TLinkTest, public testing::WithParamInterface<TWriteFault> {
 protected:
  void SetUp() override {
    TLinkTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(OpenWithPhone());
    gBoxes.clear();
    FWindow = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                              nullptr, nullptr, nullptr);
    ASSERT_NE(FWindow, nullptr);
    SetForegroundWindow(FWindow);
    SetActiveWindow(FWindow);
    ASSERT_EQ(GetActiveWindow(), FWindow);
    FTimer = SetTimer(nullptr, 0, 50, CloseBoxes);
    // The link gives no caption: the system's own, in the system's language.
    MessageBoxA(nullptr, "probe", nullptr, MB_OK);
    ASSERT_EQ(gBoxes.size(), 1u);
    FDefaultCaption = gBoxes[0].Caption;
    gBoxes.clear();
  }
  void TearDown() override {
    if (FTimer) KillTimer(nullptr, FTimer);
    if (FWindow) DestroyWindow(FWindow);
    TLinkTest::TearDown();
  }

  HWND FWindow = nullptr;
  UINT_PTR FTimer = 0;
  std::string FDefaultCaption;
};

TEST_P(UsbWriteFaultTest, WriteEndsWithOneOwnedBoxAndTheRequestTimesOut) {
  {
    TScopedEnvironment fault("QV_WDU_WRITE_FAULT", GetParam().Fault);
    TProtPacket request = Packet(chConfig, 6, {1, 2, 3});
    double elapsed = 0;
    EXPECT_FALSE(TimedSend(request, 300, &elapsed));
    EXPECT_GE(elapsed, 285);
  }
  EXPECT_EQ(Requests(), 0) << "nothing reached the phone";
  ASSERT_EQ(gBoxes.size(), 1u) << "the write ended at its failure";
  EXPECT_EQ(gBoxes[0].Text, "Transmition failed");
  EXPECT_EQ(gBoxes[0].Caption, FDefaultCaption);
  EXPECT_EQ(gBoxes[0].Owner, FWindow) << "owned by the host thread's active window";
  EXPECT_FALSE(gBoxes[0].OwnerEnabled) << "modal: the owner waits behind it";
  // The bus works again: so does the link.
  Sim("payload 6 31");
  TProtPacket request = Packet(chConfig, 6);
  ASSERT_TRUE(TimedSend(request, 1000));
  EXPECT_EQ(request.Data[0], 0x31);
  EXPECT_EQ(gBoxes.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Faults, UsbWriteFaultTest, testing::Values(TWriteFault{"fail"}, TWriteFault{"empty"}),
                         [](const testing::TestParamInfo<TWriteFault>& info) { return std::string(info.param.Fault); });

}  // namespace
