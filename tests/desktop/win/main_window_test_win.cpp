// The main window driven from outside with the simulated phone: the start-up
// sequence on each of its paths, attach and detach, the clock, the read
// button, import and export, the size limit and the save at close.
#include <gtest/gtest.h>

#include "main_window_fixture_win.h"
#include "qvdp_all.h"

namespace {

const std::vector<TFixtureEntry> TwoEntries = {{"Anna Fixture", "0301234"}, {"Bert Fixture", "0405678"}};
const std::vector<std::wstring> TwoNames = {L"Anna Fixture", L"Bert Fixture"};

std::wstring InvalidFileText(const std::string& FileName) {
  return L"Datei " + Wide(FileName) + L" ist keine g\u00fcltige Quorvale-Datenbank";
}

void WriteGarbage(const std::string& FileName) {
  HANDLE F = CreateFileA(FileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(F, INVALID_HANDLE_VALUE);
  const char Bytes[] = "this is not a Quorvale data file, only 48 bytes.";
  DWORD Written = 0;
  WriteFile(F, Bytes, sizeof(Bytes) - 1, &Written, nullptr);
  CloseHandle(F);
}

FILETIME LastWriteTime(const std::string& FileName) {
  WIN32_FILE_ATTRIBUTE_DATA Data{};
  GetFileAttributesExA(FileName.c_str(), GetFileExInfoStandard, &Data);
  return Data.ftLastWriteTime;
}

void SetLastWriteTime(const std::string& FileName, const FILETIME& Time) {
  HANDLE F = CreateFileA(FileName.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(F, INVALID_HANDLE_VALUE);
  SetFileTime(F, nullptr, nullptr, &Time);
  CloseHandle(F);
}

// The seven words of a clock request's data ("0e001c00...").
std::vector<int> ClockWords(const std::string& Request) {
  const std::string Hex = Request.substr(Request.rfind(' ') + 1);
  std::vector<int> Words;
  for (size_t I = 0; I + 4 <= Hex.size(); I += 4)
    Words.push_back(std::stoi(Hex.substr(I, 2), nullptr, 16) | std::stoi(Hex.substr(I + 2, 2), nullptr, 16) << 8);
  return Words;
}

}  // namespace

TEST_F(TMainWindowTest, FirstStartWaitsForThePhoneThenReadsSavesAndShowsThePages) {
  Start();
  ASSERT_TRUE(WaitForCaption(WaitCaption)) << "no wait-for-phone dialog";
  EXPECT_FALSE(Visible(Control("PageControl")));
  Phone.Plug();
  ASSERT_TRUE(Phone.Taken());
  EXPECT_TRUE(WaitUntil([&] { return !Showing(WaitCaption); }));
  ASSERT_TRUE(WaitForPages());
  ASSERT_TRUE(FileExists(DataFile()));
  const std::vector<std::wstring> Read = NamesIn(DataFile());
  EXPECT_FALSE(Read.empty()) << "the demo phone has entries";
  EXPECT_EQ(Phonebook1(), Read);
  EXPECT_FALSE(ListItems(Control("lbxPics")).empty());
}

TEST_F(TMainWindowTest, FirstStartWithThePhonePluggedInNeedsNoWaitDialog) {
  Phone.Plug();
  Start();
  ASSERT_TRUE(Phone.Taken());
  bool WaitDialogSeen = false;
  ASSERT_TRUE(WaitUntil([&] {
    WaitDialogSeen = WaitDialogSeen || Showing(WaitCaption);
    return Visible(Control("PageControl"));
  }));
  EXPECT_FALSE(WaitDialogSeen);
  EXPECT_EQ(Phonebook1(), NamesIn(DataFile()));
}

TEST_F(TMainWindowTest, StartWithADataFileLoadsItAndShowsTheButtonsOnlyOnceAPhoneIsAttached) {
  WriteDataFile(DataFile(), TwoEntries);
  Start();
  ASSERT_TRUE(WaitForPages());
  EXPECT_EQ(Phonebook1(), TwoNames);
  EXPECT_FALSE(Visible(Control("butReadQV")));
  EXPECT_FALSE(Visible(Control("butProgQV")));
  EXPECT_EQ(Phone.Requests(), 0);
  Phone.Plug();
  ASSERT_TRUE(Phone.Taken());
  ASSERT_TRUE(WaitForAttach());
  EXPECT_TRUE(Visible(Control("butProgQV")));
  EXPECT_EQ(Phonebook1(), TwoNames) << "an attach reads nothing";
  Phone.Unplug();
  EXPECT_TRUE(WaitUntil([&] { return !Visible(Control("butReadQV")) && !Visible(Control("butProgQV")); }));
}

TEST_F(TMainWindowTest, DataFileWithAWrongMagicShowsTheErrorWithItsPathAndEndsTheProgram) {
  WriteGarbage(DataFile());
  const std::vector<char> Before = FileBytes(DataFile());
  Start();
  HWND Error = WaitForCaption(ErrorCaption);
  ASSERT_TRUE(Error);
  EXPECT_EQ(DialogText(Error), InvalidFileText(DataFile()));
  AnswerDialog(Error, IDOK);
  EXPECT_TRUE(Program->Ended());
  EXPECT_EQ(FileBytes(DataFile()), Before);
}

TEST_F(TMainWindowTest, APhoneClockBefore2005IsSetFromThePcAndOneFrom2005IsLeftAlone) {
  WriteDataFile(DataFile(), TwoEntries);
  Start();
  ASSERT_TRUE(WaitForPages());
  Phone.Plug();
  ASSERT_TRUE(Phone.Taken());
  // The demo phone's clock shows 1 June 2004 with the reserved word 0x0077.
  ASSERT_TRUE(WaitUntil([&] { return Phone.LastRequest().rfind("3 5 ", 0) == 0; }));
  SYSTEMTIME Now;
  GetLocalTime(&Now);
  const std::vector<int> Set = ClockWords(Phone.LastRequest());
  ASSERT_EQ(Set.size(), 7u);
  EXPECT_EQ(Set[3], Now.wDay);
  EXPECT_EQ(Set[4], Now.wMonth);
  EXPECT_EQ(Set[5], Now.wYear - 2000);
  const int Seconds = Set[0] * 3600 + Set[1] * 60 + Set[2], NowSeconds = Now.wHour * 3600 + Now.wMinute * 60 + Now.wSecond;
  EXPECT_LE(std::abs(NowSeconds - Seconds), 120);
  EXPECT_EQ(Set[6], 0x0077);

  // Now the phone reports this year: an attach reads the clock only. The
  // attach after the next is the barrier: a set request after the read
  // would have come before its read.
  ASSERT_TRUE(WaitForAttach());
  const int Before = Phone.Requests();
  for (int Attach = 1; Attach <= 2; ++Attach) {
    Phone.Unplug();
    ASSERT_TRUE(WaitUntil([&] { return !Visible(Control("butReadQV")); }));
    Phone.Plug();
    ASSERT_TRUE(Phone.Taken());
    ASSERT_TRUE(WaitUntil([&] { return Phone.Requests() >= Before + Attach; }));
    EXPECT_EQ(Phone.LastRequest(), "3 6 -");
  }
  EXPECT_EQ(Phone.Requests(), Before + 2);
}

TEST_F(TMainWindowTest, ReadButtonAsksBeforeOverwritingAndNoReadsNothing) {
  WriteDataFile(DataFile(), TwoEntries);
  Phone.Plug();
  Start();
  ASSERT_TRUE(WaitForPages());
  ASSERT_TRUE(WaitForAttach());
  const int Before = Phone.Requests();
  PostClick(Control("butReadQV"));
  HWND Question = WaitForCaption(ConfirmCaption);
  ASSERT_TRUE(Question);
  EXPECT_EQ(DialogText(Question), L"Aktuelle Daten \u00fcberschreiben ?");
  AnswerDialog(Question, IDNO);
  ASSERT_TRUE(WaitUntil([&] { return !Showing(ConfirmCaption); }));
  // A second question is the barrier: a read after No would have come first.
  PostClick(Control("butReadQV"));
  Question = WaitForCaption(ConfirmCaption);
  ASSERT_TRUE(Question);
  EXPECT_EQ(Phone.Requests(), Before);
  EXPECT_EQ(Phonebook1(), TwoNames);

  AnswerDialog(Question, IDYES);
  ASSERT_TRUE(WaitUntil([&] { return Phone.Requests() > Before && !Showing(ReadCaption); }));
  EXPECT_TRUE(WaitUntil([&] { return Phonebook1() != TwoNames && !Phonebook1().empty(); })) << "the phone's entries";
}

TEST_F(TMainWindowTest, ReadClickedWhileTheClockRequestWaitsRunsOnceTheWaitHasEnded) {
  WriteDataFile(DataFile(), TwoEntries);
  Start();
  ASSERT_TRUE(WaitForPages());
  Phone.Command("delay 150");  // the attach's clock read waits a while for its answer
  Phone.Plug();
  ASSERT_TRUE(Phone.Taken());
  ASSERT_TRUE(WaitUntil([&] { return Phone.LastRequest() == "3 6 -"; }));
  PostClick(Control("butReadQV"));
  HWND Question = WaitForCaption(ConfirmCaption);
  ASSERT_TRUE(Question);
  // The whole read can take less than one poll here: the requests show it ran.
  const int Before = Phone.Requests();
  AnswerDialog(Question, IDYES);
  ASSERT_TRUE(WaitUntil([&] { return Phone.Requests() > Before && !Showing(ReadCaption); }));
  EXPECT_FALSE(Showing(ErrorCaption)) << "the read was not refused";
  EXPECT_NE(Phonebook1(), TwoNames);
}

TEST_F(TMainWindowTest, ReadThatLosesThePhoneShowsTheNoAnswerText) {
  WriteDataFile(DataFile(), TwoEntries);
  Phone.Plug();
  Start();
  ASSERT_TRUE(WaitForPages());
  ASSERT_TRUE(WaitForAttach());
  Phone.Command("delay 3000");  // the read's first answer comes late, and the phone is gone by then
  PostClick(Control("butReadQV"));
  HWND Question = WaitForCaption(ConfirmCaption);
  ASSERT_TRUE(Question);
  AnswerDialog(Question, IDYES);
  ASSERT_TRUE(WaitForCaption(ReadCaption));
  // Unplugged while the first request waits: a phone unplugged before it
  // was written would fail the write itself instead.
  ASSERT_TRUE(WaitUntil([&] { return Phone.LastRequest().rfind("4 0 ", 0) == 0; }));
  Phone.Unplug();
  HWND Error = WaitForCaption(ErrorCaption, 30000);
  ASSERT_TRUE(Error);
  EXPECT_EQ(DialogText(Error).rfind(L"Keine Antwort vom Quorvale erhalten", 0), 0u) << "no-answer text";
  EXPECT_FALSE(Showing(ReadCaption));
  EXPECT_FALSE(Visible(Control("butReadQV")));
  AnswerDialog(Error, IDOK);
}

TEST_F(TMainWindowTest, ImportCancelledInTheQuestionOrTheFileDialogChangesNothing) {
  WriteDataFile(DataFile(), TwoEntries);
  Start();
  ASSERT_TRUE(WaitForPages());
  PostCommand(Main(), MenuCommand("TFRMMAIN", "mnuImport"));
  HWND Question = WaitForCaption(ConfirmCaption);
  ASSERT_TRUE(Question);
  AnswerDialog(Question, IDNO);
  ASSERT_TRUE(WaitUntil([&] { return !Showing(ConfirmCaption); }));
  PostCommand(Main(), MenuCommand("TFRMMAIN", "mnuImport"));
  AnswerDialog(WaitForCaption(ConfirmCaption), IDYES);
  HWND Open = WaitForCaption(L"Datenbank \u00f6ffnen");
  ASSERT_TRUE(Open);
  AnswerDialog(Open, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !Showing(L"Datenbank \u00f6ffnen"); }));
  EXPECT_FALSE(Showing(ErrorCaption));
  EXPECT_EQ(Phonebook1(), TwoNames);
}

