// The user's local copy, the program's data file, in the three ways it used
// to be lost: a language image from the phone whose records do not parse,
// which made every later start refuse the file; a read through the read
// button that fails part way; and the end of the Windows session, which ends
// the program without a close.
#include <gtest/gtest.h>

#include "main_window_fixture_win.h"
#include "qvdp_all.h"
#include "qvdp_language.h"

namespace {

const std::vector<TFixtureEntry> TwoEntries = {{"Anna Fixture", "0301234"}, {"Bert Fixture", "0405678"}};
const std::vector<std::wstring> TwoNames = {L"Anna Fixture", L"Bert Fixture"};

// A data file's bytes without the header's save time, which every save renews.
std::vector<char> WithoutSaveTime(std::vector<char> Bytes) {
  if (Bytes.size() >= sizeof(TDataFileHeader)) std::fill_n(Bytes.begin() + 4, 8, 0);
  return Bytes;
}

// Sends Msg to the program's main window and gives its answer.
LRESULT SendToProgram(HWND Main, UINT Msg, WPARAM WParam) {
  DWORD_PTR Answer = 0;
  EXPECT_TRUE(SendMessageTimeoutW(Main, Msg, WParam, 0, SMTO_NORMAL, 10000, &Answer)) << "message " << Msg;
  return static_cast<LRESULT>(Answer);
}

// A data file whose language image has a sound header and a record count
// the image cannot hold: two languages counted, one there.
void WriteDataFileWithAnImageThatDoesNotParse(const std::string& FileName) {
  std::vector<uint8_t> Image = {0x3C, 0x5A, 0, 0, 2, 0, 0x11, 0x11, 0x22, 0x22, 1, 7, 0xAB, 0xAB, 'E', 'n', 0};
  Image[2] = static_cast<uint8_t>(Image.size() - 2);
  TQVDP_ALL Data;
  auto* Language = static_cast<TQVDP_LANGUAGE*>(Data.Pools(piLanguage));
  std::copy(Image.begin(), Image.end(), Language->FImage.begin());
  ASSERT_TRUE(Data.SaveToFile(FileName)) << Data.ErrorText();
}

struct TReadFailure {
  const char* Where;
  const char* Silence;  // the simulator's command that makes the phone go dead
};

class TFailedReadTest : public TMainWindowTest, public testing::WithParamInterface<TReadFailure> {};

}  // namespace

TEST_F(TMainWindowTest, ImageThatDoesNotParseIsLoadedAtStartAndKeptAtClose) {
  WriteDataFileWithAnImageThatDoesNotParse(DataFile());
  const std::vector<char> Before = FileBytes(DataFile());
  Start();
  ASSERT_TRUE(WaitForPages());
  EXPECT_FALSE(Showing(ErrorCaption));
  PostMessageW(Main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(Program->Ended());
  EXPECT_EQ(WithoutSaveTime(FileBytes(DataFile())), WithoutSaveTime(Before));
}

TEST_P(TFailedReadTest, LeavesTheDataFileAndTheChangeMarksAsTheyWere) {
  WriteDataFile(DataFile(), TwoEntries);
  const std::vector<char> Before = FileBytes(DataFile());
  Phone.Plug();
  Start();
  ASSERT_TRUE(WaitForPages());
  ASSERT_TRUE(WaitForAttach());
  Phone.Command(GetParam().Silence);
  PostClick(Control("butReadQV"));
  AnswerDialog(WaitForCaption(ConfirmCaption), IDYES);
  HWND Error = WaitForCaption(ErrorCaption, 30000);
  ASSERT_TRUE(Error);
  EXPECT_EQ(DialogText(Error).rfind(L"Keine Antwort vom Quorvale erhalten", 0), 0u) << "no-answer text";
  AnswerDialog(Error, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return Phonebook1() == TwoNames; }));

  // Nothing is marked changed, so the write dialog offers no changed-only
  // write, and cancelling it sends nothing.
  const int Requests = Phone.Requests();
  PostClick(Control("butProgQV"));
  HWND Write = WaitForWriteDialog();
  ASSERT_TRUE(Write);
  EXPECT_FALSE(Enabled(LayoutControl(Write, "TFRMQVWRITE", "rbtUpdate")));
  PostClick(LayoutControl(Write, "TFRMQVWRITE", "butCancel"));
  ASSERT_TRUE(WaitUntil([&] { return !Showing(WriteCaption); }));
  EXPECT_EQ(Phone.Requests(), Requests);

  PostMessageW(Main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(Program->Ended());
  EXPECT_EQ(WithoutSaveTime(FileBytes(DataFile())), WithoutSaveTime(Before));
}

INSTANTIATE_TEST_SUITE_P(
    ReadButton, TFailedReadTest,
    testing::Values(TReadFailure{"InsidePhonebook1", "silence 4 1"},  // after the first entry
                    TReadFailure{"AfterPhonebook1", "silence 1 7"}),  // phonebook 2's area base
    [](const testing::TestParamInfo<TReadFailure>& Info) { return std::string(Info.param.Where); });

TEST_F(TMainWindowTest, EndOfTheSessionIsRefusedWhileAReadRunsAndSavesTheDataFileWhenItComes) {
  WriteDataFile(DataFile(), TwoEntries);
  const std::vector<char> Before = FileBytes(DataFile());
  Phone.Plug();
  Start();
  ASSERT_TRUE(WaitForPages());
  ASSERT_TRUE(WaitForAttach());
  // The read's first ten answers come late, though within their time-out,
  // so that the read runs for three seconds.
  for (int Answer = 0; Answer < 10; ++Answer) Phone.Command("delay 300");
  PostClick(Control("butReadQV"));
  AnswerDialog(WaitForCaption(ConfirmCaption), IDYES);
  ASSERT_TRUE(WaitForCaption(ReadCaption));
  ASSERT_TRUE(WaitUntil([&] { return Phone.LastRequest().rfind("4 0 ", 0) == 0; }));
  EXPECT_EQ(SendToProgram(Main(), WM_QUERYENDSESSION, 0), FALSE) << "refused while the read runs";
  ASSERT_TRUE(WaitUntil([&] { return !Showing(ReadCaption); }, 30000));
  ASSERT_FALSE(Showing(ErrorCaption));
  const std::vector<std::wstring> Read = Phonebook1();
  ASSERT_NE(Read, TwoNames);

  EXPECT_EQ(SendToProgram(Main(), WM_QUERYENDSESSION, 0), TRUE);
  SendToProgram(Main(), WM_ENDSESSION, FALSE);  // another program refused: the session goes on
  EXPECT_EQ(FileBytes(DataFile()), Before);
  SendToProgram(Main(), WM_ENDSESSION, TRUE);
  EXPECT_EQ(NamesIn(DataFile()), Read) << "the data read is saved";
  PostMessageW(Main(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Program->Ended());
}
