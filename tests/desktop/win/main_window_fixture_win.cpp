// The main window tests' fixture; see main_window_fixture_win.h.
#include "main_window_fixture_win.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "qvdp_all.h"
#include "qvdp_phonebook.h"

const std::wstring ErrorCaption = L"Fehler";
const std::wstring ConfirmCaption = L"Best\u00e4tigung";
const std::wstring MainCaption = L"Quorvale Desktop - V1.04";
const std::wstring ReadCaption = L"Quorvale einlesen";
const std::wstring WriteCaption = L"Quorvale programmieren";
const std::wstring WaitCaption = L"Datenbank erstellen";

std::string TPhone::Reply(const std::string& Line) {
  Taken();
  return FSim.Command(Line);
}

void TPhone::Plug() {
  Taken();
  FSim.Send("plug");
  FPlugPending = true;
}

testing::AssertionResult TPhone::Taken() {
  if (FPlugPending) {
    FPlugReply = FSim.ReadReply();
    FPlugPending = false;
  }
  if (FPlugReply.find("taken") != std::string::npos) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the plug's reply: " << FPlugReply;
}

void TPhone::Unplug() { Command("unplug"); }

void TPhone::Command(const std::string& Line) {
  const std::string Answer = Reply(Line);
  ASSERT_TRUE(IsOk(Answer)) << Line << ": " << Answer;
}

int TPhone::Requests() { return std::atoi(Reply("requests").c_str() + 3); }

std::string TPhone::LastRequest() {
  const std::string Answer = Reply("last");
  return Answer.size() > 3 ? Answer.substr(3) : Answer;
}

std::string TPhone::Stored() {
  const std::string Answer = Reply("stored");
  return Answer.size() > 3 ? Answer.substr(3) : Answer;
}

void TMainWindowTest::SetUp() {
  const testing::TestInfo* Info = testing::UnitTest::GetInstance()->current_test_info();
  // A parameterised case's names hold slashes; its folder is one folder all the same.
  std::string Name = std::string(Info->test_suite_name()) + "." + Info->name();
  std::replace(Name.begin(), Name.end(), '/', '.');
  const char* ControlPort = getenv("QV_SIM_CONTROL_PORT");
  ASSERT_TRUE(Phone.Connected()) << "no simulator at QV_SIM_CONTROL_PORT " << (ControlPort ? ControlPort : "(unset)");
  Folder = ScratchFolder(Name);
  for (const char* File : {"Quorvale.exe", "QVProt.dll", "wd_utils.dll"}) CopyInto(BuildFile(File), Folder, File);
}

void TMainWindowTest::TearDown() { Program.reset(); }

// No language module lies beside the program, so it speaks its built-in
// German whatever the session's locale.
void TMainWindowTest::Start() { Program = std::make_unique<TStartedProgram>(Folder + "\\Quorvale.exe"); }

HWND TMainWindowTest::Main() {
  if (!FMain || !IsWindow(FMain)) FMain = WaitForCaption(MainCaption);
  return FMain;
}

HWND TMainWindowTest::WaitForCaption(const std::wstring& Caption, DWORD Milliseconds) {
  HWND Found = nullptr;
  WaitUntil([&] { return (Found = TopLevelWindow(Program->Id(), Caption)) != nullptr; }, Milliseconds);
  return Found;
}

HWND TMainWindowTest::WaitForWriteDialog() {
  HWND Dialog = WaitForCaption(WriteCaption);
  auto Chosen = [&](const char* Name) { return Focused(LayoutControl(Dialog, "TFRMQVWRITE", Name)); };
  return Dialog && WaitUntil([&] { return Chosen("rbtUpdate") || Chosen("rbtALL"); }) ? Dialog : nullptr;
}

testing::AssertionResult TMainWindowTest::WaitForPages() {
  if (WaitUntil([&] { return Visible(Control("PageControl")); })) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "no pages; the program " << Describe();
}

std::wstring TMainWindowTest::Describe() {
  const std::string State = Program->State();
  std::wstring Text(State.begin(), State.end());
  for (HWND W : Program->Windows()) {
    Text += L"\n  window \"" + TextOf(W) + L"\"" + (IsWindowEnabled(W) ? L"" : L" (disabled)") + L":";
    // The main window's controls say nothing of how far the program got.
    if (W == FMain) continue;
    for (const std::wstring& Child : ChildTexts(W))
      if (!Child.empty()) Text += L" \"" + Child + L"\"";
  }
  return Text;
}

testing::AssertionResult TMainWindowTest::WaitForAttach() {
  // The demo phone's clock shows 2004, so the first attach reads and then
  // sets it; the set is the attach handling's last request.
  if (WaitUntil([&] { return Visible(Control("butReadQV")) && Phone.LastRequest().rfind("3 5 ", 0) == 0; }))
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the phone's last request: " << Phone.LastRequest()
                                     << (Visible(Control("butReadQV")) ? "" : "; no read button");
}

std::vector<std::wstring> TMainWindowTest::Phonebook1() { return ListItems(Control("lbxPB1")); }

void TMainWindowTest::ImportFile(const std::string& FileName) {
  PostCommand(Main(), MenuCommand("TFRMMAIN", "mnuImport"));
  ASSERT_NO_FATAL_FAILURE(AnswerDialog(WaitForCaption(ConfirmCaption), IDYES)) << "the import's question";
  ChooseFile(WaitForCaption(L"Datenbank \u00f6ffnen"), FileName);
}

void TMainWindowTest::WriteDataFile(const std::string& FileName, const std::vector<TFixtureEntry>& Entries,
                                    const std::vector<int>& ChangedPools) {
  TQVDP_ALL Data;
  auto* Phonebook = static_cast<TQVDP_PHONEBOOK*>(Data.Pools(piPhonebook1));
  for (const TFixtureEntry& E : Entries) {
    TPBEntry Entry{};
    strncpy(Entry.Name, E.Name, sizeof(Entry.Name) - 1);
    strncpy(Entry.Number, E.Number, sizeof(Entry.Number) - 1);
    Phonebook->AddEntry(Entry);
  }
  for (int I = 0; I < PoolCount; ++I) Data.Pools(static_cast<TPoolIndex>(I))->FChanged = false;
  for (int I : ChangedPools) Data.Pools(static_cast<TPoolIndex>(I))->FChanged = true;
  ASSERT_TRUE(Data.SaveToFile(FileName)) << Data.ErrorText();
}

void TMainWindowTest::WriteDataFileWith(const std::string& FileName, const std::function<void(TQVDP_ALL&)>& Fill) {
  TQVDP_ALL Data;
  Fill(Data);
  for (int I = 0; I < PoolCount; ++I) Data.Pools(static_cast<TPoolIndex>(I))->FChanged = false;
  ASSERT_TRUE(Data.SaveToFile(FileName)) << Data.ErrorText();
}

std::vector<char> TMainWindowTest::FileBytes(const std::string& FileName) {
  std::ifstream In(FileName, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

std::vector<std::wstring> TMainWindowTest::NamesIn(const std::string& FileName) {
  TQVDP_ALL Data;
  EXPECT_TRUE(Data.LoadFromFile(FileName)) << Data.ErrorText();
  std::vector<std::wstring> Names;
  for (const std::string& Name : static_cast<TQVDP_PHONEBOOK*>(Data.Pools(piPhonebook1))->Names())
    Names.push_back(Wide(Name));
  return Names;
}

bool TMainWindowTest::FileExists(const std::string& FileName) {
  return GetFileAttributesA(FileName.c_str()) != INVALID_FILE_ATTRIBUTES;
}