TEST_F(TMainWindowTest, ImportWithThePhoneAttachedRunsTheAttachHandlingAndAFailedOneKeepsTheData) {
  WriteDataFile(DataFile(), TwoEntries);
  const std::string Other = Folder + "\\Other.qvd", Broken = Folder + "\\Broken.qvd";
  WriteDataFile(Other, {{"Carl Imported", "0123"}});
  WriteGarbage(Broken);
  Phone.Plug();
  Start();
  ASSERT_TRUE(WaitForPages());
  ASSERT_TRUE(WaitForAttach());

  ASSERT_NO_FATAL_FAILURE(ImportFile(Other));
  ASSERT_TRUE(WaitUntil([&] { return Phonebook1() == std::vector<std::wstring>{L"Carl Imported"}; }));
  EXPECT_TRUE(Visible(Control("butProgQV")));

  ASSERT_NO_FATAL_FAILURE(ImportFile(Broken));
  HWND Error = WaitForCaption(ErrorCaption);
  ASSERT_TRUE(Error);
  EXPECT_EQ(DialogText(Error), InvalidFileText(Broken));
  const int Requests = Phone.Requests();
  AnswerDialog(Error, IDOK);
  // The attach handling after the failed import has run once the clock has
  // been asked; the data is still there, and so is the program button.
  ASSERT_TRUE(WaitUntil([&] { return Phone.Requests() > Requests; }));
  EXPECT_TRUE(Visible(Control("butProgQV")));
  EXPECT_TRUE(Visible(Control("butReadQV")));
  EXPECT_EQ(Phonebook1(), std::vector<std::wstring>{L"Carl Imported"});

  // Export still offers the data.
  PostCommand(Main(), MenuCommand("TFRMMAIN", "mnuExport"));
  HWND Save = WaitForCaption(L"Datenbank speichern unter...");
  ASSERT_TRUE(Save) << "Export is enabled";
  AnswerDialog(Save, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !Showing(L"Datenbank speichern unter..."); }));

  PostMessageW(Main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(Program->Ended());
  EXPECT_EQ(NamesIn(DataFile()), std::vector<std::wstring>{L"Carl Imported"}) << "the imported data is saved at close";
  EXPECT_EQ(NamesIn(Other), std::vector<std::wstring>{L"Carl Imported"}) << "the imported file is never written";
}

