// The program start of Quorvale.exe, run for real under Wine: the Windows
// version gate with the prefix's version setting, and the single-instance
// handshake through the shared memory.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "program_driver_win.h"

namespace {

const char* const ShareMemName = "CQuorvaleDesktopShareMem";
constexpr UINT StaticTextId = 101;  // the text of a message dialog

bool ShareMemExists() {
  HANDLE H = OpenFileMappingA(FILE_MAP_READ, FALSE, ShareMemName);
  if (H) CloseHandle(H);
  return H != nullptr;
}

// A folder with the program and, when English, its English module.
std::string Install(const std::string& Name, bool English) {
  const std::string Folder = ScratchFolder(Name);
  InstallProgram(Folder, "Quorvale");
  if (English) CopyInto(BuildFile("Quorvale.en"), Folder, "Quorvale.en");
  return Folder + "\\Quorvale.exe";
}

HWND MainWindow(TStartedProgram& P) { return P.WaitForWindow("QVForm"); }

void CloseAndWait(TStartedProgram& P, HWND Main) {
  PostMessageA(Main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(P.Ended());
  EXPECT_EQ(P.ExitCode(), 0u);
}

struct RefusedCase {
  const char* Version;
  const char* Locale;
  const wchar_t* Text;
};

class VersionGate : public testing::TestWithParam<RefusedCase> {};

TEST_P(VersionGate, RefusedVersionShowsTheMessageAndNothingElse) {
  const RefusedCase& C = GetParam();
  QV_ONLY_IN_LOCALE(C.Locale);
  TStartedProgram P(Install("gate", true), "", C.Version);
  HWND Dialog = P.WaitForWindow("#32770");
  ASSERT_TRUE(Dialog) << "no message for " << C.Version << ", program " << P.State();
  EXPECT_EQ(TextOf(Dialog), L"Quorvale");
  EXPECT_EQ(TextOf(GetDlgItem(Dialog, StaticTextId)), C.Text);
  EXPECT_FALSE(ShareMemExists());
  for (HWND W : P.Windows()) EXPECT_NE(ClassOf(W), "QVForm");
  SendMessageA(GetDlgItem(Dialog, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(P.Ended());
  EXPECT_EQ(P.ExitCode(), 0u);
  EXPECT_FALSE(ShareMemExists());
}

INSTANTIATE_TEST_SUITE_P(
    Prefix, VersionGate,
    testing::Values(RefusedCase{"win95", "en_US.UTF-8", L"This program is unsupported from Windows 95"},
                    RefusedCase{"nt40", "en_US.UTF-8", L"This program is unsupported from Windows NT 4.0"},
                    RefusedCase{"nt351", "en_US.UTF-8", L"This program is unsupported from Windows NT 3.51"},
                    // The version names are English in every language.
                    RefusedCase{"win95", "de_DE.UTF-8", L"Dieses Programm wird von Windows 95 nicht unterstützt"}));

class AcceptedVersion : public testing::TestWithParam<const char*> {};

TEST_P(AcceptedVersion, RunsWithItsMainWindow) {
  QV_ONLY_IN_LOCALE("de_DE.UTF-8");
  TStartedProgram P(Install("accepted", false), "", GetParam());
  HWND Main = MainWindow(P);
  ASSERT_TRUE(Main) << "program " << P.State();
  EXPECT_EQ(TextOf(Main), L"Quorvale Desktop - V1.04");
  EXPECT_TRUE(IsZoomed(Main));
  EXPECT_TRUE(ShareMemExists());
  CloseAndWait(P, Main);
  EXPECT_FALSE(ShareMemExists());
}

// "" is the prefix's own setting (Windows 7).
INSTANTIATE_TEST_SUITE_P(Prefix, AcceptedVersion, testing::Values("win98", "winxp", ""));

TEST(SingleInstance, SecondStartEndsAndBringsTheFirstToTheFront) {
  QV_ONLY_IN_LOCALE("de_DE.UTF-8");
  const std::string Exe = Install("single", false);
  TStartedProgram First(Exe);
  HWND Main = MainWindow(First);
  ASSERT_TRUE(Main);
  ShowWindow(Main, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(Main) != FALSE; }));
  {
    // The second program's own windows, watched until it has ended.
    TStartedProgram Second(Exe);
    bool SecondShowedAWindow = false;
    ASSERT_TRUE(WaitUntil([&] {
      SecondShowedAWindow = SecondShowedAWindow || !Second.Windows().empty();
      return Second.Ended(5);
    }));
    EXPECT_FALSE(SecondShowedAWindow) << "the second program showed a window";
    EXPECT_EQ(Second.ExitCode(), 0u);
  }
  EXPECT_TRUE(WaitUntil([&] { return !IsIconic(Main) && GetForegroundWindow() == Main; }));
  CloseAndWait(First, Main);
}

// A memory left with a value that names no window: the new instance runs and
// stores its own main window there.
TEST(SingleInstance, StoredDeadHandleOrZeroLetsTheNewInstanceRun) {
  QV_ONLY_IN_LOCALE("de_DE.UTF-8");
  HWND Dead = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(Dead);
  for (const uint32_t Stored : {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(Dead)), 0u}) {
    SCOPED_TRACE(Stored);
    HANDLE Memory = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, ShareMemName);
    ASSERT_TRUE(Memory);
    auto* View = static_cast<uint32_t*>(MapViewOfFile(Memory, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_TRUE(View);
    *View = Stored;
    {
      TStartedProgram P(Install("dead", false));
      HWND Main = MainWindow(P);
      ASSERT_TRUE(Main);
      EXPECT_EQ(*View, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(Main)));
      CloseAndWait(P, Main);
    }
    UnmapViewOfFile(View);
    CloseHandle(Memory);
  }
}

}  // namespace

namespace {

// The program needs all six layouts at start: a module without one is named
// in an error dialog, and the program ends without a window; a log-off
// meanwhile is let through.
TEST(ProgramStart, ModuleLackingALayoutIsReportedAndEndsTheProgram) {
  QV_ONLY_IN_LOCALE("en_US.UTF-8");
  const std::string Folder = ScratchFolder("broken-module");
  InstallProgram(Folder, "Quorvale");
  CopyInto(BuildFile("quorvale_main_only.module"), Folder, "Quorvale.en");
  const std::string Exe = Folder + "\\Quorvale.exe";
  TStartedProgram P(Exe);
  HWND Dialog = P.WaitForWindow("#32770");
  ASSERT_TRUE(Dialog) << "program " << P.State();
  EXPECT_EQ(TextOf(Dialog), L"Error");
  const std::wstring Text = TextOf(GetDlgItem(Dialog, StaticTextId));
  EXPECT_NE(Text.find(L"TFRMEDTPBITEM"), std::wstring::npos) << Text;
  // A log-off while the error shows asks the main window, made but never
  // shown, before the transfer dialogs exist: it lets the session end.
  HWND Main = FindWindowW(nullptr, L"Quorvale Desktop - V1.04");
  ASSERT_TRUE(Main);
  DWORD_PTR MayEnd = FALSE;
  EXPECT_TRUE(SendMessageTimeoutW(Main, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &MayEnd));
  EXPECT_EQ(MayEnd, static_cast<DWORD_PTR>(TRUE));
  ASSERT_TRUE(IsWindow(Dialog)) << "program " << P.State();
  SendMessageA(GetDlgItem(Dialog, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(P.Ended());
  EXPECT_EQ(P.ExitCode(), 1u);
  EXPECT_FALSE(ShareMemExists());
}

}  // namespace
