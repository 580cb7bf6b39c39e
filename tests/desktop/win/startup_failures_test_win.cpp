// The start-up sequence where it fails: a link that cannot be opened and a
// first read that gets no answer end the program without a data file; a
// first save that fails is shown and the run goes on, saved at close.
#include <gtest/gtest.h>

#include "main_window_fixture_win.h"

namespace {

// An environment variable of the test process, which started programs
// inherit, set for one case and put back after it.
class TScopedEnvironment {
 public:
  TScopedEnvironment(const char* Name, const char* Value) : FName(Name) {
    char Old[256];
    const DWORD N = GetEnvironmentVariableA(Name, Old, sizeof Old);
    FHad = N > 0 && N < sizeof Old;
    if (FHad) FOld.assign(Old, N);
    SetEnvironmentVariableA(Name, Value);
  }
  ~TScopedEnvironment() { SetEnvironmentVariableA(FName, FHad ? FOld.c_str() : nullptr); }

 private:
  const char* FName;
  bool FHad = false;
  std::string FOld;
};

}  // namespace

TEST_F(TMainWindowTest, ALinkThatCannotBeOpenedIsReportedAndEndsTheProgram) {
  {
    // Nothing listens there: the USB driver cannot be opened.
    TScopedEnvironment NoDriver("QV_WDU_PORT", "1");
    Start();
  }
  HWND Message = WaitForCaption(L"Quorvale");
  ASSERT_TRUE(Message) << Describe();
  EXPECT_EQ(DialogText(Message), L"Kann USB Schnittstelle nicht \u00f6ffnen");
  AnswerDialog(Message, IDOK);
  ASSERT_TRUE(Program->Ended());
  EXPECT_EQ(Program->ExitCode(), 0u) << "told to end, not crashed";
  EXPECT_FALSE(FileExists(DataFile()));
}

TEST_F(TMainWindowTest, AFirstReadWithoutAnswerEndsTheProgramWithoutADataFile) {
  Phone.Command("silence 4 0");  // from phonebook 1's first request on, the phone says nothing
  Phone.Plug();
  Start();
  ASSERT_TRUE(WaitUntil([&] { return Phone.LastRequest().rfind("4 0 ", 0) == 0; })) << Describe();
  ASSERT_TRUE(Program->Ended());
  EXPECT_EQ(Program->ExitCode(), 0u) << "told to end, not crashed";
  EXPECT_FALSE(FileExists(DataFile()));
}

TEST_F(TMainWindowTest, AFirstSaveThatFailsIsShownAndTheDataIsSavedAtClose) {
  // A folder where the save writes before it replaces the data file.
  const std::string Blocker = DataFile() + ".tmp";
  ASSERT_TRUE(CreateDirectoryA(Blocker.c_str(), nullptr));
  Phone.Plug();
  Start();
  HWND Error = WaitForCaption(ErrorCaption);
  ASSERT_TRUE(Error) << Describe();
  EXPECT_NE(DialogText(Error).find(Wide(DataFile())), std::wstring::npos) << "names the data file";
  AnswerDialog(Error, IDOK);
  ASSERT_TRUE(WaitForPages()) << "the run goes on";
  ASSERT_TRUE(WaitUntil([&] { return !Phonebook1().empty(); }));
  const std::vector<std::wstring> Read = Phonebook1();
  EXPECT_FALSE(FileExists(DataFile()));
  ASSERT_TRUE(RemoveDirectoryA(Blocker.c_str()));
  PostMessageW(Main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(Program->Ended());
  EXPECT_EQ(NamesIn(DataFile()), Read) << "saved at close";
}