TEST_F(TMainWindowTest, ReadAfterAFailedImportStillAsksAndIsSavedAtClose) {
  WriteDataFile(DataFile(), TwoEntries);
  const std::string Broken = Folder + "\\Broken.qvd";
  WriteGarbage(Broken);
  Phone.Plug();
  Start();
  ASSERT_TRUE(WaitForPages());
  ASSERT_TRUE(WaitForAttach());
  ASSERT_NO_FATAL_FAILURE(ImportFile(Broken));
  ASSERT_NO_FATAL_FAILURE(AnswerDialog(WaitForCaption(ErrorCaption), IDOK)) << "the failed import's error";

  const int Before = Phone.Requests();
  PostClick(Control("butReadQV"));
  HWND Question = WaitForCaption(ConfirmCaption);
  ASSERT_TRUE(Question) << "the data kept by the failed import is not overwritten unasked";
  AnswerDialog(Question, IDYES);
  ASSERT_TRUE(WaitUntil([&] { return Phone.Requests() > Before && !Showing(ReadCaption); }));
  ASSERT_TRUE(WaitUntil([&] { return Phonebook1() != TwoNames && !Phonebook1().empty(); })) << "the phone's entries";
  EXPECT_TRUE(Visible(Control("butProgQV")));
  EXPECT_FALSE(Showing(ErrorCaption));
  const std::vector<std::wstring> Read = Phonebook1();
  PostMessageW(Main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(Program->Ended());
  EXPECT_EQ(NamesIn(DataFile()), Read) << "the data read is saved at close";
}

TEST_F(TMainWindowTest, ExportWritesTheChosenFileAndLeavesTheDataFileAlone) {
  WriteDataFile(DataFile(), TwoEntries);
  const std::vector<char> Before = FileBytes(DataFile());
  const std::string Exported = Folder + "\\Exported.qvd";
  Start();
  ASSERT_TRUE(WaitForPages());
  PostCommand(Main(), MenuCommand("TFRMMAIN", "mnuExport"));
  ChooseFile(WaitForCaption(L"Datenbank speichern unter..."), Exported);
  ASSERT_TRUE(WaitUntil([&] { return FileExists(Exported) && !Showing(L"Datenbank speichern unter..."); }));
  EXPECT_EQ(NamesIn(Exported), TwoNames);
  EXPECT_EQ(FileBytes(DataFile()), Before);
}

TEST_F(TMainWindowTest, WindowOpensMaximisedRestoresCentredAndRefusesASizeBelow776x400) {
  WriteDataFile(DataFile(), TwoEntries);
  Start();
  ASSERT_TRUE(WaitForPages());
  EXPECT_TRUE(IsZoomed(Main()));
  auto Size = [&] {
    RECT Rc;
    GetWindowRect(Main(), &Rc);
    return SIZE{Rc.right - Rc.left, Rc.bottom - Rc.top};
  };
  PostMessageW(Main(), WM_SYSCOMMAND, SC_RESTORE, 0);
  // The restored size arrives after the zoomed state has ended.
  ASSERT_TRUE(WaitUntil([&] { return !IsZoomed(Main()) && Size().cx == 1035 && Size().cy == 673; }))
      << "restored to " << Size().cx << " x " << Size().cy;
  RECT Work, Restored;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &Work, 0);
  GetWindowRect(Main(), &Restored);
  EXPECT_NEAR(Restored.left - Work.left, (Work.right - Work.left - 1035) / 2, 1);
  EXPECT_NEAR(Restored.top - Work.top, (Work.bottom - Work.top - 673) / 2, 1);
  SetWindowPos(Main(), nullptr, 0, 0, 775, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_GE(Size().cx, 776);
  SetWindowPos(Main(), nullptr, 0, 0, 776, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(Size().cx, 776);
  EXPECT_EQ(Size().cy, 400);
}

TEST_F(TMainWindowTest, CloseRewritesTheDataFileWithItsChangeMarks) {
  WriteDataFile(DataFile(), TwoEntries, {piPhonebook1, piConfig});
  // The header's save time counts whole seconds; the file's own time shows
  // the rewrite.
  const FILETIME LongAgo{0, 0x01000000};
  SetLastWriteTime(DataFile(), LongAgo);
  Start();
  ASSERT_TRUE(WaitForPages());
  PostMessageW(Main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(Program->Ended());
  const FILETIME Saved = LastWriteTime(DataFile());
  EXPECT_GT(CompareFileTime(&Saved, &LongAgo), 0) << "saved anew";
  TQVDP_ALL Data;
  ASSERT_TRUE(Data.LoadFromFile(DataFile()));
  for (int I = 0; I < PoolCount; ++I)
    EXPECT_EQ(Data.Pools(static_cast<TPoolIndex>(I))->FChanged, I == piPhonebook1 || I == piConfig) << "pool " << I;
  EXPECT_EQ(NamesIn(DataFile()), TwoNames);
}
